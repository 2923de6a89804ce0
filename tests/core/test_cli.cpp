#include "CommandLineRun.h"
#include "JsonText.h"
#include "RecordingPrinterSdk.h"

#include <doctest/doctest.h>
#include <regex>
#include <sstream>

namespace
{

// One run of the command line: what it said, or what it sent ("POS_Open(...);bytes").
struct Case {
    std::string name;
    std::vector<std::string> arguments;
    int exitCode;
    std::string said;
    std::string told = {};        // on the error stream of a sent case, times as "T"
    std::int32_t openResult = 7;  // -1 fails the open
    std::int32_t writeResult = 0; // 0 writes all
    bool schedulerAnswers = true;
};

QueueListing kitchenAndLabels()
{
    QueueListing listing;
    listing.queues.resize(2);
    listing.queues[0].name = "Kitchen";
    listing.queues[1].name = "Labels";
    return listing;
}

QueueListing schedulerDown()
{
    return {{}, "the print scheduler cannot be reached"};
}

std::vector<Case> cases()
{
    std::vector<Case> cases;
    const std::vector<std::string> ip{"--ip", "127.0.0.1:9100"};
    const auto withIp = [&](std::vector<std::string> words) {
        words.insert(words.begin(), ip.begin(), ip.end());
        return words;
    };
    const std::string network = "127.0.0.1:9100,0,0,0,0,21";
    const auto sent = [&](std::string name, std::vector<std::string> words, std::string bytes,
                          std::string open = {}, std::string told = {}) {
        const bool onNetwork = open.empty();
        cases.push_back({name, onNetwork ? withIp(words) : words, 0,
                         "POS_Open(" + (onNetwork ? network : open) + ");" + bytes, told});
    };
    const auto refused = [&](std::string name, std::vector<std::string> words, std::string why) {
        cases.push_back({name, words, 2, "blackmark: " + why + "\n(see blackmark --help)\n"});
    };
    // Each subcommand reaches its own button, with its distance or switch.
    sent("mark-width", {"mark-width", "300"}, "1F 1B 1F 81 04 05 06 60 09");
    sent("paper-width", {"paper-width", "10"}, "1F 1B 1F 82 04 05 06 50 00");
    sent("print-start feed", {"print-start", "feed", "12.5"}, "1D 28 46 04 00 01 00 64 00");
    sent("print-start backfeed", {"print-start", "backfeed", "1"}, "1D 28 46 04 00 01 01 08 00");
    sent("cut-position feed", {"cut-position", "feed", "32"}, "1D 28 46 04 00 02 00 00 01");
    sent("cut-position backfeed", {"cut-position", "backfeed", "2"}, "1D 28 46 04 00 02 01 10 00");
    sent("black-mark on", {"black-mark", "on"}, "1F 1B 1F 80 04 05 06 44");
    sent("black-mark off", {"black-mark", "off"}, "1F 1B 1F 80 04 05 06 66");
    sent("test-print", {"test-print"},
         "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A "
         "2A 2A 2A 0A");
    sent("send", {"send", " 1b 40 "}, "1B 40");
    sent("serial", {"--port", "COM3", "--baud", "9600", "test-cut"}, "1B 40 1D 56 30 0A",
         "COM3,9600,8,0,0,1");
    sent("named queue", {"--port", "DRIVER", "--driver", "Labels", "test-cut"}, "1B 40 1D 56 30 0A",
         "Labels,0,0,0,0,20");
    sent("first queue", {"--port", "DRI", "test-cut"}, "1B 40 1D 56 30 0A", "Kitchen,0,0,0,0,20");
    sent("unit and rounding", {"print-start", "backfeed", " 2.51mm"}, "1D 28 46 04 00 01 01 14 00",
         {}, "blackmark: 2.51 mm sent as 2.5 mm, 20 counts\n");
    sent("rounded to whole millimetres", {"mark-width", "1.0625"}, "1F 1B 1F 81 04 05 06 08 00", {},
         "blackmark: 1.0625 mm sent as 1 mm, 8 counts\n");
    sent("blanks around a distance", {"mark-width", "\t5.\v mm\f\r\n"},
         "1F 1B 1F 81 04 05 06 28 00");
    sent("verbose", {"--verbose", "black-mark", "on"}, "1F 1B 1F 80 04 05 06 44", {},
         "blackmark: T ms opened: 127.0.0.1:9100\nblackmark: T ms wrote 8 bytes\n"
         "blackmark: T ms closed\nblackmark: T ms confirmed: the port took all 8 bytes and "
         "closed cleanly\n");
    // How options are read.
    sent("option=value", {"--port=COM3", "--baud=38400", "test-cut"}, "1B 40 1D 56 30 0A",
         "COM3,38400,8,0,0,1");
    sent("last value wins",
         {"--port", "LPT1", "--baud", "x", "--port", "COM2", "--baud", "9600", "test-cut"},
         "1B 40 1D 56 30 0A", "COM2,9600,8,0,0,1");
    sent("-- ends the options", {"--", "test-cut"}, "1B 40 1D 56 30 0A");
    sent("options after the subcommand", {"test-cut", "--port", "COM3", "--baud=9600"},
         "1B 40 1D 56 30 0A", "COM3,9600,8,0,0,1");
    refused("a subcommand's option it does not take", {"--jobs=2", "test-cut"},
            "Unknown option 'jobs'.");
    refused("value of a subcommand's switch", {"--force=1", "apply", "p"},
            "Unexpected value after '--force'.");
    refused("missing value of a subcommand's option", {"--printers"},
            "Missing value after '--printers'.");
    refused("a lone dash is a word that ends nothing",
            {"--dry-run", "-", "--port", "X", "test-cut"},
            "\"X\" is no port: it must begin with ETH, COM, LPT or DRI.");
    refused("unknown letter after a known one", {"-hx"}, "Unknown option 'x'.");
    refused("unknown options", {"-x=", "--bogus", "test-cut"}, "Unknown options: x, =, bogus.");
    refused("missing value", {"--bogus", "--port"}, "Missing value after '--port'.");
    refused("value of a switch", {"--dry-run=1", "test-cut"},
            "Unexpected value after '--dry-run'.");
    refused("value of a letter", {"-h=3"}, "Unexpected value after '-h'.");
    refused("empty option name", {"--=x"}, "Unknown option ''.");
    refused("stray bytes read as U+FFFD", {"--port", "\xFF\xC3x", "test-cut"},
            "\"\xEF\xBF\xBD\xEF\xBF\xBDx\" is no port: it must begin with ETH, COM, LPT or DRI.");
    // Refusals before anything is opened.
    const std::string notADistance = " is not a distance: give a decimal number of millimetres, "
                                     "such as 2.5 or 2.5mm";
    for (const char* distance :
         {"abc", "", "nan", "inf", "1,5", "1e2", "-1", ".", "5mmm", "1 2", "\xC2\xA0\x35"})
        refused(distance, withIp({"mark-width", distance}),
                '"' + std::string(distance) + '"' + notADistance);
    const std::string noAddress = " is not a network address: ";
    refused("address checked for any port", {"--port", "COM1", "--ip", "x:y", "test-cut"},
            "\"x:y\"" + noAddress + "the port must be a number from 1 to 65535");
    refused("no address", {"--port", "ETHERNET", "test-cut"},
            "--port ETHERNET needs --ip ADDRESS: the printer's network address");
    refused("LPT", {"--port", "LPT", "test-cut"},
            "\"LPT\" is not a parallel or USB printer port: use LPT followed by a number from 1, "
            "or by a device path such as LPT /dev/...");
    refused("missing distance", withIp({"mark-width"}), "mark-width takes one distance in mm");
    refused("missing direction", withIp({"cut-position", "3"}),
            "cut-position takes feed or backfeed and a distance in mm");
    refused("bad direction", withIp({"print-start", "up", "3"}),
            "print-start takes feed or backfeed, not \"up\"");
    refused("bad switch", withIp({"black-mark", "maybe"}),
            "black-mark takes off or on, not \"maybe\"");
    refused("send without text", withIp({"send"}), "send takes one hex command text, in quotes");
    refused("test-print with a word", withIp({"test-print", "x"}), "test-print takes nothing");
    refused("unknown subcommand", withIp({"feed"}), "unknown subcommand \"feed\"");
    refused("no subcommand", {"--dry-run"}, "no subcommand given");
    refused("port without kind", {"--port", "com1", "test-cut"},
            "\"com1\" is no port: it must begin with ETH, COM, LPT or DRI. Did you mean "
            "\"COM1\"?");
    refused("odd baud", {"--port", "LPT1", "--baud", "4800", "test-cut"},
            "the baud rate must be 9600, 19200, 38400 or 115200, not \"4800\"");
    refused("ports with a word", {"ports", "x"}, "ports takes nothing but --json");
    refused("ports with more", {"ports", "--json", "x"}, "ports takes nothing but --json");
    for (const auto& [words, why] :
         {std::pair<std::vector<std::string>, std::string>{
              {"--tcp-port", "0", "discover", "1"},
              "--tcp-port takes a whole number from 1 to "
              "65535, not \"0\""},
          {{"discover", "1", "--port", "1"}, "discover does not take \"--port\""}})
        cases.push_back({"discover's options, " + why, words, 2, "blackmark: " + why + "\n"});
    cases.push_back({"bad hex", withIp({"send", "1B  40"}), 2,
                     "blackmark: This is not a printer command; nothing was sent. empty token "
                     "after token 1\n"});
    cases.push_back({"distance too large", withIp({"mark-width", "4095.95"}), 2,
                     "blackmark: Set black mark's max width: the distance \"4095.95\" cannot be "
                     "sent.\nEnter a distance from 0 to 4095.875 mm; the button chooses the "
                     "direction.\n"});
    // Not sent: the port or the document failed, or no queue could be chosen.
    const auto notSent = [&](std::string name, std::vector<std::string> words, std::string why,
                             std::int32_t open, std::int32_t write, bool scheduler) {
        cases.push_back({name, words, 1, "blackmark: " + why + "\n", {}, open, write, scheduler});
    };
    notSent("not opened", withIp({"test-cut"}), "Fail to open port,please check! scripted failure",
            -1, 0, true);
    notSent("short write", withIp({"test-cut"}),
            "The command did not reach the printer. scripted failure", 7, 3, true);
    notSent("no queue to choose", {"--port", "DRIVER", "test-cut"},
            "no printer queue to choose: the print scheduler cannot be reached", 7, 0, false);
    notSent("no printers", {"printers"}, "the print scheduler cannot be reached", 7, 0, false);
    // What goes to the output.
    cases.push_back({"dry run",
                     {"--dry-run", "--port", "LPT1", "mark-width", "300"},
                     0,
                     "1F 1B 1F 81 04 05 06 60 9\n"});
    cases.push_back({"dry run of trimmed hex", {"--dry-run", "send", "  1B 40  "}, 0, "1B 40\n"});
    cases.push_back({"printers", {"printers", "x"}, 0, "Kitchen\nLabels\n"});
    return cases;
}

Said run(PrinterSdk& sdk, std::vector<std::string> words,
         const BlackmarkCommandLine::QueueSource& queues = kitchenAndLabels,
         const PortNames::DevicePathStyle& paths = PortNames::PosixDevicePaths)
{
    return runCommandLine(sdk, std::move(words), queues, paths);
}

} // namespace

