#pragma once

#include "PaperLayout.h"
#include "PaperLayoutValues.h"
#include "PortSettings.h"
#include "UserMessages.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

class PrinterSdk;

// Printer ▸ Paper layout…: the layout of the FS ( L family as the dialog holds it, set, read
// back and tried out as the command line's layout does. Every bad value is told in a box
// before anything is sent; each send or enquiry that fails is told in one box.
class PaperLayoutModel
{
public:
    // The distances the dialog has, in its order; LabelBottom is its "bottom".
    static constexpr std::array<PaperLayout::Field, 4> Distances = {
        PaperLayout::Pitch, PaperLayout::PrintStart, PaperLayout::Cut, PaperLayout::LabelBottom};
    static constexpr std::array<PaperLayout::Kind, 4> Kinds = {
        PaperLayout::Kind::BlackMarkPaper, PaperLayout::Kind::DieCutLabels,
        PaperLayout::Kind::MarkedLabels, PaperLayout::Kind::None};

    PaperLayoutModel(PaperLayoutValues& values, PrinterSdk& sdk, UserMessages& messages);

    PaperLayoutValues& values() { return values_; }
    // Whether the kind of paper takes the distance; the dialog greys the others out.
    static bool takes(PaperLayout::Kind kind, PaperLayout::Field field);
    static std::string_view kindCaption(PaperLayout::Kind kind);
    static std::string_view distanceCaption(PaperLayout::Field field);
    std::string& text(PaperLayout::Field field);

    // The document that Set sends for the values; nothing, told in a box, when one is bad.
    std::optional<std::string> document();
    // Each returns whether the printer's side took it; what it did shows in status().
    bool set(const PortSettings& port);
    bool readBack(const PortSettings& port);
    bool testPrint(const PortSettings& port);
    bool testCut(const PortSettings& port);

    // What the last action came to, for the dialog's status line.
    const std::string& status() const { return status_; }

    static constexpr std::string_view Title = "Paper layout";

private:
    bool send(const std::string& document, const PortSettings& port, const std::string& done);

    PaperLayoutValues& values_;
    PrinterSdk& sdk_;
    UserMessages& messages_;
    std::string status_;
};
