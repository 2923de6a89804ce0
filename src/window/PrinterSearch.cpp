#include "PrinterSearch.h"

#include "AddressRange.h"
#include "FrmTestModel.h"

#include <algorithm>
#include <sstream>

namespace
{

bool mayBeSearched(std::uint32_t address)
{
    std::string refusal;
    return !Discovery::addressesOf({ipv4Text(address)}, refusal).empty();
}

// Ranges apart by spaces, commas or semicolons, as people paste them.
std::vector<std::string> rangesIn(const std::string& text)
{
    std::string spaced = text;
    std::replace_if(
        spaced.begin(), spaced.end(), [](char c) { return c == ',' || c == ';'; }, ' ');
    std::istringstream words(spaced);
    std::vector<std::string> ranges;
    for (std::string word; words >> word;)
        ranges.push_back(word);
    return ranges;
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

PrinterSearch::PrinterSearch(PrinterSearchView& view, FrmTestModel& window, UserMessages& messages,
                             OwnAddresses ownAddresses, Settings settings)
    : view_(view), window_(window), messages_(messages), ownAddresses_(std::move(ownAddresses)),
      settings_(std::move(settings))
{
}

PrinterSearch::~PrinterSearch()
{
    stop_ = true;
    if (worker_.joinable())
        worker_.join();
}

std::string PrinterSearch::ownRanges(const std::vector<std::uint32_t>& addresses)
{
    std::vector<std::string> ranges;
    for (std::uint32_t address : addresses) {
        const std::string range = ipv4Text(address & 0xFFFFFF00u) + "/24";
        if (mayBeSearched(address) &&
            std::find(ranges.begin(), ranges.end(), range) == ranges.end())
            ranges.push_back(range);
    }
    std::string text;
    for (const std::string& range : ranges)
        text += (text.empty() ? "" : ", ") + range;
    return text;
}

void PrinterSearch::open()
{
    view_.setRangesText(ownRanges(ownAddresses_()));
    view_.setProgress(0, 0);
    view_.setSearching(false);
}

void PrinterSearch::find()
{
    if (searching())
        return;
    const std::vector<std::string> ranges = rangesIn(view_.rangesText());
    std::string refusal =
        ranges.empty() ? "the search needs at least one address, block or range" : std::string();
    const std::vector<std::uint32_t> addresses =
        ranges.empty() ? std::vector<std::uint32_t>() : Discovery::addressesOf(ranges, refusal);
    if (!refusal.empty()) {
        messages_.show({refusal, Title, UserMessage::Icon::Error, ""});
        return;
    }
    total_ = addresses.size();
    rowHosts_.clear();
    rowAddresses_.clear();
    shared_ = Shared();
    stop_ = false;
    wakePending_ = false;
    view_.clearRows();
    view_.setProgress(0, total_);
    view_.setSummary("Trying " + std::to_string(total_) +
                     (total_ == 1 ? " address" : " addresses") + "…");
    view_.setSearching(true);
    worker_ = std::thread([this, addresses] { search(addresses); });
}

void PrinterSearch::search(std::vector<std::uint32_t> addresses)
{
    Discovery::Progress progress;
    progress.stop = &stop_;
    progress.tried = [this](std::size_t tried) {
        {
            const std::lock_guard lock(mutex_);
            shared_.tried = tried;
        }
        tell();
    };
    progress.found = [this](const Discovery::Host& host) {
        const std::lock_guard lock(mutex_);
        shared_.found.push_back(host);
    };
    Discovery::Report report =
        Discovery::run(addresses, settings_.port, settings_.jobs, settings_.makePort, progress);
    {
        const std::lock_guard lock(mutex_);
        shared_.report = std::move(report);
        shared_.done = true;
    }
    wakePending_ = true;
    view_.wake();
}

// One wake at a time is enough: showProgress takes everything that came since.
void PrinterSearch::tell()
{
    if (!wakePending_.exchange(true))
        view_.wake();
}

void PrinterSearch::showProgress()
{
    if (!worker_.joinable())
        return;
    wakePending_ = false;
    Shared now;
    {
        const std::lock_guard lock(mutex_);
        now.tried = shared_.tried;
        now.found.swap(shared_.found);
        now.done = shared_.done;
        if (now.done)
            now.report = shared_.report;
    }
    for (const Discovery::Host& host : now.found) {
        const auto at = std::lower_bound(rowHosts_.begin(), rowHosts_.end(), host.address);
        const std::size_t index = std::size_t(at - rowHosts_.begin());
        const PrinterSearchRow row = rowOf(host);
        rowHosts_.insert(at, host.address);
        rowAddresses_.insert(rowAddresses_.begin() + std::ptrdiff_t(index), row.address);
        view_.insertRow(index, row);
    }
    view_.setProgress(now.tried, total_);
    if (!now.done)
        return;
    worker_.join();
    finish(now.report);
    view_.setSummary((stop_ ? "Stopped: " : "") + now.report.summary());
    view_.setSearching(false);
}

void PrinterSearch::finish(const Discovery::Report& report)
{
    window_.setFoundPrinters(linesOf(report.lines()));
}

void PrinterSearch::stop()
{
    stop_ = true;
}

void PrinterSearch::close()
{
    stop_ = true;
    if (!worker_.joinable())
        return;
    worker_.join();
    // What was found before the close is kept for the window; the view hears no more.
    finish(shared_.report);
}

void PrinterSearch::choose(std::size_t row)
{
    if (row < rowAddresses_.size())
        window_.chooseNetworkPrinter(rowAddresses_[row]);
}

std::string PrinterSearch::addressText(std::uint32_t address) const
{
    // The address box takes the raw printing port as read when none is written.
    return settings_.port == PortNames::RawPrintingPort
               ? ipv4Text(address)
               : ipv4Text(address) + ':' + std::to_string(settings_.port);
}

PrinterSearchRow PrinterSearch::rowOf(const Discovery::Host& host) const
{
    PrinterSearchRow row{addressText(host.address), "", ""};
    if (host.maker)
        row.makerAndModel = *host.maker + (host.model ? " " + *host.model : "");
    // In the words of the host's comment, without the maker and model.
    if (host.answeredNothing)
        row.state = "answers nothing";
    else if (!host.failure.empty())
        row.state = "took the connection, then " + host.failure;
    else
        row.state = host.status.line();
    return row;
}