TEST_CASE("the command line's words against a recording SDK")
{
    for (const Case& c : cases()) {
        CAPTURE(c.name);
        RecordingPrinterSdk sdk;
        sdk.openResult = c.openResult;
        sdk.writeResult = c.writeResult ? c.writeResult : RecordingPrinterSdk::AnswerTheCount;
        const Said said =
            run(sdk, c.arguments, c.schedulerAnswers ? kitchenAndLabels : schedulerDown);
        CHECK(said.code == c.exitCode);
        if (c.said.starts_with("POS_Open(")) { // sent: the open and the one document written
            const std::size_t split = c.said.find(';');
            REQUIRE(sdk.calls.size() == 5);
            CHECK(sdk.calls[0] == c.said.substr(0, split));
            CHECK(RecordingPrinterSdk::hex(sdk.written.at(0)) == c.said.substr(split + 1));
            CHECK(std::regex_replace(said.err, std::regex("\\d+\\.\\d ms"), "T ms") == c.told);
        } else {
            CHECK((c.exitCode == 0 ? said.out : said.err) == c.said);
            CHECK(sdk.calls.empty() == (c.exitCode != 1 || !c.schedulerAnswers));
        }
    }
}

TEST_CASE("ports are listed when the scheduler cannot list its queues, with a note")
{
    RecordingPrinterSdk sdk;
    const Said said = run(sdk, {"ports"}, schedulerDown);
    CHECK(said.code == 0);
    CHECK(said.err ==
          "blackmark: no printer queues listed: the print scheduler cannot be reached\n");
}

