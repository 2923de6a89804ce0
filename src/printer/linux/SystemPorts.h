#pragma once

#include "PortNames.h"
#include "PrinterPort.h"

#include <cstdint>
#include <memory>

// The port of an open mode on this platform: a network, serial, device or queue port. Empty
// for an open mode that has none. SystemPrinterSdk takes it as its port maker.
std::unique_ptr<PrinterPort> systemPortFor(std::int32_t openMode);

// How device paths are written here.
inline constexpr const PortNames::DevicePathStyle& SystemDevicePaths = PortNames::PosixDevicePaths;
