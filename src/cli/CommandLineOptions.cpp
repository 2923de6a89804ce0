#include "CommandLineOptions.h"

#include "UnicodeText.h"

#include <algorithm>
#include <charconv>

namespace
{

constexpr std::size_t HelpColumns = 79;
constexpr std::size_t WidestNames = 50;

// "-h, --help" or "--port <PORT>".
std::string namesText(const CommandLineOptions::Option& option)
{
    std::string text;
    for (const std::string& name : option.names)
        text += (text.empty() ? "" : ", ") + std::string(name.size() == 1 ? "-" : "--") + name;
    return option.valueName.empty() ? text : text + " <" + option.valueName + ">";
}

// The description in lines of at most `width` characters, broken at spaces.
std::vector<std::string_view> lines(std::string_view text, std::size_t width)
{
    std::vector<std::string_view> lines;
    while (text.size() > width) {
        const std::size_t space = text.rfind(' ', width);
        const std::size_t cut = space == std::string_view::npos ? width : space;
        lines.push_back(text.substr(0, cut));
        text.remove_prefix(cut == space ? cut + 1 : cut);
    }
    lines.push_back(text);
    return lines;
}

// The names, then the description beside them, wrapped within the help's columns.
std::string helpRow(const std::string& names, std::size_t namesWidth, std::string_view description)
{
    std::string text, shown = names;
    for (std::string_view line : lines(description, HelpColumns - namesWidth - 3)) {
        shown.resize(namesWidth, ' ');
        text += "  " + shown + " " + std::string(line) + "\n";
        shown.clear();
    }
    return text;
}

} // namespace

CommandLineOptions::CommandLineOptions(std::string description, std::vector<Option> options,
                                       Words words, std::vector<SubcommandOption> subcommandOptions)
    : description_(std::move(description)), options_(std::move(options)),
      wordsHelp_(std::move(words)), subcommandOptions_(std::move(subcommandOptions)),
      given_(options_.size())
{
}

