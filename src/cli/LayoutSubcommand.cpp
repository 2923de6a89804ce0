#include "LayoutSubcommand.h"

#include "CommandSender.h"
#include "JsonText.h"
#include "LabelLayoutCommands.h"
#include "PaperLayout.h"
#include "PrinterEnquiry.h"
#include "StrictDistance.h"

using namespace LabelLayoutCommands;

namespace
{

struct Option {
    const char* name;
    PaperLayout::Field field;
};
constexpr Option DistanceOptions[] = {{"--pitch", PaperLayout::Pitch},
                                      {"--print-start", PaperLayout::PrintStart},
                                      {"--cut", PaperLayout::Cut},
                                      {"--bottom", PaperLayout::LabelBottom}};

const Option* distanceOption(const std::string& word, PaperLayout::Kind kind)
{
    for (const Option& option : DistanceOptions) {
        const bool forLabels = option.field == PaperLayout::LabelBottom;
        if (word == option.name && (!forLabels || kind != PaperLayout::Kind::BlackMarkPaper))
            return &option;
    }
    return nullptr;
}

// Reads the options of a layout to set into it; the refusal when one is bad.
std::string readLayoutOptions(const std::vector<std::string>& words, PaperLayout& layout,
                              bool& save, std::vector<std::string>& notes)
{
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (words[i] == "--save") {
            save = true;
            continue;
        }
        if (words[i] == "--with-marks" && layout.kind == PaperLayout::Kind::DieCutLabels) {
            layout.kind = PaperLayout::Kind::MarkedLabels;
            continue;
        }
        const Option* option = layout.kind == PaperLayout::Kind::None
                                   ? nullptr
                                   : distanceOption(words[i], layout.kind);
        if (!option)
            return "layout " + words[1] + " does not take \"" + words[i] + "\"";
        if (i + 1 == words.size())
            return std::string(option->name) + " takes a distance in mm";
        const std::string& text = words[++i];
        const bool signed_ = PaperLayout::maySign(option->field);
        const StrictDistance distance = StrictDistance::readTenths(text, signed_);
        if (!distance.refusal.empty())
            return distance.refusal + (signed_ ? ", or with a sign" : "");
        if (distance.tenths > PaperLayout::Largest || distance.tenths < -PaperLayout::Largest)
            return std::string(option->name) + " \"" + text +
                   "\" does not fit: the printer takes at most five digits of 0.1 mm, 9999.9 mm";
        if (!distance.roundingNote.empty())
            notes.push_back(distance.roundingNote);
        layout.fields[option->field] = int(distance.tenths);
    }
    return {};
}

std::optional<PaperLayout::Kind> kindNamed(const std::string& word)
{
    if (word == "black-mark")
        return PaperLayout::Kind::BlackMarkPaper;
    if (word == "label")
        return PaperLayout::Kind::DieCutLabels;
    if (word == "none")
        return PaperLayout::Kind::None;
    return std::nullopt;
}

std::string testJob(const std::string& name)
{
    if (name == "test-print")
        return feed(FeedToCutting, UnlessThere) + feed(FeedToPrintStart, UnlessThere) + Banner;
    return feed(FeedToCutting, UnlessThere) + "\x1D\x56\x30"; // GS V 30: full cut
}

} // namespace

std::optional<LayoutSubcommand::Request>
LayoutSubcommand::read(const std::vector<std::string>& words, std::string& refusal)
{
    const std::string what = words.size() > 1 ? words[1] : "";
    Request request;
    if (what == "show" || what == "test-print" || what == "test-cut") {
        const bool json = what == "show" && words.size() == 3 && words[2] == "--json";
        if (words.size() > 2 && !json) {
            refusal = "layout " + what +
                      (what == "show" ? " takes nothing but --json" : " takes nothing");
            return std::nullopt;
        }
        request.show = what == "show";
        request.json = json;
        request.document = request.show ? "" : testJob(what);
        return request;
    }
    const std::optional<PaperLayout::Kind> kind = kindNamed(what);
    if (!kind) {
        refusal = "layout takes black-mark, label, none, show, test-print or test-cut";
        return std::nullopt;
    }
    PaperLayout layout;
    layout.kind = *kind;
    bool save = false;
    refusal = readLayoutOptions(words, layout, save, request.notes);
    if (!refusal.empty())
        return std::nullopt;
    request.document = layout.setCommand() + (save ? SaveSettings + LoadSavedAtStartUp : "");
    return request;
}

LayoutSubcommand::LayoutSubcommand(PrinterSdk& sdk, std::ostream& out, std::ostream& err)
    : sdk_(sdk), out_(out), err_(err)
{
}

int LayoutSubcommand::show(const PortSettings& port, bool json)
{
    PrinterEnquiry enquiry(sdk_);
    if (!enquiry.open(port)) {
        err_ << "blackmark: " << CommandSender::PortErrorText << " " << enquiry.failure()
             << std::endl;
        return 1;
    }
    std::optional<PaperLayout> layouts[2];
    const char asked[2] = {AsSet, InEffect};
    for (int i = 0; i < 2; ++i) {
        if (const auto answer = enquiry.ask(sendLayout(asked[i]), layoutAnswer(asked[i])))
            layouts[i] = PaperLayout::fromAnswer(*answer);
    }
    if (!enquiry.close())
        err_ << "blackmark: the printer's port failed: " << enquiry.failure() << std::endl;
    if (json) {
        std::map<std::string, AnswerField> fields;
        const PaperLayout* known = layouts[0] ? &*layouts[0] : layouts[1] ? &*layouts[1] : nullptr;
        fields["layout"] =
            known ? AnswerField(std::string(PaperLayout::kindWords(known->kind))) : AnswerField();
        for (int f = 0; f < PaperLayout::FieldCount; ++f) {
            const std::string key = PaperLayout::fieldKey(PaperLayout::Field(f));
            const auto& mm = layouts[0] ? layouts[0]->fields[f] : std::nullopt;
            const auto& dots = layouts[1] ? layouts[1]->fields[f] : std::nullopt;
            fields[key + "Mm"] = mm ? AnswerField(*mm / 10.0) : AnswerField();
            fields[key + "Dots"] = dots ? AnswerField(double(*dots)) : AnswerField();
        }
        out_ << JsonText::answers(fields);
    } else {
        out_ << "as set: " << (layouts[0] ? layouts[0]->line(false) : "not answered") << "\n"
             << "in effect: " << (layouts[1] ? layouts[1]->line(true) : "not answered") << "\n";
    }
    out_ << std::flush;
    return layouts[0] || layouts[1] ? 0 : 1;
}
