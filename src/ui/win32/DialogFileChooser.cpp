#include "DialogFileChooser.h"

#include "WindowsText.h"

#include <commdlg.h>

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
    // The filter's pairs end in a NUL each, and the list in one more.
    std::wstring filter = WindowsText::wide(question.kind) + L'\0' +
                          WindowsText::wide(question.pattern) + L'\0' + L"All files (*.*)" + L'\0' +
                          L"*.*" + L'\0';
    const std::wstring title = WindowsText::wide(question.title);
    const std::wstring extension = WindowsText::wide(
        question.pattern.substr(std::min<std::size_t>(2, question.pattern.size())));
    std::wstring path(32768, L'\0');
    const std::wstring suggestion = WindowsText::wide(question.suggestion);
    suggestion.copy(path.data(), std::min(suggestion.size(), path.size() - 1));
    OPENFILENAMEW asked{};
    asked.lStructSize = sizeof asked;
    asked.hwndOwner = owner_;
    asked.lpstrFilter = filter.c_str();
    asked.lpstrFile = path.data();
    asked.nMaxFile = DWORD(path.size());
    asked.lpstrTitle = title.c_str();
    asked.lpstrDefExt = extension.c_str();
    asked.Flags =
        OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | (save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST);
    if (!(save ? GetSaveFileNameW(&asked) : GetOpenFileNameW(&asked)))
        return std::nullopt;
    path.resize(path.find(L'\0'));
    return WindowsText::utf8(path);
}
