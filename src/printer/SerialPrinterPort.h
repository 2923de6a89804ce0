#pragma once

#include "PrinterPort.h"

#include <QSerialPort>

// A printer on a serial line: 8 data bits, no parity, one stop bit, no flow control, raw.
class SerialPrinterPort : public PrinterPort
{
public:
    static constexpr int WriteBoundMs = 10000;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, qint64 count) override;
    bool close() override;

private:
    bool failPort(const QString& action);
    bool configure(const PortOpenRequest& request);

    QSerialPort port_;
    QString path_;
};
