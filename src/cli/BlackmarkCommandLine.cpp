#include "BlackmarkCommandLine.h"

#include "BlackMarkCatalogue.h"
#include "CommandLineOptions.h"
#include "CommandSender.h"
#include "DiscoverSubcommand.h"
#include "DryRunPrinterSdk.h"
#include "EnquirySubcommands.h"
#include "HexCommandText.h"
#include "JsonText.h"
#include "LabelLayoutCommands.h"
#include "LayoutSubcommand.h"
#include "PortChoices.h"
#include "PortKind.h"
#include "PortListing.h"
#include "PortNames.h"
#include "PrinterEnquiry.h"
#include "StreamMessages.h"
#include "StrictDistance.h"
#include "SystemText.h"
#include "VerbosePrinterSdk.h"

#include <algorithm>

struct BlackmarkCommandLine::Request {
    std::vector<std::string> words; // the subcommand and its arguments
    PortSettings port;
    std::vector<std::string> notes; // told on the error stream before the send
};

namespace
{

const char* const Subcommands = R"(Subcommands, one per button of the window:
  mark-width MM                    Set black mark's max width
  paper-width MM                   Set black mark paper max width
  print-start feed|backfeed MM     Feed or backfeed paper after black mark is found
  cut-position feed|backfeed MM    Cut position after black mark is found, Feed or Backfeed
  black-mark on|off                Black mark function on or off
  test-print                       Find start position and print
  test-cut                         Test cut position
And further:
  send "HEX TEXT"                  Send any hex command text, such as "1B 40"
  identify [--json]                Ask the printer who it is: maker, model, firmware, serial
  status [--json]                  Ask the printer whether it can print, and if not, why
  layout black-mark|label|none     Set the paper layout of the other family (FS ( L), only
                                   what is given: --pitch MM, --print-start MM, --cut MM,
                                   for labels --bottom MM and --with-marks; --save keeps it
  layout show [--json]             Ask the printer for its paper layout, set and in effect
  layout test-print|test-cut       Feed to the next print start and print a line, or cut
  profile check FILE               Show each command a settings profile (TOML) sends, in hex
  apply FILE                       Set the profile on the printer that the options name, or on
                                   each printer of --printers LIST (a file, or - for standard
                                   input), --jobs N at a time (default 16, 1 to 256); --force
                                   sets a printer that says it cannot print; --json reports
                                   as JSON
  printers                         List the installed printer queues
  ports [--json]                   List this machine's ports by their port text
  discover RANGE... [--json]       Find the printers on a network: 192.168.1.50,
                                   192.168.1.0/24 or 192.168.1.20-192.168.1.80 (loopback,
                                   private and link-local only, at most 4096 addresses);
                                   --tcp-port N (9100), --jobs N (64), --timeout MS (1000);
                                   exit 0 when a printer was found, 1 when none
Options go before the subcommand. Exit codes: 0 sent (status: ready to print; apply: every
printer set), 1 port not opened, the document failed or no answer (apply: any printer not
set), 2 bad input, 3 (status) cannot print now.)";

CommandLineOptions blackmarkOptions(const PortNames::DevicePathStyle& devicePaths)
{
    return CommandLineOptions(
        "Sets up the black-mark function of an ESC/POS receipt printer.",
        {{{"h", "help"}, "Show this help."},
         {{"version"}, "Show the version."},
         {{"port"},
          "ETHERNET, COM1 to COM9, LPT1 to LPT3, DRIVER, or any text with the same first three "
          "letters, such as COM " +
              std::string(devicePaths.serialExample) + " (default ETHERNET).",
          "PORT",
          "ETHERNET"},
         {{"ip"}, "The printer's network address, HOST[:PORT]; needed with ETHERNET.", "ADDRESS"},
         {{"baud"}, "9600, 19200, 38400 or 115200 (default 19200).", "RATE", "19200"},
         {{"driver"}, "The printer queue (default: the first installed).", "NAME"},
         {{"dry-run"}, "Print the hex text and send nothing."},
         {{"verbose"},
          "Tell each stage of the send (opened, wrote, closed, confirmed) with its time."},
         {{"json"}, "List the ports, or what the printer answered, as JSON."}},
        {"subcommand", "What to send.", "SUBCOMMAND [ARGUMENTS]"});
}

const char* const QueueCannotAnswer = PrinterEnquiry::QueueCannotAnswer;

using Request = BlackmarkCommandLine::Request;

// Why the port settings cannot name a port, before anything is opened; empty when they can.
std::string portRefusal(const PortSettings& port, bool addressGiven, bool dryRun,
                        const PortNames::DevicePathStyle& devicePaths)
{
    const PortKind kind = portKindOf(port.portText);
    if (kind == PortKind::None)
        return "\"" + port.portText + "\" is no port: it must begin with ETH, COM, LPT or DRI." +
               nearMissSuggestion(port.portText);
    if (kind == PortKind::Network && !addressGiven && !dryRun)
        return "--port " + port.portText + " needs --ip ADDRESS: the printer's network address";
    if (addressGiven) {
        std::string refusal = PortNames::readNetworkAddress(port.networkAddress).refusal;
        if (!refusal.empty())
            return refusal;
    }
    if (kind == PortKind::Serial)
        return PortNames::readSerialPort(port.portText, devicePaths).refusal;
    if (kind == PortKind::Parallel)
        return PortNames::readParallelPort(port.portText, devicePaths).refusal;
    return {};
}

// Reads the distance argument of a distance subcommand strictly, in place.
std::string readDistanceArgument(Request& request)
{
    const std::vector<std::string>& w = request.words;
    const bool oneDistance = w[0] == "mark-width" || w[0] == "paper-width";
    const bool wayAndDistance = w[0] == "print-start" || w[0] == "cut-position";
    const std::size_t index = oneDistance && w.size() == 2      ? 1
                              : wayAndDistance && w.size() == 3 ? 2
                                                                : 0;
    if (index == 0)
        return {};
    const StrictDistance distance = StrictDistance::read(w[index]);
    if (!distance.refusal.empty())
        return distance.refusal;
    if (!distance.roundingNote.empty())
        request.notes.push_back(distance.roundingNote);
    request.words[index] = distance.number;
    return {};
}

bool isBaudRate(const std::string& text)
{
    return std::ranges::find(PortChoices::BaudRates, text) != std::end(PortChoices::BaudRates);
}

// The request that the options and words make; why there is none, before anything is opened.
std::string readRequest(const CommandLineOptions& options, Request& request,
                        const PortNames::DevicePathStyle& devicePaths)
{
    request = {options.words(),
               {options.value("port"), options.value("ip"), options.value("driver"),
                options.value("baud")},
               {}};
    const bool dry = options.isSet("dry-run");
    if (std::string refusal = portRefusal(request.port, options.isSet("ip"), dry, devicePaths);
        !refusal.empty())
        return refusal;
    if (std::string refusal = readDistanceArgument(request); !refusal.empty())
        return refusal;
    if (!isBaudRate(request.port.baudRateText))
        return "the baud rate must be 9600, 19200, 38400 or 115200, not \"" +
               request.port.baudRateText + "\"";
    return {};
}

SendOutcome sendSubcommand(BlackMarkCatalogue& catalogue, CommandSender& sender,
                           const Request& request, std::string& usage)
{
    const std::vector<std::string>& w = request.words;
    const std::string& name = w[0];
    const auto needs = [&](std::size_t count, const char* what) {
        if (w.size() == count + 1)
            return true;
        usage = name + " takes " + what;
        return false;
    };
    const auto direction = [&](const char* forward, const char* backward) -> int {
        if (w[1] == forward)
            return 0;
        if (w[1] == backward)
            return 1;
        usage = name + " takes " + forward + " or " + backward + ", not \"" + w[1] + "\"";
        return -1;
    };
    const PortSettings& port = request.port;
    if (name == "mark-width" && needs(1, "one distance in mm"))
        return catalogue.Command1_Click(w[1], port);
    if (name == "paper-width" && needs(1, "one distance in mm"))
        return catalogue.Command2_Click(w[1], port);
    if (name == "print-start" && needs(2, "feed or backfeed and a distance in mm")) {
        const int way = direction("feed", "backfeed");
        if (way >= 0)
            return way == 0 ? catalogue.Command3_Click(w[2], port)
                            : catalogue.Command4_Click(w[2], port);
    }
    if (name == "cut-position" && needs(2, "feed or backfeed and a distance in mm")) {
        const int way = direction("feed", "backfeed");
        if (way >= 0)
            return way == 0 ? catalogue.Command6_Click(w[2], port)
                            : catalogue.Command7_Click(w[2], port);
    }
    if (name == "black-mark" && needs(1, "on or off")) {
        const int state = direction("off", "on");
        if (state >= 0)
            return catalogue.Command5_Click(state, port);
    }
    if (name == "test-print" && needs(0, "nothing"))
        return catalogue.Command8_Click(port);
    if (name == "test-cut" && needs(0, "nothing"))
        return catalogue.Command9_Click(port);
    if (name == "send" && needs(1, "one hex command text, in quotes")) {
        sender.values().CommandText = w[1];
        return sender.SendHexCommand(sender.values().CommandText, port);
    }
    if (usage.empty())
        usage = "unknown subcommand \"" + name + "\"";
    return {SendOutcome::Result::Refused, usage};
}

} // namespace

