#pragma once

#include "FleetRun.h"
#include "PortNames.h"
#include "PrinterQueue.h"

#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

class CommandLineOptions;
class PrinterSdk;

// The command line: one subcommand per button of the window, the same port words, the same
// catalogue, send and refusals, and the printer's answers to who it is and whether it can
// print. Returns the exit code: 0 sent, 1 port not opened, the document failed or no answer,
// 2 bad input, 3 cannot print now.
class BlackmarkCommandLine
{
public:
    using QueueSource = std::function<QueueListing()>;

    // devicePaths: how this platform writes device paths, for the help and the refusals.
    BlackmarkCommandLine(PrinterSdk& sdk, QueueSource queues, std::ostream& out, std::ostream& err,
                         const PortNames::DevicePathStyle& devicePaths);

    // The program as it was called, then its arguments, as bytes from the system.
    int run(const std::vector<std::string>& arguments);

    enum ExitCode { Sent = 0, NotSent = 1, BadInput = 2 };

    // What `apply` needs beyond one printer's SDK.
    struct FleetSupport {
        // An SDK for each printer at work at once; without it the printers go one at a time
        // through the SDK given.
        FleetRun::SdkMaker makeSdk;
        std::istream* in = nullptr; // for "-"
        bool errorIsTerminal = false;
    };
    void setFleetSupport(FleetSupport support) { fleet_ = std::move(support); }

    // What the words ask to send, and where.
    struct Request;

private:
    int badInput(const std::string& why);
    int listPrinters();
    int listPorts(const CommandLineOptions& options);
    int send(const CommandLineOptions& options, Request& request);
    int layout(const CommandLineOptions& options);
    int ask(const CommandLineOptions& options);
    int profile(const CommandLineOptions& options);
    int apply(const CommandLineOptions& options);
    // The port that the options name, for a single printer; the refusal when they name none.
    std::string readPort(const CommandLineOptions& options, PortSettings& port);
    bool readInput(const std::string& name, std::string& text);

    PrinterSdk& sdk_;
    QueueSource queues_;
    std::ostream& out_;
    std::ostream& err_;
    const PortNames::DevicePathStyle& devicePaths_;
    FleetSupport fleet_;
};
