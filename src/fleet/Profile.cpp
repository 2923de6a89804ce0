#include "Profile.h"

#include "BlackMarkCatalogue.h"
#include "BlackMarkCommands.h"
#include "DistanceCount.h"
#include "HexCommandText.h"
#include "LabelLayoutCommands.h"
#include "StrictDistance.h"
#include "UnicodeText.h"

#include <charconv>
#include <toml++/toml.h>

namespace
{

// A place in the file, as "NAME:LINE:COLUMN".
struct Place {
    const std::string& name;
    std::string at(const toml::source_region& where) const
    {
        return name + ":" + std::to_string(where.begin.line) + ":" +
               std::to_string(where.begin.column);
    }
};

struct Refused {
    std::string text;
};

// A distance key's value as the text the command line would have been given: a number as
// its shortest decimal, a string as it is. Anything else is refused.
std::string distanceText(const std::string& key, const toml::node& value, const Place& place)
{
    if (const auto* text = value.as_string())
        return text->get();
    if (const auto* whole = value.as_integer())
        return std::to_string(whole->get());
    if (const auto* number = value.as_floating_point()) {
        char buffer[400];
        const auto end =
            std::to_chars(buffer, buffer + sizeof buffer, number->get(), std::chars_format::fixed);
        return std::string(buffer, end.ptr);
    }
    throw Refused{place.at(value.source()) + ": " + key +
                  " takes a distance in mm, a number or a text such as \"2.5mm\""};
}

const toml::node& valueOf(const toml::table& table, const std::string& key)
{
    return *table.get(key);
}

bool flagOf(const std::string& key, const toml::node& value, const Place& place)
{
    if (const auto* flag = value.as_boolean())
        return flag->get();
    throw Refused{place.at(value.source()) + ": " + key + " takes true or false"};
}

std::string wordOf(const std::string& key, const toml::node& value, const Place& place,
                   std::initializer_list<const char*> words)
{
    std::string list;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const char* word = words.begin()[i];
        if (value.is_string() && value.as_string()->get() == word)
            return word;
        list += std::string(i == 0 ? "" : i + 1 == words.size() ? " or " : ", ") + '"' + word + '"';
    }
    throw Refused{place.at(value.source()) + ": " + key + " takes " + list};
}

// The keys a table takes; the first other one is refused where it stands.
void onlyKeys(const toml::table& table, const std::string& tableName,
              std::initializer_list<const char*> keys, const Place& place)
{
    for (const auto& [key, value] : table) {
        bool known = false;
        for (const char* name : keys)
            known = known || key.str() == name;
        if (!known)
            throw Refused{
                place.at(key.source()) +
                (tableName.empty() ? ": no table \"" : ": [" + tableName + "] has no key \"") +
                std::string(key.str()) + "\""};
    }
}

// One of the first family's distance commands; a leading minus turns feed into backfeed.
Profile::Command distanceCommand(const std::string& key, const toml::node& value,
                                 const DistanceCommand& forward, const DistanceCommand* backward,
                                 Profile& profile, const Place& place)
{
    std::string text = distanceText(key, value, place);
    const std::size_t first = text.find_first_not_of(" \t");
    const bool back = backward && first != std::string::npos && text[first] == '-';
    if (back)
        text.erase(0, first + 1);
    const StrictDistance distance = StrictDistance::read(text);
    if (!distance.refusal.empty())
        throw Refused{place.at(value.source()) + ": " + key + ": " + distance.refusal +
                      (backward ? ", negative for a backfeed" : "")};
    const DistanceCommand& command = back ? *backward : forward;
    const std::string hex = BlackMarkCatalogue::distanceCommandText(command, distance.number);
    if (hex.empty())
        throw Refused{place.at(value.source()) + ": " + key + " \"" + text +
                      "\" is out of range: from 0 to 4095.875 mm"};
    if (!distance.roundingNote.empty())
        profile.notes.push_back(key + ": " + distance.roundingNote);
    profile.values["black-mark." + key] = (back ? "-" : "") + distance.number;
    return {key + (back ? " backfeed " : " ") + distance.number + " mm", hex};
}

void readBlackMark(const toml::table& table, Profile& profile, std::string& switchHex,
                   std::string& switchWhat, const Place& place)
{
    using namespace BlackMarkCommands;
    onlyKeys(table, "black-mark",
             {"mark-width", "paper-width", "print-start", "cut-position", "function"}, place);
    struct Row {
        const char* key;
        const DistanceCommand& forward;
        const DistanceCommand* backward;
    };
    const Row rows[] = {{"mark-width", MarkMaxWidth, nullptr},
                        {"paper-width", PaperMaxWidth, nullptr},
                        {"print-start", PrintStartFeed, &PrintStartBackfeed},
                        {"cut-position", CutPositionFeed, &CutPositionBackfeed}};
    for (const Row& row : rows) {
        if (table.contains(row.key))
            profile.commands.push_back(distanceCommand(row.key, valueOf(table, row.key),
                                                       row.forward, row.backward, profile, place));
    }
    if (table.contains("function")) {
        const std::string word =
            wordOf("function", valueOf(table, "function"), place, {"on", "off"});
        switchHex = SwitchEntries[word == "on" ? 1 : 0].hexText;
        profile.values["black-mark.function"] = word;
        switchWhat = "black-mark function " + word;
    }
}

