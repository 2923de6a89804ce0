#include "BlackMarkCatalogue.h"
#include "DistanceCount.h"
#include "HexCommandText.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <clocale>
#include <doctest/doctest.h>

namespace
{

const PortSettings Network{"ETHERNET", "127.0.0.1", "Receipt", "19200"};

struct Bench {
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    WindowValues values;
    CommandSender sender{sdk, messages, values};
    BlackMarkCatalogue catalogue{sender};

    // Presses button n; box is its distance box's text, or the on/off index for Command5.
    SendOutcome press(int n, const std::string& box)
    {
        using Distance =
            SendOutcome (BlackMarkCatalogue::*)(const std::string&, const PortSettings&);
        const Distance distances[] = {nullptr,
                                      &BlackMarkCatalogue::Command1_Click,
                                      &BlackMarkCatalogue::Command2_Click,
                                      &BlackMarkCatalogue::Command3_Click,
                                      &BlackMarkCatalogue::Command4_Click,
                                      nullptr,
                                      &BlackMarkCatalogue::Command6_Click,
                                      &BlackMarkCatalogue::Command7_Click};
        if (n == 5)
            return catalogue.Command5_Click(std::stoi(box), Network);
        if (n >= 8)
            return n == 8 ? catalogue.Command8_Click(Network) : catalogue.Command9_Click(Network);
        return (catalogue.*distances[n])(box, Network);
    }
};

std::string hexOf(const std::vector<unsigned char>& bytes)
{
    return RecordingPrinterSdk::hex(std::string(bytes.begin(), bytes.end()));
}

} // namespace

TEST_CASE("hex command text")
{
    struct Row {
        std::string text, bytes, refusal;
    };
    std::string tokens, bytes; // the most there may be: 32767
    for (int i = 0; i < 32767; ++i) {
        tokens.append(i ? " " : "").append(std::to_string(i % 10));
        bytes.append(i ? " 0" : "0").append(std::to_string(i % 10));
    }
    const Row rows[] = {
        {tokens, bytes, ""},
        {tokens + " 0", "", "more than 32767 tokens"},
        {"1B 40 1D 56 30 0A", "1B 40 1D 56 30 0A", ""},
        {"   000000FF 9 a  ", "FF 09 0A", ""},
        {"", "", "no tokens"},
        {"   ", "", "no tokens"},
        {"1B 40 1D 100", "", "token 4 \"100\" is above FF"},
        {"1B 40  41", "", "empty token after token 2"},
        {"1B 40 ", "1B 40", ""}, // spaces around the text are trimmed first
        {"\t1B", "", "token 1 \"\t1B\" has U+0009, which is not a hex digit"},
        {"1B \xEF\xBC\x91", "",
         "token 2 \"\xEF\xBC\x91\" has \"\xEF\xBC\x91\", which is not a hex digit"},
        {"1B \xFF", "", "token 2 \"\xFF\" has byte 0xFF, which is not a hex digit"},
        {"1B \xC2\x80", "", "token 2 \"\xC2\x80\" has U+0080, which is not a hex digit"},
        {"\xF0\x9F\x98\x80", "",
         "token 1 \"\xF0\x9F\x98\x80\" has \"\xF0\x9F\x98\x80\", which is not a hex digit"},
        {"1B\xC2\xA0", "", "token 1 \"1B\xC2\xA0\" has U+00A0, which is not a hex digit"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.text.substr(0, 40));
        std::string text = row.text;
        const HexEncoding encoding = encodeHexCommandText(text);
        CHECK(encoding.refusal == row.refusal);
        CHECK(hexOf(encoding.bytes) == row.bytes);
    }
}

TEST_CASE("distance rule")
{
    const char* const rows[][2] = {
        {"300", "60 9"},       {"32", "0 1"},      {"4095.875", "FF 7F"}, {"", "0 0"},
        {"abc", "0 0"},        {"12.5mm", "64 0"}, {"1,5", "8 0"},        {"2 5", "C8 0"},
        {" \t\n12\t", "60 0"}, {"12\r3", "60 0"},  {"1.2.3", "A 0"},      {"0.0625", "0 0"},
        {"0.1875", "2 0"},     {"0.3125", "2 0"},  {"1E+2", "20 3"},      {"25e-1", "14 0"},
        {"1e+", "8 0"},        {".5", "4 0"},      {"5.", "28 0"},        {"+2", "10 0"},
        {".", "0 0"},          {"-.e5", "0 0"},    {"-0.0625", "0 0"},    {"1e-400", "0 0"},
        {"0.001e-320", "0 0"}};
    const char* const refused[] = {"4095.9375", "1e400", "1e+400", "0.01e310", "- 1", "-1"};
    // The full stop is the decimal point whatever the locale; German by its name on Linux, then
    // on Windows.
    for (const char* locale : {"de_DE.UTF-8", "German_Germany.1252", "C"}) {
        if (!std::setlocale(LC_ALL, locale))
            continue;
        for (const auto& [text, tokens] : rows) {
            CAPTURE(text);
            const std::optional<int> counted = DistanceCount::fromBoxText(text);
            CHECK((counted ? DistanceCount::tokens(*counted) : std::string()) == tokens);
        }
        for (const char* text : refused)
            CHECK_MESSAGE(!DistanceCount::fromBoxText(text), text);
    }
    std::setlocale(LC_ALL, "C");
}

