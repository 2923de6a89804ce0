#pragma once

#include <QIODevice>

// Hands every byte to a Qt device and waits until the device has written them all, each
// wait bounded. False on the first failure; the device's error string says why.
bool writeAllAndWait(QIODevice& device, const char* data, qint64 count, int boundMs);
