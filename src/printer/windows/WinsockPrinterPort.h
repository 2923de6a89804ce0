#pragma once

#include "Deadline.h"
#include "PortNames.h"
#include "PrinterPort.h"

#include <winsock2.h>

#include <ws2tcpip.h>

#include <cstdint>
#include <string>

// A printer on the network, reached on its raw printing port through Winsock. Each stage has
// one bound over the whole stage, and the document counts as delivered only once the printer
// has ended its side of the connection, or stayed quiet for the confirm bound.
class WinsockPrinterPort : public PrinterPort
{
public:
    // Host lookup and connect together, over every address the host has.
    static constexpr int ConnectBoundMs = 3000;
    // The whole document, from its first byte.
    static constexpr int WriteBoundMs = 10000;
    // After our end of the stream, for the printer's end; some printers never close.
    static constexpr int ConfirmBoundMs = 2000;
    // What the printer sent and nobody has read yet is kept up to this, the newest.
    static constexpr std::size_t KeptAnswerBytes = 64 * 1024;

    ~WinsockPrinterPort() override;

    bool open(const PortOpenRequest& request) override;
    bool write(const char* data, std::int64_t count) override;
    bool close() override;
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline& until) override;

private:
    bool connectWithin(const ADDRINFOW* addresses, const Deadline& deadline);
    bool failSystem(const std::string& action, int error);
    bool failReset();
    bool takeAnswer();
    bool confirmDelivery();
    void abort();

    SOCKET socket_ = INVALID_SOCKET;
    PortNames::NetworkAddress address_;
    std::int64_t sent_ = 0;      // bytes of the document handed to the connection
    std::int64_t requested_ = 0; // bytes of the document asked for
    bool failed_ = false;
    bool printerEnded_ = false; // the printer has closed its side
    std::string answers_;       // what the printer sent back, not read yet
};
