#include "CommandLineRun.h"
#include "PaperLayout.h"
#include "RecordingPrinterSdk.h"

#include <doctest/doctest.h>
#include <sstream>

namespace
{

// A printer on the network that gives these answers, one read each.
Said layout(std::vector<std::string> words, std::vector<std::string> answers = {})
{
    RecordingPrinterSdk sdk;
    sdk.answers = std::move(answers);
    words.insert(words.begin(), {"--ip", "127.0.0.9"});
    return runCommandLine(sdk, words);
}

} // namespace

TEST_CASE("the paper layout's commands, byte by byte")
{
    struct Row {
        std::vector<std::string> words;
        std::string hex;
        std::string note = {};
    };
    const Row rows[] = {
        {{"black-mark", "--pitch", "101.6", "--print-start", "-2.55", "--cut", "3mm"},
         "1C 28 4C 11 00 21 33 31 30 31 36 3B 2D 32 36 3B 33 30 3B 3B 3B 3B",
         "blackmark: -2.55 mm sent as -2.6 mm, -26 counts\n"},
        {{"black-mark", "--cut", "+0.05", "--save"},
         "1C 28 4C 09 00 21 33 3B 3B 30 3B 3B 3B 3B 1D 28 4D 02 00 01 01 1D 28 4D 02 00 03 01",
         "blackmark: +0.05 mm sent as 0 mm, 0 counts\n"},
        {{"label", "--bottom", "9999.9", "--pitch", "0"},
         "1C 28 4C 0E 00 21 31 30 3B 3B 3B 39 39 39 39 39 3B 3B 3B"},
        {{"label", "--with-marks", "--print-start", "0.15"},
         "1C 28 4C 09 00 21 32 3B 32 3B 3B 3B 3B 3B",
         "blackmark: 0.15 mm sent as 0.2 mm, 2 counts\n"},
        {{"none"}, "1C 28 4C 08 00 21 30 3B 3B 3B 3B 3B 3B"},
        {{"show"}, "1C 28 4C 02 00 22 40\n1C 28 4C 02 00 22 50"},
        {{"test-print"},
         "1C 28 4C 02 00 42 30 1C 28 4C 02 00 43 30 2A 2A 2A 2A 54 45 53 54 20 53 "
         "54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A 2A 2A 2A 0A"},
        {{"test-cut"}, "1C 28 4C 02 00 42 30 1D 56 30"}};
    for (const Row& row : rows) {
        CAPTURE(row.hex);
        std::vector<std::string> words{"--dry-run", "layout"};
        words.insert(words.end(), row.words.begin(), row.words.end());
        const Said said = layout(words);
        CHECK(said.code == 0);
        CHECK(said.out == row.hex + "\n");
        CHECK(said.err == row.note);
    }
}

TEST_CASE("a layout the fields cannot carry is bad input")
{
    const std::string distance = " is not a distance: give a decimal number of millimetres, "
                                 "such as 2.5 or 2.5mm",
                      fit = " does not fit: the printer takes at most five digits of 0.1 mm, "
                            "9999.9 mm";
    const std::string rows[][3] = {
        {"--pitch", "-1", "\"-1\"" + distance},
        {"--cut", "x", "\"x\"" + distance + ", or with a sign"},
        {"--cut", "-10000", "--cut \"-10000\"" + fit},
        {"--pitch", "9999.96", "--pitch \"9999.96\"" + fit},
        {"--bottom", "1", "layout black-mark does not take \"--bottom\""},
        {"--cut", "", "\"\"" + distance + ", or with a sign"}};
    for (const auto& [option, value, why] : rows) {
        CAPTURE(why);
        const Said said = layout({option, value, "layout", "black-mark"});
        CHECK(said.code == 2);
        CHECK(said.err == "blackmark: " + why + "\n(see blackmark --help)\n");
    }
    CHECK(layout({"layout", "none", "--pitch", "1"}).err ==
          "blackmark: layout none does not take \"--pitch\"\n(see blackmark --help)\n");
    CHECK(layout({"layout", "black-mark", "--pitch"}).err ==
          "blackmark: --pitch takes a distance in mm\n(see blackmark --help)\n");
    CHECK(layout({"layout", "test-cut", "x"}).code == 2);
    CHECK(layout({"--port", "DRIVER", "layout", "show"}).code == 2);
}

TEST_CASE("layout show reads the layout as set and in effect, or the one that came")
{
    const std::string asSet = layoutAnswer("64|3|1016|-26||||0");
    const std::string inEffect = layoutAnswer("80|3|813|-21||||");
    const std::string setText = "black-mark paper; pitch 101.6 mm, print start -2.6 mm, cut not "
                                "set, label bottom not set, printing area bottom not set, "
                                "horizontal 0 mm";
    const std::string effectText = "black-mark paper; pitch 813 dots, print start -21 dots, cut "
                                   "not set, label bottom not set, printing area bottom not set, "
                                   "horizontal not set";
    const struct {
        std::vector<std::string> answers; // "" is one that never came
        int code;
        std::string out;
    } rows[] = {
        {{asSet, inEffect}, 0, "as set: " + setText + "\nin effect: " + effectText},
        {{asSet, ""}, 0, "as set: " + setText + "\nin effect: not answered"},
        {{"", inEffect}, 0, "as set: not answered\nin effect: " + effectText},
        {{layoutAnswer("64|1|500|||||")},
         0,
         "as set: die-cut labels; pitch 50 mm, print start not set, cut not set, label bottom not "
         "set, printing area bottom not set, horizontal not set\nin effect: not answered"},
        {{"", layoutAnswer("80|2||||||")},
         0,
         "as set: not answered\nin effect: labels with marks; pitch not set, print start not set, "
         "cut not set, label bottom not set, printing area bottom not set, horizontal not set"},
        {{}, 1, "as set: not answered\nin effect: not answered"}};
    for (const auto& row : rows) {
        CAPTURE(row.out);
        const Said said = layout({"layout", "show"}, row.answers);
        CHECK(said.code == row.code);
        CHECK(said.out == row.out + "\n");
        CHECK(said.err == "");
    }
    const Said json = layout({"layout", "show", "--json"}, {"", inEffect});
    CHECK(json.out.find("    \"pitchDots\": 813,\n    \"pitchMm\": null,\n") != std::string::npos);
    CHECK(json.out.find("    \"layout\": \"black-mark paper\",\n") != std::string::npos);
    const Said none = layout({"layout", "show", "--json"}, {layoutAnswer("64|0||||||")});
    CHECK(none.out.find("    \"layout\": \"no layout\",\n") != std::string::npos);
}

TEST_CASE("a layout answer that is not one is not read")
{
    // No such reference, nor this one, not a number, a field short, six digits, a plus sign,
    // no separators.
    for (const char* fields : {"64|4||||||", "64|/|5||||||", "64|3|12a||||||", "64|3|||||",
                               "64|3|123456||||||", "64|3|+1||||||", "643"})
        CHECK_FALSE(PaperLayout::fromAnswer(layoutAnswer(fields)));
    CHECK_FALSE(PaperLayout::fromAnswer("\x37\x4B"));
}
