#pragma once

#include "PrinterSdk.h"

#include <string>

// Sends one document the way the window does: open, start, one write, end, close. Returns
// the first failure with its stage ("open: ...", "write: ..."), or an empty text.
inline std::string sendDocument(PrinterSdk& sdk, const std::string& name, std::int32_t openMode,
                                const std::string& bytes)
{
    const std::int32_t handle = sdk.POS_Open(name, 115200, 8, 0, 0, openMode);
    if (handle == PrinterSdk::NotOpened)
        return "open: " + sdk.lastFailure();
    std::string failure;
    const auto note = [&](const char* stage, bool failed) {
        if (failed && failure.empty())
            failure = stage + (": " + sdk.lastFailure());
    };
    note("start", sdk.POS_StartDoc() < 0);
    note("write", sdk.POS_WriteFile(handle, bytes.data(), std::int32_t(bytes.size())) !=
                      std::int32_t(bytes.size()));
    note("end", sdk.POS_EndDoc() < 0);
    note("close", sdk.POS_Close() < 0);
    return failure;
}