TEST_CASE("help and version, before any check of the words")
{
    RecordingPrinterSdk sdk;
    for (const char* help : {"--help", "-h", "--h"}) {
        const Said said = run(sdk, {"--bogus=", help});
        CHECK(said.code == 2);
        const Said shown = run(sdk, {"x", "--port", "X", help});
        CHECK(shown.code == 0);
        CHECK(shown.out.starts_with("Usage: blackmark [options] SUBCOMMAND [ARGUMENTS]\n"));
        // Each option, with the defaults the words fall back to.
        for (const char* line :
             {"\n  -h, --help  ", "\n  --version  ", "\n  --port <PORT>  ", "(default ETHERNET)",
              "\n  --ip <ADDRESS>  ", "\n  --baud <RATE>  ", "(default 19200)",
              "\n  --driver <NAME>  ", "\n  --dry-run  ", "\n  --verbose  ", "\n  --json  ",
              "\nSubcommands, one per button"})
            CHECK_MESSAGE(shown.out.find(line) != std::string::npos, line);
        CHECK(
            shown.out.ends_with("\nprinter not set), 2 bad input, 3 (status) cannot print now.\n"));
    }
    const Said version = run(sdk, {"--port", "X", "--version", "x"});
    CHECK(version.code == 0);
    CHECK(version.out.starts_with("blackmark "));
    CHECK(sdk.calls.empty());
}

