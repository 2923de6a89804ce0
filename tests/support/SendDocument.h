#pragma once

#include "PrinterSdk.h"

// Sends one document the way the window does: open, start, one write, end, close. Returns
// the first failure with its stage ("open: ...", "write: ..."), or an empty text.
inline QString sendDocument(PrinterSdk& sdk, const QByteArray& name, qint32 openMode,
                            const QByteArray& bytes)
{
    const qint32 handle = sdk.POS_Open(name, 115200, 8, 0, 0, openMode);
    if (handle == PrinterSdk::NotOpened)
        return "open: " + sdk.lastFailure();
    QString failure;
    const auto note = [&](const char* stage, bool failed) {
        if (failed && failure.isEmpty())
            failure = QLatin1String(stage) + ": " + sdk.lastFailure();
    };
    note("start", sdk.POS_StartDoc() < 0);
    note("write",
         sdk.POS_WriteFile(handle, bytes.constData(), qint32(bytes.size())) != bytes.size());
    note("end", sdk.POS_EndDoc() < 0);
    note("close", sdk.POS_Close() < 0);
    return failure;
}
