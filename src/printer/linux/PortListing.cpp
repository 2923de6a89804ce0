#include "PortListing.h"

#include "DeviceHolder.h"
#include "DeviceTree.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace fs = std::filesystem;

namespace
{

// A USB device sits a few folders above the line's own in sysfs.
constexpr int MostFoldersUp = 8;

// "/dev/ttyS" and 12 for "/dev/ttyS12"; the number is -1 when the name ends in none.
struct NumberedName {
    std::string_view stem;
    long long number = -1;
};

NumberedName numberedName(std::string_view path)
{
    const std::size_t digits = path.find_last_not_of("0123456789") + 1;
    NumberedName name{path.substr(0, digits)};
    if (std::from_chars(path.data() + digits, path.data() + path.size(), name.number).ec !=
        std::errc())
        name.number = -1;
    return name;
}

// /dev/ttyS0 is COM1 and /dev/lp0 is LPT1; any other device is the prefix and its path.
std::string portTextFor(const std::string& root, const std::string& path, const std::string& prefix,
                        std::string_view numbered)
{
    const NumberedName name = numberedName(std::string_view(path).substr(root.size()));
    if (name.number >= 0 && name.stem == numbered)
        return prefix + std::to_string(name.number + 1);
    return prefix + " " + path;
}

// Numbered devices in their numbers' order: ttyS2 before ttyS10.
bool numberedBefore(const ListedPort& a, const ListedPort& b)
{
    const NumberedName nameA = numberedName(a.device), nameB = numberedName(b.device);
    if (nameA.stem != nameB.stem)
        return nameA.stem < nameB.stem;
    return nameA.number < nameB.number;
}

// The paths in the folder whose names begin with the prefix, in their names' order.
std::vector<std::string> devicesUnder(const std::string& folder, std::string_view prefix)
{
    std::vector<std::string> paths;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end;
         entry.increment(error)) {
        if (entry->path().filename().native().starts_with(prefix))
            paths.push_back(entry->path());
    }
    std::sort(paths.begin(), paths.end());
    return paths;
}

void noteHolder(ListedPort& port)
{
    port.holder = deviceHolder(port.device);
    port.busy = !port.holder.empty();
}

// Walks up from the line's device in sysfs to the USB device it hangs off, if any, for its
// ids and product name.
void noteUsbDevice(ListedPort& port, const std::string& root, const std::string& name)
{
    std::error_code error;
    const fs::path sys = fs::canonical(root + "/sys", error);
    fs::path folder = fs::canonical(root + "/sys/class/tty/" + name + "/device", error);
    for (int up = 0;
         !error && up < MostFoldersUp && folder.native().starts_with(sys.native()) && folder != sys;
         ++up, folder = folder.parent_path()) {
        const std::string vendor = DeviceTree::attribute(folder / "idVendor");
        const std::string product = DeviceTree::attribute(folder / "idProduct");
        if (!vendor.empty() && !product.empty()) {
            port.usbVendorId = vendor;
            port.usbProductId = product;
            port.description = DeviceTree::attribute(folder / "product");
            return;
        }
    }
}

ListedPort serialLine(const std::string& root, const std::string& path)
{
    ListedPort port;
    port.portText = portTextFor(root, path, "COM", "/dev/ttyS");
    port.kind = "serial line";
    port.device = path;
    noteUsbDevice(port, root, fs::path(path).filename());
    noteHolder(port);
    return port;
}

ListedPort printerDevice(const std::string& root, const std::string& path,
                         const std::string& sysClass, const std::string& kind)
{
    ListedPort port;
    port.portText = portTextFor(root, path, "LPT", "/dev/lp");
    port.kind = kind;
    port.device = path;
    // Not made canonical first: device/.. is the folder above where the link leads.
    const std::string sys = root + sysClass + "/" + fs::path(path).filename().native();
    port.ieee1284Id = DeviceTree::attribute(sys + "/device/ieee1284_id");
    port.usbVendorId = DeviceTree::attribute(sys + "/device/../idVendor");
    port.usbProductId = DeviceTree::attribute(sys + "/device/../idProduct");
    noteHolder(port);
    return port;
}

} // namespace

namespace PortListing
{

std::vector<ListedPort> serialLines()
{
    const std::string root = DeviceTree::root();
    std::vector<ListedPort> lines;
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
        for (const std::string& path : devicesUnder(root + "/dev", prefix)) {
            if (!DeviceTree::serialHardwareAbsent(path))
                lines.push_back(serialLine(root, path));
        }
    }
    std::stable_sort(lines.begin(), lines.end(), numberedBefore);
    return lines;
}

std::vector<ListedPort> printerDevices()
{
    const std::string root = DeviceTree::root();
    std::vector<ListedPort> devices;
    for (const std::string& path : devicesUnder(root + "/dev", "lp"))
        devices.push_back(printerDevice(root, path, "/sys/class/printer", "parallel port"));
    for (const std::string& path : devicesUnder(root + "/dev/usb", "lp"))
        devices.push_back(printerDevice(root, path, "/sys/class/usbmisc", "USB printer"));
    std::stable_sort(devices.begin(), devices.end(), numberedBefore);
    return devices;
}

std::vector<ListedPort> all(const QueueListing& queues)
{
    std::vector<ListedPort> ports = serialLines();
    for (ListedPort& device : printerDevices())
        ports.push_back(std::move(device));
    for (const PrinterQueue& queue : queues.queues) {
        ListedPort port;
        port.portText = "DRIVER";
        port.kind = "printer queue";
        port.driver = queue.name;
        port.device = queue.deviceUri;
        port.state = queue.stateText();
        ports.push_back(port);
    }
    return ports;
}

} // namespace PortListing
