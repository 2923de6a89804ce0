#include "SentSettings.h"

#include "Decimals.h"

namespace
{

constexpr const char* DistanceKeys[] = {"mark-width", "paper-width", "print-start", "cut-position"};

// The shortest decimal of an exact value: 2.5 for 2.500, 3 for 3.000.
std::string shortest(double value, int decimals)
{
    std::string text = fixedDecimals(value, decimals);
    if (text.find('.') != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.ends_with('.'))
            text.pop_back();
    }
    return text;
}

const char* paperWord(PaperLayout::Kind kind)
{
    switch (kind) {
    case PaperLayout::Kind::BlackMarkPaper:
        return "black-mark";
    case PaperLayout::Kind::DieCutLabels:
    case PaperLayout::Kind::MarkedLabels:
        return "label";
    case PaperLayout::Kind::None:
        break;
    }
    return "none";
}

} // namespace

void SentSettings::distanceSent(Setting setting, int count, bool backfeed)
{
    distances_[setting] = Distance{count, backfeed};
}

void SentSettings::switchSent(bool on)
{
    switchOn_ = on;
}

void SentSettings::layoutSet(const PaperLayout& layout, bool keptAfterPowerOff)
{
    layout_ = layout;
    layoutKept_ = keptAfterPowerOff;
}

bool SentSettings::empty() const
{
    for (const auto& distance : distances_) {
        if (distance)
            return false;
    }
    return !switchOn_ && !layout_;
}

std::string SentSettings::blackMarkTable() const
{
    std::string table;
    for (int s = 0; s < SettingCount; ++s) {
        if (!distances_[s])
            continue;
        const Distance& d = *distances_[s];
        // A backfeed of nothing keeps its minus only as a text.
        // Appended: GCC 12 takes a literal + a temporary for an overlapping copy.
        std::string mm;
        if (d.backfeed && d.count == 0)
            mm = "\"-0\"";
        else
            mm.append(d.backfeed ? "-" : "").append(shortest(d.count / 8.0, 3));
        table += std::string(DistanceKeys[s]) + " = " + mm + "\n";
    }
    if (switchOn_)
        table += std::string("function = \"") + (*switchOn_ ? "on" : "off") + "\"\n";
    return table.empty() ? table : "\n[black-mark]\n" + table;
}

std::string SentSettings::layoutTable() const
{
    if (!layout_)
        return {};
    const PaperLayout::Kind kind = layout_->kind;
    std::string table = std::string("\n[paper-layout]\npaper = \"") + paperWord(kind) + "\"\n";
    struct Key {
        PaperLayout::Field field;
        const char* name;
    };
    for (const Key key :
         {Key{PaperLayout::Pitch, "pitch"}, Key{PaperLayout::PrintStart, "print-start"},
          Key{PaperLayout::Cut, "cut"}, Key{PaperLayout::LabelBottom, "bottom"}}) {
        const std::optional<int>& tenths = layout_->fields[key.field];
        // The profile takes a label's bottom only for labels, and no distance without a layout.
        const bool taken =
            kind != PaperLayout::Kind::None &&
            (key.field != PaperLayout::LabelBottom || kind != PaperLayout::Kind::BlackMarkPaper);
        if (tenths && taken)
            table += std::string(key.name) + " = " + shortest(*tenths / 10.0, 1) + "\n";
    }
    if (kind == PaperLayout::Kind::MarkedLabels)
        table += "with-marks = true\n";
    if (layoutKept_)
        table += "save = true\n";
    return table;
}

std::string SentSettings::profileText() const
{
    return "# What the printer took from the window.\n" + blackMarkTable() + layoutTable();
}
