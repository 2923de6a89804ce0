#pragma once

#include "UserMessages.h"

#include <QList>

class RecordingUserMessages : public UserMessages
{
public:
    void show(const UserMessage& message) override { shown << message; }

    QList<UserMessage> shown;
};
