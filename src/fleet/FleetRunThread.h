#pragma once

#include "FleetRun.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

// A fleet run on a thread of its own, for a window that must go on answering. What finishes
// is kept until the window's thread takes it.
class FleetRunThread
{
public:
    // One printer done: which of the list it was and what became of it.
    struct Row {
        std::size_t index;
        PrinterOutcome outcome;
    };

    // `wake` is called on the run's thread each time there is something new to take, the
    // last time once the run is over.
    FleetRunThread(Profile profile, std::vector<FleetPrinter> printers, FleetRun::SdkMaker makeSdk,
                   int jobs, bool force, std::function<void()> wake);
    // Stops the run and waits for the printers at work, each within its send's bound.
    ~FleetRunThread();
    FleetRunThread(const FleetRunThread&) = delete;
    FleetRunThread& operator=(const FleetRunThread&) = delete;

    // The printers not yet begun are skipped as not started.
    void stop() { stop_ = true; }
    // What finished since the last call, in the order it finished.
    std::vector<Row> take();
    // Whether every printer has its outcome; then outcomes() has them in the list's order.
    bool over() const;
    std::vector<PrinterOutcome> outcomes() const;

private:
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<Row> finished_;
    std::vector<PrinterOutcome> outcomes_;
    bool over_ = false;
    std::thread thread_;
};
