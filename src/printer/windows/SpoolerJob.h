#pragma once

#include "PrinterQueue.h"

#include <windows.h>

#include <string>
#include <vector>

// One document's RAW job on a printer of the Windows spooler, each call straight into the
// spooler, so as long as the spooler takes. The job is paused from its start until its
// document is complete, so that one we delete can never have started printing. An unfinished
// job is deleted, and the printer closed, when this ends.
class SpoolerJob
{
public:
    // What a call did: done, or the system's error (ERROR_SUCCESS when the spooler refused
    // without saying why).
    struct Answer {
        bool done = true;
        unsigned long error = 0;
    };

    SpoolerJob() = default;
    ~SpoolerJob();
    SpoolerJob(const SpoolerJob&) = delete;
    SpoolerJob& operator=(const SpoolerJob&) = delete;

    Answer open(const std::wstring& printer);
    Answer lookUp(PrinterQueue& queue) const;
    Answer start();
    Answer hold();
    Answer write(const std::vector<char>& bytes);
    Answer end();
    // Lets the paused job print; the document must be complete.
    Answer release();
    void deleteUnfinished();
    void close();

private:
    HANDLE printer_ = nullptr;
    DWORD job_ = 0;
    bool documentOpen_ = false;
};
