#include "DeviceTree.h"

#include "UnicodeText.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace DeviceTree
{

std::string root()
{
    // Only tests set it.
    const char* set = std::getenv("BLACKMARK_DEVICE_ROOT");
    std::string root = set ? set : "";
    while (root.ends_with('/'))
        root.pop_back();
    return root;
}

std::string attribute(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    const std::string value{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    return std::string(UnicodeText::trimmed(value));
}

bool serialHardwareAbsent(const std::string& path)
{
    const std::string name = std::filesystem::path(path).filename();
    if (!name.starts_with("ttyS"))
        return false;
    // Type 0 is the kernel's "unknown": no UART answered at that port.
    return attribute(root() + "/sys/class/tty/" + name + "/type") == "0";
}

} // namespace DeviceTree
