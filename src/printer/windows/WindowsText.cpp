#include "WindowsText.h"

#include "UnicodeText.h"

#include <cwctype>
#include <windows.h>

namespace WindowsText
{

std::wstring wide(std::string_view utf8)
{
    const std::u16string units = UnicodeText::toUtf16(utf8);
    return std::wstring(units.begin(), units.end());
}

std::string utf8(std::wstring_view utf16)
{
    return UnicodeText::toUtf8(std::u16string(utf16.begin(), utf16.end()));
}

std::string systemMessage(unsigned long error)
{
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message(text ? text : L"", length);
    LocalFree(text);
    while (!message.empty() && (iswspace(message.back()) || message.back() == L'.'))
        message.pop_back();
    if (message.empty())
        return "system error " + std::to_string(error);
    return utf8(message);
}

} // namespace WindowsText
