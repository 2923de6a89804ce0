#pragma once

#include "ListedPort.h"

#include <string>
#include <string_view>
#include <vector>

// The ports as one JSON array, as scripts have always read it: four spaces an indent, each
// port's fields sorted by name.
namespace PortListJson
{

std::string of(const std::vector<ListedPort>& ports);

// The text as a JSON string: quotes and backslashes escaped, control characters as \b, \f,
// \n, \r, \t or \u00xx, everything else as it is.
std::string quoted(std::string_view text);

} // namespace PortListJson
