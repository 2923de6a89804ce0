#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Reads a command line's options and words: "--name value" and "--name=value", one-letter
// switches that may run together ("-h"), "--" ending the options, the last of a repeated
// option's values winning. Options come before or after the subcommand (the first word); after
// it, a word that is not one of these options is the subcommand's, and so is the value of a
// subcommand's option. A subcommand's option given before the subcommand goes to its words,
// after the others. Writes the help that lists them.
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

    // An option that a subcommand reads from its words: "--printers FILE" of "apply".
    struct SubcommandOption {
        std::string subcommand;
        std::string name;
        bool takesValue;
    };

    CommandLineOptions(std::string description, std::vector<Option> options, Words words,
                       std::vector<SubcommandOption> subcommandOptions = {});

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
    const SubcommandOption* subcommandOption(std::string_view subcommand,
                                             std::string_view name) const;
    bool knownLetters(const std::string& argument) const;
    void readAfterSubcommand(const std::vector<std::string>& arguments, std::size_t& at);
    void hold(const std::vector<std::string>& arguments, std::size_t& at);
    void handHeldOver();
    bool found(std::string_view name);
    void readLetters(const std::string& argument, const std::vector<std::string>& arguments,
                     std::size_t& at);
    void takeValue(std::string_view name, const std::string& argument,
                   const std::vector<std::string>& arguments, std::size_t& at);

    std::string description_;
    std::vector<Option> options_;
    Words wordsHelp_;
    std::vector<SubcommandOption> subcommandOptions_;
    std::vector<std::string> held_; // subcommands' options given before the subcommand
    std::string program_;
    std::vector<Given> given_;
    std::vector<std::string> words_;
    std::vector<std::string> unknown_;
    std::string error_;
};

// An option's whole number from `least` to `most`, in digits alone; nothing when it is not one.
std::optional<int> wholeNumberWithin(std::string_view text, int least, int most);
