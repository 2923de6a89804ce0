#pragma once

// The byte layout of every command the tool sends, as hex command text, with the caption of
// the button that sends it. A distance command is its template followed by the two tokens of
// the distance count, low byte first.

struct DistanceCommand {
    const char* caption;
    const char* hexTemplate; // ends in a space
    const char* startValue;  // what the distance box shows at start, in mm
};

struct FixedCommand {
    const char* caption;
    const char* hexText;
};

namespace BlackMarkCommands
{

// 1F 1B 1F 81 04 05 06 nL nH: the maker's command for the black mark's max width.
inline constexpr DistanceCommand MarkMaxWidth{"Set black mark's max width", "1F 1B 1F 81 04 05 06 ",
                                              "300"};
// 1F 1B 1F 82 04 05 06 nL nH: the maker's command for the black mark paper's max width.
inline constexpr DistanceCommand PaperMaxWidth{"Set black mark paper max width",
                                               "1F 1B 1F 82 04 05 06 ", "10"};
// GS ( F, pL pH = 04 00, a = 01 print starting position, m = 00 feed direction, nL nH.
inline constexpr DistanceCommand PrintStartFeed{"Feed paper after black mark is found",
                                                "1D 28 46 04 00 01 00 ", "0"};
// GS ( F, a = 01 print starting position, m = 01 reverse (backfeed) direction, nL nH.
inline constexpr DistanceCommand PrintStartBackfeed{"Backfeed paper after black mark is found",
                                                    "1D 28 46 04 00 01 01 ", "0"};
// GS ( F, a = 02 cutting position, m = 00 feed direction, nL nH.
inline constexpr DistanceCommand CutPositionFeed{"Cut position after black mark is found  Feed",
                                                 "1D 28 46 04 00 02 00 ", "0"};
// GS ( F, a = 02 cutting position, m = 01 reverse (backfeed) direction, nL nH.
inline constexpr DistanceCommand CutPositionBackfeed{
    "Cut position after black mark is found  Backfeed", "1D 28 46 04 00 02 01 ", "0"};

// The setting rows of the window, top to bottom: each row's button sends its command with the
// distance in the row's box.
inline constexpr const DistanceCommand* SettingRows[6] = {&MarkMaxWidth,    &PaperMaxWidth,
                                                          &PrintStartFeed,  &PrintStartBackfeed,
                                                          &CutPositionFeed, &CutPositionBackfeed};

inline constexpr const char* SwitchCaption = "OFF/ON  Black mark function";
// The on/off list's entries, by index, and the command each one sends:
// 1F 1B 1F 80 04 05 06 then 66 (off) or 44 (on), the maker's black-mark switch.
inline constexpr FixedCommand SwitchEntries[2] = {
    {"Black mark function  OFF", "1F 1B 1F 80 04 05 06 66"},
    {"Black mark function  ON", "1F 1B 1F 80 04 05 06 44"},
};

// ESC @ (initialise), GS FF (feed marked paper to the print starting position),
// "****TEST START POSITION****", LF (print and feed a line).
inline constexpr FixedCommand FindStartAndPrint{
    "Find start position and print",
    "1B 40 1D 0C 2A 2A 2A 2A 54 45 53 54 20 53 54 41 52 54 20 50 4F 53 49 54 49 4F 4E 2A 2A 2A "
    "2A 0A"};
// ESC @, GS V 30 (full cut), LF.
inline constexpr FixedCommand TestCut{"Test cut position", "1B 40 1D 56 30 0A"};

} // namespace BlackMarkCommands