bool CommandLineOptions::read(const std::vector<std::string>& arguments)
{
    program_ = arguments.empty() ? std::string() : arguments.front();
    bool optionsEnded = false;
    for (std::size_t at = 1; at < arguments.size(); ++at) {
        const std::string& argument = arguments[at];
        if (optionsEnded) {
            words_.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (!words_.empty()) {
            readAfterSubcommand(arguments, at);
        } else if (argument.starts_with("--")) {
            const std::string name = argument.substr(2, argument.find('=') - 2);
            if (!indexOf(name) && subcommandOption({}, name))
                hold(arguments, at);
            else if (found(name))
                takeValue(name, argument, arguments, at);
        } else if (argument.starts_with('-') && argument != "-") {
            readLetters(argument, arguments, at);
        } else {
            words_.push_back(argument);
        }
    }
    handHeldOver();
    return error_.empty() && unknown_.empty();
}

std::string CommandLineOptions::errorText() const
{
    if (!error_.empty() || unknown_.empty())
        return error_;
    if (unknown_.size() == 1)
        return "Unknown option '" + unknown_.front() + "'.";
    std::string names;
    for (const std::string& name : unknown_)
        names += (names.empty() ? "" : ", ") + name;
    return "Unknown options: " + names + ".";
}

bool CommandLineOptions::isSet(std::string_view name) const
{
    const std::optional<std::size_t> index = indexOf(name);
    return index && given_[*index].set;
}

std::string CommandLineOptions::value(std::string_view name) const
{
    const std::optional<std::size_t> index = indexOf(name);
    if (!index)
        return {};
    return given_[*index].value.value_or(options_[*index].defaultValue);
}

std::string CommandLineOptions::helpText() const
{
    std::vector<std::string> names;
    std::size_t width = wordsHelp_.name.size();
    for (const Option& option : options_) {
        names.push_back(namesText(option));
        width = std::max(width, names.back().size());
    }
    width = std::min(width + 1, WidestNames);
    std::string text = "Usage: " + program_ + " [options] " + wordsHelp_.syntax + "\n" +
                       description_ + "\n\nOptions:\n";
    for (std::size_t i = 0; i < options_.size(); ++i)
        text += helpRow(names[i], width, options_[i].description);
    return text + "\nArguments:\n" + helpRow(wordsHelp_.name, width, wordsHelp_.description);
}

std::optional<std::size_t> CommandLineOptions::indexOf(std::string_view name) const
{
    for (std::size_t i = 0; i < options_.size(); ++i) {
        if (std::ranges::find(options_[i].names, name) != options_[i].names.end())
            return i;
    }
    return std::nullopt;
}

// The subcommand's option of that name; of any subcommand when `subcommand` is empty.
const CommandLineOptions::SubcommandOption*
CommandLineOptions::subcommandOption(std::string_view subcommand, std::string_view name) const
{
    const auto option = std::ranges::find_if(subcommandOptions_, [&](const SubcommandOption& o) {
        return o.name == name && (subcommand.empty() || o.subcommand == subcommand);
    });
    return option == subcommandOptions_.end() ? nullptr : &*option;
}

// Whether every letter after the "-" is a one-letter option, so that "-5" stays a word.
bool CommandLineOptions::knownLetters(const std::string& argument) const
{
    for (std::size_t i = 1; i < argument.size();) {
        const std::size_t length = UnicodeText::decode(argument, i).length;
        if (argument[i] == '=')
            return i > 1;
        if (!indexOf(argument.substr(i, length)))
            return false;
        i += length;
    }
    return argument.size() > 1;
}

// After the subcommand: the subcommand's own option, with its value whatever that looks like,
// else an option of ours, else the subcommand's word.
void CommandLineOptions::readAfterSubcommand(const std::vector<std::string>& arguments,
                                             std::size_t& at)
{
    const std::string& argument = arguments[at];
    const std::string name =
        argument.starts_with("--") ? argument.substr(2, argument.find('=') - 2) : std::string();
    const SubcommandOption* option = subcommandOption(words_.front(), name);
    if (!option && !name.empty() && indexOf(name)) {
        found(name);
        takeValue(name, argument, arguments, at);
    } else if (argument.starts_with('-') && !argument.starts_with("--") && knownLetters(argument)) {
        readLetters(argument, arguments, at);
    } else {
        words_.push_back(argument);
        if (option && option->takesValue && argument.find('=') == std::string::npos &&
            at + 1 < arguments.size())
            words_.push_back(arguments[++at]);
    }
}

// A subcommand's option before the subcommand, kept as "--name" and its value for its words.
void CommandLineOptions::hold(const std::vector<std::string>& arguments, std::size_t& at)
{
    const std::string& argument = arguments[at];
    const std::size_t assign = argument.find('=');
    const std::string name = argument.substr(0, assign);
    if (!subcommandOption({}, name.substr(2))->takesValue) {
        if (assign != std::string::npos)
            error_ = "Unexpected value after '" + name + "'.";
        held_.push_back(name);
    } else if (assign != std::string::npos) {
        held_.insert(held_.end(), {name, argument.substr(assign + 1)});
    } else if (at + 1 < arguments.size()) {
        held_.insert(held_.end(), {name, arguments[++at]});
    } else {
        error_ = "Missing value after '" + argument + "'.";
    }
}

// The held options go after the subcommand's words; those it does not take are unknown.
void CommandLineOptions::handHeldOver()
{
    for (std::size_t i = 0; i < held_.size(); ++i) {
        const std::string name = held_[i].substr(2);
        const SubcommandOption* option =
            words_.empty() ? nullptr : subcommandOption(words_.front(), name);
        if (!option) {
            unknown_.push_back(name);
        } else {
            words_.push_back(held_[i]);
            if (option->takesValue)
                words_.push_back(held_[i + 1]);
        }
        i += subcommandOption({}, name)->takesValue ? 1 : 0;
    }
    held_.clear();
}

// Notes an option as given; an unknown one is kept for the error text.
bool CommandLineOptions::found(std::string_view name)
{
    const std::optional<std::size_t> index = indexOf(name);
    if (!index) {
        unknown_.emplace_back(name);
        return false;
    }
    given_[*index].set = true;
    return true;
}

// "-h", or one-letter switches run together; "=" after a known one ends them.
void CommandLineOptions::readLetters(const std::string& argument,
                                     const std::vector<std::string>& arguments, std::size_t& at)
{
    std::string letter;
    for (std::size_t i = 1; i < argument.size(); i += letter.size()) {
        letter = argument.substr(i, UnicodeText::decode(argument, i).length);
        if (found(letter) && argument.compare(i + letter.size(), 1, "=") == 0)
            break;
    }
    takeValue(letter, argument, arguments, at);
}

// The value of a known option: after its "=", else the next argument. A switch takes none.
void CommandLineOptions::takeValue(std::string_view name, const std::string& argument,
                                   const std::vector<std::string>& arguments, std::size_t& at)
{
    const std::optional<std::size_t> index = indexOf(name);
    if (!index)
        return;
    const std::size_t assign = argument.find('=');
    if (options_[*index].valueName.empty()) {
        if (assign != std::string::npos)
            error_ = "Unexpected value after '" + argument.substr(0, assign) + "'.";
    } else if (assign != std::string::npos) {
        given_[*index].value = argument.substr(assign + 1);
    } else if (++at < arguments.size()) {
        given_[*index].value = arguments[at];
    } else {
        error_ = "Missing value after '" + argument + "'.";
    }
}

std::optional<int> wholeNumberWithin(std::string_view text, int least, int most)
{
    int value = 0;
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least || value > most)
        return std::nullopt;
    return value;
}
