#include "CommandLineRun.h"
#include "FakeFleet.h"
#include "FleetReport.h"
#include "PrinterList.h"
#include "Profile.h"

#include <doctest/doctest.h>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace
{

std::optional<Profile> profileOf(const std::string& text, std::string& refusal)
{
    return Profile::read(text, "p.toml", refusal);
}

// Black-mark paper, pitch 100 mm, as a printer answers it when asked for its layout as set.
const std::string HeldBlackMark100 = layoutAnswer("64|3|1000|||||");

} // namespace

TEST_CASE("a profile's values give the bytes the command line sends for them")
{
    struct Row {
        std::string toml;
        std::vector<std::string> words; // the command line's subcommand for the same value
    };
    const Row rows[] = {
        {"[black-mark]\nmark-width = 3.5", {"mark-width", "3.5"}},
        {"[black-mark]\npaper-width = \"80mm\"", {"paper-width", "80mm"}},
        {"[black-mark]\nprint-start = -2.5", {"print-start", "backfeed", "2.5"}},
        {"[black-mark]\nprint-start = 0.1", {"print-start", "feed", "0.1"}},
        {"[black-mark]\ncut-position = \"-1 mm\"", {"cut-position", "backfeed", "1 mm"}},
        {"[black-mark]\ncut-position = 4095", {"cut-position", "feed", "4095"}},
        {"[black-mark]\nfunction = \"off\"", {"black-mark", "off"}},
        {"[paper-layout]\npaper = \"label\"\nwith-marks = true\nbottom = 9999.9\nsave = true",
         {"layout", "label", "--with-marks", "--bottom", "9999.9", "--save"}},
        {"[paper-layout]\npaper = \"black-mark\"\npitch = 101.6\nprint-start = \"-2.55\"\ncut = 3",
         {"layout", "black-mark", "--pitch", "101.6", "--print-start", "-2.55", "--cut", "3"}},
        {"[paper-layout]\npaper = \"none\"", {"layout", "none"}}};
    for (const Row& row : rows) {
        CAPTURE(row.toml);
        std::string refusal;
        const std::optional<Profile> profile = profileOf(row.toml, refusal);
        REQUIRE(profile);
        RecordingPrinterSdk sdk;
        std::vector<std::string> words = row.words;
        words.insert(words.begin(), "--dry-run");
        CHECK(profile->documentHexText() + "\n" == runCommandLine(sdk, words).out);
    }
}

TEST_CASE("a profile's commands go in one order, the black-mark switch last")
{
    std::string refusal;
    const auto ordered = profileOf("[black-mark]\nfunction = \"on\"\ncut-position = 1\n"
                                   "mark-width = 2\n[paper-layout]\npaper = \"none\"\n",
                                   refusal);
    REQUIRE(ordered);
    std::vector<std::string> what;
    for (const Profile::Command& command : ordered->commands)
        what.push_back(command.what.substr(0, command.what.find(' ')));
    CHECK(what == std::vector<std::string>{"mark-width", "cut-position", "paper", "black-mark"});
}

