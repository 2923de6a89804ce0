#include "PaperPreview.h"
#include "PaperRoll.h"

#include <doctest/doctest.h>

// Dots at 8 a millimetre: black-mark:50 has a pitch of 400 dots and marks of 32 that end at
// every pitch; label:40 has 320 and gaps of 24.
TEST_CASE("the roll as --paper gives it")
{
    struct Row {
        const char* text;
        int kind; // -1: refused
        int pitch = 0, length = 0;
    };
    const Row rows[] = {{"plain", 0},
                        {"black-mark:50", 1, 400, 32},
                        {"black-mark:25.5:6", 1, 204, 48},
                        {"label:40", 2, 320, 24},
                        {"label:40:2.5", 2, 320, 20},
                        {"black-mark:1:0.5", 1, 8, 4},
                        {"label", -1},
                        {"holes:40", -1},
                        {"label:4x", -1},
                        {"label:0.2", -1},
                        {"label:3:3", -1},
                        {"label:40:3:1", -1}};
    for (const Row& row : rows) {
        CAPTURE(row.text);
        std::string refusal;
        const std::optional<PaperRoll> roll = PaperRoll::read(row.text, refusal);
        REQUIRE(roll.has_value() == (row.kind >= 0));
        CHECK(refusal.empty() == (row.kind >= 0));
        if (roll) {
            CHECK(int(roll->kind) == row.kind);
            CHECK(roll->pitch == row.pitch);
            CHECK(roll->length == row.length);
        }
    }
    PaperRoll roll;
    CHECK(roll.printableDots() == 576);
    CHECK(roll.leftMarginDots() == 32);
    roll.widthMm = 58;
    CHECK(roll.printableDots() == 384);
    CHECK(dotsFromTenths(-25) == -20);
    CHECK(dotsFromTenths(3) == 2);
    CHECK(dotsFromTenths(-4) == -3);
}

TEST_CASE("marks at the pitch")
{
    std::string refusal;
    const PaperRoll roll = *PaperRoll::read("black-mark:50", refusal);
    // Those that only touch the ends of the stretch are not in it.
    const std::vector<PaperRoll::Span> marks = roll.marksBetween(400, 1169);
    REQUIRE(marks.size() == 2);
    CHECK(marks[0].from == 768);
    CHECK(marks[0].to == 800);
    CHECK(marks[1].from == 1168);
    CHECK(roll.marksBetween(400, 1168).size() == 1);
    CHECK(PaperRoll().marksBetween(0, 5000).empty());
}

TEST_CASE("the paper moves to its positions")
{
    struct Row {
        const char* paper;
        bool marksUsed;
        int adjustment;
        char to; // s print start, S the next one, c cut, p peel, f feed
        int from, expected;
        bool tick;
    };
    const Row rows[] = {
        {"black-mark:50", true, 0, 's', 0, 0, true},
        {"black-mark:50", true, 0, 's', 10, 400, true},
        {"black-mark:50", true, 16, 's', 10, 416, true},
        {"black-mark:50", true, 16, 's', 416, 416, true},
        {"black-mark:50", true, 16, 'S', 416, 816, true},
        {"black-mark:50", true, -16, 's', 10, 384, true},
        {"black-mark:50", true, -16, 's', 390, 384, true},
        {"black-mark:50", true, 64, 'c', 500, 864, false},
        {"black-mark:50", true, -40, 'c', 100, 360, false},
        {"label:40", true, 8, 'p', 0, 328, false},
        {"label:40", true, 0, 's', 5, 320, true},
        {"black-mark:50", false, 16, 's', 10, 10, false},
        {"plain", true, 16, 's', 10, 10, false},
        {"plain", true, 2000000000, 'f', 10, 1000000000, false},
        {"plain", true, -100, 'f', 10, 0, false},
    };
    for (const Row& row : rows) {
        CAPTURE(row.paper);
        CAPTURE(row.to);
        CAPTURE(row.from);
        std::string refusal;
        PaperMotion motion(*PaperRoll::read(row.paper, refusal));
        motion.feed(row.from);
        const PaperMotion::Adjustments adjustments{row.marksUsed, row.adjustment, row.adjustment,
                                                   row.adjustment};
        if (row.to == 's' || row.to == 'S')
            motion.toPrintStart(adjustments, row.to == 's');
        else if (row.to == 'c')
            motion.toCut(adjustments);
        else if (row.to == 'p')
            motion.toPeel(adjustments);
        else
            motion.feed(row.adjustment);
        CHECK(motion.position() == row.expected);
        motion.cut();
        const std::vector<PaperMotion::Happened> happened = motion.takeHappened();
        REQUIRE(happened.size() == (row.tick ? 2 : 1));
        CHECK(happened.front().at == row.expected);
        CHECK(happened.back().event == PaperMotion::Event::Cut);
        CHECK(motion.takeHappened().empty());
    }
}

