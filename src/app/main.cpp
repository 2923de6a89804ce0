#include "FrmTest.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTextStream>

#include <optional>

namespace
{

// Answers --help and --version on a plain core application, before any window system is
// touched, so that both work without a display. Other arguments are left for QApplication.
std::optional<int> answerWithoutWindow(int argc, char** argv)
{
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Opens the window that sets up the black-mark function of an ESC/POS "
                       "receipt printer."));
    // Single-dash words such as -stylesheet belong to Qt, not to bundles of short options.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QStringList arguments = QCoreApplication::arguments();
    parser.parse(arguments); // unknown words are Qt's own options
    if (parser.isSet(QStringLiteral("help-all")))
        parser.process(arguments); // prints the help with Qt's options and exits
    QTextStream out(stdout);
    if (parser.isSet(help)) {
        out << parser.helpText();
        return 0;
    }
    if (parser.isSet(version)) {
        out << "blackmark-setup " << PROJECT_VERSION << Qt::endl;
        return 0;
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("blackmark-setup"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    if (const std::optional<int> answered = answerWithoutWindow(argc, argv))
        return *answered;

    // GCOVR_EXCL_START the window runs until its user closes it; its tests build FrmTest itself
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("blackmark-setup"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/blackmark-setup-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    SystemPrinterSdk sdk(systemPortFor);
    FrmTest window(sdk);
    window.setAttribute(Qt::WA_QuitOnClose);
    window.show();
    return app.exec();
    // GCOVR_EXCL_STOP
}
