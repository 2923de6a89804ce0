#pragma once

#include "PaperLayoutValues.h"
#include "PaperRoll.h"

#include <array>
#include <string>
#include <vector>

// What the paper preview draws: a short job of labels on the paper chosen in the preview, each
// found after its mark, printed and cut, moved by the code that moves the virtual printer's
// paper. The distances are the window's boxes or the paper layout dialog's, as typed; nothing
// is sent.
class PaperPreview
{
public:
    enum class Source { WindowBoxes, PaperLayoutDialog };
    // The paper as typed in the preview, in mm: the mark's length or the gap between labels.
    struct Paper {
        PaperRoll::Kind kind = PaperRoll::Kind::BlackMark;
        std::string pitch = "40", length = "4", width = "80";
    };
    // What the preview draws, in dots from where the paper starts, just after a mark.
    struct Geometry {
        PaperRoll roll;
        int length = 0;                     // the stretch of paper drawn
        std::vector<PaperRoll::Span> marks; // the black marks, or the gaps between labels
        std::vector<int> printStarts, cuts;
        std::vector<std::string> values; // the values used, in words, a line each
        std::string problem;             // why nothing is drawn; empty when the rest holds
    };
    static constexpr int Labels = 3;
    // What one printed line of the job feeds: the default line spacing.
    static constexpr int LineDots = 30;

    explicit PaperPreview(const PaperLayoutValues& layout);

    Paper paper;
    Source source = Source::WindowBoxes;

    // Takes the text of the window's Text2 box `row` as it is.
    void setBox(int row, const std::string& text);
    // The user typed into that box: the preview takes that row's direction, feed or backfeed,
    // for its print start or cut, as the printer keeps the last one sent.
    void boxEdited(int row, const std::string& text);

    Geometry geometry() const;
    // The job's bytes, settings first, as a printer would take them for this geometry.
    std::string document() const;

private:
    struct Job;
    Job job() const;

    const PaperLayoutValues& layout_;
    std::array<std::string, 6> boxes_; // as each row starts
    int printStartRow_ = 2;            // feed; 3 backfeed
    int cutRow_ = 4;                   // feed; 5 backfeed
};
