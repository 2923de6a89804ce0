#include "BlackmarkCommandLine.h"
#include "PrinterQueues.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"
#include "Terminal.h"

#include <iostream>

int main(int argc, char** argv)
{
    SystemPrinterSdk sdk(systemPortFor);
    BlackmarkCommandLine commandLine(
        sdk, [] { return PrinterQueues::list(); }, std::cout, std::cerr, SystemDevicePaths);
    commandLine.setFleetSupport({[] { return std::make_unique<SystemPrinterSdk>(systemPortFor); },
                                 &std::cin, standardErrorIsTerminal()});
    return commandLine.run(std::vector<std::string>(argv, argv + argc));
}
