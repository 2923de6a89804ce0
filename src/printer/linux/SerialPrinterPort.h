#pragma once

#include "PrinterPort.h"

#include <QDeadlineTimer>
#include <QSerialPort>

// A printer on a serial line: 8 data bits, no parity, one stop bit, no flow control, raw.
// The document is written and drained within a bound that grows with the time the line
// needs for it.
class SerialPrinterPort : public PrinterPort
{
public:
    static constexpr int SlackMs = 2000;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, qint64 count) override;
    bool close() override;

    // Ten bits a byte at the line's rate, plus the slack.
    static qint64 boundMs(qint64 count, qint32 baudRate);

private:
    bool failPort(const QString& action);
    bool failSystem(const QString& action, int error);
    bool failTimeout();
    bool configure(const PortOpenRequest& request);
    bool drain();

    QSerialPort port_;
    QString path_;
    qint32 baudRate_ = 0;
    qint64 written_ = 0;
    qint64 requested_ = 0;
    QDeadlineTimer deadline_;
};