BlackmarkCommandLine::BlackmarkCommandLine(PrinterSdk& sdk, QueueSource queues, std::ostream& out,
                                           std::ostream& err,
                                           const PortNames::DevicePathStyle& devicePaths)
    : sdk_(sdk), queues_(std::move(queues)), out_(out), err_(err), devicePaths_(devicePaths)
{
}

int BlackmarkCommandLine::badInput(const std::string& why)
{
    err_ << "blackmark: " << why << "\n(see blackmark --help)" << std::endl;
    return BadInput;
}

int BlackmarkCommandLine::listPrinters()
{
    const QueueListing listing = queues_();
    if (!listing.failure.empty()) {
        err_ << "blackmark: " << listing.failure << std::endl;
        return NotSent;
    }
    for (const PrinterQueue& queue : listing.queues)
        out_ << queue.name << '\n';
    return Sent;
}

int BlackmarkCommandLine::listPorts(const CommandLineOptions& options)
{
    const std::vector<std::string>& words = options.words();
    if (words.size() > 2 || (words.size() == 2 && words[1] != "--json"))
        return badInput("ports takes nothing but --json");
    const QueueListing queues = queues_();
    if (!queues.failure.empty())
        err_ << "blackmark: no printer queues listed: " << queues.failure << std::endl;
    const std::vector<ListedPort> ports = PortListing::all(queues);
    if (words.size() == 2 || options.isSet("json")) {
        out_ << JsonText::ports(ports);
    } else {
        for (const ListedPort& port : ports)
            out_ << SystemText::fromBytes(port.line()) << '\n';
    }
    return Sent;
}

