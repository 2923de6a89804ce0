#pragma once

#include "PaperLayout.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The settings a printer should get, read from a TOML file: the black-mark buttons and the
// paper layout, each key optional. Every value is read by the command line's strict rules, so
// that the bytes are the ones the command line and the window send for the same values.
struct Profile {
    // One command as a printer gets it.
    struct Command {
        std::string what;    // "mark-width 3.5 mm"
        std::string hexText; // "1F 1B 1F 81 04 05 06 1C 0"
    };

    // In the order they go: the four distances, the paper layout (and its saving), then the
    // black-mark function switch, whatever the order in the file.
    std::vector<Command> commands;
    std::vector<std::string> notes; // roundings, told before anything is sent
    // The layout to read back after the send; nothing when the profile sets none.
    std::optional<PaperLayout> layout;
    // What the file gives, for a window to show, by "TABLE.KEY": each distance as its decimal
    // number of mm without "mm" (a backfeed of the black-mark table with its minus), each word
    // and flag as written: {"black-mark.print-start", "-2.5"}, {"paper-layout.save", "true"}.
    std::map<std::string, std::string> values;

    // The whole profile as one hex command text: one document.
    std::string documentHexText() const;

    // Reads the profile text; nothing, with "NAME:LINE:COLUMN: what is wrong", when it cannot
    // be sent as it stands.
    static std::optional<Profile> read(std::string_view text, const std::string& name,
                                       std::string& refusal);
};
