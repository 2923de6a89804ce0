#include "MessageBoxMessages.h"

#include <QGuiApplication>

namespace
{
MessageBoxMessages::Answer answerHook;

QMessageBox::Icon iconOf(UserMessage::Icon icon)
{
    switch (icon) {
    case UserMessage::Icon::Error:
        return QMessageBox::Critical;
    case UserMessage::Icon::Warning:
        return QMessageBox::Warning;
    case UserMessage::Icon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}
} // namespace

MessageBoxMessages::MessageBoxMessages(QWidget* parent) : parent_(parent) {}

void MessageBoxMessages::setAnswerHook(Answer answer)
{
    answerHook = std::move(answer);
}

void MessageBoxMessages::show(const UserMessage& message)
{
    QMessageBox box(iconOf(message.icon), QString::fromStdString(message.title),
                    QString::fromStdString(message.text), QMessageBox::Ok, parent_);
    box.setInformativeText(QString::fromStdString(message.detail));
    if (answerHook) {
        answerHook(box);
        return;
    }
    // The send shows a busy cursor; the box wants the ordinary one.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    box.exec();
    QGuiApplication::restoreOverrideCursor();
}
