#include "SpoolerQueues.h"

#include "PrinterQueues.h"
#include "WindowsText.h"

namespace
{

constexpr DWORD InstalledPrinters = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

struct StatusWord {
    DWORD bit;
    const char* word;
};

constexpr StatusWord StatusWords[] = {
    {PRINTER_STATUS_PAUSED, "paused"},
    {PRINTER_STATUS_OFFLINE, "offline"},
    {PRINTER_STATUS_ERROR, "error"},
    {PRINTER_STATUS_PAPER_OUT, "paper out"},
    {PRINTER_STATUS_PAPER_JAM, "paper jam"},
    {PRINTER_STATUS_DOOR_OPEN, "door open"},
    {PRINTER_STATUS_NOT_AVAILABLE, "not available"},
    {PRINTER_STATUS_USER_INTERVENTION, "needs attention"},
    {PRINTER_STATUS_PENDING_DELETION, "being deleted"},
};

// The printers of one level, in the spooler's order; false with the error when it fails.
bool enumerate(DWORD flags, const wchar_t* server, DWORD level, std::vector<BYTE>& buffer,
               DWORD& count, DWORD& error)
{
    DWORD needed = 0;
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (EnumPrintersW(flags, const_cast<wchar_t*>(server), level, buffer.data(),
                          DWORD(buffer.size()), &needed, &count))
            return true;
        error = GetLastError();
        if (error != ERROR_INSUFFICIENT_BUFFER)
            return false;
        buffer.resize(needed); // the list may grow between the calls
    }
    return false;
}

} // namespace

namespace SpoolerQueues
{

PrinterQueue queueOf(const PRINTER_INFO_2W& printer)
{
    PrinterQueue queue;
    queue.name = WindowsText::utf8(printer.pPrinterName ? printer.pPrinterName : L"");
    queue.deviceUri = WindowsText::utf8(printer.pPortName ? printer.pPortName : L"");
    const bool workOffline = printer.Attributes & PRINTER_ATTRIBUTE_WORK_OFFLINE;
    queue.stopped = (printer.Status & PRINTER_STATUS_PAUSED) || workOffline;
    queue.accepting = !(printer.Status & PRINTER_STATUS_PENDING_DELETION);
    queue.printing = (printer.Status & PRINTER_STATUS_PRINTING) || printer.cJobs > 0;
    for (const StatusWord& status : StatusWords) {
        if (printer.Status & status.bit)
            queue.reason += (queue.reason.empty() ? "" : ", ") + std::string(status.word);
    }
    if (workOffline)
        queue.reason += (queue.reason.empty() ? "" : ", ") + std::string("used offline");
    return queue;
}

std::vector<std::string> names()
{
    std::vector<BYTE> buffer;
    DWORD count = 0, error = 0;
    std::vector<std::string> names;
    if (!enumerate(InstalledPrinters, nullptr, 4, buffer, count, error))
        return names;
    const auto* printers = reinterpret_cast<const PRINTER_INFO_4W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        names.push_back(WindowsText::utf8(printers[i].pPrinterName));
    return names;
}

std::string refusalToPrint(const PrinterQueue& queue)
{
    if (!queue.stopped && queue.accepting)
        return {};
    const std::string printer = "printer \"" + queue.name + "\"";
    if (!queue.accepting)
        return printer + " is being deleted; choose another printer";
    return printer + " is " + queue.reason +
           "; once the printer is ready, open its print queue (Settings, Printers & scanners) "
           "and clear Pause Printing and Use Printer Offline in its Printer menu";
}

} // namespace SpoolerQueues

namespace PrinterQueues
{

QueueListing list(const std::string& server)
{
    const std::wstring serverName = server.empty() ? std::wstring() : WindowsText::wide(server);
    const DWORD flags = server.empty() ? InstalledPrinters : PRINTER_ENUM_NAME;
    std::vector<BYTE> buffer;
    DWORD count = 0, error = 0;
    QueueListing listing;
    if (!enumerate(flags, server.empty() ? nullptr : serverName.c_str(), 2, buffer, count, error)) {
        listing.failure =
            "the print spooler cannot list its printers: " + WindowsText::systemMessage(error) +
            (error == RPC_S_SERVER_UNAVAILABLE ? "; start the Print Spooler service" : "");
        return listing;
    }
    const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
    for (DWORD i = 0; i < count; ++i)
        listing.queues.push_back(SpoolerQueues::queueOf(printers[i]));
    return listing;
}

} // namespace PrinterQueues
