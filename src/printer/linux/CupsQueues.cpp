#include "CupsQueues.h"

#include <cups/cups.h>
#include <iterator>
#include <memory>

namespace
{

constexpr int ConnectBoundMs = 3000;
// libcups notices an overdue answer up to a second late: about 5 s in all.
constexpr double AnswerBoundSeconds = 4.0;

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};
struct IppDelete {
    void operator()(ipp_t* ipp) const { ippDelete(ipp); }
};

std::string text(ipp_attribute_t* attribute, int index = 0)
{
    const char* value = ippGetString(attribute, index, nullptr);
    return value ? value : "";
}

// Reads one printer group of the answer; leaves the attribute after it current.
PrinterQueue readQueue(ipp_t* response, ipp_attribute_t*& attribute)
{
    PrinterQueue queue;
    std::string reasons;
    std::string message;
    for (; attribute && ippGetGroupTag(attribute) == IPP_TAG_PRINTER;
         attribute = ippNextAttribute(response)) {
        const std::string_view name = ippGetName(attribute) ? ippGetName(attribute) : "";
        if (name == "printer-name")
            queue.name = text(attribute);
        else if (name == "device-uri")
            queue.deviceUri = text(attribute);
        else if (name == "printer-state") {
            queue.stopped = ippGetInteger(attribute, 0) == IPP_PSTATE_STOPPED;
            queue.printing = ippGetInteger(attribute, 0) == IPP_PSTATE_PROCESSING;
        } else if (name == "printer-is-accepting-jobs")
            queue.accepting = ippGetBoolean(attribute, 0);
        else if (name == "printer-state-message")
            message = text(attribute);
        else if (name == "printer-state-reasons") {
            for (int i = 0; i < ippGetCount(attribute); ++i) {
                if (text(attribute, i) != "none")
                    reasons += (reasons.empty() ? "" : ", ") + text(attribute, i);
            }
        }
    }
    queue.reason = message.empty() ? reasons : message;
    return queue;
}

} // namespace

namespace CupsQueues
{

QueueListing list(const std::string& server)
{
    QueueListing listing;
    const std::string host = server.empty() ? cupsServer() : server;
    const std::unique_ptr<http_t, HttpClose> http(httpConnect2(
        host.c_str(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, ConnectBoundMs, nullptr));
    if (!http) {
        listing.failure = "the print scheduler at " + host + " cannot be reached; is it running?";
        return listing;
    }
    httpSetTimeout(http.get(), AnswerBoundSeconds, nullptr, nullptr);
    ipp_t* request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    static const char* const wanted[] = {"printer-name",          "device-uri",
                                         "printer-state",         "printer-is-accepting-jobs",
                                         "printer-state-message", "printer-state-reasons"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  int(std::size(wanted)), nullptr, wanted);
    const std::unique_ptr<ipp_t, IppDelete> response(cupsDoRequest(http.get(), request, "/"));
    if (!response && cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND) {
        listing.failure =
            "the print scheduler at " + host + " did not list its queues: " + cupsLastErrorString();
        return listing;
    }
    ipp_attribute_t* attribute = response ? ippFirstAttribute(response.get()) : nullptr;
    while (attribute) {
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER) {
            attribute = ippNextAttribute(response.get());
            continue;
        }
        PrinterQueue queue = readQueue(response.get(), attribute);
        if (!queue.name.empty())
            listing.queues.push_back(std::move(queue));
    }
    return listing;
}

PrinterQueue queueIn(ipp_t* answer)
{
    ipp_attribute_t* attribute = ippFirstAttribute(answer);
    while (attribute && ippGetGroupTag(attribute) != IPP_TAG_PRINTER)
        attribute = ippNextAttribute(answer);
    return readQueue(answer, attribute);
}

} // namespace CupsQueues
