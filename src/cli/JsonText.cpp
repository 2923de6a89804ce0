#include "JsonText.h"

#include "Decimals.h"
#include "SystemText.h"

namespace
{

std::string escapedControl(unsigned char c)
{
    switch (c) {
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    }
    const char* digits = "0123456789abcdef";
    return std::string("\\u00") + digits[c >> 4] + digits[c & 0xF];
}

// A field's value: text, true or false, or null.
template <typename Value> std::string valueText(const Value& value)
{
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag ? "true" : "false";
    if (const std::string* text = std::get_if<std::string>(&value))
        return JsonText::quoted(*text);
    if constexpr (std::variant_size_v < Value >> 3) {
        // Tenths of a millimetre at most: one decimal, none for a whole number.
        if (const double* number = std::get_if<double>(&value))
            return fixedDecimals(*number, *number == double((long long)*number) ? 0 : 1);
    }
    return "null";
}

// The fields of one object, each on a line of its own at the indent.
template <typename Fields> std::string object(const Fields& fields, const std::string& indent)
{
    std::string lines;
    for (const auto& [name, value] : fields)
        lines += (lines.empty() ? "" : ",\n") + indent + "    " + JsonText::quoted(name) + ": " +
                 valueText(value);
    return indent + "{\n" + lines + "\n" + indent + "}";
}

} // namespace

namespace JsonText
{

std::string quoted(std::string_view text)
{
    std::string json = "\"";
    for (char c : SystemText::fromBytes(text)) {
        if (c == '"' || c == '\\')
            json += {'\\', c};
        else if (static_cast<unsigned char>(c) < 0x20)
            json += escapedControl(static_cast<unsigned char>(c));
        else
            json += c;
    }
    return json + "\"";
}

std::string ports(const std::vector<ListedPort>& ports)
{
    std::string json = "[\n";
    for (std::size_t i = 0; i < ports.size(); ++i)
        json += object(ports[i].fields(), "    ") + (i + 1 < ports.size() ? ",\n" : "\n");
    return json + "]\n";
}

std::string answers(const std::map<std::string, AnswerField>& fields)
{
    return object(fields, "") + "\n";
}

} // namespace JsonText