int BlackmarkCommandLine::run(const std::vector<std::string>& arguments)
{
    std::vector<std::string> texts;
    for (const std::string& argument : arguments)
        texts.push_back(SystemText::fromBytes(argument));
    CommandLineOptions options = blackmarkOptions(devicePaths_);
    if (!options.read(texts))
        return badInput(options.errorText());
    if (options.isSet("help")) {
        out_ << options.helpText() << '\n' << Subcommands << std::endl;
        return Sent;
    }
    if (options.isSet("version")) {
        out_ << "blackmark " << PROJECT_VERSION << std::endl;
        return Sent;
    }
    const std::vector<std::string>& words = options.words();
    if (words.empty())
        return badInput("no subcommand given");
    if (words[0] == "printers")
        return listPrinters();
    if (words[0] == "ports")
        return listPorts(options);
    if (words[0] == "identify" || words[0] == "status")
        return ask(options);
    if (words[0] == "layout")
        return layout(options);
    if (words[0] == "discover")
        return DiscoverSubcommand::run(words, options.isSet("json"), out_, err_);
    if (words[0] == "profile")
        return profile(options);
    if (words[0] == "apply")
        return apply(options);
    Request request;
    if (const std::string refusal = readRequest(options, request, devicePaths_); !refusal.empty())
        return badInput(refusal);
    return send(options, request);
}

std::string BlackmarkCommandLine::readPort(const CommandLineOptions& options, PortSettings& port)
{
    Request request;
    std::string refusal = readRequest(options, request, devicePaths_);
    port = request.port;
    if (refusal.empty() && !options.isSet("driver") &&
        portKindOf(port.portText) == PortKind::Driver) {
        const QueueListing listing = queues_();
        if (!listing.failure.empty())
            return "no printer queue to choose: " + listing.failure;
        if (!listing.queues.empty())
            port.driverName = listing.queues.front().name;
    }
    return refusal;
}

