#pragma once

#include "PrinterSdk.h"

// Takes every call and sends nothing, so that a dry run shows exactly what would be sent.
class DryRunPrinterSdk : public PrinterSdk
{
public:
    qint32 POS_Open(const QByteArray&, qint32, qint32, qint32, qint32, qint32) override
    {
        return 1;
    }
    qint32 POS_StartDoc() override { return 1; }
    qint32 POS_WriteFile(qint32, const char*, qint32 count) override { return count; }
    qint32 POS_EndDoc() override { return 1; }
    qint32 POS_Close() override { return 1; }
    QString lastFailure() const override { return {}; }
};
