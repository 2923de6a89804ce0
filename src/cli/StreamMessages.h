#pragma once

#include "UserMessages.h"

#include <ostream>

// Tells the user on the error stream instead of in a box.
class StreamMessages : public UserMessages
{
public:
    explicit StreamMessages(std::ostream& err) : err_(err) {}

    void show(const UserMessage& message) override
    {
        err_ << "blackmark: " << message.text;
        if (!message.detail.empty()) {
            const bool sentenceEnds = message.text.ends_with('.') || message.text.ends_with('!');
            err_ << (sentenceEnds ? " " : ": ") << message.detail;
        }
        err_ << std::endl;
    }

private:
    std::ostream& err_;
};
