#include "CallQueue.h"
#include "KeptAnswers.h"
#include "LineTime.h"
#include "PortKind.h"
#include "PortNames.h"
#include "PrinterPortOpening.h"
#include "PrinterQueue.h"
#include "RecordingPrinterSdk.h"
#include "SendBounds.h"
#include "SystemPrinterSdk.h"

#include <doctest/doctest.h>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace
{

// A port that takes what it is given, or refuses at the stage it is told to.
struct FakePort : PrinterPort {
    std::string* received;
    std::string refusedAt;

    bool open(const PortOpenRequest& request) override
    {
        *received += "open " + request.name + ";";
        return refusedAt != "open" || fail("cannot open " + request.name);
    }
    bool write(const char* data, std::int64_t count) override
    {
        received->append(data, std::size_t(count));
        return refusedAt != "write" || fail("took nothing");
    }
    bool close() override
    {
        *received += ";closed";
        return refusedAt != "close" || fail("close failed");
    }
};

SystemPrinterSdk::PortMaker fakePorts(std::string& received, const std::string& refusedAt = {})
{
    return [&received, refusedAt](std::int32_t openMode) -> std::unique_ptr<PrinterPort> {
        if (openMode != OpenMode::ParallelOrUsbDevice)
            return nullptr;
        auto port = std::make_unique<FakePort>();
        port->received = &received;
        port->refusedAt = refusedAt;
        return port;
    };
}

} // namespace

TEST_CASE("the port text picks the kind, the usable controls and the open")
{
    struct Row {
        std::string portText;
        std::string enabled; // Text1, Combo2, Combo3 as 1/0; empty: unchanged
        std::string open;    // what POS_Open gets; empty: not called
    };
    const Row rows[] = {{"ETHERNET", "100", "127.0.0.1:9101,0,0,0,0,21"},
                        {"ETH", "100", "127.0.0.1:9101,0,0,0,0,21"},
                        {"COM1", "001", "COM1,115200,8,0,0,1"},
                        {"COM /dev/ttyUSB0", "001", "COM /dev/ttyUSB0,115200,8,0,0,1"},
                        {"LPT7", "000", "LPT7,0,0,0,0,18"},
                        {"DRIVER", "010", "Kasse-K\xC3\xBC\x63he,0,0,0,0,20"},
                        {"DRIVERS", "010", "Kasse-K\xC3\xBC\x63he,0,0,0,0,20"},
                        {"com1", "", ""},
                        {" COM1", "", ""},
                        {"ET", "", ""},
                        {"", "", ""}};
    for (const Row& row : rows) {
        CAPTURE(row.portText);
        const auto states = parameterControlsFor(row.portText);
        REQUIRE(states.has_value() == !row.enabled.empty());
        if (states)
            CHECK(*states == ParameterControlsEnabled{row.enabled[0] == '1', row.enabled[1] == '1',
                                                      row.enabled[2] == '1'});
        RecordingPrinterSdk sdk;
        std::string reason;
        const std::int32_t handle = OpenPrinterPort(
            {row.portText, "127.0.0.1:9101", "Kasse-K\xC3\xBC\x63he", " 115200 "}, sdk, reason);
        CHECK(sdk.calls == (row.open.empty()
                                ? std::vector<std::string>()
                                : std::vector<std::string>{"POS_Open(" + row.open + ")"}));
        CHECK(handle == (row.open.empty() ? -1 : sdk.openResult));
        CHECK(reason.empty() == !row.open.empty());
    }
}

TEST_CASE("a serial port takes the baud rate as a decimal number")
{
    for (const auto& [text, rate] : std::initializer_list<std::pair<const char*, int>>{
             {"9600", 9600}, {"+19200", 19200}, {"38400x", 0}, {"", 0}, {"99999999999", 0}}) {
        CAPTURE(text);
        CHECK(openArgumentsFor({"COM1", "", "", text})->baudRate == rate);
    }
}

