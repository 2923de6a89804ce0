#pragma once

#include "PrinterStreamDecoder.h"

#include <QTextStream>

// Decodes each whole document and prints its lines and then the settings held.
class VirtualPrinterOutput
{
public:
    explicit VirtualPrinterOutput(QTextStream& out) : out_(out) {}

    void document(const QByteArray& bytes, const QString& from);

private:
    QTextStream& out_;
    PrinterStreamDecoder decoder_;
    int documents_ = 0;
};
