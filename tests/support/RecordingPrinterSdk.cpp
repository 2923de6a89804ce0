#include "RecordingPrinterSdk.h"

qint32 RecordingPrinterSdk::POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits,
                                     qint32 stopBits, qint32 parity, qint32 openMode)
{
    calls << QStringLiteral("POS_Open(%1,%2,%3,%4,%5,%6)")
                 .arg(QString::fromLocal8Bit(name))
                 .arg(baudRate)
                 .arg(dataBits)
                 .arg(stopBits)
                 .arg(parity)
                 .arg(openMode);
    return openResult;
}

qint32 RecordingPrinterSdk::POS_StartDoc()
{
    calls << QStringLiteral("POS_StartDoc()");
    return startDocResult;
}

qint32 RecordingPrinterSdk::POS_WriteFile(qint32 handle, const char* data, qint32 count)
{
    const QByteArray bytes(data, count);
    written << bytes;
    calls << QStringLiteral("POS_WriteFile(%1,%2)")
                 .arg(handle)
                 .arg(QString::fromLatin1(bytes.toHex(' ').toUpper()));
    return writeResult == -2 ? count : writeResult;
}

qint32 RecordingPrinterSdk::POS_EndDoc()
{
    calls << QStringLiteral("POS_EndDoc()");
    return endDocResult;
}

qint32 RecordingPrinterSdk::POS_Close()
{
    calls << QStringLiteral("POS_Close()");
    return closeResult;
}
