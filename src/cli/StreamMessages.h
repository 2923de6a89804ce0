#pragma once

#include "UserMessages.h"

#include <QTextStream>

// Tells the user on the error stream instead of in a box.
class StreamMessages : public UserMessages
{
public:
    explicit StreamMessages(QTextStream& err) : err_(err) {}

    void show(const UserMessage& message) override
    {
        err_ << "blackmark: " << message.text;
        if (!message.detail.isEmpty()) {
            const bool sentenceEnds = message.text.endsWith(u'.') || message.text.endsWith(u'!');
            err_ << (sentenceEnds ? " " : ": ") << message.detail;
        }
        err_ << Qt::endl;
    }

private:
    QTextStream& err_;
};
