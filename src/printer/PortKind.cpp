#include "PortKind.h"

#include "PrinterSdk.h"
#include "UnicodeText.h"

#include <algorithm>
#include <charconv>

namespace
{

struct KindPrefix {
    std::string_view prefix;
    PortKind kind;
};

// Tested in this order; the first match wins.
constexpr KindPrefix kindPrefixes[] = {
    {"ETH", PortKind::Network},
    {"COM", PortKind::Serial},
    {"LPT", PortKind::Parallel},
    {"DRI", PortKind::Driver},
};

// A decimal number with blanks around it and an optional sign; 0 when it is none.
std::int32_t decimalBaudRate(std::string_view text)
{
    text = UnicodeText::trimmed(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::int32_t rate = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), rate);
    return error == std::errc() && end == text.data() + text.size() ? rate : 0;
}

char upper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool startsWithIgnoringCase(std::string_view text, std::string_view start)
{
    return start.size() <= text.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](char a, char b) { return upper(a) == upper(b); });
}

} // namespace

PortKind portKindOf(std::string_view portText)
{
    const std::string_view firstThree = portText.substr(0, 3);
    for (const KindPrefix& entry : kindPrefixes) {
        if (firstThree == entry.prefix)
            return entry.kind;
    }
    return PortKind::None;
}

std::optional<OpenArguments> openArgumentsFor(const PortSettings& settings)
{
    switch (portKindOf(settings.portText)) {
    case PortKind::Network:
        return OpenArguments{settings.networkAddress, 0, 0, 0, 0, OpenMode::Network};
    case PortKind::Serial:
        return OpenArguments{settings.portText, decimalBaudRate(settings.baudRateText), 8, 0, 0,
                             OpenMode::Serial};
    case PortKind::Parallel:
        return OpenArguments{settings.portText, 0, 0, 0, 0, OpenMode::ParallelOrUsbDevice};
    case PortKind::Driver:
        return OpenArguments{settings.driverName, 0, 0, 0, 0, OpenMode::PrinterQueue};
    case PortKind::None:
        break;
    }
    return std::nullopt;
}

std::optional<ParameterControlsEnabled> parameterControlsFor(std::string_view portText)
{
    switch (portKindOf(portText)) {
    case PortKind::Network:
        return ParameterControlsEnabled{true, false, false};
    case PortKind::Serial:
        return ParameterControlsEnabled{false, false, true};
    case PortKind::Parallel:
        return ParameterControlsEnabled{false, false, false};
    case PortKind::Driver:
        return ParameterControlsEnabled{false, true, false};
    case PortKind::None:
        break;
    }
    return std::nullopt;
}

std::string nearMissSuggestion(std::string_view portText)
{
    std::string word(UnicodeText::trimmed(portText));
    std::transform(word.begin(), word.begin() + std::min<std::size_t>(word.size(), 3), word.begin(),
                   upper);
    if (portKindOf(word) == PortKind::None)
        return {};
    std::string suggestion = word;
    for (std::string_view full : {"ETHERNET", "DRIVER"}) {
        if (startsWithIgnoringCase(full, word))
            suggestion = full;
    }
    return " Did you mean \"" + suggestion + "\"?";
}
