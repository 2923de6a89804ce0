#include "PortNames.h"
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
        QStringLiteral("Leave status requests (DLE EOT, GS r) unanswered."));
    parser.addOptions({listenOption, ptyOption, onceOption, idleOption, noStatusOption});
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
    VirtualPrinterOutput output(out);
    output.setAnswersStatus(!parser.isSet(noStatusOption));
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
