#include "MenuBar.h"
#include "PaperLayoutModel.h"
#include "PrinterEnquiry.h"
#include "PrinterQuestions.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <doctest/doctest.h>
#include <sstream>

namespace
{

const PortSettings Network{"ETHERNET", "127.0.0.9", "", "19200"};

std::string bytes(const std::string& hex)
{
    std::string out;
    std::istringstream in(hex);
    for (std::string token; in >> token;)
        out += char(std::stoi(token, nullptr, 16));
    return out;
}

std::string writtenHex(const RecordingPrinterSdk& sdk)
{
    std::string all;
    for (const std::string& part : sdk.written)
        all += part;
    return RecordingPrinterSdk::hex(all);
}

// "text|title|icon|detail" of each box shown.
std::string boxes(const RecordingUserMessages& messages)
{
    std::string all;
    for (const UserMessage& m : messages.shown)
        all += m.text + "|" + m.title + "|" + std::to_string(int(m.icon)) + "|" + m.detail + "\n";
    return all;
}

} // namespace

TEST_CASE("the menu bar has every item once, each menu and item with its own access key")
{
    int seen = 0;
    for (const MenuBar::Menu& menu : MenuBar::Menus) {
        std::string keys;
        for (const MenuBar::Item& item : menu.items) {
            CAPTURE(item.caption);
            const std::size_t amp = item.caption.find('&');
            REQUIRE(amp != std::string_view::npos);
            CHECK(keys.find(char(std::tolower(item.caption[amp + 1]))) == std::string::npos);
            keys += char(std::tolower(item.caption[amp + 1]));
            CHECK(int(item.command) == seen++);
        }
    }
    CHECK(seen == MenuBar::CommandCount);
    CHECK(MenuBar::aboutMessage("1.2.3").text == "blackmark-setup 1.2.3");
    CHECK(MenuBar::aboutMessage("1.2.3").detail.find("MIT License") != std::string::npos);
}

TEST_CASE("who is it and can it print: the requests, and one box for each answer or failure")
{
    struct Row {
        const char* name;
        bool identify;
        std::vector<std::string> reads; // hex, one read each
        std::int32_t openResult, closeResult;
        std::string box;
    };
    const std::string who = "1D 49 42 1D 49 43 1D 49 41 1D 49 44 1D 49 02";
    const std::string can = "10 04 01 10 04 02 10 04 03 10 04 04";
    // clang-format off
    const Row rows[] = {
        {"answered", true, {"5F 41 43 4D 45 00", "5F 4C 58 00", "5F 31 2E 30 00", "5F 37 00", "02"}, 7, 1,
         "maker ACME, model LX, firmware 1.0, serial 7, autocutter yes|Who is it?|2|\n"},
        {"silent", true, {}, 7, 1, "maker not answered, model not answered, firmware not answered, "
         "serial not answered, autocutter not answered|Who is it?|0|\n"},
        {"bytes that are no text", true, {"5F 41 FF 00", "", "", "", "00"}, 7, 1, "maker A\xEF\xBF\xBD, "
         "model not answered, firmware not answered, serial not answered, autocutter no|Who is it?|2|\n"},
        {"not opened", true, {}, -1, 1, "Fail to open port,please check!|error|0|scripted failure\n"},
        {"ready", false, {"16", "12", "12", "12"}, 7, 1, "ready to print|Can it print?|2|\n"},
        {"cover open", false, {"16", "16", "12", "12"}, 7, 1, "cannot print: cover open|Can it print?|1|\n"},
        {"partly answered", false, {"16"}, 7, 1, "nothing in its answers stops printing; not answered: "
         "offline cause, error cause, paper sensor|Can it print?|1|\n"},
        {"silent", false, {}, 7, 1, "the printer did not answer|Can it print?|0|\n"},
        {"port failed at the end", false, {"16", "12", "12", "12"}, 7, -1,
         "ready to print|Can it print?|0|the printer's port failed: scripted failure\n"},
    };
    // clang-format on
    for (const Row& row : rows) {
        CAPTURE(row.name);
        RecordingPrinterSdk sdk;
        for (const std::string& read : row.reads)
            sdk.answers.push_back(bytes(read));
        sdk.openResult = row.openResult;
        sdk.closeResult = row.closeResult;
        RecordingUserMessages messages;
        PrinterQuestions questions(sdk, messages);
        if (row.identify)
            questions.whoIsIt(Network);
        else
            questions.canItPrint(Network);
        CHECK(boxes(messages) == row.box);
        CHECK(writtenHex(sdk) == (row.openResult < 0 ? "" : row.identify ? who : can));
        if (row.openResult >= 0)
            CHECK(sdk.calls.front() == "POS_Open(127.0.0.9,0,0,0,0,21)");
    }
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    PaperLayoutValues values;
    PrinterQuestions(sdk, messages).canItPrint({"DRIVER", "", "Kitchen", ""});
    PaperLayoutModel(values, sdk, messages).readBack({"DRIVER", "", "Kitchen", ""});
    CHECK(boxes(messages) == std::string(PrinterEnquiry::QueueCannotAnswer) + "|error|1|\n" +
                                 PrinterEnquiry::QueueCannotAnswer + "|Paper layout|1|\n");
    CHECK(sdk.calls.empty()); // a queue is not asked
}

