#include "ApplyProfileModel.h"

#include "ApplyProfileView.h"
#include "FileChooser.h"
#include "FleetReport.h"
#include "PrinterList.h"
#include "TextFiles.h"
#include "UserMessages.h"

#include <charconv>

namespace
{

std::optional<int> jobsOf(const std::string& text)
{
    int jobs = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || jobs < 1 ||
        jobs > FleetRun::MostJobs)
        return std::nullopt;
    return jobs;
}

} // namespace

ApplyProfileModel::ApplyProfileModel(ApplyProfileView& view, UserMessages& messages,
                                     FileChooser& files, FleetRun::SdkMaker makeSdk,
                                     const PortNames::DevicePathStyle& paths,
                                     std::vector<std::string> found, std::function<void()> wake)
    : view_(view), messages_(messages), files_(files), makeSdk_(std::move(makeSdk)), paths_(paths),
      found_(std::move(found)), wake_(std::move(wake))
{
    view_.showRunning(false, false);
    view_.showProgress(0, 0);
}

ApplyProfileModel::~ApplyProfileModel() = default; // the run's own end stops and waits

void ApplyProfileModel::refuse(const std::string& text)
{
    messages_.show({text, RefusedTitle, UserMessage::Icon::Error, {}});
}

bool ApplyProfileModel::readPrinters(const Request& request, std::vector<FleetPrinter>& printers)
{
    std::string text, name, refusal;
    switch (request.printers) {
    case Request::Printers::ListFile:
        name = request.listPath;
        if (name.empty()) {
            refuse("Choose the list of printers.");
            return false;
        }
        if (!TextFiles::read(name, text)) {
            refuse(name + ": cannot be read");
            return false;
        }
        break;
    case Request::Printers::Pasted:
        name = PastedName;
        text = request.pastedLines;
        break;
    case Request::Printers::Found:
        if (found_.empty()) {
            refuse("No printers have been found yet: search for them first, with Printer > "
                   "Find printers on the network.");
            return false;
        }
        name = FoundName;
        for (const std::string& line : found_)
            text += line + "\n";
        break;
    }
    auto list = PrinterList::read(text, name, paths_, refusal);
    if (!list) {
        refuse(refusal);
        return false;
    }
    printers = std::move(*list);
    return true;
}

bool ApplyProfileModel::apply(const Request& request)
{
    if (running())
        return false;
    std::string text, refusal;
    if (request.profilePath.empty()) {
        refuse("Choose a profile.");
        return false;
    }
    if (!TextFiles::read(request.profilePath, text)) {
        refuse(request.profilePath + ": cannot be read");
        return false;
    }
    std::optional<Profile> profile = Profile::read(text, request.profilePath, refusal);
    if (!profile) {
        refuse(refusal);
        return false;
    }
    std::vector<FleetPrinter> printers;
    if (!readPrinters(request, printers))
        return false;
    const std::optional<int> jobs = jobsOf(request.jobs);
    if (!jobs) {
        refuse("Jobs takes a count from 1 to " + std::to_string(FleetRun::MostJobs) + ", not \"" +
               request.jobs + "\".");
        return false;
    }
    run_.reset(); // the last run is over: its thread has ended
    printers_ = std::move(printers);
    outcomes_.clear();
    shown_ = 0;
    over_ = false;
    view_.clearRows();
    view_.showProgress(0, printers_.size());
    view_.showRunning(true, false);
    run_ = std::make_unique<FleetRunThread>(std::move(*profile), printers_, makeSdk_, *jobs,
                                            request.force, wake_);
    return true;
}

void ApplyProfileModel::stop()
{
    if (run_)
        run_->stop();
}

void ApplyProfileModel::deliver()
{
    if (!run_ || over_)
        return;
    // Over is asked first, so that no row finished before it is left behind.
    const bool over = run_->over();
    for (const FleetRunThread::Row& row : run_->take()) {
        view_.addRow(FleetReport::cells(printers_[row.index], row.outcome));
        view_.showProgress(++shown_, printers_.size());
    }
    if (!over)
        return;
    over_ = true;
    outcomes_ = run_->outcomes();
    view_.showRunning(false, true);
}

std::string ApplyProfileModel::report() const
{
    return over_ ? FleetReport::json(printers_, outcomes_) : std::string();
}

void ApplyProfileModel::saveReport()
{
    if (!over_)
        return;
    const std::optional<std::string> path =
        files_.savePath({"Save report", "Reports (*.json)", "*.json", "report.json"});
    if (path && !TextFiles::write(*path, report()))
        refuse(*path + ": cannot be written");
}

std::optional<std::string> ApplyProfileModel::browseProfile()
{
    return files_.openPath({"Profile", "Profiles (*.toml)", "*.toml", {}});
}

std::optional<std::string> ApplyProfileModel::browseList()
{
    return files_.openPath({"List of printers", "Lists of printers (*.txt)", "*.txt", {}});
}