TEST_CASE("the paper preview: what it takes, what it says, what it refuses")
{
    struct Row {
        const char* name;
        std::vector<std::pair<int, const char*>> edits; // Text2 row and text, in order
        PaperPreview::Paper paper;
        const char* said; // the problem, or else the last line of values
        std::vector<int> starts = {}, cuts = {};
    };
    using Kind = PaperRoll::Kind;
    const Row rows[] = {
        {"feed to both",
         {{2, "2"}, {4, "1.125"}},
         {},
         "Cut: feed 1.125 mm after each mark",
         {336, 976, 1616},
         {649, 1289, 1929}},
        {"the last edited of each pair",
         {{3, "6"}, {2, "2"}, {4, "12"}, {5, "2"}},
         {},
         "Cut: backfeed 2 mm after each mark (\"Cut position after black mark is found  "
         "Backfeed\").",
         {336, 656, 976},
         {624, 944, 1264}},
        {"a bad box", {{3, "6x"}}, {}, "Backfeed paper after black mark is found: \"6x\" is not"},
        {"an empty box", {{4, ""}}, {}, "Cut position after black mark is found  Feed: \"\" is"},
        {"too far", {{2, "4096"}}, {}, "\"4096\" is farther than 4095.875 mm."},
        {"labels",
         {},
         {Kind::Label, "30", "3", "58"},
         "Cut: feed 0 mm",
         {0, 240, 480},
         {240, 480, 720}},
        {"plain paper: nothing moves", {}, {Kind::Plain, "", "", "80"}, "Cut:", {}, {30, 60, 90}},
        {"a bad width", {}, {Kind::Plain, "", "", "80.5"}, "width takes whole mm from 20 to 120"},
        {"too narrow", {}, {Kind::Plain, "", "", "19"}, "width takes whole mm"},
        {"the narrowest", {}, {Kind::Plain, "", "", "20"}, "Cut:", {}, {30, 60, 90}},
        {"a gap as long as the pitch", {}, {Kind::Label, "30", "30", "80"}, "gap shorter than"},
        {"no mark length", {}, {Kind::BlackMark, "30", "", "80"}, "pitch and mark length"},
    };
    const PaperLayoutValues layout;
    for (const Row& row : rows) {
        CAPTURE(row.name);
        PaperPreview preview(layout);
        preview.paper = row.paper;
        for (const auto& [box, text] : row.edits)
            preview.boxEdited(box, text);
        const PaperPreview::Geometry geometry = preview.geometry();
        const std::string said =
            geometry.problem.empty() ? geometry.values.back() : geometry.problem;
        CHECK(said.find(row.said) != std::string::npos);
        CHECK(geometry.printStarts == row.starts);
        if (!row.cuts.empty() || !geometry.problem.empty())
            CHECK(geometry.cuts == row.cuts);
        CHECK(preview.document().empty() == !geometry.problem.empty());
    }
}

TEST_CASE("the paper preview with the paper layout dialog's values")
{
    PaperLayoutValues layout;
    layout.kind = PaperLayout::Kind::DieCutLabels;
    layout.printStart = "-2.5";
    layout.cut = "3 mm";
    PaperPreview preview(layout);
    preview.source = PaperPreview::Source::PaperLayoutDialog;
    preview.paper = {PaperRoll::Kind::Label, "40", "3", "80"};
    PaperPreview::Geometry geometry = preview.geometry();
    CHECK(geometry.values.front() == "Label paper 80 mm wide, a 3 mm gap every 40 mm.");
    CHECK(geometry.values.back() ==
          "Values from the paper layout: die-cut labels, print start -2.5 mm, cut 3 mm.");
    CHECK(geometry.printStarts == std::vector<int>{300, 940, 1580});
    CHECK(geometry.cuts == std::vector<int>{664, 1304, 1944});
    CHECK(preview.document().substr(0, 18) == std::string("\x1C(L\x0D\x00!1;-25;30;;;;", 18));
    layout.cut = "-";
    CHECK(preview.geometry().problem.starts_with("Paper layout, cut: \"-\" is not a distance"));
    layout.cut = "";
    layout.bottom = "10000";
    CHECK(preview.geometry().problem == "Paper layout, label bottom: \"10000\" is farther than "
                                        "9999.9 mm.");
    layout.kind = PaperLayout::Kind::None;
    layout.bottom = "";
    geometry = preview.geometry();
    CHECK(geometry.printStarts.empty());
    CHECK(geometry.cuts == std::vector<int>{30, 60, 90});
}
