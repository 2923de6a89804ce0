#pragma once

#include "CallQueue.h"
#include "PrinterPort.h"
#include "SendBounds.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>

class SpoolerJob;

// A printer installed in the Windows spooler; the document goes to it as one RAW job (see
// SpoolerJob). A spooler may hang, so each of its calls runs on a thread of the port's own
// and is awaited within a bound; past it, the calls still queued there delete the paused job
// once the spooler answers again, and the send fails at once.
class SpoolerPrinterPort : public PrinterPort
{
public:
    SpoolerPrinterPort();
    ~SpoolerPrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool startDocument() override;
    bool write(const char* data, std::int64_t count) override;
    bool endDocument() override;
    bool close() override;

private:
    // The call's answer on the port's thread, or nothing when the spooler did not answer in
    // time; from then on, no call waits on the spooler any more.
    template <typename Call>
    auto ask(Call call) -> std::optional<decltype(call(std::declval<SpoolerJob&>()))>
    {
        if (unanswered_)
            return std::nullopt;
        auto answer = calls_.callWithin(Deadline(SendBounds::QueueAnswerMs),
                                        [job = job_, call] { return call(*job); });
        unanswered_ = !answer;
        return answer;
    }

    bool failSpooler(const std::string& action, unsigned long error);
    bool failUnanswered(const std::string& action);
    bool failNotInstalled();
    bool failNoJob();
    bool refuseWhenNotReady();

    // Only the calls on calls_'s thread touch the job, and the last of them ends it.
    std::shared_ptr<SpoolerJob> job_;
    CallQueue calls_;
    std::string name_;
    bool documentOpen_ = false;
    bool jobStarted_ = false;
    bool unanswered_ = false;
};
