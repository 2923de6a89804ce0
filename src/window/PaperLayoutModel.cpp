#include "PaperLayoutModel.h"

#include "CommandSender.h"
#include "HexCommandText.h"
#include "LabelLayoutCommands.h"
#include "LayoutDistance.h"
#include "PaperLayoutReport.h"
#include "PrinterEnquiry.h"

using Kind = PaperLayout::Kind;
using Icon = UserMessage::Icon;

PaperLayoutModel::PaperLayoutModel(PaperLayoutValues& values, PrinterSdk& sdk,
                                   UserMessages& messages)
    : values_(values), sdk_(sdk), messages_(messages)
{
}

bool PaperLayoutModel::takes(Kind kind, PaperLayout::Field field)
{
    if (kind == Kind::None)
        return false;
    return field != PaperLayout::LabelBottom || kind != Kind::BlackMarkPaper;
}

std::string_view PaperLayoutModel::kindCaption(Kind kind)
{
    switch (kind) {
    case Kind::BlackMarkPaper:
        return "Black-mark paper";
    case Kind::DieCutLabels:
        return "Die-cut labels";
    case Kind::MarkedLabels:
        return "Labels with black marks";
    case Kind::None:
        break;
    }
    return "None: plain receipt paper";
}

std::string_view PaperLayoutModel::distanceCaption(PaperLayout::Field field)
{
    switch (field) {
    case PaperLayout::Pitch:
        return "Pitch";
    case PaperLayout::PrintStart:
        return "Print start";
    case PaperLayout::Cut:
        return "Cut";
    default:
        break;
    }
    return "Bottom";
}

std::string& PaperLayoutModel::text(PaperLayout::Field field)
{
    switch (field) {
    case PaperLayout::Pitch:
        return values_.pitch;
    case PaperLayout::PrintStart:
        return values_.printStart;
    case PaperLayout::Cut:
        return values_.cut;
    default:
        break;
    }
    return values_.bottom;
}

std::optional<std::string> PaperLayoutModel::document()
{
    PaperLayout layout;
    layout.kind = values_.kind;
    std::string notes;
    for (PaperLayout::Field field : Distances) {
        const std::string& typed = text(field);
        // A box left empty keeps the printer's value; one the paper does not take is greyed.
        if (!takes(values_.kind, field) || typed.find_first_not_of(' ') == std::string::npos)
            continue;
        const std::string name(distanceCaption(field));
        const LayoutDistance distance = LayoutDistance::read(typed, field, name);
        if (!distance.refusal.empty()) {
            messages_.show({name + ": " + distance.refusal, std::string(Title), Icon::Warning, {}});
            return std::nullopt;
        }
        layout.fields[field] = distance.tenths;
        if (!distance.roundingNote.empty())
            notes += (notes.empty() ? "" : "; ") + distance.roundingNote;
    }
    status_ = notes;
    using LabelLayoutCommands::KeepAfterPowerOff;
    return layout.setCommand() + (values_.keepAfterPowerOff ? KeepAfterPowerOff : "");
}

bool PaperLayoutModel::send(const std::string& document, const PortSettings& port,
                            const std::string& done)
{
    WindowValues values;
    CommandSender sender(sdk_, messages_, values);
    std::string text = hexCommandText(document);
    const bool sent = sender.SendHexCommand(text, port).result == SendOutcome::Result::Sent;
    status_ = sent ? done + (status_.empty() ? "" : " (" + status_ + ")") : "";
    return sent;
}

bool PaperLayoutModel::set(const PortSettings& port)
{
    status_.clear();
    const std::optional<std::string> layout = document();
    if (!layout)
        return false;
    return send(*layout, port,
                values_.keepAfterPowerOff ? "The printer took the layout and keeps it."
                                          : "The printer took the layout.");
}

bool PaperLayoutModel::testPrint(const PortSettings& port)
{
    status_.clear();
    return send(LabelLayoutCommands::testPrintJob(), port, "The printer took the test print.");
}

bool PaperLayoutModel::testCut(const PortSettings& port)
{
    status_.clear();
    return send(LabelLayoutCommands::testCutJob(), port, "The printer took the test cut.");
}

bool PaperLayoutModel::readBack(const PortSettings& port)
{
    status_.clear();
    if (!PrinterEnquiry::canAnswer(port)) {
        messages_.show({PrinterEnquiry::QueueCannotAnswer, std::string(Title), Icon::Warning, {}});
        return false;
    }
    PrinterEnquiry enquiry(sdk_);
    if (!enquiry.open(port)) {
        messages_.show({CommandSender::PortErrorText, CommandSender::PortErrorTitle, Icon::Error,
                        enquiry.failure()});
        return false;
    }
    const PaperLayoutReport report = PaperLayoutReport::ask(enquiry);
    const bool closed = enquiry.close();
    std::string lines = report.lines();
    lines.pop_back(); // the box ends with its text
    const bool answered = closed && report.answeredAny();
    messages_.show({lines, std::string(Title), answered ? Icon::Information : Icon::Error,
                    closed ? "" : enquiry.failedWords()});
    if (answered)
        status_ = "Read back.";
    return answered;
}
