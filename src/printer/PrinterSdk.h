#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The five calls through which every byte reaches the printer. A send always runs
// POS_Open, then (unless it gave -1) POS_StartDoc, one POS_WriteFile, POS_EndDoc, POS_Close.
class PrinterSdk
{
public:
    static constexpr qint32 NotOpened = -1;

    virtual ~PrinterSdk() = default;

    // name is the port or device name as bytes of the local 8-bit encoding; the
    // QByteArray keeps its length, so that a NUL inside it can be refused.
    virtual qint32 POS_Open(const QByteArray& name, qint32 baudRate, qint32 dataBits,
                            qint32 stopBits, qint32 parity, qint32 openMode) = 0;
    virtual qint32 POS_StartDoc() = 0;
    virtual qint32 POS_WriteFile(qint32 handle, const char* data, qint32 count) = 0;
    virtual qint32 POS_EndDoc() = 0;
    // Closes the port that the last POS_Open opened; it takes no handle.
    virtual qint32 POS_Close() = 0;

    // Why the last failing call failed, in words for the user.
    virtual QString lastFailure() const = 0;
};

// The open modes that the port kinds use.
namespace OpenMode
{
constexpr qint32 Serial = 1;
constexpr qint32 ParallelOrUsbDevice = 18;
constexpr qint32 PrinterQueue = 20;
constexpr qint32 Network = 21;
} // namespace OpenMode
