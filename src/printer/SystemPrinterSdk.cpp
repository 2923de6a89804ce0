#include "SystemPrinterSdk.h"

#include "DevicePrinterPort.h"
#include "QueuePrinterPort.h"
#include "SerialPrinterPort.h"
#include "TcpPrinterPort.h"

#include <limits>

namespace
{

std::unique_ptr<PrinterPort> portForOpenMode(qint32 openMode)
{
    switch (openMode) {
    case OpenMode::Serial:
        return std::make_unique<SerialPrinterPort>();
    case OpenMode::ParallelOrUsbDevice:
        return std::make_unique<DevicePrinterPort>();
    case OpenMode::PrinterQueue:
        return std::make_unique<QueuePrinterPort>();
    case OpenMode::Network:
        return std::make_unique<TcpPrinterPort>();
    default:
        return nullptr;
    }
}

constexpr qint32 Done = 1;

} // namespace

SystemPrinterSdk::SystemPrinterSdk() = default;
SystemPrinterSdk::~SystemPrinterSdk() = default;

qint32 SystemPrinterSdk::fail(const QString& why)
{
    failure_ = why;
    return -1;
}

qint32 SystemPrinterSdk::failPort()
{
    return fail(port_->failure());
}

bool SystemPrinterSdk::requireOpenPort()
{
    if (port_)
        return true;
    fail(QStringLiteral("no port is open"));
    return false;
}

qint32 SystemPrinterSdk::POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits,
                                  qint32 stopBits, qint32 parity, qint32 openMode)
{
    if (port_)
        return fail(QStringLiteral("a port is open already; it must be closed first"));
    if (name.contains('\0'))
        return fail(QStringLiteral("the port name holds a NUL character"));
    std::unique_ptr<PrinterPort> port = portForOpenMode(openMode);
    if (!port)
        return fail(QStringLiteral("open mode %1 is none that this tool supports").arg(openMode));
    if (!port->open({QString::fromLocal8Bit(name), baudRate, dataBits, stopBits, parity}))
        return fail(port->failure());
    port_ = std::move(port);
    handle_ = nextHandle_;
    nextHandle_ = nextHandle_ == std::numeric_limits<qint32>::max() ? 1 : nextHandle_ + 1;
    return handle_;
}

qint32 SystemPrinterSdk::POS_StartDoc()
{
    if (!requireOpenPort())
        return -1;
    return port_->startDocument() ? Done : failPort();
}

qint32 SystemPrinterSdk::POS_WriteFile(qint32 handle, const char* data, qint32 count)
{
    if (!requireOpenPort())
        return -1;
    if (handle != handle_)
        return fail(QStringLiteral("handle %1 is not that of the open port").arg(handle));
    if (count < 0 || (count > 0 && !data))
        return fail(QStringLiteral("nothing valid to write (%1 bytes)").arg(count));
    return port_->write(data, count) ? count : failPort();
}

qint32 SystemPrinterSdk::POS_EndDoc()
{
    if (!requireOpenPort())
        return -1;
    return port_->endDocument() ? Done : failPort();
}

qint32 SystemPrinterSdk::POS_Close()
{
    if (!requireOpenPort())
        return -1;
    const bool closed = port_->close();
    const QString why = port_->failure();
    port_.reset();
    return closed ? Done : fail(why);
}
