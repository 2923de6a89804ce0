#include "BlackmarkCommandLine.h"
#include "PrinterQueues.h"
#include "SystemPrinterSdk.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("blackmark"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    SystemPrinterSdk sdk;
    BlackmarkCommandLine commandLine(
        sdk, [] { return PrinterQueues::list(); }, out, err);
    return commandLine.run(QCoreApplication::arguments());
}