TEST_CASE("a port text of no kind says why, and suggests the word meant")
{
    const char* const rows[][2] = {{"com1", " Did you mean \"COM1\"?"},
                                   {" COM1 ", " Did you mean \"COM1\"?"},
                                   {"Eth", " Did you mean \"ETHERNET\"?"},
                                   {"ethernet", " Did you mean \"ETHERNET\"?"},
                                   {"dri", " Did you mean \"DRIVER\"?"},
                                   {"lpt /dev/x", " Did you mean \"LPT /dev/x\"?"},
                                   {"drivers", " Did you mean \"DRIvers\"?"},
                                   {"usb", ""},
                                   {"co", ""}};
    for (const auto& [text, suggestion] : rows) {
        CAPTURE(text);
        CHECK(nearMissSuggestion(text) == suggestion);
        RecordingPrinterSdk sdk;
        std::string reason;
        CHECK(OpenPrinterPort({text, "", "", ""}, sdk, reason) == -1);
        CHECK(reason == "The port \"" + std::string(text) +
                            "\" is none that this tool knows: it must begin with ETH, COM, LPT "
                            "or DRI." +
                            suggestion);
    }
}

TEST_CASE("network addresses")
{
    const std::string port = "the port must be a number from 1 to 65535";
    const std::string host = "the host has a character that no host name or address has";
    const std::string rows[][2] = {{"192.168.1.50", "192.168.1.50:9100"},
                                   {"localhost:65535", "localhost:65535"},
                                   {"printer:1", "printer:1"},
                                   {"[::1]:9101", "[::1]:9101"},
                                   {"[::1]", "[::1]:9100"},
                                   {"fe80::1", "[fe80::1]:9100"},
                                   {"", "it is empty"},
                                   {"10.0.0.1:0", port},
                                   {"10.0.0.1:", port},
                                   {"10.0.0.1:65536", port},
                                   {"10.0.0.1:099999", port},
                                   {"10.0.0.1:9x", port},
                                   {":9100", "the host is missing"},
                                   {"[]:9100", "the host is missing"},
                                   {"[::1", "the \"]\" is missing"},
                                   {"[::1]x", "only \":port\" may follow \"]\""},
                                   {"]::1]:9101", host},
                                   {"print er", host},
                                   {"printer\xC2\xA0", host},
                                   {"printer\x01", host},
                                   {"printer\xFF", host}};
    for (const auto& [text, read] : rows) {
        CAPTURE(text);
        const PortNames::NetworkAddress address = PortNames::readNetworkAddress(text);
        if (address.refusal.empty())
            CHECK(address.display() == read);
        else
            CHECK(address.refusal == "\"" + text + "\" is not a network address: " + read);
    }
    CHECK(PortNames::readListenAddress("9101").display() == "127.0.0.1:9101");
    CHECK(PortNames::readListenAddress("[::1]:7").display() == "[::1]:7");
}

TEST_CASE("a serial or printer port text names a numbered port or a device path")
{
    using PortNames::PosixDevicePaths, PortNames::WindowsDevicePaths;
    struct Row {
        std::string text;
        const PortNames::DevicePathStyle& paths;
        long long number;
        std::string path; // both empty: refused
    };
    const Row rows[] = {{"COM1", PosixDevicePaths, 1, ""},
                        {"COM12", WindowsDevicePaths, 12, ""},
                        {"COM  /dev/pts/3 ", PosixDevicePaths, 0, "/dev/pts/3"},
                        {"COM\t/dev/pts/4", PosixDevicePaths, 0, "/dev/pts/4"},
                        {"LPT /dev/x\xA0", PosixDevicePaths, 0, "/dev/x\xA0"}, // a stray byte
                        {"COM \\\\.\\CNCA0", WindowsDevicePaths, 0, "\\\\.\\CNCA0"},
                        {"COM \\\\.\\COM3", PosixDevicePaths, 0, ""},
                        {"COM /dev/ttyS0", WindowsDevicePaths, 0, ""},
                        {"COM0", PosixDevicePaths, 0, ""},
                        {"COM 1", PosixDevicePaths, 0, ""},
                        {"COM999999999", PosixDevicePaths, 999999999, ""},
                        {"COM9999999999", PosixDevicePaths, 0, ""},
                        {"COM1x", WindowsDevicePaths, 0, ""},
                        {"LPT7", PosixDevicePaths, 7, ""},
                        {"LPT /dev/usb/lp0", PosixDevicePaths, 0, "/dev/usb/lp0"},
                        {"LPT \\\\?\\usb#vid_0519", WindowsDevicePaths, 0, "\\\\?\\usb#vid_0519"},
                        {"LPT", PosixDevicePaths, 0, ""}};
    for (const Row& row : rows) {
        CAPTURE(row.text);
        const PortNames::DevicePort port = row.text.starts_with('C')
                                               ? PortNames::readSerialPort(row.text, row.paths)
                                               : PortNames::readParallelPort(row.text, row.paths);
        CHECK(port.number == row.number);
        CHECK(port.path == row.path);
        CHECK(port.refusal.empty() == (row.number > 0 || !row.path.empty()));
    }
    CHECK(PortNames::readSerialPort("LPT1", PosixDevicePaths).refusal ==
          "\"LPT1\" does not begin with COM");
    CHECK(PortNames::readParallelPort("LPT", PosixDevicePaths).refusal ==
          "\"LPT\" is not a parallel or USB printer port: use LPT followed by a number from 1, "
          "or by a device path such as LPT /dev/...");
    CHECK(PortNames::readSerialPort("COMx", WindowsDevicePaths).refusal ==
          "\"COMx\" is not a serial port: use COM followed by a number from 1, or by a device "
          "path such as COM \\\\.\\...");
}