TEST_CASE("a profile that cannot be sent is refused at its place")
{
    const std::pair<const char*, const char*> rows[] = {
        {"", "p.toml:1:1: the profile sets nothing"},
        {"[paper-layout]\n", "p.toml:1:1: the profile sets nothing"},
        {"[black]\n", "p.toml:1:2: no table \"black\""},
        {"[black-mark]\nmark-widht = 3", "p.toml:2:1: [black-mark] has no key \"mark-widht\""},
        {"x = 1", "p.toml:1:1: no table \"x\""},
        {"black-mark = 1", "p.toml:1:14: black-mark must be a table"},
        {"[black-mark]\nmark-width = \"2,5\"",
         "p.toml:2:14: mark-width: \"2,5\" is not a distance"},
        {"[black-mark]\nmark-width = -1", "p.toml:2:14: mark-width: \"-1\" is not a distance"},
        {"[black-mark]\npaper-width = 4096", "p.toml:2:15: paper-width \"4096\" is out of range"},
        {"[black-mark]\nprint-start = [1]", "p.toml:2:15: print-start takes a distance"},
        {"[black-mark]\nprint-start = nan", "p.toml:2:15: print-start: \"nan\" is not"},
        {"[black-mark]\nfunction = true", "p.toml:2:12: function takes \"on\" or \"off\""},
        {"[black-mark]\nfunction = 'On'", "p.toml:2:12: function takes \"on\" or \"off\""},
        {"# Geschäft\n[black-mark]\nfünction = 'on'", "p.toml:3:2: "},
        {"[paper-layout]\npitch = 1", "p.toml:1:1: [paper-layout] needs paper"},
        {"[paper-layout]\npaper = \"roll\"",
         "p.toml:2:9: paper takes \"black-mark\", \"label\" or \"none\""},
        {"[paper-layout]\npaper = \"black-mark\"\nbottom = 1",
         "p.toml:3:10: paper = \"black-mark\" does not take bottom"},
        {"[paper-layout]\npaper = \"black-mark\"\nwith-marks = true",
         "p.toml:3:14: paper = \"black-mark\" does not take with-marks"},
        {"[paper-layout]\npaper = \"none\"\ncut = 1",
         "p.toml:3:7: paper = \"none\" does not take cut"},
        {"[paper-layout]\npaper = \"label\"\npitch = -1",
         "p.toml:3:9: pitch: \"-1\" is not a distance"},
        {"[paper-layout]\npaper = \"label\"\ncut = -10000",
         "p.toml:3:7: cut \"-10000\" does not fit"},
        {"[paper-layout]\npaper = \"label\"\nsave = 1", "p.toml:3:8: save takes true or false"},
        {"[paper-layout]\npaper = \"label\"\nwith-marks = \"yes\"",
         "p.toml:3:14: with-marks takes true or false"},
        {"[black-mark]\nmark-width = 1\nmark-width = 2", "p.toml:3:"},
        {"[black-mark\n", "p.toml:1:12: "}};
    for (const auto& [toml, refusal] : rows) {
        CAPTURE(toml);
        std::string said;
        CHECK_FALSE(profileOf(toml, said));
        CHECK_MESSAGE(said.starts_with(refusal), said);
    }
}

TEST_CASE("a list of printers: one a line, comments and blank lines allowed")
{
    std::string refusal;
    const auto list = PrinterList::read("# store 7\n\n  ETHERNET 127.0.0.5:9100  # MAKER MODEL, "
                                        "ready\nCOM3 38400\nCOM /dev/ttyUSB0\nLPT1\t# 2\r\n"
                                        "DRIVER Label printer 2\n",
                                        "list", PortNames::PosixDevicePaths, refusal);
    REQUIRE_MESSAGE(list, refusal);
    REQUIRE(list->size() == 5);
    CHECK((*list)[0].line == 3);
    CHECK((*list)[0].text == "ETHERNET 127.0.0.5:9100");
    CHECK((*list)[0].port.networkAddress == "127.0.0.5:9100");
    CHECK((*list)[1].port.portText == "COM3");
    CHECK((*list)[1].port.baudRateText == "38400");
    CHECK((*list)[2].port.portText == "COM /dev/ttyUSB0");
    CHECK((*list)[3].port.portText == "LPT1");
    CHECK((*list)[4].port.driverName == "Label printer 2");

    const std::pair<const char*, const char*> bad[] = {
        {"ETHERNET 10.0.0.1\nPRINTER 2\n", "list:2: \"PRINTER 2\" names no printer"},
        {"ETHERNET\n", "list:1: give one network address after ETHERNET"},
        {"ETHERNET a b\n", "list:1: give one network address"},
        {"ETHERNET 10.0.0.1:99999\n", "list:1: "},
        {"DRIVER   # queue\n", "list:1: give the printer queue's name"},
        {"COM0\n", "list:1: "},
        {"LPT9 19200\n", "list:1: "},
        {"ETHERNET Shop.lan\n\nETHERNET shop.LAN:9100", "list:3: the printer of line 1 again"},
        {"COM3 9600\nCOM3 19200", "list:2: the printer of line 1 again"},
        {"# nothing\n\n", "list:2: no printer listed"},
        {"", "list:1: no printer listed"}};
    for (const auto& [text, why] : bad) {
        CAPTURE(text);
        CHECK_FALSE(PrinterList::read(text, "list", PortNames::PosixDevicePaths, refusal));
        CHECK(refusal.starts_with(why));
    }
}

