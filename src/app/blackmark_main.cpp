#include "BlackmarkCommandLine.h"
#include "QueuePrinterPort.h"
#include "SystemPrinterSdk.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("blackmark"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    SystemPrinterSdk sdk;
    BlackmarkCommandLine commandLine(sdk, QueuePrinterPort::installedQueues, out, err);
    return commandLine.run(QCoreApplication::arguments());
}
