#pragma once

#include <string>

// Whole files read and written by their UTF-8 paths, as the window's dialogs name them.
namespace TextFiles
{

// False when the file cannot be opened or read.
bool read(const std::string& path, std::string& text);
// False when the file cannot be written in full.
bool write(const std::string& path, const std::string& text);

} // namespace TextFiles