TEST_CASE("the paper layout dialog sends what is filled in, and refuses bad values in a box")
{
    using Kind = PaperLayout::Kind;
    struct Row {
        const char* name;
        PaperLayoutValues values;
        std::string sent; // hex; empty when nothing may be sent
        std::string box;
        std::string status = {};
    };
    const std::string took = "The printer took the layout.";
    // clang-format off
    const Row rows[] = {
        {"black-mark paper, bottom greyed out", {Kind::BlackMarkPaper, "101.6", "-2.55", " 3mm ", "7", false},
         "1C 28 4C 11 00 21 33 31 30 31 36 3B 2D 32 36 3B 33 30 3B 3B 3B 3B", "",
         "The printer took the layout. (-2.55 mm sent as -2.6 mm, -26 counts)"},
        {"empty boxes keep their values, and kept after power-off", {Kind::BlackMarkPaper, "", "", "+0.05", "", true},
         "1C 28 4C 09 00 21 33 3B 3B 30 3B 3B 3B 3B 1D 28 4D 02 00 01 01 1D 28 4D 02 00 03 01", "",
         "The printer took the layout and keeps it. (+0.05 mm sent as 0 mm, 0 counts)"},
        {"die-cut labels", {Kind::DieCutLabels, "0", "", "", "9999.9", false},
         "1C 28 4C 0E 00 21 31 30 3B 3B 3B 39 39 39 39 39 3B 3B 3B", "", took},
        {"labels with marks", {Kind::MarkedLabels, "", "0.2", "", "", false},
         "1C 28 4C 09 00 21 32 3B 32 3B 3B 3B 3B 3B", "", took},
        {"none takes no distance", {Kind::None, "x", "y", "z", "w", false},
         "1C 28 4C 08 00 21 30 3B 3B 3B 3B 3B 3B", "", took},
        {"not a distance", {Kind::BlackMarkPaper, "10", "abc", "", "", false}, "",
         "Print start: \"abc\" is not a distance: give a decimal number of millimetres, such as "
         "2.5 or 2.5mm, or with a sign|Paper layout|1|\n"},
        {"no sign on the pitch", {Kind::DieCutLabels, "-1", "", "", "", false}, "",
         "Pitch: \"-1\" is not a distance: give a decimal number of millimetres, such as 2.5 or "
         "2.5mm|Paper layout|1|\n"},
        {"too long", {Kind::DieCutLabels, "", "", "", "10000", false}, "",
         "Bottom: Bottom \"10000\" does not fit: the printer takes at most five digits of 0.1 mm, "
         "9999.9 mm|Paper layout|1|\n"},
    };
    // clang-format on
    for (const Row& row : rows) {
        CAPTURE(row.name);
        RecordingPrinterSdk sdk;
        RecordingUserMessages messages;
        PaperLayoutValues values = row.values;
        PaperLayoutModel model(values, sdk, messages);
        CHECK(model.set(Network) == !row.sent.empty());
        CHECK(writtenHex(sdk) == row.sent);
        CHECK(boxes(messages) == row.box);
        CHECK(model.status() == row.status);
        CHECK(sdk.calls.empty() == row.sent.empty()); // no port opened for a refusal
    }
}

