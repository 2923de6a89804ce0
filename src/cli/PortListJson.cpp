#include "PortListJson.h"

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

std::string valueText(const ListedPort::Field& value)
{
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag ? "true" : "false";
    return PortListJson::quoted(std::get<std::string>(value));
}

} // namespace

namespace PortListJson
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

std::string of(const std::vector<ListedPort>& ports)
{
    std::string json = "[\n";
    for (std::size_t i = 0; i < ports.size(); ++i) {
        std::string fields;
        for (const auto& [name, value] : ports[i].fields())
            fields += (fields.empty() ? "        " : ",\n        ") + quoted(name) + ": " +
                      valueText(value);
        json += "    {\n" + fields + "\n    }" + (i + 1 < ports.size() ? ",\n" : "\n");
    }
    return json + "]\n";
}

} // namespace PortListJson
