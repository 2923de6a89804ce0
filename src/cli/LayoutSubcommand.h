#pragma once

#include "PortSettings.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

class PrinterSdk;

// `layout`: the paper layout of the second family of commands, FS ( L. Sets it (black-mark
// paper, labels, none) with only the distances given, saves it when asked, shows it as set
// and in effect, and runs its two test jobs.
class LayoutSubcommand
{
public:
    // What the words ask for: a document to send, or the layout to show.
    struct Request {
        std::string document; // the bytes to send; empty for show
        bool show = false;
        bool json = false;
        std::vector<std::string> notes; // roundings, told before the send
    };

    // Reads the words after "layout"; nothing, with the refusal, when they are bad input.
    static std::optional<Request> read(const std::vector<std::string>& words, std::string& refusal);

    LayoutSubcommand(PrinterSdk& sdk, std::ostream& out, std::ostream& err);
    // Asks the printer for its layout as set and in effect. Exit code 0 answered, 1 not.
    int show(const PortSettings& port, bool json);

private:
    PrinterSdk& sdk_;
    std::ostream& out_;
    std::ostream& err_;
};