int BlackmarkCommandLine::ask(const CommandLineOptions& options)
{
    const std::vector<std::string>& words = options.words();
    if (words.size() > 2 || (words.size() == 2 && words[1] != "--json"))
        return badInput(words[0] + " takes nothing but --json");
    Request request;
    if (const std::string refusal = readRequest(options, request, devicePaths_); !refusal.empty())
        return badInput(refusal);
    if (portKindOf(request.port.portText) == PortKind::Driver)
        return badInput(QueueCannotAnswer);
    if (options.isSet("dry-run")) {
        out_ << EnquirySubcommands::requestsOf(words[0]) << std::flush;
        return Sent;
    }
    VerbosePrinterSdk verbose(sdk_, err_);
    EnquirySubcommands enquiry(options.isSet("verbose") ? verbose : sdk_, out_, err_);
    const bool json = words.size() == 2 || options.isSet("json");
    return words[0] == "identify" ? enquiry.identify(request.port, json)
                                  : enquiry.status(request.port, json);
}

int BlackmarkCommandLine::layout(const CommandLineOptions& options)
{
    std::string refusal;
    const std::optional<LayoutSubcommand::Request> layout =
        LayoutSubcommand::read(options.words(), refusal);
    if (!layout)
        return badInput(refusal);
    Request request;
    if (refusal = readRequest(options, request, devicePaths_); !refusal.empty())
        return badInput(refusal);
    if (layout->show && portKindOf(request.port.portText) == PortKind::Driver)
        return badInput(QueueCannotAnswer);
    if (layout->show && options.isSet("dry-run")) {
        out_ << hexCommandText(LabelLayoutCommands::sendLayout(LabelLayoutCommands::AsSet)) << '\n'
             << hexCommandText(LabelLayoutCommands::sendLayout(LabelLayoutCommands::InEffect))
             << std::endl;
        return Sent;
    }
    if (layout->show) {
        VerbosePrinterSdk verbose(sdk_, err_);
        LayoutSubcommand show(options.isSet("verbose") ? verbose : sdk_, out_, err_);
        return show.show(request.port, layout->json || options.isSet("json"));
    }
    // Sent as any hex command text is, with what that brings: the dry run, the stages told.
    request.words = {"send", hexCommandText(layout->document)};
    request.notes = layout->notes;
    return send(options, request);
}

int BlackmarkCommandLine::send(const CommandLineOptions& options, Request& request)
{
    const bool dry = options.isSet("dry-run");
    if (!options.isSet("driver") && portKindOf(request.port.portText) == PortKind::Driver && !dry) {
        const QueueListing listing = queues_();
        if (!listing.failure.empty()) {
            err_ << "blackmark: no printer queue to choose: " << listing.failure << std::endl;
            return NotSent;
        }
        if (!listing.queues.empty())
            request.port.driverName = listing.queues.front().name;
    }

    for (const std::string& note : request.notes)
        err_ << "blackmark: " << note << std::endl;
    DryRunPrinterSdk dryRun;
    PrinterSdk& plain = dry ? static_cast<PrinterSdk&>(dryRun) : sdk_;
    VerbosePrinterSdk verbose(plain, err_);
    const bool telling = options.isSet("verbose");
    StreamMessages messages(err_);
    WindowValues values;
    CommandSender sender(telling ? verbose : plain, messages, values);
    BlackMarkCatalogue catalogue(sender);
    std::string usage;
    const SendOutcome outcome = sendSubcommand(catalogue, sender, request, usage);
    if (!usage.empty())
        return badInput(usage);
    switch (outcome.result) {
    case SendOutcome::Result::Sent:
        if (telling)
            verbose.confirm();
        if (dry)
            out_ << values.CommandText << std::endl;
        return Sent;
    case SendOutcome::Result::Refused:
        return BadInput; // the message has been shown
    case SendOutcome::Result::PortNotOpened:
    case SendOutcome::Result::DocumentFailed:
        return NotSent; // the message has been shown
    }
    return NotSent;
}
