#include "SpoolerPrinterPort.h"

#include "SpoolerJob.h"
#include "SpoolerQueues.h"
#include "WindowsText.h"

#include <algorithm>
#include <vector>

SpoolerPrinterPort::SpoolerPrinterPort() : job_(std::make_shared<SpoolerJob>()) {}

SpoolerPrinterPort::~SpoolerPrinterPort()
{
    // The job ends on the port's thread, after any call the spooler still owes an answer.
    calls_.post([job = std::move(job_)]() mutable { job.reset(); });
}

bool SpoolerPrinterPort::failSpooler(const std::string& action, unsigned long error)
{
    // A spooler that refuses a document does not always say why.
    const std::string answer =
        error == ERROR_SUCCESS ? "the spooler did not take it" : WindowsText::systemMessage(error);
    return fail(action + " printer \"" + name_ + "\": " + answer);
}

// Told once, at the call that did not come back; the calls after it fail at once.
bool SpoolerPrinterPort::failUnanswered(const std::string& action)
{
    if (!failure().empty())
        return false;
    return fail(action + " printer \"" + name_ + "\": " + SendBounds::queueDidNotAnswer());
}

bool SpoolerPrinterPort::failNotInstalled()
{
    const auto installed = ask([](SpoolerJob&) { return SpoolerQueues::names(); });
    std::string names;
    for (const std::string& printer : installed.value_or(std::vector<std::string>{}))
        names += (names.empty() ? "" : ", ") + ("\"" + printer + "\"");
    if (!installed)
        return fail("the printer \"" + name_ + "\" is not installed");
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
    const auto opened =
        ask([name = WindowsText::wide(name_)](SpoolerJob& job) { return job.open(name); });
    if (!opened)
        return failUnanswered("open");
    if (!opened->done) {
        if (opened->error == ERROR_INVALID_PRINTER_NAME)
            return failNotInstalled();
        if (opened->error == RPC_S_SERVER_UNAVAILABLE)
            return fail("open printer \"" + name_ +
                        "\": the print spooler does not answer; start the Print Spooler service");
        return failSpooler("open", opened->error);
    }
    return refuseWhenNotReady();
}

bool SpoolerPrinterPort::refuseWhenNotReady()
{
    PrinterQueue queue;
    const auto found = ask([](SpoolerJob& job) {
        PrinterQueue state;
        const SpoolerJob::Answer answer = job.lookUp(state);
        return std::make_pair(answer, state);
    });
    if (!found)
        return failUnanswered("look up");
    if (!found->first.done)
        return failSpooler("look up", found->first.error);
    const std::string refusal = SpoolerQueues::refusalToPrint(found->second);
    return refusal.empty() || fail(refusal);
}

bool SpoolerPrinterPort::startDocument()
{
    jobStarted_ = true; // the job may come to be even when the spooler answers late
    const auto started = ask([](SpoolerJob& job) { return job.start(); });
    if (!started)
        return failUnanswered("start a document on");
    if (!started->done) {
        jobStarted_ = false;
        return failSpooler("start a document on", started->error);
    }
    documentOpen_ = true;
    const auto held = ask([](SpoolerJob& job) { return job.hold(); });
    if (!held)
        return failUnanswered("hold the job on");
    if (!held->done) {
        documentOpen_ = jobStarted_ = false;
        return failSpooler("hold the job on", held->error);
    }
    return true;
}

bool SpoolerPrinterPort::write(const char* data, std::int64_t count)
{
    if (!documentOpen_)
        return failNoJob();
    for (std::int64_t done = 0; done < count;) {
        const std::int64_t chunk = std::min<std::int64_t>(count - done, 1 << 20);
        // A copy: a call past its bound still runs after this returns.
        const auto written = ask([bytes = std::vector<char>(data + done, data + done + chunk)](
                                     SpoolerJob& job) { return job.write(bytes); });
        if (!written)
            return failUnanswered("write to");
        if (!written->done)
            return failSpooler("write to", written->error);
        done += chunk;
    }
    return true;
}

bool SpoolerPrinterPort::endDocument()
{
    if (!documentOpen_)
        return failNoJob();
    documentOpen_ = false;
    const auto ended = ask([](SpoolerJob& job) { return job.end(); });
    if (!ended)
        return failUnanswered("finish the document on");
    if (!ended->done) {
        jobStarted_ = false;
        return failSpooler("finish the document on", ended->error);
    }
    const auto released = ask([](SpoolerJob& job) { return job.release(); });
    if (!released)
        return failUnanswered("release the job on");
    jobStarted_ = false;
    if (!released->done)
        return fail("printer \"" + name_ + "\": the job could not be released: " +
                    WindowsText::systemMessage(released->error));
    return true;
}

bool SpoolerPrinterPort::close()
{
    const bool unfinished = jobStarted_;
    jobStarted_ = documentOpen_ = false;
    if (unanswered_) {
        // The job is deleted, and the printer closed, when the spooler answers again.
        calls_.post([job = job_] { job->close(); });
        return false;
    }
    const bool closed = ask([](SpoolerJob& job) {
                            job.close();
                            return true;
                        }).has_value();
    if (unfinished)
        return closed ? fail("the job on printer \"" + name_ + "\" was not finished and is deleted")
                      : failUnanswered("delete the unfinished job on");
    // A job handed on prints whether or not the printer closes in time.
    return true;
}
