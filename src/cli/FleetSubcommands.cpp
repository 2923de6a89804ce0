// `profile check` and `apply`: a settings profile shown, or set on one printer or on a list.
#include "BlackmarkCommandLine.h"

#include "CommandLineOptions.h"
#include "FleetReport.h"
#include "PortKind.h"
#include "PrinterList.h"
#include "Profile.h"

#include <filesystem>
#include <fstream>
#include <iterator>

namespace
{

struct ApplyWords {
    std::string profile, printers, jobs;
    bool force = false, json = false;
};

std::string readApplyWords(const std::vector<std::string>& words, ApplyWords& read)
{
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool valued = word == "--printers" || word == "--jobs";
        if (valued && i + 1 == words.size())
            return word +
                   (word == "--jobs" ? " takes a count" : " takes a file, or - for standard input");
        if (word == "--printers")
            read.printers = words[++i];
        else if (word == "--jobs")
            read.jobs = words[++i];
        else if (word == "--force")
            read.force = true;
        else if (word == "--json")
            read.json = true;
        else if (read.profile.empty() && !word.starts_with("--"))
            read.profile = word;
        else
            return "apply does not take \"" + word + "\"";
    }
    if (read.profile.empty())
        return "apply takes a profile: apply FILE";
    return {};
}

} // namespace

bool BlackmarkCommandLine::readInput(const std::string& name, std::string& text)
{
    std::ifstream file;
    if (name != "-")
        file.open(std::filesystem::path(std::u8string(name.begin(), name.end())), std::ios::binary);
    std::istream* stream = name == "-" ? fleet_.in : &file;
    if (stream && *stream)
        text.assign(std::istreambuf_iterator<char>(*stream), {});
    if (!stream || stream->bad() || (name != "-" && !file.is_open())) {
        err_ << "blackmark: " << name << ": cannot be read" << std::endl;
        return false;
    }
    return true;
}

int BlackmarkCommandLine::profile(const CommandLineOptions& options)
{
    const std::vector<std::string>& words = options.words();
    if (words.size() != 3 || words[1] != "check")
        return badInput("profile takes check FILE");
    std::string text, refusal;
    if (!readInput(words[2], text))
        return BadInput;
    const std::optional<Profile> profile = Profile::read(text, words[2], refusal);
    if (!profile) {
        err_ << "blackmark: " << refusal << std::endl;
        return BadInput;
    }
    for (const std::string& note : profile->notes)
        err_ << "blackmark: " << note << std::endl;
    for (const Profile::Command& command : profile->commands)
        out_ << command.what << ": " << command.hexText << '\n';
    out_ << std::flush;
    return Sent;
}

int BlackmarkCommandLine::apply(const CommandLineOptions& options)
{
    ApplyWords given;
    if (const std::string refusal = readApplyWords(options.words(), given); !refusal.empty())
        return badInput(refusal);
    const std::optional<int> jobs = given.jobs.empty()
                                        ? FleetRun::DefaultJobs
                                        : wholeNumberWithin(given.jobs, 1, FleetRun::MostJobs);
    if (!jobs)
        return badInput("--jobs takes a count from 1 to 256, not \"" + given.jobs + "\"");
    const bool listed = !given.printers.empty();
    if (listed && (options.isSet("port") || options.isSet("ip") || options.isSet("driver")))
        return badInput("--printers names the printers: give no --port, --ip or --driver with it");
    if (given.profile == "-" && given.printers == "-")
        return badInput("the profile and the printers cannot both come from standard input");

    std::string text, refusal;
    if (!readInput(given.profile, text))
        return BadInput;
    const std::optional<Profile> profile = Profile::read(text, given.profile, refusal);
    if (!profile) {
        err_ << "blackmark: " << refusal << std::endl;
        return BadInput;
    }
    std::vector<FleetPrinter> printers;
    if (listed) {
        if (!readInput(given.printers, text))
            return BadInput;
        auto list = PrinterList::read(text, given.printers, devicePaths_, refusal);
        if (!list) {
            err_ << "blackmark: " << refusal << std::endl;
            return BadInput;
        }
        printers = std::move(*list);
    } else {
        FleetPrinter one;
        if (refusal = readPort(options, one.port); !refusal.empty())
            return badInput(refusal);
        one.text =
            one.port.portText +
            (portKindOf(one.port.portText) == PortKind::Network  ? " " + one.port.networkAddress
             : portKindOf(one.port.portText) == PortKind::Driver ? " " + one.port.driverName
                                                                 : "");
        printers.push_back(one);
    }
    for (const std::string& note : profile->notes)
        err_ << "blackmark: " << note << std::endl;
    if (options.isSet("dry-run")) {
        // The one document each printer would get; nothing is opened.
        out_ << profile->documentHexText() << std::endl;
        return Sent;
    }

    const auto progress = [&](std::size_t done) {
        if (fleet_.errorIsTerminal)
            err_ << "\rapply: " << done << " of " << printers.size() << " done" << std::flush;
    };
    const auto told = [&](const FleetRun::Finished& finished) { progress(finished.count); };
    std::vector<PrinterOutcome> outcomes;
    if (fleet_.makeSdk) {
        outcomes = FleetRun::run(*profile, printers, fleet_.makeSdk, *jobs, given.force, told);
    } else {
        for (const FleetPrinter& printer : printers) {
            outcomes.push_back(FleetRun::applyTo(*profile, printer.port, sdk_, given.force));
            progress(outcomes.size());
        }
    }
    if (fleet_.errorIsTerminal)
        err_ << std::endl;
    out_ << (given.json || options.isSet("json") ? FleetReport::json(printers, outcomes)
                                                 : FleetReport::text(printers, outcomes))
         << std::flush;
    return FleetReport::exitCode(outcomes);
}
