#include "SpoolerJob.h"

#include "SpoolerQueues.h"

#include <winspool.h>

#include <algorithm>

namespace
{
constexpr wchar_t JobTitle[] = L"black mark setup";
constexpr wchar_t RawData[] = L"RAW";

SpoolerJob::Answer failed(unsigned long error)
{
    return {false, error};
}
} // namespace

SpoolerJob::~SpoolerJob()
{
    close();
}

SpoolerJob::Answer SpoolerJob::open(const std::wstring& printer)
{
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ACCESS_USE};
    std::wstring name = printer;
    if (!OpenPrinterW(name.data(), &printer_, &access)) {
        printer_ = nullptr;
        return failed(GetLastError());
    }
    return {};
}

SpoolerJob::Answer SpoolerJob::lookUp(PrinterQueue& queue) const
{
    DWORD needed = 0;
    GetPrinterW(printer_, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(std::max<DWORD>(needed, sizeof(PRINTER_INFO_2W)));
    if (!GetPrinterW(printer_, 2, buffer.data(), DWORD(buffer.size()), &needed))
        return failed(GetLastError());
    queue = SpoolerQueues::queueOf(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data()));
    return {};
}

SpoolerJob::Answer SpoolerJob::start()
{
    DOC_INFO_1W document{const_cast<wchar_t*>(JobTitle), nullptr, const_cast<wchar_t*>(RawData)};
    job_ = StartDocPrinterW(printer_, 1, reinterpret_cast<BYTE*>(&document));
    if (job_ == 0)
        return failed(GetLastError());
    documentOpen_ = true;
    return {};
}

// Paused at once: the spooler may start printing a job while it is still being written.
SpoolerJob::Answer SpoolerJob::hold()
{
    if (SetJobW(printer_, job_, 0, nullptr, JOB_CONTROL_PAUSE))
        return {};
    const DWORD error = GetLastError();
    deleteUnfinished();
    return failed(error);
}

SpoolerJob::Answer SpoolerJob::write(const std::vector<char>& bytes)
{
    for (std::size_t done = 0; done < bytes.size();) {
        DWORD written = 0;
        if (!WritePrinter(printer_, const_cast<char*>(bytes.data() + done),
                          DWORD(bytes.size() - done), &written))
            return failed(GetLastError());
        if (written == 0)
            return failed(ERROR_SUCCESS);
        done += written;
    }
    return {};
}

SpoolerJob::Answer SpoolerJob::end()
{
    documentOpen_ = false;
    if (EndDocPrinter(printer_))
        return {};
    const DWORD error = GetLastError();
    deleteUnfinished();
    return failed(error);
}

// A job that the spooler no longer holds has been handed on already: there is nothing left
// to resume.
SpoolerJob::Answer SpoolerJob::release()
{
    if (SetJobW(printer_, job_, 0, nullptr, JOB_CONTROL_RESUME)) {
        job_ = 0;
        return {};
    }
    const DWORD error = GetLastError();
    DWORD needed = 0;
    GetJobW(printer_, job_, 1, nullptr, 0, &needed);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        job_ = 0;
        return {};
    }
    deleteUnfinished();
    return failed(error);
}

void SpoolerJob::deleteUnfinished()
{
    if (job_ == 0)
        return;
    if (documentOpen_)
        AbortPrinter(printer_);
    documentOpen_ = false;
    SetJobW(printer_, job_, 0, nullptr, JOB_CONTROL_DELETE);
    job_ = 0;
}

void SpoolerJob::close()
{
    deleteUnfinished();
    if (printer_)
        ClosePrinter(printer_);
    printer_ = nullptr;
}
