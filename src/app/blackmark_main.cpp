#include "BlackmarkCommandLine.h"
#include "PrinterQueues.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"

#include <iostream>

int main(int argc, char** argv)
{
    SystemPrinterSdk sdk(systemPortFor);
    BlackmarkCommandLine commandLine(
        sdk, [] { return PrinterQueues::list(); }, std::cout, std::cerr, SystemDevicePaths);
    return commandLine.run(std::vector<std::string>(argv, argv + argc));
}
