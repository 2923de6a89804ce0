#include "PaperLayoutReport.h"

#include "LabelLayoutCommands.h"
#include "PrinterEnquiry.h"

using namespace LabelLayoutCommands;

PaperLayoutReport PaperLayoutReport::ask(PrinterEnquiry& enquiry)
{
    PaperLayoutReport report;
    if (const auto answer = enquiry.ask(sendLayout(AsSet), layoutAnswer(AsSet)))
        report.asSet = PaperLayout::fromAnswer(*answer);
    if (const auto answer = enquiry.ask(sendLayout(InEffect), layoutAnswer(InEffect)))
        report.inEffect = PaperLayout::fromAnswer(*answer);
    return report;
}

std::string PaperLayoutReport::lines() const
{
    return "as set: " + (asSet ? asSet->line(false) : "not answered") + "\n" +
           "in effect: " + (inEffect ? inEffect->line(true) : "not answered") + "\n";
}
