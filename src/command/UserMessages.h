#pragma once

#include <string>

// A modal message with one OK button, as the user sees it.
struct UserMessage {
    enum class Icon { Error, Warning, Information };

    std::string text;
    std::string title;
    Icon icon = Icon::Error;
    std::string detail; // shown below the text; may be empty

    bool operator==(const UserMessage&) const = default;
};

// Where the send and the catalogue tell the user something. The window shows a message
// box; tests record what would have been shown.
class UserMessages
{
public:
    virtual ~UserMessages() = default;
    // Returns when the user has dismissed the message.
    virtual void show(const UserMessage& message) = 0;
};
