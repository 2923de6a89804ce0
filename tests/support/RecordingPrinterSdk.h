#pragma once

#include "PrinterSdk.h"

#include <QList>
#include <QStringList>

// Logs every call with its arguments and bytes, and answers with scripted results.
class RecordingPrinterSdk : public PrinterSdk
{
public:
    qint32 POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits, qint32 stopBits,
                    qint32 parity, qint32 openMode) override;
    qint32 POS_StartDoc() override;
    qint32 POS_WriteFile(qint32 handle, const char* data, qint32 count) override;
    qint32 POS_EndDoc() override;
    qint32 POS_Close() override;
    QString lastFailure() const override { return failure; }

    // One line per call, such as "POS_Open(COM3,19200,8,0,0,1)" or "POS_WriteFile(7,1B 40)".
    QStringList calls;
    QList<QByteArray> written;

    qint32 openResult = 7;
    qint32 startDocResult = 1;
    qint32 writeResult = -2; // -2: answer with the count
    qint32 endDocResult = 1;
    qint32 closeResult = 1;
    QString failure = QStringLiteral("scripted failure");
};
