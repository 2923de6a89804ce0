#include "PaperRoll.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <sstream>
#include <utility>

namespace
{

// A distance in millimetres from 0.5 to 1000, as dots; nothing when it is not one.
std::optional<int> readMillimetres(const std::string& text)
{
    double mm = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, mm);
    if (text.empty() || error != std::errc() || stop != end || !(mm >= 0.5 && mm <= 1000))
        return std::nullopt;
    return int(std::lround(mm * DotsPerMm));
}

} // namespace

std::optional<PaperRoll> PaperRoll::read(const std::string& text, std::string& refusal)
{
    std::vector<std::string> parts;
    std::istringstream words(text);
    for (std::string part; std::getline(words, part, ':');)
        parts.push_back(part);
    refusal = "--paper takes plain, black-mark:PITCH[:LENGTH] or label:PITCH[:GAP] in mm, not \"" +
              text + "\"";
    PaperRoll roll;
    if (parts.size() == 1 && parts[0] == "plain") {
        refusal.clear();
        return roll;
    }
    if (parts.size() < 2 || parts.size() > 3 || (parts[0] != "black-mark" && parts[0] != "label"))
        return std::nullopt;
    roll.kind = parts[0] == "label" ? Kind::Label : Kind::BlackMark;
    const std::optional<int> pitch = readMillimetres(parts[1]);
    const std::optional<int> length =
        parts.size() == 3 ? readMillimetres(parts[2])
                          : std::optional<int>((roll.kind == Kind::Label ? 3 : 4) * DotsPerMm);
    if (!pitch || !length)
        return std::nullopt;
    if (*length >= *pitch) {
        refusal = "--paper: the mark or gap must be shorter than the pitch in \"" + text + "\"";
        return std::nullopt;
    }
    roll.pitch = *pitch;
    roll.length = *length;
    refusal.clear();
    return roll;
}

int PaperRoll::printableDots() const
{
    if (widthMm == 58)
        return 48 * DotsPerMm;
    return std::max(1, widthMm - 8) * DotsPerMm;
}

std::vector<PaperRoll::Span> PaperRoll::marksBetween(int from, int to) const
{
    std::vector<Span> marks;
    if (kind == Kind::Plain)
        return marks;
    // Mark k covers [k * pitch - length, k * pitch).
    for (long k = std::max(0, from / pitch); long(k) * pitch - length < to; ++k) {
        const Span mark{int(k * pitch - length), int(k * pitch)};
        if (mark.to > from)
            marks.push_back(mark);
    }
    return marks;
}

std::optional<int> PaperRoll::nextMarkEnd(int after) const
{
    if (kind == Kind::Plain)
        return std::nullopt;
    return after < 0 ? 0 : (after / pitch + 1) * pitch;
}

void PaperMotion::feed(int dots)
{
    position_ = std::clamp(position_ + dots, 0, Farthest);
}

bool PaperMotion::toMark(const Adjustments& adjustments, int offset, bool again)
{
    if (!adjustments.marksUsed || roll_.kind == PaperRoll::Kind::Plain)
        return false;
    // The sensor looks ahead for the next mark's end, then the paper moves by the adjustment,
    // back when it is negative; unless it already stands where that would take it.
    const int behind = position_ - offset;
    if (!(again && behind >= 0 && behind % roll_.pitch == 0))
        position_ = std::clamp(*roll_.nextMarkEnd(position_) + offset, 0, Farthest);
    return true;
}

void PaperMotion::toPrintStart(const Adjustments& adjustments, bool again)
{
    if (toMark(adjustments, adjustments.printStart, again))
        happened_.push_back({Event::PrintStart, position_});
}

void PaperMotion::toCut(const Adjustments& adjustments, bool again)
{
    toMark(adjustments, adjustments.cut, again);
}

void PaperMotion::toPeel(const Adjustments& adjustments, bool again)
{
    toMark(adjustments, adjustments.peel, again);
}

std::vector<PaperMotion::Happened> PaperMotion::takeHappened()
{
    return std::exchange(happened_, {});
}
