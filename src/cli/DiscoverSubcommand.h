#pragma once

#include <ostream>
#include <string>
#include <vector>

// discover RANGE... [--tcp-port N] [--jobs N] [--timeout MS] [--json]: the printers that take
// raw print jobs on these addresses, one line each as a list of printers takes them. Exit
// codes: 0 at least one found, 1 none, 2 bad input.
namespace DiscoverSubcommand
{

int run(const std::vector<std::string>& words, bool json, std::ostream& out, std::ostream& err);

} // namespace DiscoverSubcommand
