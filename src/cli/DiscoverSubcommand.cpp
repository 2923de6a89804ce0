#include "DiscoverSubcommand.h"

#include "CommandLineOptions.h"
#include "Discovery.h"
#include "ProbePort.h"

#include <nlohmann/json.hpp>
#include <optional>

namespace
{

struct NumberOption {
    const char* name;
    int least, most;
    int* value;
};

} // namespace

int DiscoverSubcommand::run(const std::vector<std::string>& words, bool json, std::ostream& out,
                            std::ostream& err)
{
    int port = 9100, jobs = Discovery::DefaultJobs, timeoutMs = Discovery::DefaultTimeoutMs;
    const NumberOption numbers[] = {{"--tcp-port", 1, 65535, &port},
                                    {"--jobs", 1, Discovery::MostJobs, &jobs},
                                    {"--timeout", 1, 60000, &timeoutMs}};
    std::vector<std::string> ranges;
    std::string refusal;
    for (std::size_t i = 1; i < words.size() && refusal.empty(); ++i) {
        if (words[i] == "--json") {
            json = true;
            continue;
        }
        if (words[i].rfind("--", 0) != 0) {
            ranges.push_back(words[i]);
            continue;
        }
        const NumberOption* option = nullptr;
        for (const NumberOption& o : numbers)
            option = words[i] == o.name ? &o : option;
        if (!option) {
            refusal = "discover does not take \"" + words[i] + "\"";
        } else if (i + 1 == words.size()) {
            refusal = std::string(option->name) + " needs a number";
        } else if (const auto value = wholeNumberWithin(words[++i], option->least, option->most)) {
            *option->value = *value;
        } else {
            refusal = std::string(option->name) + " takes a whole number from " +
                      std::to_string(option->least) + " to " + std::to_string(option->most) +
                      ", not \"" + words[i] + "\"";
        }
    }
    std::vector<std::uint32_t> addresses;
    if (refusal.empty())
        addresses = Discovery::addressesOf(ranges, refusal);
    if (!refusal.empty()) {
        err << "blackmark: " << refusal << std::endl;
        return 2;
    }
    const Discovery::Report report = Discovery::run(
        addresses, std::uint16_t(port), jobs, [timeoutMs] { return makeProbePort(timeoutMs); });
    if (json)
        out << report.json().dump(2) << std::endl;
    else
        out << report.lines() << std::flush;
    err << "blackmark: " << report.summary() << std::endl;
    return report.found.empty() ? 1 : 0;
}
