#pragma once

#include <QString>
#include <QtGlobal>

// What POS_Open hands to the port of its open mode.
struct PortOpenRequest {
    QString name;
    qint32 baudRate = 0;
    qint32 dataBits = 0;
    qint32 stopBits = 0;
    qint32 parity = 0;
};

// One kind of port: opened, written as one document, closed. Each kind keeps every call
// into the operating system in its own file.
class PrinterPort
{
public:
    virtual ~PrinterPort() = default;

    virtual bool open(const PortOpenRequest& request) = 0;
    virtual bool startDocument() { return true; }
    // Returns once every byte has been handed on, or fails.
    virtual bool write(const char* data, qint64 count) = 0;
    virtual bool endDocument() { return true; }
    // Must not discard bytes the printer has not taken yet.
    virtual bool close() = 0;

    // What was tried and what the system answered, for the last failure.
    const QString& failure() const { return failure_; }

protected:
    bool fail(const QString& why)
    {
        failure_ = why;
        return false;
    }

private:
    QString failure_;
};