TEST_CASE("our SDK checks each call and numbers its handles")
{
    std::string received;
    SystemPrinterSdk sdk(fakePorts(received));
    CHECK(sdk.POS_WriteFile(1, "x", 1) == -1);
    CHECK(sdk.lastFailure() == "no port is open");
    CHECK(sdk.POS_StartDoc() + sdk.POS_EndDoc() + sdk.POS_Close() == -3);
    const auto refusal = [&](const std::string& name, std::int32_t mode) {
        return sdk.POS_Open(name, 9600, 8, 0, 0, mode) == -1 ? sdk.lastFailure() : "opened";
    };
    CHECK(refusal(std::string("LPT1\0/etc/passwd", 16), OpenMode::ParallelOrUsbDevice) ==
          "the port name holds a NUL character");
    CHECK(refusal("x", 7) == "open mode 7 is none that this tool supports");

    const std::int32_t handle = sdk.POS_Open("LPT1", 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice);
    CHECK(handle == 1);
    CHECK(refusal("LPT2", OpenMode::ParallelOrUsbDevice) ==
          "a port is open already; it must be closed first");
    CHECK(sdk.POS_WriteFile(handle + 1, "x", 1) == -1);
    CHECK(sdk.lastFailure() == "handle 2 is not that of the open port");
    CHECK(sdk.POS_WriteFile(handle, nullptr, 5) == -1);
    CHECK(sdk.lastFailure() == "nothing valid to write (5 bytes)");
    CHECK(sdk.POS_WriteFile(handle, "x", -1) == -1);
    CHECK(sdk.POS_WriteFile(handle, nullptr, 0) == 0);
    char byte = 0;
    CHECK(sdk.POS_ReadFile(handle, &byte, 0, 10) == -1);
    CHECK(sdk.lastFailure() == "nowhere valid to read into (0 bytes)");
    CHECK(sdk.POS_StartDoc() == 1);
    CHECK(sdk.POS_WriteFile(handle, "ok", 2) == 2);
    CHECK(sdk.POS_EndDoc() == 1);
    CHECK(sdk.POS_Close() == 1);
    CHECK(sdk.POS_Close() == -1);
    CHECK(sdk.POS_Open("LPT3", 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice) == 2);
    CHECK(sdk.POS_Close() == 1);
    CHECK(received == "open LPT1;ok;closedopen LPT3;;closed");
}

TEST_CASE("our SDK passes on each failure of its port")
{
    const char* const rows[][2] = {
        {"open", "cannot open LPT1"}, {"write", "took nothing"}, {"close", "close failed"}};
    for (const auto& [stage, failure] : rows) {
        std::string received;
        SystemPrinterSdk sdk(fakePorts(received, stage));
        const std::int32_t handle = sdk.POS_Open("LPT1", 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice);
        CHECK((handle < 0 || sdk.POS_WriteFile(handle, "ab", 2) < 0 || sdk.POS_Close() < 0));
        CHECK(sdk.lastFailure() == failure);
    }
}

