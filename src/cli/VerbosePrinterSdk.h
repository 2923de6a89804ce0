#pragma once

#include "PrinterSdk.h"

#include <QElapsedTimer>
#include <QTextStream>

// Passes every call on and tells each stage of the send on the error stream, with the time
// since the command line started.
class VerbosePrinterSdk : public PrinterSdk
{
public:
    VerbosePrinterSdk(PrinterSdk& sdk, QTextStream& err);

    qint32 POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits, qint32 stopBits,
                    qint32 parity, qint32 openMode) override;
    qint32 POS_StartDoc() override;
    qint32 POS_WriteFile(qint32 handle, const char* data, qint32 count) override;
    qint32 POS_EndDoc() override;
    qint32 POS_Close() override;
    QString lastFailure() const override { return sdk_.lastFailure(); }

    // The last stage: every call succeeded, the close included.
    void confirm();

private:
    void tell(const QString& stage);

    PrinterSdk& sdk_;
    QTextStream& err_;
    QElapsedTimer clock_;
    qint32 written_ = 0;
};
