#pragma once

#include "UserMessages.h"

#include <QMessageBox>
#include <functional>

// Shows each message as a modal message box with one OK button. Tests answer the box
// through the hook instead of waiting for a person.
class MessageBoxMessages : public UserMessages
{
public:
    explicit MessageBoxMessages(QWidget* parent);

    void show(const UserMessage& message) override;

    using Answer = std::function<void(QMessageBox&)>;
    // While set, each box is handed to the hook, fully built, instead of being shown.
    static void setAnswerHook(Answer answer);

private:
    QWidget* parent_;
};
