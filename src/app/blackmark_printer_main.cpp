#include "PortNames.h"
#include "PrinterCondition.h"
#include "PtyDocumentReader.h"
#include "QuitOnInterrupt.h"
#include "TcpDocumentListener.h"
#include "VirtualPrinterOutput.h"

#include <QCommandLineParser>
#include <QDir>
#include <QGuiApplication>

namespace
{

constexpr int LongestIdleSeconds = 24 * 60 * 60;

} // namespace

int main(int argc, char** argv)
{
    // Pictures are drawn off screen; no display is needed or used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    parser.addOptions({paperOption, paperWidthOption, picturesOption});
    parser.addOptions({listenOption, ptyOption, onceOption, idleOption, noStatusOption,
                       identityOption, paperEndOption, paperNearEndOption, coverOpenOption,
                       offlineOption});
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
    VirtualPrinterOutput output(out);
    output.setPaper(*roll);
    if (parser.isSet(picturesOption)) {
        const QString directory = parser.value(picturesOption);
        if (!QDir().mkpath(directory)) {
            err << "blackmark-printer: cannot make the pictures folder " << directory << '\n';
            return 1;
        }
        output.setPicturesDirectory(directory);
    }
    output.setAnswersStatus(!parser.isSet(noStatusOption));
    output.setCondition(condition);
    const bool once = parser.isSet(onceOption);
    const auto onDocumentEnded = [once] {
        if (once)
            QCoreApplication::quit();
    };

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
    return app.exec();
}
