#include "FleetReport.h"

#include "Decimals.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace
{

std::string counts(const std::vector<PrinterOutcome>& outcomes)
{
    int count[3] = {0, 0, 0};
    for (const PrinterOutcome& outcome : outcomes)
        ++count[int(outcome.result)];
    return std::to_string(count[0]) + " set, " + std::to_string(count[1]) + " failed, " +
           std::to_string(count[2]) + " skipped";
}

const char* checkWord(PrinterOutcome::LayoutCheck check)
{
    switch (check) {
    case PrinterOutcome::LayoutCheck::Verified:
        return "verified";
    case PrinterOutcome::LayoutCheck::Differs:
        return "differs";
    case PrinterOutcome::LayoutCheck::Unreadable:
        return "unreadable";
    case PrinterOutcome::LayoutCheck::NotAsked:
        break;
    }
    return nullptr;
}

} // namespace

namespace FleetReport
{

const char* resultWord(PrinterOutcome::Result result)
{
    return result == PrinterOutcome::Result::Set      ? "set"
           : result == PrinterOutcome::Result::Failed ? "failed"
                                                      : "skipped";
}

int exitCode(const std::vector<PrinterOutcome>& outcomes)
{
    for (const PrinterOutcome& outcome : outcomes) {
        if (outcome.result != PrinterOutcome::Result::Set)
            return 1;
    }
    return 0;
}

std::array<std::string, 5> cells(const FleetPrinter& printer, const PrinterOutcome& outcome)
{
    const std::string who =
        outcome.maker + (outcome.maker.empty() || outcome.model.empty() ? "" : " ") + outcome.model;
    return {printer.text, who.empty() ? "-" : who, resultWord(outcome.result),
            outcome.reason.empty() ? "-" : outcome.reason,
            fixedDecimals(outcome.seconds, 2) + " s"};
}

std::string text(const std::vector<FleetPrinter>& printers,
                 const std::vector<PrinterOutcome>& outcomes)
{
    std::string lines;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const std::array<std::string, 5> line = cells(printers[i], outcomes[i]);
        for (const std::string& cell : line)
            lines.append(&cell == line.data() ? "" : " | ").append(cell);
        lines += "\n";
    }
    return lines + counts(outcomes) + "\n";
}

std::string json(const std::vector<FleetPrinter>& printers,
                 const std::vector<PrinterOutcome>& outcomes)
{
    using Json = nlohmann::ordered_json;
    const auto textOrNull = [](const std::string& text) {
        return text.empty() ? Json() : Json(text);
    };
    Json list = Json::array();
    int count[3] = {0, 0, 0};
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        const PrinterOutcome& outcome = outcomes[i];
        ++count[int(outcome.result)];
        const char* check = checkWord(outcome.layout);
        Json entry = Json::object();
        entry["line"] = printers[i].line;
        entry["printer"] = printers[i].text;
        entry["maker"] = textOrNull(outcome.maker);
        entry["model"] = textOrNull(outcome.model);
        entry["result"] = resultWord(outcome.result);
        entry["reason"] = outcome.reason;
        entry["layout"] = check ? Json(check) : Json();
        entry["seconds"] = std::round(outcome.seconds * 1000) / 1000;
        list.push_back(entry);
    }
    Json report = Json::object();
    report["printers"] = list;
    report["set"] = count[0];
    report["failed"] = count[1];
    report["skipped"] = count[2];
    return report.dump(4, ' ', false, Json::error_handler_t::replace) + "\n";
}

} // namespace FleetReport
