#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <variant>

class PrinterEnquiry;

// A field of an answer as a script reads it: text, yes or no, a number, or nothing when not
// answered.
using AnswerField = std::variant<std::monostate, bool, std::string, double>;

// Who the printer is: what it answered to each identity request.
struct PrinterIdentity {
    std::array<std::optional<std::string>, 4> items; // maker, model, firmware, serial
    std::optional<bool> autocutter;

    static PrinterIdentity ask(PrinterEnquiry& enquiry);
    // The text of a GS I block answer; control characters are not passed on.
    static std::string textOf(const std::string& block);

    bool answeredAny() const;
    // "maker M, model X, firmware 1.0, serial 7, autocutter yes"; "not answered" for each
    // request that got no answer.
    std::string line() const;
    std::map<std::string, AnswerField> fields() const;
};

// Whether the printer can print: the four real-time status bytes it answered.
struct PrinterStatus {
    std::array<std::optional<std::uint8_t>, 4> answers; // DLE EOT 1 to 4

    static PrinterStatus ask(PrinterEnquiry& enquiry);

    bool answeredAny() const;
    bool answeredAll() const;
    // Something that holds stops printing.
    bool stopped() const;
    // Everything answered, and nothing stops printing.
    bool ready() const { return answeredAll() && !stopped(); }
    // What holds, in words, and which requests were not answered.
    std::string line() const;
    std::map<std::string, AnswerField> fields() const;
};
