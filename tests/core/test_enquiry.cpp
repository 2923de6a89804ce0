#include "AnswerReader.h"
#include "CommandLineRun.h"
#include "RecordingPrinterSdk.h"

#include <doctest/doctest.h>
#include <sstream>

namespace
{

std::string bytes(const std::string& hex)
{
    std::string out;
    std::istringstream in(hex);
    for (std::string token; in >> token;)
        out += char(std::stoi(token, nullptr, 16));
    return out;
}

const AnswerShape Status = AnswerShape::statusByte();
const AnswerShape Id = AnswerShape::idByte();
const AnswerShape Text = AnswerShape::textBlock();
const AnswerShape Layout = AnswerShape::block("\x37\x4B");

} // namespace

TEST_CASE("the answer reader takes each answer by its shape, and late ones never")
{
    struct Row {
        const char* name;
        std::vector<std::string> reads; // hex, one read each; "" is a read whose bound passed
        std::vector<AnswerShape> asked;
        std::vector<std::string> answers; // hex; "-" for none
    };
    std::string noEnd = "5F";
    for (int i = 0; i < 1100; ++i)
        noEnd += " 41";
    const Row rows[] = {
        {"status byte", {"12"}, {Status}, {"12"}},
        {"automatic status block first", {"14 00 00 00 16"}, {Status}, {"16"}},
        {"status block across reads", {"14 00", "00 00 02"}, {Id}, {"02"}},
        {"XON and XOFF", {"11 13 12"}, {Status}, {"12"}},
        {"another request's block", {"37 4B 36 34 00 5F 00 12"}, {Status}, {"12"}},
        {"text block in pieces", {"5F 41", "42 00"}, {Text}, {"5F 41 42 00"}},
        {"no text", {"12 02", ""}, {Text}, {"-"}},
        {"a block that never ends", {noEnd, "12"}, {Status}, {"12"}},
        {"block of another tag", {"37 38 00 37 4B 31 00"}, {Layout}, {"37 4B 31 00"}},
        {"late answer counted off", {"", "12 16"}, {Status, Status}, {"-", "16"}},
        {"late answer only", {"", "12", "", "16 1E"}, {Status, Status, Status}, {"-", "-", "1E"}},
        {"late answer of another shape", {"", "12"}, {Text, Status}, {"-", "12"}}};
    for (const Row& row : rows) {
        CAPTURE(row.name);
        RecordingPrinterSdk sdk;
        for (const std::string& read : row.reads)
            sdk.answers.push_back(bytes(read));
        AnswerReader reader(sdk, 7);
        for (std::size_t i = 0; i < row.asked.size(); ++i) {
            const std::optional<std::string> answer = reader.await(row.asked[i]);
            CHECK((answer ? RecordingPrinterSdk::hex(*answer) : "-") == row.answers[i]);
        }
        CHECK(reader.failure().empty());
    }
}

namespace
{

struct Asked : Said {
    std::vector<std::string> written;
};

// Asks a printer on the network that gives these answers, in hex, one read each.
Asked ask(std::vector<std::string> words, const std::vector<std::string>& answers,
          std::int32_t closeResult = 1, std::int32_t openResult = 7)
{
    RecordingPrinterSdk sdk;
    sdk.closeResult = closeResult;
    sdk.openResult = openResult;
    for (const std::string& answer : answers)
        sdk.answers.push_back(bytes(answer));
    words.insert(words.begin(), {"--ip", "127.0.0.9"});
    Asked asked{runCommandLine(sdk, words), {}};
    for (const std::string& request : sdk.written)
        asked.written.push_back(RecordingPrinterSdk::hex(request));
    return asked;
}

} // namespace

