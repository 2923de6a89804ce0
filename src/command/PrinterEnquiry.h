#pragma once

#include "AnswerReader.h"
#include "PortSettings.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class PrinterSdk;

// One conversation with a printer: the port opened, each request written and its answer
// awaited within the reader's bound, the port closed again.
class PrinterEnquiry
{
public:
    explicit PrinterEnquiry(PrinterSdk& sdk);

    // A printer queue takes documents and gives nothing back: asking it is refused.
    static bool canAnswer(const PortSettings& port);
    static constexpr const char* QueueCannotAnswer =
        "a printer queue cannot answer: ask the printer on the port it is attached to "
        "(ETHERNET, COM or LPT)";
    ~PrinterEnquiry();

    // False when the port did not open; failure() says why.
    bool open(const PortSettings& port);
    // The answer to the request; nothing when none came, or the port failed.
    std::optional<std::string> ask(const std::string& request, const AnswerShape& shape);
    // False when the conversation failed on the way or at its end; failure() says why.
    bool close();

    // The first failure of the port, once it was open; empty when there was none.
    const std::string& failure() const { return failure_; }
    // The failure in the words the tool tells it with: the port did not open, or it failed
    // once open.
    std::string notOpenedWords() const;
    std::string failedWords() const;

private:
    void note(bool failed, const std::string& why);

    PrinterSdk& sdk_;
    std::int32_t handle_ = -1;
    std::unique_ptr<AnswerReader> reader_;
    std::string failure_;
};
