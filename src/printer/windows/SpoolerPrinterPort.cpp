#include "SpoolerPrinterPort.h"

#include "SpoolerQueues.h"
#include "WindowsText.h"

#include <winspool.h>

#include <algorithm>
#include <vector>

namespace
{
constexpr wchar_t JobTitle[] = L"black mark setup";
constexpr wchar_t RawData[] = L"RAW";
} // namespace

SpoolerPrinterPort::~SpoolerPrinterPort()
{
    deleteUnfinishedJob();
    if (printer_)
        ClosePrinter(printer_);
}

bool SpoolerPrinterPort::failSpooler(const std::string& action, unsigned long error)
{
    // A spooler that refuses a document does not always say why.
    const std::string answer =
        error == ERROR_SUCCESS ? "the spooler did not take it" : WindowsText::systemMessage(error);
    return fail(action + " printer \"" + name_ + "\": " + answer);
}

bool SpoolerPrinterPort::failNotInstalled()
{
    std::string names;
    for (const std::string& printer : SpoolerQueues::names())
        names += (names.empty() ? "" : ", ") + ("\"" + printer + "\"");
    if (names.empty())
        return fail("the printer \"" + name_ +
                    "\" is not installed, and no printer is; add one in Settings, Printers & "
                    "scanners");
    return fail("the printer \"" + name_ + "\" is not installed; the printers here are: " + names);
}

bool SpoolerPrinterPort::failNoJob()
{
    return fail("no job is started on printer \"" + name_ + "\"");
}

bool SpoolerPrinterPort::open(const PortOpenRequest& request)
{
    // An empty name would mean the default printer, which the user did not choose.
    if (request.name.empty())
        return fail("no printer is chosen");
    name_ = request.name;
    PRINTER_DEFAULTSW access{nullptr, nullptr, PRINTER_ACCESS_USE};
    std::wstring name = WindowsText::wide(name_);
    if (!OpenPrinterW(name.data(), &printer_, &access)) {
        printer_ = nullptr;
        const DWORD error = GetLastError();
        if (error == ERROR_INVALID_PRINTER_NAME)
            return failNotInstalled();
        if (error == RPC_S_SERVER_UNAVAILABLE)
            return fail("open printer \"" + name_ +
                        "\": the print spooler does not answer; start the Print Spooler service");
        return failSpooler("open", error);
    }
    return refuseWhenNotReady();
}

bool SpoolerPrinterPort::refuseWhenNotReady()
{
    DWORD needed = 0;
    GetPrinterW(printer_, 2, nullptr, 0, &needed);
    std::vector<BYTE> buffer(std::max<DWORD>(needed, sizeof(PRINTER_INFO_2W)));
    if (!GetPrinterW(printer_, 2, buffer.data(), DWORD(buffer.size()), &needed))
        return failSpooler("look up", GetLastError());
    const std::string refusal = SpoolerQueues::refusalToPrint(
        SpoolerQueues::queueOf(*reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())));
    return refusal.empty() || fail(refusal);
}

bool SpoolerPrinterPort::startDocument()
{
    DOC_INFO_1W document{const_cast<wchar_t*>(JobTitle), nullptr, const_cast<wchar_t*>(RawData)};
    job_ = StartDocPrinterW(printer_, 1, reinterpret_cast<BYTE*>(&document));
    if (job_ == 0)
        return failSpooler("start a document on", GetLastError());
    documentOpen_ = true;
    // Paused at once: the spooler may start printing a job while it is still being written.
    if (!SetJobW(printer_, job_, 0, nullptr, JOB_CONTROL_PAUSE)) {
        failSpooler("hold the job on", GetLastError());
        deleteUnfinishedJob();
        return false;
    }
    return true;
}

bool SpoolerPrinterPort::write(const char* data, std::int64_t count)
{
    if (!documentOpen_)
        return failNoJob();
    for (std::int64_t done = 0; done < count;) {
        DWORD written = 0;
        const DWORD chunk = DWORD(std::min<std::int64_t>(count - done, 1 << 20));
        if (!WritePrinter(printer_, const_cast<char*>(data + done), chunk, &written))
            return failSpooler("write to", GetLastError());
        if (written == 0)
            return failSpooler("write to", ERROR_SUCCESS);
        done += written;
    }
    return true;
}

bool SpoolerPrinterPort::endDocument()
{
    if (!documentOpen_)
        return failNoJob();
    documentOpen_ = false;
    if (!EndDocPrinter(printer_)) {
        failSpooler("finish the document on", GetLastError());
        deleteUnfinishedJob();
        return false;
    }
    if (!resumeJob()) {
        deleteUnfinishedJob();
        return false;
    }
    job_ = 0;
    return true;
}

// A job that the spooler no longer holds has been handed on already: there is nothing left
// to resume.
bool SpoolerPrinterPort::resumeJob()
{
    if (SetJobW(printer_, job_, 0, nullptr, JOB_CONTROL_RESUME))
        return true;
    const DWORD error = GetLastError();
    DWORD needed = 0;
    GetJobW(printer_, job_, 1, nullptr, 0, &needed);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return true;
    return fail("printer \"" + name_ +
                "\": the job could not be released: " + WindowsText::systemMessage(error));
}

bool SpoolerPrinterPort::close()
{
    const bool unfinished = job_ != 0;
    deleteUnfinishedJob();
    if (printer_)
        ClosePrinter(printer_);
    printer_ = nullptr;
    if (unfinished)
        return fail("the job on printer \"" + name_ + "\" was not finished and is deleted");
    return true;
}

void SpoolerPrinterPort::deleteUnfinishedJob()
{
    if (job_ == 0)
        return;
    if (documentOpen_)
        AbortPrinter(printer_);
    documentOpen_ = false;
    SetJobW(printer_, job_, 0, nullptr, JOB_CONTROL_DELETE);
    job_ = 0;
}
