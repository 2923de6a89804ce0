#pragma once

#include "Deadline.h"
#include "KeptAnswers.h"
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
    KeptAnswers answers_;
};
