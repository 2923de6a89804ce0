#pragma once

#include <string>
#include <vector>

// One printer queue of the platform's print scheduler, as it stands now.
struct PrinterQueue {
    std::string name;
    std::string deviceUri;
    bool stopped = false;
    bool printing = false;
    bool accepting = true;
    std::string reason; // the scheduler's word on why it is stopped or rejecting, may be empty

    // "idle", "printing", "stopped, not accepting jobs: paper out".
    std::string stateText() const;
    // Why a document cannot go to the queue now (stopped or not accepting), with what to do;
    // empty when it can.
    std::string refusalToPrint() const;
};

struct QueueListing {
    std::vector<PrinterQueue> queues;
    std::string failure; // set when the scheduler could not be asked

    std::vector<std::string> names() const;
};
