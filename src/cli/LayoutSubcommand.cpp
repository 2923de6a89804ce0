#include "LayoutSubcommand.h"

#include "JsonText.h"
#include "LabelLayoutCommands.h"
#include "LayoutDistance.h"
#include "PaperLayout.h"
#include "PaperLayoutReport.h"
#include "PrinterEnquiry.h"

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
        const LayoutDistance distance =
            LayoutDistance::read(words[++i], option->field, option->name);
        if (!distance.refusal.empty())
            return distance.refusal;
        if (!distance.roundingNote.empty())
            notes.push_back(distance.roundingNote);
        layout.fields[option->field] = distance.tenths;
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
        request.document = request.show ? "" : what == "test-print" ? testPrintJob() : testCutJob();
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
    request.document = layout.setCommand() + (save ? KeepAfterPowerOff : "");
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
        err_ << "blackmark: " << enquiry.notOpenedWords() << std::endl;
        return 1;
    }
    const PaperLayoutReport report = PaperLayoutReport::ask(enquiry);
    const std::optional<PaperLayout> layouts[2] = {report.asSet, report.inEffect};
    if (!enquiry.close())
        err_ << "blackmark: " << enquiry.failedWords() << std::endl;
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
        out_ << report.lines();
    }
    out_ << std::flush;
    return report.answeredAny() ? 0 : 1;
}
