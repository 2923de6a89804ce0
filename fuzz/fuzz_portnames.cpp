// Any network address or device name: an accepted address has a host and a port from 1 to
// 65535 and reads back the same from its display form; an accepted device is a port number or
// a path in the platform's style.
#include "FuzzCheck.h"
#include "PortNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const PortNames::NetworkAddress address = PortNames::readNetworkAddress(text);
    if (address.refusal.empty()) {
        FUZZ_CHECK(!address.host.empty());
        FUZZ_CHECK(address.port >= 1);
        const PortNames::NetworkAddress again = PortNames::readNetworkAddress(address.display());
        FUZZ_CHECK(again.refusal.empty());
        FUZZ_CHECK(again.host == address.host && again.port == address.port);
    } else {
        FUZZ_CHECK(address.host.empty());
    }
    for (const PortNames::DevicePathStyle* paths :
         {&PortNames::PosixDevicePaths, &PortNames::WindowsDevicePaths}) {
        for (const PortNames::DevicePort& device :
             {PortNames::readSerialPort(text, *paths), PortNames::readParallelPort(text, *paths)}) {
            const bool named = device.number > 0 || !device.path.empty();
            FUZZ_CHECK(device.refusal.empty() == named);
            FUZZ_CHECK(device.number == 0 || device.path.empty());
            if (!device.path.empty())
                FUZZ_CHECK(paths->starts.find(device.path.front()) != std::string_view::npos);
        }
    }
    return 0;
}
