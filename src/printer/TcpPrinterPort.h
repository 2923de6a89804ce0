#pragma once

#include "PortNames.h"
#include "PrinterPort.h"

#include <QTcpSocket>

// A printer on the network, reached on its raw printing port.
class TcpPrinterPort : public PrinterPort
{
public:
    // How long the window waits for a printer that does not answer.
    static constexpr int ConnectBoundMs = 3000;
    static constexpr int WriteBoundMs = 10000;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, qint64 count) override;
    bool close() override;

private:
    bool failSocket(const QString& action, int boundMs);

    QTcpSocket socket_;
    PortNames::NetworkAddress address_;
};
