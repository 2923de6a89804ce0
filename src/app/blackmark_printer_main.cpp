#include "DocumentGallery.h"
#include "PortNames.h"
#include "PrinterCondition.h"
#include "PrinterWebPage.h"
#include "PtyDocumentReader.h"
#include "QuitOnInterrupt.h"
#include "VirtualPrinterFleet.h"
#include "VirtualPrinterOutput.h"

#include <QCommandLineParser>
#include <QGuiApplication>

namespace
{

constexpr int LongestIdleSeconds = 24 * 60 * 60;
constexpr int LongestDelayMs = 60 * 1000;

QtMessageHandler qtMessages = nullptr;

// Qt's notice that it chose a runtime folder itself is no news to the user of a printer that
// only draws off screen, and it would stand before the printer's own words on stderr.
void withoutRuntimeFolderNotice(QtMsgType type, const QMessageLogContext& context,
                                const QString& message)
{
    if (message.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qtMessages(type, context, message);
}

} // namespace

int main(int argc, char** argv)
{
    // Pictures are drawn off screen; no display is needed or used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtMessages = qInstallMessageHandler(withoutRuntimeFolderNotice);
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("blackmark-printer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A virtual black-mark printer: prints what each document it receives "
                       "would make the printer do, and the settings it then holds."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption listenOption(
        QStringLiteral("listen"),
        QStringLiteral("Listen on HOST:PORT, or on loopback at PORT (default 127.0.0.1:9100). "
                       "A run of IPv4 addresses (127.0.0.2-127.0.0.201:9100, "
                       "127.0.1.0/24:9100), several addresses apart by commas, or the option "
                       "repeated make a fleet: each address is a printer of its own, with its "
                       "own settings and condition, and its own serial number counted on from "
                       "the first's (VP-0001, VP-0002, ...)."),
        QStringLiteral("[HOST:]PORT"), QStringLiteral("127.0.0.1:9100"));
    const QCommandLineOption ptyOption(
        QStringLiteral("pty"),
        QStringLiteral("Be a serial line: make a pseudo-terminal and read it."));
    const QCommandLineOption onceOption(QStringLiteral("once"),
                                        QStringLiteral("End after the first document."));
    const QCommandLineOption idleOption(
        QStringLiteral("idle"),
        QStringLiteral("Close a connection that sends nothing for SECONDS (default 60)."),
        QStringLiteral("SECONDS"), QStringLiteral("60"));
    const QCommandLineOption noStatusOption(
        QStringLiteral("no-status"),
        QStringLiteral("Leave every request unanswered (DLE EOT, GS r, GS I, GS a), to try a "
                       "client's timeout."));
    const QCommandLineOption identityOption(
        QStringLiteral("identity"),
        QStringLiteral("Who the printer says it is (GS I): four parts of at most 80 characters "
                       "(default \"BLACKMARK;VIRTUAL PRINTER;1.0;VP-0001\")."),
        QStringLiteral("MAKER;MODEL;FIRMWARE;SERIAL"));
    const QCommandLineOption paperEndOption(
        QStringLiteral("paper-end"), QStringLiteral("Answer status requests as out of paper."));
    const QCommandLineOption paperNearEndOption(
        QStringLiteral("paper-near-end"),
        QStringLiteral("Answer status requests as near the end of the paper."));
    const QCommandLineOption coverOpenOption(
        QStringLiteral("cover-open"),
        QStringLiteral("Answer status requests as with the cover open."));
    const QCommandLineOption offlineOption(QStringLiteral("offline"),
                                           QStringLiteral("Answer status requests as offline."));
    const QCommandLineOption settingsJsonOption(
        QStringLiteral("settings-json"),
        QStringLiteral("When the printer ends, write to FILE every printer's address, identity, "
                       "count of documents and the settings it holds, as JSON."),
        QStringLiteral("FILE"));
    const QCommandLineOption delayOption(
        QStringLiteral("delay"),
        QStringLiteral("Be a slow printer: take up each connection only MS milliseconds after "
                       "it arrives, so that no request in it is answered and its end is not "
                       "confirmed (the printer's close) sooner (default 0)."),
        QStringLiteral("MS"), QStringLiteral("0"));
    const QCommandLineOption webOption(
        QStringLiteral("web"),
        QStringLiteral("Serve a web page of the documents received on HOST:PORT, or on loopback "
                       "at PORT."),
        QStringLiteral("[HOST:]PORT"));
    const QCommandLineOption paperOption(
        QStringLiteral("paper"),
        QStringLiteral("The roll loaded: plain (default), black-mark:PITCH[:LENGTH] (marks every "
                       "PITCH mm, LENGTH mm long, default 4) or label:PITCH[:GAP] (gap default "
                       "3), in mm."),
        QStringLiteral("KIND"), QStringLiteral("plain"));
    const QCommandLineOption paperWidthOption(
        QStringLiteral("paper-width"),
        QStringLiteral("The paper's width in mm (default 80; 72 mm printable, 48 mm at 58)."),
        QStringLiteral("MM"), QStringLiteral("80"));
    const QCommandLineOption picturesOption(
        QStringLiteral("pictures"),
        QStringLiteral("Draw each document on its paper into DIR/document-N.png, 8 dots a mm."),
        QStringLiteral("DIR"));
    parser.addOptions({listenOption, ptyOption, onceOption, idleOption, noStatusOption,
                       identityOption, paperEndOption, paperNearEndOption, coverOpenOption,
                       offlineOption, delayOption, settingsJsonOption, webOption, paperOption,
                       paperWidthOption, picturesOption});
    parser.process(app);

    QTextStream out(stdout);
    QTextStream err(stderr);
    bool idleIsNumber = false;
    const int idleSeconds = parser.value(idleOption).toInt(&idleIsNumber);
    if (!idleIsNumber || idleSeconds < 1 || idleSeconds > LongestIdleSeconds) {
        err << "blackmark-printer: --idle takes whole seconds from 1 to " << LongestIdleSeconds
            << ", not \"" << parser.value(idleOption) << "\"\n";
        return 2;
    }
    bool delayIsNumber = false;
    const int delayMs = parser.value(delayOption).toInt(&delayIsNumber);
    if (!delayIsNumber || delayMs < 0 || delayMs > LongestDelayMs) {
        err << "blackmark-printer: --delay takes whole milliseconds from 0 to " << LongestDelayMs
            << ", not \"" << parser.value(delayOption) << "\"\n";
        return 2;
    }
    PortNames::NetworkAddress webAddress;
    if (parser.isSet(webOption)) {
        webAddress = PortNames::readListenAddress(parser.value(webOption).toStdString());
        if (!webAddress.refusal.empty()) {
            err << "blackmark-printer: --web: " << QString::fromStdString(webAddress.refusal)
                << '\n';
            return 2;
        }
    }
    PrinterCondition condition;
    if (parser.isSet(identityOption) && !condition.setIdentity(parser.value(identityOption))) {
        err << "blackmark-printer: --identity takes MAKER;MODEL;FIRMWARE;SERIAL, each part of "
               "at most 80 printable ASCII characters, not \""
            << parser.value(identityOption) << "\"\n";
        return 2;
    }
    condition.paperEnd = parser.isSet(paperEndOption);
    condition.paperNearEnd = parser.isSet(paperNearEndOption);
    condition.coverOpen = parser.isSet(coverOpenOption);
    condition.offline = parser.isSet(offlineOption);
    std::string refusal;
    std::optional<PaperRoll> roll =
        PaperRoll::read(parser.value(paperOption).toStdString(), refusal);
    bool widthIsNumber = false;
    const int widthMm = parser.value(paperWidthOption).toInt(&widthIsNumber);
    if (!roll) {
        err << "blackmark-printer: " << QString::fromStdString(refusal) << '\n';
        return 2;
    }
    if (!widthIsNumber || widthMm < 20 || widthMm > 120) {
        err << "blackmark-printer: --paper-width takes whole mm from 20 to 120, not \""
            << parser.value(paperWidthOption) << "\"\n";
        return 2;
    }
    roll->widthMm = widthMm;
    VirtualPrinterFleet::Options options;
    options.condition = condition;
    options.answersStatus = !parser.isSet(noStatusOption);
    options.idleSeconds = idleSeconds;
    options.delayMs = delayMs;
    options.paper = *roll;
    if (parser.isSet(picturesOption))
        options.picturesDirectory = parser.value(picturesOption);
    VirtualPrinterOutput output(out);
    const bool once = parser.isSet(onceOption);
    const auto onDocumentEnded = [once] {
        if (once)
            QCoreApplication::quit();
    };

    DocumentGallery gallery;
    PrinterWebPage webPage(gallery);

    QuitOnInterrupt quitOnInterrupt;
    VirtualPrinterFleet fleet;
    PtyDocumentReader line(output);
    QString failure;
    if (parser.isSet(ptyOption)) {
        if (!VirtualPrinterFleet::setUp(output, options, condition, options.picturesDirectory,
                                        failure) ||
            !line.open(failure)) {
            err << "blackmark-printer: " << failure << '\n';
            return 1;
        }
        QObject::connect(&line, &PtyDocumentReader::documentEnded, onDocumentEnded);
        out << "serial line on " << line.slavePath() << " (port text: COM " << line.slavePath()
            << ")" << Qt::endl;
    } else {
        const std::vector<ListenPlace> places =
            readListenPlaces(parser.values(listenOption), failure);
        if (places.empty()) {
            err << "blackmark-printer: " << failure << '\n';
            return 2;
        }
        if (!fleet.listen(places, options, out, failure)) {
            err << "blackmark-printer: " << failure << '\n';
            return 1;
        }
        for (const auto& printer : fleet.printers()) {
            QObject::connect(&printer->listener, &TcpDocumentListener::documentEnded,
                             onDocumentEnded);
            out << "listening on " << printer->listener.address() << Qt::endl;
        }
    }
    if (parser.isSet(webOption)) {
        if (!webPage.listen(QString::fromStdString(webAddress.host), webAddress.port, failure)) {
            err << "blackmark-printer: " << failure << '\n';
            return 1;
        }
        const auto showOnPage = [&gallery](VirtualPrinterOutput& shown, const QString& name) {
            shown.onDocumentEnded(
                [&gallery, name](const VirtualPrinterOutput::EndedDocument& ended) {
                    std::vector<DocumentGallery::Picture> pictures;
                    for (const QString& path : ended.pictures)
                        pictures.push_back({path, {}});
                    gallery.documentEnded(name, ended, std::move(pictures));
                },
                DocumentGallery::KeptLines, DocumentGallery::KeptCharacters);
        };
        if (parser.isSet(ptyOption))
            showOnPage(output, line.slavePath());
        for (const auto& printer : fleet.printers())
            showOnPage(printer->output, printer->listener.address());
        out << "web page on " << webPage.address() << Qt::endl;
    }
    const int code = app.exec();
    if (parser.isSet(settingsJsonOption) &&
        !fleet.writeSettings(parser.value(settingsJsonOption), failure)) {
        err << "blackmark-printer: " << failure << '\n';
        return 1;
    }
    return code;
}
