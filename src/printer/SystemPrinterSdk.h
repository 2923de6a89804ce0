#pragma once

#include "PrinterPort.h"
#include "PrinterSdk.h"

#include <memory>

// The printer SDK over the machine's own ports; the open mode chooses the kind of port.
class SystemPrinterSdk : public PrinterSdk
{
public:
    SystemPrinterSdk();
    ~SystemPrinterSdk() override;

    qint32 POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits, qint32 stopBits,
                    qint32 parity, qint32 openMode) override;
    qint32 POS_StartDoc() override;
    qint32 POS_WriteFile(qint32 handle, const char* data, qint32 count) override;
    qint32 POS_EndDoc() override;
    qint32 POS_Close() override;
    QString lastFailure() const override { return failure_; }

private:
    qint32 fail(const QString& why);
    qint32 failPort();
    bool requireOpenPort();

    std::unique_ptr<PrinterPort> port_;
    qint32 handle_ = 0;
    qint32 nextHandle_ = 1;
    QString failure_;
};
