#pragma once

#include "FileChooser.h"

#include <windows.h>

// Asks for a file with the system's file dialogs (comdlg32).
class DialogFileChooser : public FileChooser
{
public:
    // owner: the window the dialogs belong to, read at each question.
    explicit DialogFileChooser(const HWND& owner) : owner_(owner) {}

    std::optional<std::string> openPath(const Question& question) override;
    std::optional<std::string> savePath(const Question& question) override;

private:
    std::optional<std::string> ask(const Question& question, bool save);

    const HWND& owner_;
};
