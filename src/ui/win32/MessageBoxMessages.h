#pragma once

#include "UserMessages.h"

#include <windows.h>

// Shows each message as a modal message box with one OK button: the text, then the detail as
// a second paragraph.
class MessageBoxMessages : public UserMessages
{
public:
    // owner: the window the boxes belong to, read at each message.
    explicit MessageBoxMessages(const HWND& owner) : owner_(owner) {}

    void show(const UserMessage& message) override;

private:
    const HWND& owner_;
};
