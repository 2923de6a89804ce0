#include "DialogFileChooser.h"

#include <QFileDialog>

namespace
{
DialogFileChooser::Answer answerHook;
}

void DialogFileChooser::setAnswerHook(Answer answer)
{
    answerHook = std::move(answer);
}

std::optional<std::string> DialogFileChooser::openPath(const Question& question)
{
    return ask(question, false);
}

std::optional<std::string> DialogFileChooser::savePath(const Question& question)
{
    return ask(question, true);
}

std::optional<std::string> DialogFileChooser::ask(const Question& question, bool save)
{
    if (answerHook)
        return answerHook(question);
    // GCOVR_EXCL_START a file dialog waits for its user; the tests answer through the hook
    const QString title = QString::fromStdString(question.title);
    const QString filter =
        QString::fromStdString(question.kind) + QStringLiteral(";;All files (*)");
    const QString path =
        save ? QFileDialog::getSaveFileName(parent_, title,
                                            QString::fromStdString(question.suggestion), filter)
             : QFileDialog::getOpenFileName(parent_, title, {}, filter);
    if (path.isEmpty())
        return std::nullopt;
    return path.toStdString();
    // GCOVR_EXCL_STOP
}
