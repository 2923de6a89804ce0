#include "VerbosePrinterSdk.h"

VerbosePrinterSdk::VerbosePrinterSdk(PrinterSdk& sdk, QTextStream& err) : sdk_(sdk), err_(err)
{
    clock_.start();
}

void VerbosePrinterSdk::tell(const QString& stage)
{
    err_ << "blackmark: " << QString::number(double(clock_.nsecsElapsed()) / 1e6, 'f', 1) << " ms "
         << stage << Qt::endl;
}

qint32 VerbosePrinterSdk::POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits,
                                   qint32 stopBits, qint32 parity, qint32 openMode)
{
    const qint32 handle = sdk_.POS_Open(name, baudRate, dataBits, stopBits, parity, openMode);
    tell((handle == NotOpened ? QStringLiteral("not opened: ") : QStringLiteral("opened: ")) +
         QString::fromLocal8Bit(name));
    return handle;
}

qint32 VerbosePrinterSdk::POS_StartDoc()
{
    return sdk_.POS_StartDoc();
}

qint32 VerbosePrinterSdk::POS_WriteFile(qint32 handle, const char* data, qint32 count)
{
    const qint32 written = sdk_.POS_WriteFile(handle, data, count);
    written_ = qMax(written, 0);
    tell(written == count
             ? QStringLiteral("wrote %1 bytes").arg(count)
             : QStringLiteral("write failed after %1 of %2 bytes").arg(written_).arg(count));
    return written;
}

qint32 VerbosePrinterSdk::POS_EndDoc()
{
    return sdk_.POS_EndDoc();
}

qint32 VerbosePrinterSdk::POS_Close()
{
    const qint32 result = sdk_.POS_Close();
    tell(result < 0 ? QStringLiteral("close failed") : QStringLiteral("closed"));
    return result;
}

void VerbosePrinterSdk::confirm()
{
    tell(QStringLiteral("confirmed: the port took all %1 bytes and closed cleanly").arg(written_));
}
