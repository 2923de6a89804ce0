#include "PaperLayout.h"

#include "LabelLayoutCommands.h"

#include <charconv>

using namespace LabelLayoutCommands;

namespace
{

// A field of the answer: an optional sign and at most five digits; an empty one is not set.
bool readField(std::string_view text, std::optional<int>& field)
{
    if (text.empty())
        return true;
    const bool negative = text.starts_with('-');
    const std::string_view digits = text.substr(negative ? 1 : 0);
    int value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || digits.size() > 5 || error != std::errc() ||
        end != digits.data() + digits.size() || digits.front() == '+')
        return false;
    field = negative ? -value : value;
    return true;
}

std::string tenthsAsMillimetres(int tenths)
{
    const std::string sign = tenths < 0 ? "-" : "";
    const int magnitude = tenths < 0 ? -tenths : tenths;
    // Appended rather than "." + a temporary, which GCC 12 takes for an overlapping copy.
    const std::string fraction =
        magnitude % 10 == 0 ? "" : std::string(".").append(std::to_string(magnitude % 10));
    return sign + std::to_string(magnitude / 10) + fraction + " mm";
}

} // namespace

const char* PaperLayout::kindWords(Kind kind)
{
    switch (kind) {
    case Kind::None:
        return "no layout";
    case Kind::DieCutLabels:
        return "die-cut labels";
    case Kind::MarkedLabels:
        return "labels with marks";
    case Kind::BlackMarkPaper:
        return "black-mark paper";
    }
    return "";
}

const char* PaperLayout::fieldWords(Field field)
{
    static constexpr const char* words[FieldCount] = {
        "pitch", "print start", "cut", "label bottom", "printing area bottom", "horizontal"};
    return words[field];
}

const char* PaperLayout::fieldKey(Field field)
{
    static constexpr const char* keys[FieldCount] = {
        "pitch", "printStart", "cut", "labelBottom", "printingAreaBottom", "horizontal"};
    return keys[field];
}

std::string PaperLayout::setCommand() const
{
    std::string parameters(1, char(kind));
    for (const std::optional<int>& field : fields)
        parameters += (field ? std::to_string(*field) : "") + Separator;
    return fsL(SetLayout, parameters);
}

std::optional<PaperLayout> PaperLayout::fromAnswer(const std::string& answer)
{
    // 37 4B, "64" or "80", then 1F and a field seven times, then 00.
    if (answer.size() < 5 || answer.back() != '\0')
        return std::nullopt;
    std::string_view rest(answer);
    rest = rest.substr(4, rest.size() - 5);
    std::string_view parts[FieldCount + 1];
    for (std::string_view& part : parts) {
        if (!rest.starts_with(FieldMark))
            return std::nullopt;
        rest.remove_prefix(1);
        const std::size_t next = rest.find(FieldMark);
        part = rest.substr(0, next);
        rest.remove_prefix(part.size());
    }
    PaperLayout layout;
    if (!rest.empty() || parts[0].size() != 1 || parts[0][0] < '0' || parts[0][0] > '3')
        return std::nullopt;
    layout.kind = Kind(parts[0][0]);
    for (int i = 0; i < FieldCount; ++i) {
        if (!readField(parts[i + 1], layout.fields[i]))
            return std::nullopt;
    }
    return layout;
}

std::string PaperLayout::line(bool inDots) const
{
    std::string text = kindWords(kind);
    for (int i = 0; i < FieldCount; ++i) {
        const std::optional<int>& field = fields[i];
        const std::string value = !field   ? "not set"
                                  : inDots ? std::to_string(*field) + " dots"
                                           : tenthsAsMillimetres(*field);
        text.append(i == 0 ? "; " : ", ").append(fieldWords(Field(i))).append(" ").append(value);
    }
    return text;
}
