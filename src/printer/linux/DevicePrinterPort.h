#pragma once

#include "PrinterPort.h"

#include <sys/types.h>

// A parallel or USB printer device, or a FIFO standing in for one. Nothing else is opened,
// so that a mistyped path never overwrites a file.
class DevicePrinterPort : public PrinterPort
{
public:
    ~DevicePrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, qint64 count) override;
    bool close() override;

private:
    // A slow parallel port still takes 64 KiB a second.
    static constexpr int BoundMs = 10000;
    static constexpr int BytesPerMs = 64;
    static constexpr int RetryMs = 20;

    static qint64 boundMs(qint64 count);
    bool failSystem(const QString& action);
    bool failTimeout(qint64 count);
    ssize_t writeWithoutSigpipe(const char* data, qint64 count);

    int descriptor_ = -1;
    QString path_;
};
