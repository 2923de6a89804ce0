#include "JsonText.h"

#include "Decimals.h"
#include "SystemText.h"

#include <charconv>
#include <nlohmann/json.hpp>

namespace
{

using Json = nlohmann::json; // its objects keep their fields sorted by name

// A field's value: text, true or false, a number, or null.
template <typename Value> Json valueOf(const Value& value)
{
    if (const bool* flag = std::get_if<bool>(&value))
        return *flag;
    if (const std::string* text = std::get_if<std::string>(&value))
        return SystemText::fromBytes(*text);
    if constexpr (std::variant_size_v < Value >> 3) {
        // Tenths of a millimetre at most: one decimal, none for a whole number.
        if (const double* number = std::get_if<double>(&value)) {
            if (*number == double((long long)*number))
                return (long long)*number;
            const std::string tenths = fixedDecimals(*number, 1);
            double shown = 0;
            std::from_chars(tenths.data(), tenths.data() + tenths.size(), shown);
            return shown;
        }
    }
    return nullptr;
}

template <typename Fields> Json object(const Fields& fields)
{
    Json json = Json::object();
    for (const auto& [name, value] : fields)
        json[SystemText::fromBytes(name)] = valueOf(value);
    return json;
}

std::string dumped(const Json& json)
{
    return json.dump(4, ' ', false, Json::error_handler_t::replace);
}

} // namespace

namespace JsonText
{

std::string ports(const std::vector<ListedPort>& ports)
{
    Json json = Json::array();
    for (const ListedPort& port : ports)
        json.push_back(object(port.fields()));
    // An empty list keeps the two lines scripts have always read.
    return ports.empty() ? "[\n]\n" : dumped(json) + "\n";
}

std::string answers(const std::map<std::string, AnswerField>& fields)
{
    return dumped(object(fields)) + "\n";
}

} // namespace JsonText
