#pragma once

#include "FileChooser.h"

#include <functional>

class QWidget;

// Asks for a file with the toolkit's file dialog. Tests answer through the hook instead of
// waiting for a person.
class DialogFileChooser : public FileChooser
{
public:
    explicit DialogFileChooser(QWidget* parent) : parent_(parent) {}

    std::optional<std::string> openPath(const Question& question) override;
    std::optional<std::string> savePath(const Question& question) override;

    using Answer = std::function<std::optional<std::string>(const Question&)>;
    // While set, each question goes to the hook, and no dialog is shown.
    static void setAnswerHook(Answer answer);

private:
    std::optional<std::string> ask(const Question& question, bool save);

    QWidget* parent_;
};