TEST_CASE("a printer queue's state and why it cannot print")
{
    struct Row {
        bool stopped, printing, accepting;
        std::string reason, state, refusal;
    };
    const std::string ready = "; once the printer is ready, let it print again with ";
    const Row rows[] = {
        {false, false, true, "paper out", "idle", ""},
        {false, true, true, "", "printing", ""},
        {true, false, true, "", "stopped",
         "printer queue \"q\" is stopped" + ready + "`cupsenable q`"},
        {false, false, false, "full", "idle, not accepting jobs: full",
         "printer queue \"q\" is idle, not accepting jobs: full" + ready + "`cupsaccept q`"},
        {true, false, false, "paper out", "stopped, not accepting jobs: paper out",
         "printer queue \"q\" is stopped, not accepting jobs: paper out" + ready +
             "`cupsenable q` and `cupsaccept q`"}};
    for (const Row& row : rows) {
        PrinterQueue queue{"q", "", row.stopped, row.printing, row.accepting, row.reason};
        CHECK(queue.stateText() == row.state);
        CHECK(queue.refusalToPrint() == row.refusal);
    }
    QueueListing listing;
    listing.queues = {{"Kitchen", "", false, false, true, ""},
                      {"Labels", "", false, false, true, ""}};
    CHECK(listing.names() == std::vector<std::string>{"Kitchen", "Labels"});
}

TEST_CASE("a serial line's time grows with the document, and starts afresh after an answer")
{
    CHECK(LineTime::boundMs(960, 9600) == 3000);
    CHECK(LineTime::boundMs(1, 115200) == 2000);
    CHECK(LineTime::boundMs(10, 0) == 102000); // a rate of 0 must not divide by zero

    LineTime line(9600);
    line.startWrite(960);
    CHECK(line.deadline().remainingMs() <= 3000);
    line.wrote(900);
    line.startWrite(960); // one send: the second write adds its time without a second slack
    CHECK(line.deadline().remainingMs() > 3000);
    CHECK(line.deadline().remainingMs() <= 4000);
    CHECK(line.overrun("COM5") == "write to COM5: the line took 900 of 1920 bytes within 4000 "
                                  "ms (is the printer on, and at 9600 baud?)");
    line.answerAwaited();
    line.startWrite(96);
    CHECK(line.deadline().remainingMs() <= 2100);
}

TEST_CASE("only the newest answers are kept, and each is taken once")
{
    KeptAnswers kept;
    std::string talk(KeptAnswers::MostBytes + 3, 'x');
    talk.replace(0, 4, "abcd");
    kept.keep(talk.data(), talk.size());
    char taken[2];
    REQUIRE(kept.take(taken, 2) == 2);
    CHECK(std::string(taken, 2) == "dx");
    std::string rest(KeptAnswers::MostBytes, '\0');
    CHECK(kept.take(rest.data(), rest.size()) == KeptAnswers::MostBytes - 2);
    CHECK(kept.empty());
}

TEST_CASE("what a send that overruns its bound says")
{
    CHECK(SendBounds::deviceDidNotTake("/dev/usb/lp0", 0) ==
          "write to /dev/usb/lp0: the printer did not take the document within 10 s (offline, out "
          "of paper or switched off?)");
    CHECK(SendBounds::deviceDidNotTake("LPT1", 64) ==
          "write to LPT1: the printer did not take the document within 11 s (offline, out of "
          "paper or switched off?)");
    CHECK(SendBounds::deviceMs(640000) == 20000);
    CHECK(SendBounds::notAllWentOut("10.0.0.5:9100", 4096, 32768) ==
          "write to 10.0.0.5:9100: only 4096 of 32768 bytes went out within 10 s");
    CHECK(SendBounds::queueDidNotAnswer() == "the printer's queue did not answer within 10 s");
}

TEST_CASE("a call queue stops waiting at the bound, and still runs every call in order")
{
    struct Calls {
        std::mutex mutex;
        std::string done;
        void add(char call)
        {
            const std::lock_guard lock(mutex);
            done += call;
        }
    };
    const auto calls = std::make_shared<Calls>();
    std::promise<void> answer;
    const std::shared_future<void> answered = answer.get_future().share();
    {
        CallQueue queue;
        CHECK(queue.callWithin(Deadline(5000), [] { return 7; }) == 7);
        const Deadline bound(2000);
        CHECK_FALSE(queue.callWithin(Deadline(100), [calls, answered] {
            answered.wait();
            calls->add('a');
            return 0;
        }));
        CHECK_FALSE(bound.expired());
        CHECK_FALSE(queue.callWithin(Deadline(0), [calls] {
            calls->add('b');
            return 0;
        }));
        queue.post([calls] { calls->add('c'); });
    } // gone while its call is held, without waiting for it
    answer.set_value();
    for (const Deadline bound(5000); calls.use_count() > 1 && !bound.expired();)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::lock_guard lock(calls->mutex);
    CHECK(calls->done == "abc");
}
