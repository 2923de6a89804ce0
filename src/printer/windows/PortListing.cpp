#include "PortListing.h"

#include "SpoolerQueues.h"
#include "WindowsText.h"

#include <windows.h>

#include <initguid.h>

#include <devguid.h>
#include <setupapi.h>
#include <usbprint.h>
#include <winioctl.h>

#include <algorithm>
#include <map>
#include <regex>

namespace
{

// The names the system gives its ports, each with the kernel device behind it:
// "COM3" -> "\Device\Serial2".
std::map<std::string, std::string> deviceMap(const wchar_t* key, std::wstring_view strip = {})
{
    std::map<std::string, std::string> ports;
    HKEY map = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &map) != ERROR_SUCCESS)
        return ports;
    for (DWORD i = 0;; ++i) {
        wchar_t device[256], port[256];
        DWORD deviceLength = 256, portBytes = sizeof port - sizeof(wchar_t), type = 0;
        if (RegEnumValueW(map, i, device, &deviceLength, nullptr, &type,
                          reinterpret_cast<BYTE*>(port), &portBytes) != ERROR_SUCCESS)
            break;
        port[portBytes / sizeof(wchar_t)] = L'\0';
        std::wstring_view name = port;
        if (type != REG_SZ || name.empty())
            continue;
        if (name.starts_with(strip))
            name.remove_prefix(strip.size());
        ports[WindowsText::utf8(name)] = WindowsText::utf8(device);
    }
    RegCloseKey(map);
    return ports;
}

std::string deviceProperty(HDEVINFO devices, SP_DEVINFO_DATA& device, DWORD property)
{
    wchar_t text[512] = {};
    if (!SetupDiGetDeviceRegistryPropertyW(devices, &device, property, nullptr,
                                           reinterpret_cast<BYTE*>(text), sizeof text - 2, nullptr))
        return {};
    return WindowsText::utf8(text);
}

// The USB ids in a hardware id such as "USB\VID_0519&PID_0001&REV_0100".
void noteUsbIds(ListedPort& port, const std::string& hardwareId)
{
    static const std::regex ids("VID_([0-9A-Fa-f]{4})&PID_([0-9A-Fa-f]{4})");
    std::smatch found;
    if (!std::regex_search(hardwareId, found, ids))
        return;
    // In lower case, as Linux shows them.
    const auto lower = [](std::string id) {
        for (char& c : id)
            c = c >= 'A' && c <= 'F' ? char(c - 'A' + 'a') : c;
        return id;
    };
    port.usbVendorId = lower(found[1]);
    port.usbProductId = lower(found[2]);
}

// Each present device of an interface class, handed over with its interface path.
template <typename Visit> void forEachInterface(const GUID& interfaceClass, Visit visit)
{
    const HDEVINFO devices = SetupDiGetClassDevsW(&interfaceClass, nullptr, nullptr,
                                                  DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (devices == INVALID_HANDLE_VALUE)
        return;
    SP_DEVICE_INTERFACE_DATA found{};
    found.cbSize = sizeof found;
    for (DWORD i = 0; SetupDiEnumDeviceInterfaces(devices, nullptr, &interfaceClass, i, &found);
         ++i) {
        DWORD needed = 0;
        SetupDiGetDeviceInterfaceDetailW(devices, &found, nullptr, 0, &needed, nullptr);
        std::vector<BYTE> buffer(
            std::max<DWORD>(needed, sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W)));
        auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(buffer.data());
        detail->cbSize = sizeof *detail;
        SP_DEVINFO_DATA device{};
        device.cbSize = sizeof device;
        if (SetupDiGetDeviceInterfaceDetailW(devices, &found, detail, needed, nullptr, &device))
            visit(devices, device, WindowsText::utf8(detail->DevicePath));
    }
    SetupDiDestroyDeviceInfoList(devices);
}

// The COM port name that Plug and Play gave a serial device.
std::string comPortName(HDEVINFO devices, SP_DEVINFO_DATA& device)
{
    const HKEY key =
        SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE)
        return {};
    wchar_t name[64] = {};
    DWORD bytes = sizeof name - sizeof(wchar_t);
    const bool read = RegQueryValueExW(key, L"PortName", nullptr, nullptr,
                                       reinterpret_cast<BYTE*>(name), &bytes) == ERROR_SUCCESS;
    RegCloseKey(key);
    return read ? WindowsText::utf8(name) : std::string();
}

long portNumber(const std::string& portText, std::size_t prefixLength)
{
    return std::strtol(portText.c_str() + prefixLength, nullptr, 10);
}

} // namespace

namespace PortListing
{

std::vector<ListedPort> serialLines()
{
    std::map<std::string, ListedPort> ports;
    for (const auto& [name, device] : deviceMap(L"HARDWARE\\DEVICEMAP\\SERIALCOMM")) {
        ListedPort& port = ports[name];
        port.portText = name;
        port.kind = "serial port";
        port.device = device;
    }
    forEachInterface(GUID_DEVINTERFACE_COMPORT,
                     [&](HDEVINFO devices, SP_DEVINFO_DATA& device, const std::string&) {
                         const std::string name = comPortName(devices, device);
                         if (name.empty())
                             return;
                         ListedPort& port = ports[name];
                         port.portText = name;
                         port.kind = "serial port";
                         port.description = deviceProperty(devices, device, SPDRP_FRIENDLYNAME);
                         noteUsbIds(port, deviceProperty(devices, device, SPDRP_HARDWAREID));
                     });
    std::vector<ListedPort> lines;
    for (auto& [name, port] : ports)
        lines.push_back(std::move(port));
    // Numbered ports in their numbers' order: COM2 before COM10.
    std::stable_sort(lines.begin(), lines.end(), [](const ListedPort& a, const ListedPort& b) {
        return portNumber(a.portText, 3) < portNumber(b.portText, 3);
    });
    return lines;
}

std::vector<ListedPort> printerDevices()
{
    std::vector<ListedPort> devices;
    for (const auto& [name, device] :
         deviceMap(L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS", L"\\DosDevices\\")) {
        ListedPort port;
        port.portText = name;
        port.kind = "parallel port";
        port.device = device;
        devices.push_back(port);
    }
    std::stable_sort(devices.begin(), devices.end(), [](const ListedPort& a, const ListedPort& b) {
        return portNumber(a.portText, 3) < portNumber(b.portText, 3);
    });
    forEachInterface(GUID_DEVINTERFACE_USBPRINT,
                     [&](HDEVINFO set, SP_DEVINFO_DATA& device, const std::string& path) {
                         ListedPort port;
                         port.portText = "LPT " + path;
                         port.kind = "USB printer";
                         port.device = path;
                         port.description = deviceProperty(set, device, SPDRP_FRIENDLYNAME);
                         if (port.description.empty())
                             port.description = deviceProperty(set, device, SPDRP_DEVICEDESC);
                         noteUsbIds(port, deviceProperty(set, device, SPDRP_HARDWAREID));
                         devices.push_back(port);
                     });
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
        port.kind = "printer";
        port.driver = queue.name;
        port.device = queue.deviceUri;
        port.state = !queue.reason.empty() ? queue.reason : queue.printing ? "printing" : "ready";
        ports.push_back(port);
    }
    return ports;
}

} // namespace PortListing
