#include "BlackmarkCommandLine.h"
#include "PrinterQueues.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"
#include "Terminal.h"
#include "WindowsText.h"

#include <windows.h>

#include <shellapi.h>

#include <iostream>

namespace
{

// The words as Windows keeps them, in UTF-16, as the UTF-8 that the command line reads.
std::vector<std::string> commandLineWords()
{
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; words && i < count; ++i)
        arguments.push_back(WindowsText::utf8(words[i]));
    LocalFree(words);
    return arguments;
}

// A console shows the UTF-8 the tool writes while it runs; a pipe or a file takes the bytes as
// they are. The console gets its code page back at the end.
class Utf8Console
{
public:
    Utf8Console() : before_(GetConsoleOutputCP()) { SetConsoleOutputCP(CP_UTF8); }
    ~Utf8Console()
    {
        if (before_ != 0)
            SetConsoleOutputCP(before_);
    }
    Utf8Console(const Utf8Console&) = delete;
    Utf8Console& operator=(const Utf8Console&) = delete;

private:
    UINT before_;
};

} // namespace

int main()
{
    const Utf8Console console;
    SystemPrinterSdk sdk(systemPortFor);
    BlackmarkCommandLine commandLine(
        sdk, [] { return PrinterQueues::list(); }, std::cout, std::cerr, SystemDevicePaths);
    commandLine.setFleetSupport({[] { return std::make_unique<SystemPrinterSdk>(systemPortFor); },
                                 &std::cin, standardErrorIsTerminal()});
    return commandLine.run(commandLineWords());
}
