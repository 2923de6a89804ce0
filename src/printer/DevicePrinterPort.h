#pragma once

#include "PrinterPort.h"

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
    bool failSystem(const QString& action);

    int descriptor_ = -1;
    QString path_;
};
