#pragma once

#include "AnswerShape.h"

#include <cstdint>
#include <string>

// The byte layout of the second family of black-mark commands: the label and black-mark
// control FS ( L, and GS ( M, which keeps its settings across power-off. Every FS ( L command
// is 1C 28 4C pL pH fn ..., pL pH counting the bytes from fn on, low byte first.
namespace LabelLayoutCommands
{

inline std::string fsL(char fn, const std::string& parameters)
{
    const std::size_t count = parameters.size() + 1;
    return std::string{'\x1C', '\x28', '\x4C', char(count & 0xFF), char(count >> 8), fn} +
           parameters;
}

// fn 33: sm, then sa to sf, each ASCII decimal in 0.1 mm (or left out) and each followed by
// 3B. See PaperLayout for what each means.
inline constexpr char SetLayout = 0x21;
inline constexpr char Separator = 0x3B;

// fn 34 n: the layout as set, in 0.1 mm (n = 40), or in effect, in dots (n = 50). The answer is
// 37 4B, then n in ASCII decimal ("64" or "80"), then 1F and each of sm, sa to sf, then 00.
inline constexpr char SendLayout = 0x22;
inline constexpr char AsSet = 0x40;
inline constexpr char InEffect = 0x50;
inline constexpr char FieldMark = 0x1F;
inline std::string sendLayout(char n)
{
    return fsL(SendLayout, {n});
}
inline constexpr AnswerShape layoutAnswer(char n)
{
    return AnswerShape::block(n == AsSet ? "\x37\x4B"
                                           "64"
                                         : "\x37\x4B"
                                           "80");
}

// fn 48 48: where the paper waits. The answer is 37 38 A B 00: bits 0 to 2 of A waiting at the
// label peeling, cutting or print start position; bits 0 and 1 of B printing cannot start on
// the current or the next label.
inline const std::string SendPosition = fsL(0x30, {'\x30'});
inline constexpr AnswerShape PositionAnswer = AnswerShape::block("\x37\x38", 5);

// fn 65, 66, 67 m: feed to the label peeling, cutting or print start position; m = 30 not if
// the paper is there already, 31 to the next one.
inline constexpr char FeedToPeeling = 0x41;
inline constexpr char FeedToCutting = 0x42;
inline constexpr char FeedToPrintStart = 0x43;
inline constexpr char UnlessThere = 0x30;
inline std::string feed(char fn, char m)
{
    return fsL(fn, {m});
}

// GS ( M: 1D 28 4D 02 00 01 01 saves the settings; 1D 28 4D 02 00 03 01 loads the saved ones
// at start-up. ESC @ does not reset the layout; the memory takes few writes, so the tool saves
// only when asked.
inline const std::string SaveSettings{"\x1D\x28\x4D\x02\x00\x01\x01", 7};
inline const std::string LoadSavedAtStartUp{"\x1D\x28\x4D\x02\x00\x03\x01", 7};
inline const std::string KeepAfterPowerOff = SaveSettings + LoadSavedAtStartUp;

// The banner line of the window's test job: "****TEST START POSITION****" and LF.
inline const std::string Banner = "****TEST START POSITION****\n";

// The two test jobs: to the cut, then to the print start and the banner; or to the cut and a
// full cut (GS V 30).
inline std::string testPrintJob()
{
    return feed(FeedToCutting, UnlessThere) + feed(FeedToPrintStart, UnlessThere) + Banner;
}
inline std::string testCutJob()
{
    return feed(FeedToCutting, UnlessThere) + "\x1D\x56\x30";
}

} // namespace LabelLayoutCommands
