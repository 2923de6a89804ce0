#include "SystemPrinterSdk.h"

#include <limits>

namespace
{
constexpr std::int32_t Done = 1;
} // namespace

SystemPrinterSdk::SystemPrinterSdk(PortMaker makePort) : makePort_(std::move(makePort)) {}
SystemPrinterSdk::~SystemPrinterSdk() = default;

std::int32_t SystemPrinterSdk::fail(std::string why)
{
    failure_ = std::move(why);
    return -1;
}

std::int32_t SystemPrinterSdk::failPort()
{
    return fail(port_->failure());
}

bool SystemPrinterSdk::requireOpenPort()
{
    if (port_)
        return true;
    fail("no port is open");
    return false;
}

std::int32_t SystemPrinterSdk::POS_Open(const std::string& name, std::int32_t baudRate,
                                        std::int32_t dataBits, std::int32_t stopBits,
                                        std::int32_t parity, std::int32_t openMode)
{
    if (port_)
        return fail("a port is open already; it must be closed first");
    if (name.find('\0') != std::string::npos)
        return fail("the port name holds a NUL character");
    std::unique_ptr<PrinterPort> port = makePort_(openMode);
    if (!port)
        return fail("open mode " + std::to_string(openMode) + " is none that this tool supports");
    if (!port->open({name, baudRate, dataBits, stopBits, parity}))
        return fail(port->failure());
    port_ = std::move(port);
    handle_ = nextHandle_;
    nextHandle_ = nextHandle_ == std::numeric_limits<std::int32_t>::max() ? 1 : nextHandle_ + 1;
    return handle_;
}

std::int32_t SystemPrinterSdk::POS_StartDoc()
{
    if (!requireOpenPort())
        return -1;
    return port_->startDocument() ? Done : failPort();
}

std::int32_t SystemPrinterSdk::POS_WriteFile(std::int32_t handle, const char* data,
                                             std::int32_t count)
{
    if (!requireOpenPort())
        return -1;
    if (handle != handle_)
        return fail("handle " + std::to_string(handle) + " is not that of the open port");
    if (count < 0 || (count > 0 && !data))
        return fail("nothing valid to write (" + std::to_string(count) + " bytes)");
    return port_->write(data, count) ? count : failPort();
}

std::int32_t SystemPrinterSdk::POS_ReadFile(std::int32_t handle, char* buffer,
                                            std::int32_t capacity, std::int32_t timeoutMs)
{
    if (!requireOpenPort())
        return -1;
    if (handle != handle_)
        return fail("handle " + std::to_string(handle) + " is not that of the open port");
    if (capacity <= 0 || !buffer || timeoutMs < 0)
        return fail("nowhere valid to read into (" + std::to_string(capacity) + " bytes)");
    const std::int64_t read = port_->read(buffer, capacity, Deadline(timeoutMs));
    return read < 0 ? failPort() : std::int32_t(read);
}

std::int32_t SystemPrinterSdk::POS_EndDoc()
{
    if (!requireOpenPort())
        return -1;
    return port_->endDocument() ? Done : failPort();
}

std::int32_t SystemPrinterSdk::POS_Close()
{
    if (!requireOpenPort())
        return -1;
    const bool closed = port_->close();
    std::string why = port_->failure();
    port_.reset();
    return closed ? Done : fail(std::move(why));
}
