#pragma once

#include <string>

// Which process has a file or pipe open, as the Restart Manager tells it: "pid 42 (Notepad)".
// Empty when it cannot tell, as for COM and LPT ports, whose holders Windows does not name.
std::string deviceHolder(const std::string& path);
