#pragma once

#include <string>

// Which process has a device open, found through /proc: "pid 42 (minicom)". Empty when no
// process that this user may look at holds it.
std::string deviceHolder(const std::string& path);