TEST_CASE("a run sets each printer, skips one that cannot print, reads the layout back")
{
    FakeFleet fleet;
    const std::string names[] = {"127.0.0.1", "127.0.0.2", "127.0.0.3", "127.0.0.4",
                                 "127.0.0.5", "127.0.0.6", "127.0.0.7"};
    fleet.printers[names[0]].hangs = true; // held until every other printer is done
    fleet.printers[names[0]].heldLayout = HeldBlackMark100;
    fleet.printers[names[1]].heldLayout = HeldBlackMark100;
    fleet.printers[names[2]].status[1] = 0x16; // cover open
    fleet.printers[names[3]].opens = false;
    fleet.printers[names[4]].answers = false;
    fleet.printers[names[5]].heldLayout =
        HeldBlackMark100.substr(0, 5) + "2" + HeldBlackMark100.substr(6);
    fleet.printers[names[6]].heldLayout =
        HeldBlackMark100.substr(0, 7) + "900" +
        HeldBlackMark100.substr(11); // pitch 90 mm // labels with marks
    std::string list, refusal;
    for (const std::string& name : names)
        list += "ETHERNET " + name + "\n";
    const auto printers = PrinterList::read(list, "list", PortNames::PosixDevicePaths, refusal);
    const auto profile = profileOf("[paper-layout]\npaper = \"black-mark\"\npitch = 100", refusal);
    REQUIRE(printers);
    REQUIRE(profile);
    for (const bool force : {false, true}) {
        CAPTURE(force);
        fleet.letGo = false;
        const auto makeSdk = [&] { return std::make_unique<FakeFleetSdk>(fleet); };
        std::vector<std::size_t> told;
        const auto outcomes =
            FleetRun::run(*profile, *printers, makeSdk, 3, force, [&](const auto& finished) {
                const std::size_t done = finished.count;
                told.push_back(done);
                const std::lock_guard lock(fleet.mutex);
                fleet.letGo = done == 6;
                fleet.released.notify_all();
            });
        CHECK(told == std::vector<std::size_t>{1, 2, 3, 4, 5, 6, 7});
        CHECK(fleet.mostActive <= 3);
        CHECK_FALSE(fleet.heldUp);
        const std::string report = FleetReport::text(*printers, outcomes);
        CHECK(report.starts_with("ETHERNET 127.0.0.1 | MAKER MODEL | set | layout verified | "));
        for (
            const char* line :
            {"ETHERNET 127.0.0.4 | - | failed | port not opened: scripted failure",
             "ETHERNET 127.0.0.5 | - | set | layout cannot be read back: the printer does not "
             "answer",
             "ETHERNET 127.0.0.6 | MAKER MODEL | failed | layout differs: paper labels with marks, "
             "not black-mark paper",
             force ? "ETHERNET 127.0.0.3 | MAKER MODEL | set | layout cannot be read back |"
                   : "ETHERNET 127.0.0.3 | MAKER MODEL | skipped | cannot print: cover open |",
             "ETHERNET 127.0.0.7 | MAKER MODEL | failed | layout differs: pitch 900, not 1000 (0.1 "
             "mm) |"})
            CHECK_MESSAGE(report.find(line) != std::string::npos, line);
        CHECK(report.ends_with(force ? "\n4 set, 3 failed, 0 skipped\n"
                                     : "\n3 set, 3 failed, 1 skipped\n"));
        CHECK(FleetReport::exitCode(outcomes) == 1);
        // Only the profile and the questions: nothing sent to a printer that is skipped.
        std::string& written = fleet.printers[names[2]].written;
        CHECK((written.find("\x1C\x28\x4C") != std::string::npos) == force);
        written.clear();
    }
}

TEST_CASE("apply: bad input is refused with its place, and nothing is sent")
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "blackmark-fleet";
    std::filesystem::create_directories(folder);
    const auto file = [&](const char* name, const char* text) {
        std::ofstream((folder / name).string()) << text;
        return (folder / name).string();
    };
    const std::string profile = file("p.toml", "[black-mark]\nfunction = \"on\"\n");
    const std::string list = file("list", "ETHERNET 127.0.0.1\n");
    const std::string badList = file("bad", "ETHERNET 127.0.0.1\nETHERNET 127.0.0.1:9100\n");
    const std::string badProfile = file("bad.toml", "[black-mark]\nfunction = 1\n");
    struct Row {
        std::vector<std::string> words;
        std::string err;
    };
    const Row rows[] = {
        {{"apply", profile, "--printers", list, "--jobs", "0"},
         "--jobs takes a count from 1 to 256, not \"0\""},
        {{"--printers", list, "--jobs", "1000", "apply", profile}, "not \"1000\""},
        {{"apply", profile, "--printers", list, "--jobs", "2x"}, "not \"2x\""},
        {{"apply", profile, "--jobs"}, "--jobs takes a count"},
        {{"apply", profile, "--printers"}, "--printers takes a file"},
        {{"apply", profile, "other"}, "apply does not take \"other\""},
        {{"apply"}, "apply takes a profile"},
        {{"apply", profile, "--printers", list, "--ip", "127.0.0.2"},
         "give no --port, --ip or --driver"},
        {{"apply", "-", "--printers", "-"}, "cannot both come from standard input"},
        {{"apply", profile, "--printers", badList}, badList + ":2: the printer of line 1 again"},
        {{"apply", badProfile, "--printers", list}, badProfile + ":2:12: function takes"},
        {{"apply", (folder / "none").string()}, "none: cannot be read"},
        {{"apply", profile}, "--port ETHERNET needs --ip ADDRESS"},
        {{"profile", "check", badProfile}, badProfile + ":2:12: "},
        {{"profile", "show", profile}, "profile takes check FILE"}};
    for (const Row& row : rows) {
        CAPTURE(row.words);
        RecordingPrinterSdk sdk;
        const Said said = runCommandLine(sdk, row.words);
        CHECK(said.code == 2);
        CHECK(said.err.find(row.err) != std::string::npos);
        CHECK(sdk.calls.empty());
    }
}

