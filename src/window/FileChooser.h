#pragma once

#include <optional>
#include <string>

// Where the window asks for a file to read or write. Each toolkit shows its own file dialog;
// tests answer in advance, so that nothing blocks.
class FileChooser
{
public:
    struct Question {
        std::string title;      // "Open profile"
        std::string kind;       // "Profiles (*.toml)"
        std::string pattern;    // "*.toml"
        std::string suggestion; // the file name offered when saving
    };

    virtual ~FileChooser() = default;
    // The path, in UTF-8, of an existing file; nothing when the user gave none.
    virtual std::optional<std::string> openPath(const Question& question) = 0;
    // The path, in UTF-8, to write to; nothing when the user gave none.
    virtual std::optional<std::string> savePath(const Question& question) = 0;
};
