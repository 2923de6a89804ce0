#pragma once

#include "PrinterPort.h"

#include <cstdint>
#include <string>

typedef struct _http_s http_t;
typedef struct _ipp_s ipp_t;

// A printer queue of the platform's print system; the document goes out as one raw job, on
// a connection of its own whose every answer is awaited within a bound. The job is held
// until its document is complete, so that an unfinished one is cancelled before it can print.
class QueuePrinterPort : public PrinterPort
{
public:
    static constexpr int ConnectBoundMs = 5000;
    static constexpr int AnswerBoundMs = 5000;

    ~QueuePrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool startDocument() override;
    bool write(const char* data, std::int64_t count) override;
    bool endDocument() override;
    bool close() override;

private:
    bool connectToServer();
    // A request about the chosen queue; the caller hands it on to cupsDoRequest.
    ipp_t* queueRequest(int operation) const;
    bool failPrintSystem(const std::string& action);
    std::string serverName() const;
    // The scheduler's words on the last request, or that it did not answer in time.
    std::string schedulerAnswer() const;
    bool failNoJob();
    // Lets the held job print; the document must be complete.
    bool releaseJob();
    void cancelUnfinishedJob();

    http_t* server_ = nullptr;
    std::string queue_;
    int job_ = 0;
    bool documentOpen_ = false;
};
