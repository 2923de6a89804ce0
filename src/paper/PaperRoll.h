#pragma once

#include <optional>
#include <string>
#include <vector>

// Distances on the paper are in dots, 8 to the millimetre, as the printer's motion units are.
constexpr int DotsPerMm = 8;

// A paper layout's distance, kept in 0.1 mm, as the dots the paper moves: 4 to 5, rounded.
constexpr int dotsFromTenths(int tenths)
{
    return (4 * tenths + (tenths < 0 ? -2 : 2)) / 5;
}

// The roll that is loaded: plain, with black marks on the back, or labels with gaps between.
struct PaperRoll {
    enum class Kind { Plain, BlackMark, Label };
    Kind kind = Kind::Plain;
    int pitch = 0;  // one mark or label start to the next
    int length = 0; // of a mark, or of the gap between labels
    int widthMm = 80;

    // "plain", "black-mark:PITCH[:LENGTH]" or "label:PITCH[:GAP]" in millimetres (decimals
    // allowed); nothing, and `refusal` says why, when the text is not one of these.
    static std::optional<PaperRoll> read(const std::string& text, std::string& refusal);

    int widthDots() const { return widthMm * DotsPerMm; }
    // Where printing may go, centred on the paper: 72 mm of 80, 48 mm of 58.
    int printableDots() const;
    int leftMarginDots() const { return (widthDots() - printableDots()) / 2; }

    struct Span {
        int from; // first dot
        int to;   // one past the last
    };
    // The marks (or gaps) that touch [from, to). Each ends at a whole number of pitches: the
    // paper starts just after one.
    std::vector<Span> marksBetween(int from, int to) const;
    // The end of the first mark (or gap) that ends after `after`; nothing on plain paper.
    std::optional<int> nextMarkEnd(int after) const;
};

// Where the paper stands in the printer and what happened to it. The sensor, the print head and
// the cutter are taken to stand on one line, so a position is where all three are.
class PaperMotion
{
public:
    // How the printer finds its positions after a mark, as the settings held give them.
    struct Adjustments {
        bool marksUsed = false; // the black-mark function is on
        int printStart = 0;     // dots after the mark's end, negative for backfeed
        int cut = 0;
        int peel = 0;
    };
    // No roll is longer: the paper stops here (125 km), so positions stay far from overflow.
    static constexpr int Farthest = 1000000000;
    enum class Event { PrintStart, Cut };
    struct Happened {
        Event event;
        int at;
    };

    explicit PaperMotion(PaperRoll roll) : roll_(roll) {}

    const PaperRoll& roll() const { return roll_; }
    int position() const { return position_; }

    // Forward, or back when negative; the paper never goes back before its start.
    void feed(int dots);
    // To the print start, cut or peeling position after the next mark. `again` lets the paper
    // stay where it stands when it is there already. Nothing moves when marks are not used.
    void toPrintStart(const Adjustments& adjustments, bool again = true);
    void toCut(const Adjustments& adjustments, bool again = true);
    void toPeel(const Adjustments& adjustments, bool again = true);
    void cut() { happened_.push_back({Event::Cut, position_}); }

    // What happened since the last call, oldest first.
    std::vector<Happened> takeHappened();

private:
    bool toMark(const Adjustments& adjustments, int offset, bool again);

    PaperRoll roll_;
    int position_ = 0;
    std::vector<Happened> happened_;
};
