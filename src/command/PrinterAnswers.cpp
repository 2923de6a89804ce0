#include "PrinterAnswers.h"

#include "PrinterEnquiry.h"
#include "PrinterRequests.h"

#include <vector>

using namespace PrinterRequests;

namespace
{

std::string joined(const std::vector<std::string>& words)
{
    std::string text;
    for (const std::string& word : words)
        text += (text.empty() ? "" : ", ") + word;
    return text;
}

} // namespace

PrinterIdentity PrinterIdentity::ask(PrinterEnquiry& enquiry)
{
    PrinterIdentity identity;
    for (std::size_t i = 0; i < identity.items.size(); ++i) {
        const auto answer = enquiry.ask(printerId(IdentityItems[i].n), AnswerShape::textBlock());
        if (answer)
            identity.items[i] = textOf(*answer);
    }
    if (const auto type = enquiry.ask(printerId(TypeId), AnswerShape::idByte()))
        identity.autocutter = (std::uint8_t((*type)[0]) & AutocutterBit) != 0;
    return identity;
}

std::string PrinterIdentity::textOf(const std::string& block)
{
    std::string text = block.substr(1, block.size() - 2);
    for (char& c : text) {
        if (std::uint8_t(c) < 0x20 || c == 0x7F)
            c = '?';
    }
    return text;
}

bool PrinterIdentity::answeredAny() const
{
    for (const auto& item : items) {
        if (item)
            return true;
    }
    return autocutter.has_value();
}

std::string PrinterIdentity::line() const
{
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < items.size(); ++i)
        parts.push_back(std::string(IdentityItems[i].name) + " " +
                        (items[i] ? *items[i] : "not answered"));
    parts.push_back(std::string("autocutter ") +
                    (autocutter ? (*autocutter ? "yes" : "no") : "not answered"));
    return joined(parts);
}

std::map<std::string, AnswerField> PrinterIdentity::fields() const
{
    std::map<std::string, AnswerField> fields;
    for (std::size_t i = 0; i < items.size(); ++i)
        fields[IdentityItems[i].name] = items[i] ? AnswerField(*items[i]) : AnswerField();
    fields["autocutter"] = autocutter ? AnswerField(*autocutter) : AnswerField();
    return fields;
}

PrinterStatus PrinterStatus::ask(PrinterEnquiry& enquiry)
{
    PrinterStatus status;
    for (std::uint8_t n = 1; n <= 4; ++n) {
        if (const auto answer = enquiry.ask(realTimeStatus(n), AnswerShape::statusByte()))
            status.answers[n - 1] = std::uint8_t((*answer)[0]);
    }
    return status;
}

bool PrinterStatus::answeredAny() const
{
    for (const auto& answer : answers) {
        if (answer)
            return true;
    }
    return false;
}

bool PrinterStatus::answeredAll() const
{
    for (const auto& answer : answers) {
        if (!answer)
            return false;
    }
    return true;
}

namespace
{

// Whether the condition holds; nothing when its request was not answered.
std::optional<bool> holds(const PrinterStatus& status, const StatusCondition& condition)
{
    const auto& answer = status.answers[condition.n - 1];
    if (!answer)
        return std::nullopt;
    return (*answer & condition.bits) != 0;
}

} // namespace

bool PrinterStatus::stopped() const
{
    for (const StatusCondition& condition : StatusConditions) {
        if (condition.stopsPrinting && holds(*this, condition).value_or(false))
            return true;
    }
    return false;
}

std::string PrinterStatus::line() const
{
    std::vector<std::string> holding, unanswered;
    for (const StatusCondition& condition : StatusConditions) {
        if (holds(*this, condition).value_or(false))
            holding.push_back(condition.words);
    }
    for (std::size_t i = 0; i < answers.size(); ++i) {
        if (!answers[i])
            unanswered.push_back(StatusRequestNames[i]);
    }
    const std::string also = holding.empty() ? "" : ", " + joined(holding);
    std::string text = stopped() ? "cannot print: " + joined(holding)
                       : ready() ? "ready to print" + also
                                 : "nothing in its answers stops printing" + also;
    if (!answeredAny())
        text = "the printer did not answer";
    else if (!unanswered.empty())
        text += "; not answered: " + joined(unanswered);
    return text;
}

std::map<std::string, AnswerField> PrinterStatus::fields() const
{
    std::map<std::string, AnswerField> fields{{"ready", ready()}};
    for (const StatusCondition& condition : StatusConditions) {
        const std::optional<bool> value = holds(*this, condition);
        fields[condition.key] = value ? AnswerField(*value) : AnswerField();
    }
    return fields;
}
