#include "PrinterQueues.h"

#include <QFile>
#include <cups/cups.h>
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

QString text(ipp_attribute_t* attribute, int index = 0)
{
    return QString::fromUtf8(ippGetString(attribute, index, nullptr));
}

// Reads one printer group of the answer; leaves the attribute after it current.
PrinterQueue readQueue(ipp_t* response, ipp_attribute_t*& attribute)
{
    PrinterQueue queue;
    QStringList reasons;
    QString message;
    for (; attribute && ippGetGroupTag(attribute) == IPP_TAG_PRINTER;
         attribute = ippNextAttribute(response)) {
        const QLatin1String name(ippGetName(attribute));
        if (name == QLatin1String("printer-name"))
            queue.name = text(attribute);
        else if (name == QLatin1String("device-uri"))
            queue.deviceUri = text(attribute);
        else if (name == QLatin1String("printer-state")) {
            queue.stopped = ippGetInteger(attribute, 0) == IPP_PSTATE_STOPPED;
            queue.printing = ippGetInteger(attribute, 0) == IPP_PSTATE_PROCESSING;
        } else if (name == QLatin1String("printer-is-accepting-jobs"))
            queue.accepting = ippGetBoolean(attribute, 0);
        else if (name == QLatin1String("printer-state-message"))
            message = text(attribute);
        else if (name == QLatin1String("printer-state-reasons")) {
            for (int i = 0; i < ippGetCount(attribute); ++i) {
                if (text(attribute, i) != QLatin1String("none"))
                    reasons << text(attribute, i);
            }
        }
    }
    queue.reason = message.isEmpty() ? reasons.join(QStringLiteral(", ")) : message;
    return queue;
}

} // namespace

QString PrinterQueue::stateText() const
{
    QString state = stopped    ? QStringLiteral("stopped")
                    : printing ? QStringLiteral("printing")
                               : QStringLiteral("idle");
    if (!accepting)
        state += QStringLiteral(", not accepting jobs");
    if ((stopped || !accepting) && !reason.isEmpty())
        state += QStringLiteral(": ") + reason;
    return state;
}

QStringList QueueListing::names() const
{
    QStringList names;
    for (const PrinterQueue& queue : queues)
        names << queue.name;
    return names;
}

namespace PrinterQueues
{

QueueListing list(const QString& server)
{
    QueueListing listing;
    const QByteArray host = server.isEmpty() ? QByteArray(cupsServer()) : QFile::encodeName(server);
    const std::unique_ptr<http_t, HttpClose> http(httpConnect2(host.constData(), ippPort(), nullptr,
                                                               AF_UNSPEC, cupsEncryption(), 1,
                                                               ConnectBoundMs, nullptr));
    if (!http) {
        listing.failure = QStringLiteral("the print scheduler at %1 cannot be reached; is it "
                                         "running?")
                              .arg(QString::fromLocal8Bit(host));
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
            QStringLiteral("the print scheduler at %1 did not list its queues: %2")
                .arg(QString::fromLocal8Bit(host), QString::fromLocal8Bit(cupsLastErrorString()));
        return listing;
    }
    ipp_attribute_t* attribute = response ? ippFirstAttribute(response.get()) : nullptr;
    while (attribute) {
        if (ippGetGroupTag(attribute) != IPP_TAG_PRINTER) {
            attribute = ippNextAttribute(response.get());
            continue;
        }
        const PrinterQueue queue = readQueue(response.get(), attribute);
        if (!queue.name.isEmpty())
            listing.queues << queue;
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

QString refusalToPrint(const PrinterQueue& queue)
{
    if (!queue.stopped && queue.accepting)
        return {};
    const QString fix = queue.stopped && !queue.accepting
                            ? QStringLiteral("`cupsenable %1` and `cupsaccept %1`")
                        : queue.stopped ? QStringLiteral("`cupsenable %1`")
                                        : QStringLiteral("`cupsaccept %1`");
    return QStringLiteral("printer queue \"%1\" is %2; once the printer is ready, let it print "
                          "again with %3")
        .arg(queue.name, queue.stateText(), fix.arg(queue.name));
}

} // namespace PrinterQueues
