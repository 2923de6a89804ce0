#pragma once

#include "ListedPort.h"
#include "PrinterAnswers.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the command line prints as JSON, as scripts have always read it: four spaces an
// indent, each object's fields sorted by name. Written with nlohmann-json.
namespace JsonText
{

// The ports as one array.
std::string ports(const std::vector<ListedPort>& ports);
// One object: what a printer answered.
std::string answers(const std::map<std::string, AnswerField>& fields);

} // namespace JsonText
