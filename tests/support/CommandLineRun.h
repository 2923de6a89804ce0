#pragma once

#include "BlackmarkCommandLine.h"

#include <algorithm>
#include <sstream>

// What one run of the command line said: its exit code, its output and its error stream.
struct Said {
    int code;
    std::string out, err;
};

// Runs the command line on the words, as the program "blackmark", against the SDK given.
inline Said runCommandLine(
    PrinterSdk& sdk, std::vector<std::string> words,
    const BlackmarkCommandLine::QueueSource& queues = [] { return QueueListing{}; },
    const PortNames::DevicePathStyle& paths = PortNames::PosixDevicePaths)
{
    std::ostringstream out, err;
    BlackmarkCommandLine commandLine(sdk, queues, out, err, paths);
    words.insert(words.begin(), "blackmark");
    const int code = commandLine.run(words);
    return {code, out.str(), err.str()};
}

// A printer's answer to a paper layout request: the fields, "|" between them.
inline std::string layoutAnswer(std::string fields)
{
    std::replace(fields.begin(), fields.end(), '|', '\x1F');
    return "\x37\x4B" + fields + '\0';
}
