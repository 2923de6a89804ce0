#include "PaperPreview.h"

#include "BlackMarkCommands.h"
#include "DistanceCount.h"
#include "HexCommandText.h"
#include "LabelLayoutCommands.h"
#include "PaperLayout.h"
#include "StrictDistance.h"

#include <algorithm>
#include <charconv>

namespace
{

constexpr int PrintStartFeedRow = 2, PrintStartBackfeedRow = 3, CutFeedRow = 4, CutBackfeedRow = 5;

std::string bytesOf(std::string hex)
{
    const HexEncoding encoded = encodeHexCommandText(hex);
    return std::string(encoded.bytes.begin(), encoded.bytes.end());
}

// "12.5 mm" from eighths or tenths of a millimetre, with its sign.
std::string millimetres(int count, int perMm)
{
    const int magnitude = count < 0 ? -count : count;
    std::string text = std::to_string(magnitude / perMm);
    if (const int rest = magnitude % perMm; rest != 0) {
        std::string decimals = std::to_string(1000 + rest * 1000 / perMm).substr(1);
        decimals.erase(decimals.find_last_not_of('0') + 1);
        text += "." + decimals;
    }
    return (count < 0 ? "-" : "") + text + " mm";
}

// The preview's own paper boxes: the roll, or nothing and the problem.
std::optional<PaperRoll> readPaper(const PaperPreview::Paper& paper, std::string& problem)
{
    PaperRoll roll;
    int width = 0;
    const char* end = paper.width.data() + paper.width.size();
    const auto [stop, error] = std::from_chars(paper.width.data(), end, width);
    if (error != std::errc() || stop != end || width < 20 || width > 120) {
        problem = "The paper's width takes whole mm from 20 to 120, not \"" + paper.width + "\".";
        return std::nullopt;
    }
    if (paper.kind != PaperRoll::Kind::Plain) {
        const bool labels = paper.kind == PaperRoll::Kind::Label;
        const std::string text =
            std::string(labels ? "label:" : "black-mark:") + paper.pitch + ":" + paper.length;
        std::string refusal;
        const bool typed = !paper.pitch.empty() && !paper.length.empty() &&
                           paper.pitch.find(':') == std::string::npos &&
                           paper.length.find(':') == std::string::npos;
        const std::optional<PaperRoll> read = typed ? PaperRoll::read(text, refusal) : std::nullopt;
        if (!read) {
            problem = std::string("The paper's pitch and ") + (labels ? "gap" : "mark length") +
                      " take mm from 0.5 to 1000, the " + (labels ? "gap" : "mark") +
                      " shorter than the pitch, not \"" + paper.pitch + "\" and \"" + paper.length +
                      "\".";
            return std::nullopt;
        }
        roll = *read;
    }
    roll.widthMm = width;
    return roll;
}

// "Black-mark paper 80 mm wide, a 4 mm mark every 40 mm."
std::string paperWords(const PaperRoll& roll)
{
    const std::string wide = " paper " + std::to_string(roll.widthMm) + " mm wide";
    if (roll.kind == PaperRoll::Kind::Plain)
        return "Plain" + wide + ".";
    const bool labels = roll.kind == PaperRoll::Kind::Label;
    return (labels ? "Label" : "Black-mark") + wide + ", a " + millimetres(roll.length, 8) +
           (labels ? " gap" : " mark") + " every " + millimetres(roll.pitch, 8) + ".";
}

} // namespace

struct PaperPreview::Job {
    PaperRoll roll;
    PaperMotion::Adjustments adjustments;
    bool layoutFamily = false;
    std::string settings;
    std::vector<std::string> values;
    std::string problem;
};

PaperPreview::PaperPreview(const PaperLayoutValues& layout) : layout_(layout)
{
    for (std::size_t row = 0; row < boxes_.size(); ++row)
        boxes_[row] = BlackMarkCommands::SettingRows[row]->startValue;
}

void PaperPreview::setBox(int row, const std::string& text)
{
    if (row >= 0 && row < int(boxes_.size()))
        boxes_[std::size_t(row)] = text;
}

void PaperPreview::boxEdited(int row, const std::string& text)
{
    setBox(row, text);
    if (row == PrintStartFeedRow || row == PrintStartBackfeedRow)
        printStartRow_ = row;
    else if (row == CutFeedRow || row == CutBackfeedRow)
        cutRow_ = row;
}

