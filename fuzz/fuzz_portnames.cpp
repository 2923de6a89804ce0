// Any network address or device name: an accepted address has a host and a port from 1 to
// 65535 and reads back the same from its display form; an accepted device is an absolute path.
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
    for (const PortNames::DevicePath& device :
         {PortNames::serialDevicePath(text), PortNames::parallelDevicePath(text)}) {
        FUZZ_CHECK(device.refusal.empty() != device.path.empty());
        if (device.refusal.empty())
            FUZZ_CHECK(device.path.starts_with('/'));
    }
    return 0;
}
