#include "BlackmarkCommandLine.h"

#include "BlackMarkCatalogue.h"
#include "CommandSender.h"
#include "DryRunPrinterSdk.h"
#include "OpenFailureReason.h"
#include "PortKind.h"
#include "PortListing.h"
#include "PortNames.h"
#include "StreamMessages.h"
#include "StrictDistance.h"
#include "VerbosePrinterSdk.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>

namespace
{

const QStringList BaudRates{"9600", "19200", "38400", "115200"};

const char* const Subcommands = R"(Subcommands, one per button of the window:
  mark-width MM                    Set black mark's max width
  paper-width MM                   Set black mark paper max width
  print-start feed|backfeed MM     Feed or backfeed paper after black mark is found
  cut-position feed|backfeed MM    Cut position after black mark is found, Feed or Backfeed
  black-mark on|off                Black mark function on or off
  test-print                       Find start position and print
  test-cut                         Test cut position
  send "HEX TEXT"                  Send any hex command text, such as "1B 40"
  printers                         List the installed printer queues
  ports [--json]                   List this machine's ports by their port text
Options go before the subcommand. Exit codes: 0 sent, 1 port not opened or the document
failed, 2 bad input.)";

struct Request {
    QStringList words; // the subcommand and its arguments
    PortSettings port;
    QStringList notes; // told on the error stream before the send
};

// Why the port settings cannot name a port, before anything is opened; empty when they can.
QString portRefusal(const PortSettings& port, bool addressGiven, bool dryRun)
{
    const PortKind kind = portKindOf(port.portText);
    if (kind == PortKind::None)
        return QStringLiteral("\"%1\" is no port: it must begin with ETH, COM, LPT or DRI.")
                   .arg(port.portText) +
               OpenFailureReason::nearMissSuggestion(port.portText);
    if (kind == PortKind::Network && !addressGiven && !dryRun)
        return QStringLiteral("--port %1 needs --ip ADDRESS: the printer's network address")
            .arg(port.portText);
    if (addressGiven) {
        const QString refusal = PortNames::readNetworkAddress(port.networkAddress).refusal;
        if (!refusal.isEmpty())
            return refusal;
    }
    if (kind == PortKind::Serial)
        return PortNames::serialDevicePath(port.portText).refusal;
    if (kind == PortKind::Parallel)
        return PortNames::parallelDevicePath(port.portText).refusal;
    return {};
}

// Reads the distance argument of a distance subcommand strictly, in place.
QString readDistanceArgument(Request& request)
{
    static const QStringList oneDistance{"mark-width", "paper-width"};
    static const QStringList wayAndDistance{"print-start", "cut-position"};
    const QStringList& w = request.words;
    const qsizetype index = oneDistance.contains(w.first()) && w.size() == 2      ? 1
                            : wayAndDistance.contains(w.first()) && w.size() == 3 ? 2
                                                                                  : 0;
    if (index == 0)
        return {};
    const StrictDistance distance = StrictDistance::read(w.at(index));
    if (!distance.refusal.isEmpty())
        return distance.refusal;
    if (!distance.roundingNote.isEmpty())
        request.notes << distance.roundingNote;
    request.words[index] = distance.number;
    return {};
}

