#pragma once

#include "PrinterPort.h"

#include <windows.h>

#include <cstdint>
#include <string>

// A printer installed in the Windows spooler; the document goes to it as one RAW job. The job
// is paused from its start until its document is complete, so that one we delete can never
// have started printing.
class SpoolerPrinterPort : public PrinterPort
{
public:
    ~SpoolerPrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool startDocument() override;
    bool write(const char* data, std::int64_t count) override;
    bool endDocument() override;
    bool close() override;

private:
    bool failSpooler(const std::string& action, unsigned long error);
    bool failNotInstalled();
    bool failNoJob();
    bool refuseWhenNotReady();
    // Lets the paused job print; the document must be complete.
    bool resumeJob();
    void deleteUnfinishedJob();

    HANDLE printer_ = nullptr;
    std::string name_;
    DWORD job_ = 0;
    bool documentOpen_ = false;
};
