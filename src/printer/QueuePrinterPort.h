#pragma once

#include "PrinterPort.h"

#include <QByteArray>
#include <QStringList>

// A printer queue of the platform's print system; the document goes out as one raw job.
class QueuePrinterPort : public PrinterPort
{
public:
    ~QueuePrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool startDocument() override;
    bool write(const char* data, qint64 count) override;
    bool endDocument() override;
    bool close() override;

private:
    bool failPrintSystem(const QString& action);
    bool failNoJob();
    void cancelUnfinishedJob();

    QByteArray queue_;
    int job_ = 0;
    bool documentOpen_ = false;
};