SendOutcome sendSubcommand(BlackMarkCatalogue& catalogue, CommandSender& sender,
                           const Request& request, QString& usage)
{
    const QStringList& w = request.words;
    const QString& name = w.first();
    const auto needs = [&](qsizetype count, const char* what) {
        if (w.size() == count + 1)
            return true;
        usage = QStringLiteral("%1 takes %2").arg(name, QLatin1String(what));
        return false;
    };
    const auto direction = [&](const char* forward, const char* backward) -> int {
        if (w.at(1) == QLatin1String(forward))
            return 0;
        if (w.at(1) == QLatin1String(backward))
            return 1;
        usage = QStringLiteral("%1 takes %2 or %3, not \"%4\"")
                    .arg(name, QLatin1String(forward), QLatin1String(backward), w.at(1));
        return -1;
    };
    const PortSettings& port = request.port;
    if (name == QLatin1String("mark-width") && needs(1, "one distance in mm"))
        return catalogue.Command1_Click(w.at(1), port);
    if (name == QLatin1String("paper-width") && needs(1, "one distance in mm"))
        return catalogue.Command2_Click(w.at(1), port);
    if (name == QLatin1String("print-start") && needs(2, "feed or backfeed and a distance in mm")) {
        const int way = direction("feed", "backfeed");
        if (way >= 0)
            return way == 0 ? catalogue.Command3_Click(w.at(2), port)
                            : catalogue.Command4_Click(w.at(2), port);
    }
    if (name == QLatin1String("cut-position") &&
        needs(2, "feed or backfeed and a distance in mm")) {
        const int way = direction("feed", "backfeed");
        if (way >= 0)
            return way == 0 ? catalogue.Command6_Click(w.at(2), port)
                            : catalogue.Command7_Click(w.at(2), port);
    }
    if (name == QLatin1String("black-mark") && needs(1, "on or off")) {
        const int state = direction("off", "on");
        if (state >= 0)
            return catalogue.Command5_Click(state, port);
    }
    if (name == QLatin1String("test-print") && needs(0, "nothing"))
        return catalogue.Command8_Click(port);
    if (name == QLatin1String("test-cut") && needs(0, "nothing"))
        return catalogue.Command9_Click(port);
    if (name == QLatin1String("send") && needs(1, "one hex command text, in quotes")) {
        sender.values().CommandText = w.at(1);
        return sender.SendHexCommand(sender.values().CommandText, port);
    }
    if (usage.isEmpty())
        usage = QStringLiteral("unknown subcommand \"%1\"").arg(name);
    return {SendOutcome::Result::Refused, usage};
}

} // namespace

BlackmarkCommandLine::BlackmarkCommandLine(PrinterSdk& sdk, QueueSource queues, QTextStream& out,
                                           QTextStream& err)
    : sdk_(sdk), queues_(std::move(queues)), out_(out), err_(err)
{
}

int BlackmarkCommandLine::badInput(const QString& why)
{
    err_ << "blackmark: " << why << "\n(see blackmark --help)" << Qt::endl;
    return BadInput;
}

int BlackmarkCommandLine::listPrinters()
{
    const QueueListing listing = queues_();
    if (!listing.failure.isEmpty()) {
        err_ << "blackmark: " << listing.failure << Qt::endl;
        return NotSent;
    }
    for (const QString& name : listing.names())
        out_ << name << '\n';
    out_.flush();
    return Sent;
}

int BlackmarkCommandLine::listPorts(bool json)
{
    const QueueListing queues = queues_();
    if (!queues.failure.isEmpty())
        err_ << "blackmark: no printer queues listed: " << queues.failure << Qt::endl;
    const QList<ListedPort> ports = PortListing::all(queues);
    if (json) {
        QJsonArray array;
        for (const ListedPort& port : ports)
            array << port.json();
        out_ << QJsonDocument(array).toJson(QJsonDocument::Indented);
    } else {
        for (const ListedPort& port : ports)
            out_ << port.line() << '\n';
    }
    out_.flush();
    return Sent;
}