TEST_CASE("status: what the four bytes say, in words, and the exit code")
{
    struct Row {
        std::vector<std::string> reads; // hex; "" is a read whose bound passed
        int code;
        std::string line;
    };
    const Row rows[] = {
        {{"16", "12", "12", "12"}, 0, "ready to print"},
        {{"16", "12", "12", "1E"}, 0, "ready to print, paper near end"},
        {{"1E", "16", "12", "12"}, 3, "cannot print: offline, cover open"},
        {{"16", "1A", "32", "12"},
         3,
         "cannot print: paper being fed by the button, unrecoverable error"},
        {{"16", "52", "5A", "12"},
         3,
         "cannot print: error, autocutter error, auto-recoverable error"},
        {{"16", "12", "16", "12"},
         3,
         "cannot print: recoverable error (with black-mark paper: often no mark found)"},
        {{"16", "32", "12", "72"}, 3, "cannot print: stopped at paper end, paper end"},
        // Once one went unanswered, the next single byte may be its late answer.
        {{"16", "", "12", "", "1E", ""},
         1,
         "nothing in its answers stops printing; not answered: offline cause, error cause, "
         "paper sensor"},
        {{"1E", "", "", ""},
         3,
         "cannot print: offline; not answered: offline cause, error cause, paper sensor"},
        {{"", "", "", ""}, 1, "the printer did not answer"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.line);
        const Asked asked = ask({"status"}, row.reads);
        CHECK(asked.code == row.code);
        CHECK(asked.out == row.line + "\n");
        CHECK(asked.written ==
              std::vector<std::string>{"10 04 01", "10 04 02", "10 04 03", "10 04 04"});
    }
    const Asked json = ask({"--json", "status"}, {"16", "16", "12", "72"});
    CHECK(json.code == 3);
    for (const char* field : {"\"coverOpen\": true,\n", "\"paperEnd\": true,\n",
                              "\"offline\": false,\n", "\"ready\": false,\n"})
        CHECK_MESSAGE(json.out.find(std::string("    ") + field) != std::string::npos, field);
}

TEST_CASE("identify: who the printer says it is")
{
    // The serial number comes after a request that went unanswered: it may be that one's.
    const Asked asked =
        ask({"identify"}, {"5F 41 43 4D 45 00", "5F 54 31 0A 00", "", "5F 58 59 00", "", "02"});
    CHECK(asked.code == 0);
    CHECK(asked.out == "maker ACME, model T1?, firmware not answered, serial not answered, "
                       "autocutter yes\n");
    CHECK(asked.written ==
          std::vector<std::string>{"1D 49 42", "1D 49 43", "1D 49 41", "1D 49 44", "1D 49 02"});
    const Asked json = ask({"identify", "--json"}, {"", "", "", "", "00"});
    CHECK(json.code == 0);
    CHECK(json.out == "{\n    \"autocutter\": false,\n    \"firmware\": null,\n    \"maker\": "
                      "null,\n    \"model\": null,\n    \"serial\": null\n}\n");
    const Asked none = ask({"identify"}, {});
    CHECK(none.code == 1);
    CHECK(none.out == "maker not answered, model not answered, firmware not answered, serial not "
                      "answered, autocutter not answered\n");
}

TEST_CASE("identify and status refuse what cannot answer, and a dry run shows the requests")
{
    const char* const help = "\n(see blackmark --help)\n";
    const Asked queue = ask({"--port", "DRIVER", "status"}, {});
    CHECK(queue.code == 2);
    CHECK(queue.err == "blackmark: a printer queue cannot answer: ask the printer on the port it "
                       "is attached to (ETHERNET, COM or LPT)" +
                           std::string(help));
    CHECK(ask({"identify", "x"}, {}).err ==
          "blackmark: identify takes nothing but --json" + std::string(help));
    const Asked dry = ask({"--dry-run", "identify"}, {});
    CHECK(dry.out == "1D 49 42\n1D 49 43\n1D 49 41\n1D 49 44\n1D 49 02\n");
    CHECK(dry.written.empty());
    const Asked notOpened = ask({"--port", "com1", "status"}, {});
    CHECK(notOpened.code == 2);
    const Asked closeFailed = ask({"status"}, {"16", "12", "12", "12"}, -1);
    CHECK(closeFailed.out == "ready to print\n");
    CHECK(closeFailed.err == "blackmark: the printer's port failed: scripted failure\n");
    CHECK(ask({"--dry-run", "status"}, {}).out == "10 04 01\n10 04 02\n10 04 03\n10 04 04\n");
    // A port that does not open: nothing asked, nothing printed, the reason told.
    for (const char* subcommand : {"status", "identify", "layout"}) {
        CAPTURE(subcommand);
        const Asked notOpen =
            ask(subcommand == std::string("layout") ? std::vector<std::string>{"layout", "show"}
                                                    : std::vector<std::string>{subcommand},
                {}, 1, -1);
        CHECK(notOpen.code == 1);
        CHECK(notOpen.out == "");
        CHECK(notOpen.err == "blackmark: Fail to open port,please check! scripted failure\n");
        CHECK(notOpen.written.empty());
    }
    const Asked layoutClose = ask({"layout", "show"}, {"", ""}, -1);
    CHECK(layoutClose.code == 1);
    CHECK(layoutClose.err == "blackmark: the printer's port failed: scripted failure\n");
}
