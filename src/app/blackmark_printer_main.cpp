#include "DocumentGallery.h"
#include "PortNames.h"
#include "PrinterCondition.h"
#include "PrinterWebPage.h"
#include "PtyDocumentReader.h"
#include "QuitOnInterrupt.h"
#include "TcpDocumentListener.h"
#include "VirtualPrinterOutput.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace
{

constexpr int LongestIdleSeconds = 24 * 60 * 60;

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
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
        QStringLiteral("Listen on HOST:PORT, or on loopback at PORT (default 127.0.0.1:9100)."),
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
    const QCommandLineOption webOption(
        QStringLiteral("web"),
        QStringLiteral("Serve a web page of the documents received on HOST:PORT, or on loopback "
                       "at PORT."),
        QStringLiteral("[HOST:]PORT"));
    parser.addOptions({listenOption, ptyOption, onceOption, idleOption, noStatusOption,
                       identityOption, paperEndOption, paperNearEndOption, coverOpenOption,
                       offlineOption, webOption});
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
    VirtualPrinterOutput output(out);
    output.setAnswersStatus(!parser.isSet(noStatusOption));
    output.setCondition(condition);
    const bool once = parser.isSet(onceOption);
    const auto onDocumentEnded = [once] {
        if (once)
            QCoreApplication::quit();
    };

    DocumentGallery gallery;
    PrinterWebPage webPage(gallery);
    QString printerName; // the address documents come to, once known

    QuitOnInterrupt quitOnInterrupt;
    TcpDocumentListener listener(output, idleSeconds);
    PtyDocumentReader line(output);
    QString failure;
    if (parser.isSet(ptyOption)) {
        if (!line.open(failure)) {
            err << "blackmark-printer: " << failure << '\n';
            return 1;
        }
        QObject::connect(&line, &PtyDocumentReader::documentEnded, onDocumentEnded);
        out << "serial line on " << line.slavePath() << " (port text: COM " << line.slavePath()
            << ")" << Qt::endl;
    } else {
        const PortNames::NetworkAddress address =
            PortNames::readListenAddress(parser.value(listenOption).toStdString());
        if (!address.refusal.empty()) {
            err << "blackmark-printer: " << QString::fromStdString(address.refusal) << '\n';
            return 2;
        }
        if (!listener.listen(QString::fromStdString(address.host), address.port, failure)) {
            err << "blackmark-printer: " << failure << '\n';
            return 1;
        }
        QObject::connect(&listener, &TcpDocumentListener::documentEnded, onDocumentEnded);
        out << "listening on " << listener.address() << Qt::endl;
    }
    printerName = parser.isSet(ptyOption) ? line.slavePath() : listener.address();
    if (parser.isSet(webOption)) {
        const PortNames::NetworkAddress address =
            PortNames::readListenAddress(parser.value(webOption).toStdString());
        if (!address.refusal.empty()) {
            err << "blackmark-printer: --web: " << QString::fromStdString(address.refusal) << '\n';
            return 2;
        }
        if (!webPage.listen(QString::fromStdString(address.host), address.port, failure)) {
            err << "blackmark-printer: " << failure << '\n';
            return 1;
        }
        output.onDocumentEnded(
            [&gallery, &printerName](const VirtualPrinterOutput::EndedDocument& ended) {
                gallery.documentEnded(printerName, ended);
            },
            DocumentGallery::KeptLines, DocumentGallery::KeptCharacters);
        out << "web page on " << webPage.address() << Qt::endl;
    }
    return app.exec();
}