int BlackmarkCommandLine::run(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Sets up the black-mark function of an ESC/POS receipt printer."));
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version."));
    const QCommandLineOption portOption(
        QStringLiteral("port"),
        QStringLiteral("ETHERNET, COM1 to COM9, LPT1 to LPT3, DRIVER, or any text with the "
                       "same first three letters, such as COM /dev/ttyUSB0 (default ETHERNET)."),
        QStringLiteral("PORT"), QStringLiteral("ETHERNET"));
    const QCommandLineOption ipOption(
        QStringLiteral("ip"),
        QStringLiteral("The printer's network address, HOST[:PORT]; needed with ETHERNET."),
        QStringLiteral("ADDRESS"));
    const QCommandLineOption baudOption(
        QStringLiteral("baud"), QStringLiteral("9600, 19200, 38400 or 115200 (default 19200)."),
        QStringLiteral("RATE"), QStringLiteral("19200"));
    const QCommandLineOption driverOption(
        QStringLiteral("driver"),
        QStringLiteral("The printer queue (default: the first installed)."),
        QStringLiteral("NAME"));
    const QCommandLineOption dryRunOption(QStringLiteral("dry-run"),
                                          QStringLiteral("Print the hex text and send nothing."));
    const QCommandLineOption verboseOption(
        QStringLiteral("verbose"),
        QStringLiteral("Tell each stage of the send (opened, wrote, closed, confirmed) with its "
                       "time."));
    const QCommandLineOption jsonOption(QStringLiteral("json"),
                                        QStringLiteral("List the ports as one JSON array."));
    parser.addOptions({help, version, portOption, ipOption, baudOption, driverOption, dryRunOption,
                       verboseOption, jsonOption});
    parser.addPositionalArgument(QStringLiteral("subcommand"), QStringLiteral("What to send."),
                                 QStringLiteral("SUBCOMMAND [ARGUMENTS]"));

    if (!parser.parse(arguments))
        return badInput(parser.errorText());
    if (parser.isSet(help)) {
        out_ << parser.helpText() << '\n' << Subcommands << Qt::endl;
        return Sent;
    }
    if (parser.isSet(version)) {
        out_ << "blackmark " << PROJECT_VERSION << Qt::endl;
        return Sent;
    }
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return badInput(QStringLiteral("no subcommand given"));
    if (words.first() == QLatin1String("printers"))
        return listPrinters();
    if (words.first() == QLatin1String("ports")) {
        if (words.size() > 2 || (words.size() == 2 && words.at(1) != QLatin1String("--json")))
            return badInput(QStringLiteral("ports takes nothing but --json"));
        return listPorts(words.size() == 2 || parser.isSet(jsonOption));
    }

    const bool dry = parser.isSet(dryRunOption);
    Request request{
        words,
        {parser.value(portOption), parser.value(ipOption), {}, parser.value(baudOption)},
        {}};
    if (const QString refusal = portRefusal(request.port, parser.isSet(ipOption), dry);
        !refusal.isEmpty())
        return badInput(refusal);
    if (const QString refusal = readDistanceArgument(request); !refusal.isEmpty())
        return badInput(refusal);
    if (!BaudRates.contains(request.port.baudRateText))
        return badInput(
            QStringLiteral("the baud rate must be 9600, 19200, 38400 or 115200, not \"%1\"")
                .arg(request.port.baudRateText));
    if (parser.isSet(driverOption)) {
        request.port.driverName = parser.value(driverOption);
    } else if (portKindOf(request.port.portText) == PortKind::Driver && !dry) {
        const QueueListing listing = queues_();
        if (!listing.failure.isEmpty()) {
            err_ << "blackmark: no printer queue to choose: " << listing.failure << Qt::endl;
            return NotSent;
        }
        request.port.driverName = listing.names().value(0);
    }

    for (const QString& note : std::as_const(request.notes))
        err_ << "blackmark: " << note << Qt::endl;
    DryRunPrinterSdk dryRun;
    VerbosePrinterSdk verbose(dry ? static_cast<PrinterSdk&>(dryRun) : sdk_, err_);
    PrinterSdk& plain = dry ? static_cast<PrinterSdk&>(dryRun) : sdk_;
    StreamMessages messages(err_);
    WindowValues values;
    CommandSender sender(parser.isSet(verboseOption) ? verbose : plain, messages, values);
    BlackMarkCatalogue catalogue(sender);
    QString usage;
    const SendOutcome outcome = sendSubcommand(catalogue, sender, request, usage);
    if (!usage.isEmpty())
        return badInput(usage);
    switch (outcome.result) {
    case SendOutcome::Result::Sent:
        if (parser.isSet(verboseOption))
            verbose.confirm();
        if (dry)
            out_ << values.CommandText << Qt::endl;
        return Sent;
    case SendOutcome::Result::Refused:
        return BadInput; // the message has been shown
    case SendOutcome::Result::PortNotOpened:
    case SendOutcome::Result::DocumentFailed:
        return NotSent; // the message has been shown
    }
    return NotSent;
}
