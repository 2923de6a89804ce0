#pragma once

#include "FleetRun.h"

#include <array>
#include <string>
#include <vector>

// The report of a run: one line per printer in the list's order, then the counts; or the
// same as one JSON document.
namespace FleetReport
{

// "ETHERNET 10.0.0.5 | MAKER MODEL | set | layout verified | 0.31 s" for each printer, then
// "N set, M failed, K skipped".
std::string text(const std::vector<FleetPrinter>& printers,
                 const std::vector<PrinterOutcome>& outcomes);
// {"printers": [{"line", "printer", "maker", "model", "result", "reason", "layout",
// "seconds"}...], "set", "failed", "skipped"}: maker, model and layout null where unknown.
std::string json(const std::vector<FleetPrinter>& printers,
                 const std::vector<PrinterOutcome>& outcomes);

// The columns of the text's line for one printer: printer, maker and model, result, reason,
// time; "-" where there is nothing to say.
std::array<std::string, 5> cells(const FleetPrinter& printer, const PrinterOutcome& outcome);

const char* resultWord(PrinterOutcome::Result result);
// 0 when every printer was set, 1 when any was not.
int exitCode(const std::vector<PrinterOutcome>& outcomes);

} // namespace FleetReport
