#include "MessageBoxMessages.h"

#include <QGuiApplication>

namespace
{
MessageBoxMessages::Answer answerHook;
}

MessageBoxMessages::MessageBoxMessages(QWidget* parent) : parent_(parent) {}

void MessageBoxMessages::setAnswerHook(Answer answer)
{
    answerHook = std::move(answer);
}

void MessageBoxMessages::show(const UserMessage& message)
{
    const QMessageBox::Icon icon =
        message.icon == UserMessage::Icon::Error ? QMessageBox::Critical : QMessageBox::Warning;
    QMessageBox box(icon, QString::fromStdString(message.title),
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
