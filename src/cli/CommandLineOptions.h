#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads a command line's options and words as the tool always has: "--name value" and
// "--name=value", one-letter switches that may run together ("-h"), "--" or the first word
// ending the options (a lone "-" is a word that ends nothing), the last of a repeated option's
// values winning. Writes the help that lists them.
class CommandLineOptions
{
public:
    struct Option {
        std::vector<std::string> names; // one letter for "-h", more for "--help"
        std::string description;
        std::string valueName = {}; // empty for a switch
        std::string defaultValue = {};
    };

    // What the words are, for the help: "subcommand", "What to send.", "SUBCOMMAND [ARGS]".
    struct Words {
        std::string name;
        std::string description;
        std::string syntax;
    };

    CommandLineOptions(std::string description, std::vector<Option> options, Words words);

    // Once for each reader. arguments[0] is the program as it was called. False, with
    // errorText(), when an option is unknown, lacks its value or has one it does not take.
    bool read(const std::vector<std::string>& arguments);

    std::string errorText() const;
    bool isSet(std::string_view name) const;
    // The last value given, or the default.
    std::string value(std::string_view name) const;
    const std::vector<std::string>& words() const { return words_; }
    std::string helpText() const;

private:
    struct Given {
        bool set = false;
        std::optional<std::string> value;
    };

    std::optional<std::size_t> indexOf(std::string_view name) const;
    bool found(std::string_view name);
    void readLetters(const std::string& argument, const std::vector<std::string>& arguments,
                     std::size_t& at);
    void takeValue(std::string_view name, const std::string& argument,
                   const std::vector<std::string>& arguments, std::size_t& at);

    std::string description_;
    std::vector<Option> options_;
    Words wordsHelp_;
    std::string program_;
    std::vector<Given> given_;
    std::vector<std::string> words_;
    std::vector<std::string> unknown_;
    std::string error_;
};

// An option's whole number from `least` to `most`, in digits alone; nothing when it is not one.
std::optional<int> wholeNumberWithin(std::string_view text, int least, int most);
