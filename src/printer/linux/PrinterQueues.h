#pragma once

#include <QList>
#include <QString>
#include <QStringList>

typedef struct _ipp_s ipp_t;

// One printer queue of the platform's print scheduler, as it stands now.
struct PrinterQueue {
    QString name;
    QString deviceUri;
    bool stopped = false;
    bool printing = false;
    bool accepting = true;
    QString reason; // the scheduler's word on why it is stopped or rejecting, may be empty

    // "idle", "printing", "stopped, not accepting jobs: paper out".
    QString stateText() const;
};

struct QueueListing {
    QList<PrinterQueue> queues;
    QString failure; // set when the scheduler could not be asked

    QStringList names() const;
};

// The print scheduler's queues, asked directly so that an unreachable scheduler is told
// apart from one without queues.
namespace PrinterQueues
{

// server: a host or socket path; empty for the platform's own scheduler.
QueueListing list(const QString& server = {});

// The queue that a scheduler's answer about one printer describes.
PrinterQueue queueIn(ipp_t* answer);

// Why a document cannot go to the queue now (stopped or not accepting), with what to do;
// empty when it can.
QString refusalToPrint(const PrinterQueue& queue);

} // namespace PrinterQueues
