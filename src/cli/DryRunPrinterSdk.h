#pragma once

#include "PrinterSdk.h"

// Takes every call and sends nothing, so that a dry run shows exactly what would be sent.
class DryRunPrinterSdk : public PrinterSdk
{
public:
    std::int32_t POS_Open(const std::string&, std::int32_t, std::int32_t, std::int32_t,
                          std::int32_t, std::int32_t) override
    {
        return 1;
    }
    std::int32_t POS_StartDoc() override { return 1; }
    std::int32_t POS_WriteFile(std::int32_t, const char*, std::int32_t count) override
    {
        return count;
    }
    std::int32_t POS_EndDoc() override { return 1; }
    std::int32_t POS_Close() override { return 1; }
    // A dry run has no printer to answer.
    std::int32_t POS_ReadFile(std::int32_t, char*, std::int32_t, std::int32_t) override
    {
        return 0;
    }
    std::string lastFailure() const override { return {}; }
};
