#include "QueuePrinterPort.h"

#include "CupsQueues.h"

#include <cups/cups.h>

#include <cerrno>
#include <system_error>

namespace
{
constexpr const char* JobTitle = "black mark setup";

// Called when an answer is overdue: 0 ends the request.
int giveUp(http_t*, void*)
{
    return 0;
}
} // namespace

QueuePrinterPort::~QueuePrinterPort()
{
    cancelUnfinishedJob();
    httpClose(server_);
}

std::string QueuePrinterPort::serverName() const
{
    const std::string host = cupsServer();
    return host.starts_with('/') ? host : host + ":" + std::to_string(ippPort());
}

ipp_t* QueuePrinterPort::queueRequest(int operation) const
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(),
                     "/printers/%s", queue_.c_str());
    ipp_t* request = ippNewRequest(ipp_op_t(operation));
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    return request;
}

bool QueuePrinterPort::connectToServer()
{
    server_ = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1,
                           ConnectBoundMs, nullptr);
    if (!server_)
        return fail("connect to the print server " + serverName() + ": " +
                    std::generic_category().message(errno));
    // libcups looks at an overdue answer once a second, so it notices one up to a second late.
    httpSetTimeout(server_, (AnswerBoundMs - 1000) / 1000.0, giveUp, nullptr);
    return true;
}

std::string QueuePrinterPort::schedulerAnswer() const
{
    return httpError(server_) == ETIMEDOUT
               ? "no answer within " + std::to_string(AnswerBoundMs / 1000) + " s"
               : std::string(cupsLastErrorString());
}

bool QueuePrinterPort::failPrintSystem(const std::string& action)
{
    return fail(action + " printer queue \"" + queue_ + "\" (print server " + serverName() +
                "): " + schedulerAnswer());
}

bool QueuePrinterPort::failNoJob()
{
    return fail("no job is started on printer queue \"" + queue_ + "\"");
}

bool QueuePrinterPort::open(const PortOpenRequest& request)
{
    // An empty name would mean the default queue, which the user did not choose.
    if (request.name.empty())
        return fail("no printer queue is chosen");
    queue_ = request.name;
    if (!connectToServer())
        return false;
    // One request under the connection's bound, which also tells the queue's state; the
    // library's own lookup retries without a bound.
    ipp_t* answer = cupsDoRequest(server_, queueRequest(IPP_OP_GET_PRINTER_ATTRIBUTES), "/");
    const PrinterQueue queue = answer ? CupsQueues::queueIn(answer) : PrinterQueue();
    ippDelete(answer);
    if (!answer && httpError(server_) != 0)
        return failPrintSystem("look up");
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        return fail("no printer queue named \"" + request.name + "\"");
    if (cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        return failPrintSystem("look up");
    const std::string refusal = queue.refusalToPrint();
    return refusal.empty() || fail(refusal);
}

bool QueuePrinterPort::startDocument()
{
    // The job is held until the whole document is in, so that one we cancel can never have
    // started printing: the scheduler runs a job as soon as its document is complete.
    cups_option_t hold{const_cast<char*>("job-hold-until"), const_cast<char*>("indefinite")};
    job_ = cupsCreateJob(server_, queue_.c_str(), JobTitle, 1, &hold);
    if (job_ == 0)
        return failPrintSystem("create a job on");
    if (cupsStartDocument(server_, queue_.c_str(), job_, JobTitle, CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE)
        return failPrintSystem("start the document on");
    documentOpen_ = true;
    return true;
}

bool QueuePrinterPort::write(const char* data, std::int64_t count)
{
    if (!documentOpen_)
        return failNoJob();
    if (cupsWriteRequestData(server_, data, static_cast<size_t>(count)) != HTTP_STATUS_CONTINUE)
        return failPrintSystem("write to");
    return true;
}

bool QueuePrinterPort::endDocument()
{
    if (!documentOpen_)
        return failNoJob();
    documentOpen_ = false;
    if (cupsFinishDocument(server_, queue_.c_str()) != IPP_STATUS_OK) {
        failPrintSystem("finish the document on");
        cancelUnfinishedJob();
        return false;
    }
    if (!releaseJob()) {
        cancelUnfinishedJob();
        return false;
    }
    job_ = 0;
    return true;
}

bool QueuePrinterPort::releaseJob()
{
    ipp_t* request = queueRequest(IPP_OP_RELEASE_JOB);
    ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job_);
    ippDelete(cupsDoRequest(server_, request, "/jobs/"));
    if (cupsLastError() <= IPP_STATUS_OK_CONFLICTING)
        return true;
    return fail("printer queue \"" + queue_ +
                "\": the job could not be released: " + schedulerAnswer());
}

bool QueuePrinterPort::close()
{
    const bool unfinished = job_ != 0;
    cancelUnfinishedJob();
    httpClose(server_);
    server_ = nullptr;
    if (unfinished)
        return fail("the job on printer queue \"" + queue_ +
                    "\" was not finished and is cancelled");
    return true;
}

void QueuePrinterPort::cancelUnfinishedJob()
{
    if (job_ == 0)
        return;
    if (documentOpen_) {
        // Ends the request so that the connection can carry the cancel; the job stays held.
        cupsFinishDocument(server_, queue_.c_str());
        documentOpen_ = false;
    }
    cupsCancelJob2(server_, queue_.c_str(), job_, 0);
    job_ = 0;
}