TEST_CASE("the paper layout dialog reads back, test prints and test cuts, and tells failures")
{
    const std::string asSet = "37 4B 36 34 1F 33 1F 31 30 30 30 1F 1F 33 30 1F 1F 1F 00";
    const std::string inEffect = "37 4B 38 30 1F 33 1F 38 30 30 1F 1F 32 34 30 1F 1F 1F 00";
    struct Row {
        const char* name;
        int action; // 0 read back, 1 test print, 2 test cut
        std::vector<std::string> reads;
        std::int32_t openResult, writeResult;
        bool done;
        std::string sent, box;
    };
    const int taken = RecordingPrinterSdk::AnswerTheCount;
    const std::string asked = "1C 28 4C 02 00 22 40 1C 28 4C 02 00 22 50";
    const std::string cut = "1C 28 4C 02 00 42 30 1D 56 30";
    // clang-format off
    const Row rows[] = {
        {"read back", 0, {asSet, inEffect}, 7, taken, true, asked,
         "as set: black-mark paper; pitch 100 mm, print start not set, cut 3 mm, label bottom not "
         "set, printing area bottom not set, horizontal not set\nin effect: black-mark paper; "
         "pitch 800 dots, print start not set, cut 240 dots, label bottom not set, printing area "
         "bottom not set, horizontal not set|Paper layout|2|\n"},
        {"read back unanswered", 0, {}, 7, taken, false, asked,
         "as set: not answered\nin effect: not answered|Paper layout|0|\n"},
        {"read back not opened", 0, {}, -1, 0, false, "",
         "Fail to open port,please check!|error|0|scripted failure\n"},
        {"test print", 1, {}, 7, taken, true, "1C 28 4C 02 00 42 30 1C 28 4C 02 00 43 30 2A 2A 2A 2A "
         "54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A 2A 2A 2A 0A", ""},
        {"test cut", 2, {}, 7, taken, true, cut, ""},
        {"test cut not taken", 2, {}, 7, 0, false, cut,
         "The command did not reach the printer.|error|0|scripted failure\n"},
    };
    // clang-format on
    for (const Row& row : rows) {
        CAPTURE(row.name);
        RecordingPrinterSdk sdk;
        for (const std::string& read : row.reads)
            sdk.answers.push_back(bytes(read));
        sdk.openResult = row.openResult;
        sdk.writeResult = row.writeResult;
        RecordingUserMessages messages;
        PaperLayoutValues values;
        PaperLayoutModel model(values, sdk, messages);
        const bool done = row.action == 0   ? model.readBack(Network)
                          : row.action == 1 ? model.testPrint(Network)
                                            : model.testCut(Network);
        CHECK(done == row.done);
        CHECK(writtenHex(sdk) == row.sent);
        CHECK(boxes(messages) == row.box);
        CHECK(model.status().empty() == !row.done);
    }
    // The status tells the last action alone: nothing is left of the one before.
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    PaperLayoutValues values{PaperLayout::Kind::BlackMarkPaper, "", "", "0.05", "", false};
    PaperLayoutModel model(values, sdk, messages);
    CHECK(model.set(Network));
    CHECK(model.testCut(Network));
    CHECK(model.status() == "The printer took the test cut.");
    values.cut = "x";
    CHECK(!model.set(Network));
    CHECK(model.status().empty());
    CHECK(model.testCut(Network));
    sdk.openResult = -1;
    CHECK(!model.readBack(Network));
    CHECK(model.status().empty());
}