TEST_CASE("each button builds its command text")
{
    struct Row {
        int button;
        std::string box, commandText;
    };
    const Row rows[] = {
        {1, "300", "1F 1B 1F 81 04 05 06 60 9"},
        {2, "10", "1F 1B 1F 82 04 05 06 50 0"},
        {3, "0.125", "1D 28 46 04 00 01 00 1 0"},
        {4, "32", "1D 28 46 04 00 01 01 0 1"},
        {6, "0", "1D 28 46 04 00 02 00 0 0"},
        {7, "4095.875", "1D 28 46 04 00 02 01 FF 7F"},
        {5, "0", "1F 1B 1F 80 04 05 06 66"},
        {5, "1", "1F 1B 1F 80 04 05 06 44"},
        {5, "2", "1F 1B 1F 80 04 05 06 66"},
        {8, "",
         "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A 2A "
         "2A 2A 0A"},
        {9, "", "1B 40 1D 56 30 0A"},
        {4, "-1", "earlier"}, // refused: nothing changes, nothing is sent
    };
    for (const Row& row : rows) {
        CAPTURE(row.commandText);
        Bench bench;
        bench.values.CommandText = "earlier";
        const SendOutcome outcome = bench.press(row.button, row.box);
        CHECK(bench.values.CommandText == row.commandText);
        const bool refused = outcome.result == SendOutcome::Result::Refused;
        CHECK(bench.sdk.written.size() == (refused ? 0u : 1u));
        REQUIRE(bench.messages.shown.size() == (refused ? 1u : 0u));
        if (refused) {
            const std::string why =
                "Backfeed paper after black mark is found: the distance \"-1\" cannot be sent.\n"
                "Enter a distance from 0 to 4095.875 mm; the button chooses the direction.";
            CHECK(bench.messages.shown[0] ==
                  UserMessage{why, "error", UserMessage::Icon::Warning, ""});
            CHECK(outcome.reason == why);
        }
    }
}

TEST_CASE("a send completes every opened document and reports the first failure")
{
    struct Row {
        std::int32_t handle;
        std::string failingStage; // empty: none fails
    };
    for (const Row& row : {Row{7, ""}, Row{0, ""}, Row{-5, ""}, Row{7, "start"}, Row{7, "write"},
                           Row{7, "end"}, Row{7, "close"}}) {
        CAPTURE(row.failingStage);
        Bench bench;
        bench.sdk.openResult = row.handle;
        bench.sdk.startDocResult = row.failingStage == "start" ? -1 : 1;
        bench.sdk.writeResult =
            row.failingStage == "write" ? 1 : RecordingPrinterSdk::AnswerTheCount;
        bench.sdk.endDocResult = row.failingStage == "end" ? -1 : 1;
        bench.sdk.closeResult = row.failingStage == "close" ? -1 : 1;

        std::string text = " 1B 40 ";
        const SendOutcome outcome = bench.sender.SendHexCommand(text, Network);
        const std::vector<std::string> expected{"POS_Open(127.0.0.1,0,0,0,0,21)", "POS_StartDoc()",
                                                "POS_WriteFile(" + std::to_string(row.handle) +
                                                    ",1B 40)",
                                                "POS_EndDoc()", "POS_Close()"};
        CHECK(bench.sdk.calls == expected);
        CHECK(text == "1B 40");
        const bool fails = !row.failingStage.empty();
        const UserMessage failed{CommandSender::DocumentFailedText, "error",
                                 UserMessage::Icon::Error, bench.sdk.failure};
        CHECK(bench.messages.shown == std::vector<UserMessage>(fails ? 1 : 0, failed));
        CHECK(bench.values.PortHandle == row.handle);
        CHECK(bench.values.LastResult == bench.sdk.closeResult);
        CHECK(outcome.result ==
              (fails ? SendOutcome::Result::DocumentFailed : SendOutcome::Result::Sent));
        CHECK(outcome.reason == (fails ? bench.sdk.failure : ""));
    }
}

TEST_CASE("a port that does not open is reported and nothing else is called")
{
    Bench bench;
    bench.sdk.openResult = -1;
    std::string text = "1B 40";
    const SendOutcome outcome = bench.sender.SendHexCommand(text, Network);
    CHECK(bench.sdk.calls.size() == 1);
    CHECK(bench.messages.shown ==
          std::vector<UserMessage>{{"Fail to open port,please check!", "error",
                                    UserMessage::Icon::Error, "scripted failure"}});
    CHECK(outcome.result == SendOutcome::Result::PortNotOpened);
    CHECK(bench.values.PortHandle == -1);

    // Text that is not a command opens nothing.
    text = "1B  40";
    CHECK(bench.sender.SendHexCommand(text, Network).reason == "empty token after token 1");
    CHECK(bench.sdk.calls.size() == 1);
    CHECK(bench.messages.shown.back().text == CommandSender::CommandRefusedText);
}
