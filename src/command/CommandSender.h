#pragma once

#include "PortSettings.h"
#include "UserMessages.h"
#include "WindowValues.h"

#include <string>

class PrinterSdk;

// What became of one send. The user has been told already; a script looks at the result.
struct SendOutcome {
    enum class Result { Sent, Refused, PortNotOpened, DocumentFailed };

    Result result = Result::Sent;
    std::string reason; // why, for every result but Sent
};

// Sends one hex command text as one document to the port that the window names.
class CommandSender
{
public:
    CommandSender(PrinterSdk& sdk, UserMessages& messages, WindowValues& values);

    // Leaves text trimmed. Text that is not hex command text opens no port; a port that
    // cannot be opened is reported and nothing else is called. Once the port is open the
    // document is always completed and the port closed; then a failure of any of those
    // calls is reported, with the first one's reason.
    SendOutcome SendHexCommand(std::string& text, const PortSettings& port);

    WindowValues& values() { return values_; }
    UserMessages& messages() { return messages_; }

    static constexpr const char* PortErrorText = "Fail to open port,please check!";
    static constexpr const char* PortErrorTitle = "error";
    static constexpr const char* DocumentFailedText = "The command did not reach the printer.";
    static constexpr const char* CommandRefusedText =
        "This is not a printer command; nothing was sent.";

private:
    PrinterSdk& sdk_;
    UserMessages& messages_;
    WindowValues& values_;
};
