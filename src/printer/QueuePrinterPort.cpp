#include "QueuePrinterPort.h"

#include "PrinterQueues.h"

#include <cups/cups.h>

namespace
{
constexpr const char* JobTitle = "black mark setup";
}

QueuePrinterPort::~QueuePrinterPort()
{
    cancelUnfinishedJob();
}

bool QueuePrinterPort::failPrintSystem(const QString& action)
{
    return fail(QStringLiteral("%1 on printer queue \"%2\": %3")
                    .arg(action, QString::fromLocal8Bit(queue_),
                         QString::fromLocal8Bit(cupsLastErrorString())));
}

bool QueuePrinterPort::failNoJob()
{
    return fail(QStringLiteral("no job is started on printer queue \"%1\"")
                    .arg(QString::fromLocal8Bit(queue_)));
}

bool QueuePrinterPort::open(const PortOpenRequest& request)
{
    // An empty name would mean the default queue, which the user did not choose.
    if (request.name.isEmpty())
        return fail(QStringLiteral("no printer queue is chosen"));
    queue_ = request.name.toLocal8Bit();
    cups_dest_t* destination = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue_.constData(), nullptr);
    if (!destination)
        return fail(QStringLiteral("no printer queue named \"%1\"").arg(request.name));
    cupsFreeDests(1, destination);
    const QString refusal = PrinterQueues::refusalToPrint(request.name);
    return refusal.isEmpty() || fail(refusal);
}

bool QueuePrinterPort::startDocument()
{
    job_ = cupsCreateJob(CUPS_HTTP_DEFAULT, queue_.constData(), JobTitle, 0, nullptr);
    if (job_ == 0)
        return failPrintSystem(QStringLiteral("create a job"));
    if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue_.constData(), job_, JobTitle, CUPS_FORMAT_RAW,
                          1) != HTTP_STATUS_CONTINUE)
        return failPrintSystem(QStringLiteral("start the document"));
    documentOpen_ = true;
    return true;
}

bool QueuePrinterPort::write(const char* data, qint64 count)
{
    if (!documentOpen_)
        return failNoJob();
    if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, data, static_cast<size_t>(count)) !=
        HTTP_STATUS_CONTINUE)
        return failPrintSystem(QStringLiteral("write"));
    return true;
}

bool QueuePrinterPort::endDocument()
{
    if (!documentOpen_)
        return failNoJob();
    documentOpen_ = false;
    if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue_.constData()) != IPP_STATUS_OK) {
        failPrintSystem(QStringLiteral("finish the document"));
        cancelUnfinishedJob();
        return false;
    }
    job_ = 0;
    return true;
}

bool QueuePrinterPort::close()
{
    const bool unfinished = job_ != 0;
    cancelUnfinishedJob();
    if (unfinished)
        return fail(QStringLiteral("the job on printer queue \"%1\" was not finished and is "
                                   "cancelled")
                        .arg(QString::fromLocal8Bit(queue_)));
    return true;
}

void QueuePrinterPort::cancelUnfinishedJob()
{
    if (job_ == 0)
        return;
    if (documentOpen_) {
        // Ends the request so that the connection can carry the cancel.
        cupsFinishDocument(CUPS_HTTP_DEFAULT, queue_.constData());
        documentOpen_ = false;
    }
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue_.constData(), job_, 0);
    job_ = 0;
}
