#pragma once

#include <string>
#include <string_view>

// The tool's texts are UTF-8; Win32 takes and gives UTF-16, converted at each call.
namespace WindowsText
{

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view utf16);

// What the system says about an error code, in its own words, without the closing period:
// "The system cannot find the file specified".
std::string systemMessage(unsigned long error);

} // namespace WindowsText
