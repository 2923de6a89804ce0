#include "QueuedDeviceWriting.h"

bool writeAllAndWait(QIODevice& device, const char* data, qint64 count, int boundMs)
{
    qint64 queued = 0;
    while (queued < count) {
        const qint64 taken = device.write(data + queued, count - queued);
        if (taken < 0)
            return false;
        queued += taken;
    }
    while (device.bytesToWrite() > 0) {
        if (!device.waitForBytesWritten(boundMs))
            return false;
    }
    return true;
}