TEST_CASE("apply to one printer, from standard input, with a JSON report")
{
    RecordingPrinterSdk sdk; // a printer that answers nothing
    std::istringstream in("[black-mark]\nmark-width = 3\n");
    std::ostringstream out, err;
    BlackmarkCommandLine commandLine(
        sdk, [] { return QueueListing{}; }, out, err, PortNames::PosixDevicePaths);
    commandLine.setFleetSupport({{}, &in, true});
    CHECK(commandLine.run({"blackmark", "apply", "--ip", "127.0.0.9", "-", "--json"}) == 0);
    CHECK(sdk.written.back() == std::string("\x1F\x1B\x1F\x81\x04\x05\x06\x18\x00", 9));
    CHECK(err.str() == "\rapply: 1 of 1 done\n");
    const std::string json = out.str();
    CHECK(json.starts_with("{\n    \"printers\": [\n        {\n            \"line\": 0,\n"
                           "            \"printer\": \"ETHERNET 127.0.0.9\",\n"
                           "            \"maker\": null,\n            \"model\": null,\n"
                           "            \"result\": \"set\",\n            \"reason\": \"\",\n"
                           "            \"layout\": null,\n            \"seconds\": "));
    CHECK(json.ends_with("\n        }\n    ],\n    \"set\": 1,\n    \"failed\": 0,\n"
                         "    \"skipped\": 0\n}\n"));
    RecordingPrinterSdk check;
    const Said shown = runCommandLine(check, {"profile", "check", "-"});
    CHECK(shown.code == 2); // no standard input given to this one
}

TEST_CASE("apply to a list through an SDK for each printer at work; profile check")
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "blackmark-fleet";
    std::filesystem::create_directories(folder);
    const std::string profile = (folder / "layout.toml").string();
    const std::string list = (folder / "two").string();
    std::ofstream(profile) << "[paper-layout]\npaper = \"black-mark\"\npitch = 100\n";
    std::ofstream(list) << "ETHERNET 127.0.0.1\nDRIVER Shop queue # no answers\n";
    FakeFleet fleet;
    fleet.printers["127.0.0.1"].heldLayout = HeldBlackMark100;
    RecordingPrinterSdk unused;
    std::ostringstream out, err;
    BlackmarkCommandLine commandLine(
        unused, [] { return QueueListing{}; }, out, err, PortNames::PosixDevicePaths);
    commandLine.setFleetSupport({[&] { return std::make_unique<FakeFleetSdk>(fleet); }});
    CHECK(commandLine.run({"blackmark", "apply", profile, "--printers", list, "--jobs", "2"}) == 0);
    CHECK(out.str().ends_with("DRIVER Shop queue | - | set | layout cannot be read back through "
                              "a printer queue | 0.00 s\n2 set, 0 failed, 0 skipped\n"));
    CHECK(fleet.printers["Shop queue"].written ==
          std::string("\x1C\x28\x4C\x0C\x00\x21", 6) + "31000;;;;;;");
    CHECK(unused.calls.empty());
    const Said dry = runCommandLine(unused, {"--dry-run", "apply", profile, "--printers", list});
    CHECK(dry.out == "1C 28 4C 0C 00 21 33 31 30 30 30 3B 3B 3B 3B 3B 3B\n");
    CHECK(unused.calls.empty());
    out.str("");
    CHECK(commandLine.run({"blackmark", "--json", "apply", profile, "--printers", list}) == 0);
    CHECK(out.str().find("\"layout\": \"verified\"") != std::string::npos);
    CHECK(out.str().find("\"layout\": \"unreadable\"") != std::string::npos);
    CHECK(runCommandLine(unused, {"profile", "check", profile}).out ==
          "paper layout: black-mark paper; pitch 100 mm, print start not set, cut not set, label "
          "bottom not set, printing area bottom not set, horizontal not set: 1C 28 4C 0C 00 21 "
          "33 31 30 30 30 3B 3B 3B 3B 3B 3B\n");
}
