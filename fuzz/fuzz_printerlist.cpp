// Any list of printers: each printer taken names a device once and keeps its line; a refusal
// names its line first, as NAME:LINE.
#include "FuzzCheck.h"
#include "PrinterList.h"

#include <regex>
#include <set>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const std::regex place("^list:[0-9]+: [\\s\\S]+");
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::string refusal;
    const auto printers = PrinterList::read(text, "list", PortNames::PosixDevicePaths, refusal);
    if (!printers) {
        FUZZ_CHECK(std::regex_match(refusal, place));
        return 0;
    }
    std::set<std::string> devices;
    int line = 0;
    for (const FleetPrinter& printer : *printers) {
        FUZZ_CHECK(printer.line > line);
        line = printer.line;
        FUZZ_CHECK(devices.insert(printer.device).second);
        FUZZ_CHECK(!printer.text.empty() && printer.text.find('\n') == std::string::npos);
    }
    return 0;
}