PaperPreview::Job PaperPreview::job() const
{
    Job job;
    const std::optional<PaperRoll> roll = readPaper(paper, job.problem);
    if (!roll)
        return job;
    job.roll = *roll;
    job.values.push_back(paperWords(job.roll));
    if (source == Source::WindowBoxes) {
        job.adjustments.marksUsed = true;
        job.settings = bytesOf(BlackMarkCommands::SwitchEntries[1].hexText);
        job.values.push_back("Values from the window's boxes; black mark function on.");
        for (const int row : {printStartRow_, cutRow_}) {
            const DistanceCommand& command = *BlackMarkCommands::SettingRows[row];
            const StrictDistance distance = StrictDistance::read(boxes_[std::size_t(row)]);
            const std::optional<int> count = distance.refusal.empty()
                                                 ? DistanceCount::fromBoxText(distance.number)
                                                 : std::nullopt;
            if (!count) {
                job.problem = std::string(command.caption) + ": " +
                              (distance.refusal.empty() ? "\"" + boxes_[std::size_t(row)] +
                                                              "\" is farther than 4095.875 mm"
                                                        : distance.refusal) +
                              ".";
                return job;
            }
            const bool backfeed = row == PrintStartBackfeedRow || row == CutBackfeedRow;
            const bool printStart = row <= PrintStartBackfeedRow;
            (printStart ? job.adjustments.printStart : job.adjustments.cut) =
                backfeed ? -*count : *count;
            job.settings += bytesOf(command.hexTemplate + DistanceCount::tokens(*count));
            job.values.push_back(std::string(printStart ? "Print start: " : "Cut: ") +
                                 (backfeed ? "backfeed " : "feed ") + millimetres(*count, 8) +
                                 " after each mark (\"" + command.caption + "\").");
        }
        return job;
    }
    job.layoutFamily = true;
    PaperLayout layout;
    layout.kind = layout_.kind;
    const std::pair<PaperLayout::Field, const std::string*> fields[] = {
        {PaperLayout::Pitch, &layout_.pitch},
        {PaperLayout::PrintStart, &layout_.printStart},
        {PaperLayout::Cut, &layout_.cut},
        {PaperLayout::LabelBottom, &layout_.bottom}};
    std::string words =
        std::string("Values from the paper layout: ") + PaperLayout::kindWords(layout.kind);
    for (const auto& [field, text] : fields) {
        if (text->find_first_not_of(' ') == std::string::npos)
            continue; // left out, as the command leaves it
        const StrictDistance distance =
            StrictDistance::readTenths(*text, PaperLayout::maySign(field));
        const long long tenths = distance.tenths < 0 ? -distance.tenths : distance.tenths;
        if (!distance.refusal.empty() || tenths > PaperLayout::Largest) {
            job.problem = std::string("Paper layout, ") + PaperLayout::fieldWords(field) + ": " +
                          (distance.refusal.empty() ? "\"" + *text + "\" is farther than 9999.9 mm"
                                                    : distance.refusal) +
                          ".";
            return job;
        }
        layout.fields[field] = int(distance.tenths);
        words += std::string(", ") + PaperLayout::fieldWords(field) + " " +
                 millimetres(int(distance.tenths), 10);
    }
    job.values.push_back(words + ".");
    job.settings = layout.setCommand();
    job.adjustments.marksUsed = layout.kind != PaperLayout::Kind::None;
    if (job.adjustments.marksUsed) {
        job.adjustments.printStart =
            dotsFromTenths(layout.fields[PaperLayout::PrintStart].value_or(0));
        job.adjustments.cut = dotsFromTenths(layout.fields[PaperLayout::Cut].value_or(0));
        job.adjustments.peel = dotsFromTenths(layout.fields[PaperLayout::LabelBottom].value_or(0));
    }
    return job;
}

PaperPreview::Geometry PaperPreview::geometry() const
{
    const Job job = this->job();
    Geometry geometry;
    geometry.values = job.values;
    geometry.problem = job.problem;
    if (!job.problem.empty())
        return geometry;
    // Each label as the job prints it: to its print start, a line, to its cut, and the cut.
    PaperMotion motion(job.roll);
    for (int label = 0; label < Labels; ++label) {
        motion.toPrintStart(job.adjustments);
        motion.feed(LineDots);
        motion.toCut(job.adjustments);
        motion.cut();
    }
    int end = motion.position();
    for (const PaperMotion::Happened& happened : motion.takeHappened()) {
        (happened.event == PaperMotion::Event::Cut ? geometry.cuts : geometry.printStarts)
            .push_back(happened.at);
        end = std::max(end, happened.at);
    }
    geometry.roll = job.roll;
    geometry.length = end + 8 * DotsPerMm;
    geometry.marks = job.roll.marksBetween(0, geometry.length);
    return geometry;
}

std::string PaperPreview::document() const
{
    const Job job = this->job();
    if (!job.problem.empty())
        return {};
    const std::string toPrintStart =
        job.layoutFamily ? LabelLayoutCommands::feed(LabelLayoutCommands::FeedToPrintStart,
                                                     LabelLayoutCommands::UnlessThere)
                         : "\x1D\x0C";
    const std::string toCutAndCut =
        job.layoutFamily ? LabelLayoutCommands::feed(LabelLayoutCommands::FeedToCutting,
                                                     LabelLayoutCommands::UnlessThere) +
                               "\x1Bi"
                         : std::string("\x1DVA\x00", 4);
    std::string document = job.settings;
    for (int label = 1; label <= Labels; ++label)
        document += toPrintStart + "LABEL " + std::to_string(label) + "\n" + toCutAndCut;
    return document;
}