TEST_CASE("the help and the refusals show device paths as the platform writes them")
{
    RecordingPrinterSdk sdk;
    const Said help = run(sdk, {"--help"}, kitchenAndLabels, PortNames::WindowsDevicePaths);
    CHECK(help.out.find("such as COM \\\\.\\COM10\n") != std::string::npos);
    const Said refused =
        run(sdk, {"--port", "COM", "test-cut"}, kitchenAndLabels, PortNames::WindowsDevicePaths);
    CHECK(refused.err.starts_with("blackmark: \"COM\" is not a serial port: use COM followed by a "
                                  "number from 1, or by a device path such as COM \\\\.\\...\n"));
}

TEST_CASE("ports as JSON: sorted fields, four-space indents, strings escaped")
{
    ListedPort queue;
    queue.portText = "DRIVER";
    queue.kind = "printer queue";
    queue.driver = "K\"\\/\b\f\n\r\t\x01\x1F\x7F\xC3\xA9\xFF";
    queue.busy = true;
    CHECK(JsonText::ports({}) == "[\n]\n");
    const std::string element =
        "    {\n"
        "        \"busy\": true,\n"
        "        \"device\": \"\",\n"
        "        \"driver\": \"K\\\"\\\\/\\b\\f\\n\\r\\t\\u0001\\u001f\x7F\xC3\xA9\xEF\xBF\xBD\",\n"
        "        \"kind\": \"printer queue\",\n"
        "        \"port\": \"DRIVER\"\n"
        "    }";
    CHECK(JsonText::ports({queue, queue}) == "[\n" + element + ",\n" + element + "\n]\n");
}
