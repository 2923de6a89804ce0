#pragma once

#include "UserMessages.h"

#include <vector>

class RecordingUserMessages : public UserMessages
{
public:
    void show(const UserMessage& message) override { shown.push_back(message); }

    std::vector<UserMessage> shown;
};
