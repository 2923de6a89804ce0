#pragma once

#include "PrinterSdk.h"

#include <QList>
#include <QStringList>

// Logs every call with its arguments and bytes, and answers with scripted results.
class RecordingPrinterSdk : public PrinterSdk
{
public:
    qint32 POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits, qint32 stopBits,
                    qint32 parity, qint32 openMode) override
    {
        const QList<qint32> numbers{baudRate, dataBits, stopBits, parity, openMode};
        QStringList arguments{QString::fromLocal8Bit(name)};
        for (qint32 number : numbers)
            arguments << QString::number(number);
        return record("POS_Open(" + arguments.join(u',') + ')', openResult);
    }
    qint32 POS_StartDoc() override { return record("POS_StartDoc()", startDocResult); }
    qint32 POS_WriteFile(qint32 handle, const char* data, qint32 count) override
    {
        written << QByteArray(data, count);
        const QString hex = QString::fromLatin1(written.back().toHex(' ').toUpper());
        return record(QStringLiteral("POS_WriteFile(%1,%2)").arg(handle).arg(hex),
                      writeResult == AnswerTheCount ? count : writeResult);
    }
    qint32 POS_EndDoc() override { return record("POS_EndDoc()", endDocResult); }
    qint32 POS_Close() override { return record("POS_Close()", closeResult); }
    QString lastFailure() const override { return failure; }

    static constexpr qint32 AnswerTheCount = -2;
    // One line per call, such as "POS_Open(COM3,19200,8,0,0,1)" or "POS_WriteFile(7,1B 40)".
    QStringList calls;
    QList<QByteArray> written;
    qint32 openResult = 7, startDocResult = 1, writeResult = AnswerTheCount, endDocResult = 1,
           closeResult = 1;
    QString failure = QStringLiteral("scripted failure");

private:
    qint32 record(const QString& call, qint32 result)
    {
        calls << call;
        return result;
    }
};