void readPaperLayout(const toml::table& table, Profile& profile, const Place& place)
{
    onlyKeys(table, "paper-layout",
             {"paper", "pitch", "print-start", "cut", "bottom", "with-marks", "save"}, place);
    if (table.empty())
        return;
    if (!table.contains("paper"))
        throw Refused{place.at(table.source()) +
                      ": [paper-layout] needs paper = \"black-mark\", \"label\" or \"none\""};
    const std::string paper =
        wordOf("paper", valueOf(table, "paper"), place, {"black-mark", "label", "none"});
    profile.values["paper-layout.paper"] = paper;
    PaperLayout layout;
    layout.kind = paper == "black-mark" ? PaperLayout::Kind::BlackMarkPaper
                  : paper == "label"    ? PaperLayout::Kind::DieCutLabels
                                        : PaperLayout::Kind::None;
    struct Key {
        const char* name;
        PaperLayout::Field field;
        bool labelsOnly;
    };
    const Key keys[] = {{"pitch", PaperLayout::Pitch, false},
                        {"print-start", PaperLayout::PrintStart, false},
                        {"cut", PaperLayout::Cut, false},
                        {"bottom", PaperLayout::LabelBottom, true}};
    const auto refuseFor = [&](const char* key) {
        const toml::node& value = valueOf(table, key);
        if (layout.kind == PaperLayout::Kind::None ||
            (layout.kind == PaperLayout::Kind::BlackMarkPaper &&
             (std::string_view(key) == "bottom" || std::string_view(key) == "with-marks")))
            throw Refused{place.at(value.source()) + ": paper = \"" + paper + "\" does not take " +
                          key};
    };
    for (const Key& key : keys) {
        if (!table.contains(key.name))
            continue;
        refuseFor(key.name);
        const toml::node& value = valueOf(table, key.name);
        const bool signed_ = PaperLayout::maySign(key.field);
        const std::string text = distanceText(key.name, value, place);
        const StrictDistance distance = StrictDistance::readTenths(text, signed_);
        if (!distance.refusal.empty())
            throw Refused{place.at(value.source()) + ": " + key.name + ": " + distance.refusal +
                          (signed_ ? ", or with a sign" : "")};
        if (distance.tenths > PaperLayout::Largest || distance.tenths < -PaperLayout::Largest)
            throw Refused{place.at(value.source()) + ": " + key.name + " \"" + text +
                          "\" does not fit: the printer takes at most 9999.9 mm"};
        if (!distance.roundingNote.empty())
            profile.notes.push_back(std::string(key.name) + ": " + distance.roundingNote);
        layout.fields[key.field] = int(distance.tenths);
        profile.values["paper-layout." + std::string(key.name)] = distance.number;
    }
    if (table.contains("with-marks")) {
        refuseFor("with-marks");
        const bool marks = flagOf("with-marks", valueOf(table, "with-marks"), place);
        if (marks)
            layout.kind = PaperLayout::Kind::MarkedLabels;
        profile.values["paper-layout.with-marks"] = marks ? "true" : "false";
    }
    const bool save = table.contains("save") && flagOf("save", valueOf(table, "save"), place);
    if (table.contains("save"))
        profile.values["paper-layout.save"] = save ? "true" : "false";
    profile.commands.push_back(
        {"paper layout: " + layout.line(false), hexCommandText(layout.setCommand())});
    if (save)
        profile.commands.push_back({"keep the settings at power-off",
                                    hexCommandText(LabelLayoutCommands::SaveSettings +
                                                   LabelLayoutCommands::LoadSavedAtStartUp)});
    profile.layout = layout;
}

// The text with each character beyond ASCII as one "?": every key and value a profile takes
// is ASCII, and the reader's whitespace table misreads some of those characters. Columns,
// counted in characters, stay where they were.
std::string asciiOnly(std::string_view text)
{
    std::string ascii;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = UnicodeText::decode(text, at).length;
        ascii += length == 1 && static_cast<unsigned char>(text[at]) < 0x80 ? text[at] : '?';
        at += length;
    }
    return ascii;
}

} // namespace

std::string Profile::documentHexText() const
{
    std::string text;
    for (const Command& command : commands)
        text += (text.empty() ? "" : " ") + command.hexText;
    return text;
}

std::optional<Profile> Profile::read(std::string_view text, const std::string& name,
                                     std::string& refusal)
{
    const Place place{name};
    try {
        const toml::table file = toml::parse(asciiOnly(text), name);
        onlyKeys(file, "", {"black-mark", "paper-layout"}, place);
        Profile profile;
        std::string switchHex, switchWhat;
        for (const char* tableName : {"black-mark", "paper-layout"}) {
            if (!file.contains(tableName))
                continue;
            const toml::node& node = valueOf(file, tableName);
            if (!node.is_table())
                throw Refused{place.at(node.source()) + ": " + tableName + " must be a table"};
            if (std::string_view(tableName) == "black-mark")
                readBlackMark(*node.as_table(), profile, switchHex, switchWhat, place);
            else
                readPaperLayout(*node.as_table(), profile, place);
        }
        if (!switchHex.empty())
            profile.commands.push_back({switchWhat, switchHex});
        if (profile.commands.empty())
            throw Refused{name + ":1:1: the profile sets nothing: give [black-mark] or "
                                 "[paper-layout] keys"};
        return profile;
    } catch (const toml::parse_error& error) {
        refusal = place.at(error.source()) + ": " + std::string(error.description());
    } catch (const Refused& refused) {
        refusal = refused.text;
    }
    return std::nullopt;
}
