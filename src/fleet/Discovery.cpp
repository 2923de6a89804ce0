#include "Discovery.h"

#include "AddressRange.h"
#include "AnswerShape.h"
#include "Decimals.h"
#include "ParallelJobs.h"
#include "PrinterEnquiry.h"
#include "PrinterRequests.h"
#include "SystemPrinterSdk.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <nlohmann/json.hpp>

namespace Discovery
{

namespace
{

struct Block {
    std::uint32_t first, last;
};

// Loopback, the private blocks and link-local: nothing else is tried.
constexpr Block AllowedBlocks[] = {
    {0x7F000000, 0x7FFFFFFF}, // 127.0.0.0/8
    {0x0A000000, 0x0AFFFFFF}, // 10.0.0.0/8
    {0xAC100000, 0xAC1FFFFF}, // 172.16.0.0/12
    {0xC0A80000, 0xC0A8FFFF}, // 192.168.0.0/16
    {0xA9FE0000, 0xA9FEFFFF}, // 169.254.0.0/16
};

bool allowed(const AddressRange& range)
{
    return std::any_of(std::begin(AllowedBlocks), std::end(AllowedBlocks), [&](const Block& b) {
        return range.first >= b.first && range.last <= b.last;
    });
}

std::optional<Host> probe(std::uint32_t address, std::uint16_t port, const PortMaker& makePort)
{
    using namespace PrinterRequests;
    SystemPrinterSdk sdk([&makePort](std::int32_t) { return makePort(); });
    PrinterEnquiry enquiry(sdk);
    if (!enquiry.open({"ETHERNET", ipv4Text(address) + ':' + std::to_string(port), "", ""}))
        return std::nullopt;
    Host host;
    host.address = address;
    const auto text = [&](std::uint8_t n) -> std::optional<std::string> {
        const auto answer = enquiry.ask(printerId(n), AnswerShape::textBlock());
        return answer ? std::optional(PrinterIdentity::textOf(*answer)) : std::nullopt;
    };
    const auto status = [&](std::uint8_t n) {
        if (const auto answer = enquiry.ask(realTimeStatus(n), AnswerShape::statusByte()))
            host.status.answers[n - 1] = std::uint8_t((*answer)[0]);
    };
    host.maker = text(IdentityItems[0].n);
    status(1);
    // A host that answers neither question gets no more of them.
    host.answeredNothing = !host.maker && !host.status.answeredAny() && enquiry.failure().empty();
    if (!host.answeredNothing) {
        if (host.maker)
            host.model = text(IdentityItems[1].n);
        for (std::uint8_t n = 2; n <= 4; ++n)
            status(n);
    }
    enquiry.close();
    host.failure = enquiry.failure();
    return host;
}

} // namespace

std::vector<std::uint32_t> addressesOf(const std::vector<std::string>& ranges, std::string& refusal)
{
    std::vector<std::uint32_t> addresses;
    if (ranges.empty())
        refusal = "discover needs at least one address, block or range";
    for (const std::string& text : ranges) {
        const AddressRange range = AddressRange::read(text);
        if (!range.refusal.empty())
            refusal = range.refusal;
        else if (!allowed(range))
            refusal = "\"" + text +
                      "\" is outside what discover may try: loopback 127.0.0.0/8, the private "
                      "blocks 10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16 and link-local "
                      "169.254.0.0/16";
        else if (range.size() + addresses.size() > MostAddresses)
            refusal = "at most " + std::to_string(MostAddresses) + " addresses in one run";
        if (!refusal.empty())
            return {};
        for (std::uint64_t a = range.first; a <= range.last; ++a)
            addresses.push_back(std::uint32_t(a));
    }
    std::sort(addresses.begin(), addresses.end());
    addresses.erase(std::unique(addresses.begin(), addresses.end()), addresses.end());
    return addresses;
}

std::string Host::comment() const
{
    if (answeredNothing)
        return "answers nothing";
    if (!failure.empty())
        return (maker ? *maker : std::string("took the connection")) + ", then " + failure;
    const std::string who =
        maker ? *maker + (model ? " " + *model : "") : "maker and model not answered";
    return who + ", " + status.line();
}

std::string Report::lines() const
{
    std::string text;
    for (const Host& host : found)
        text += "ETHERNET " + ipv4Text(host.address) + ':' + std::to_string(port) + "  # " +
                host.comment() + '\n';
    return text;
}

nlohmann::json Report::json() const
{
    nlohmann::json printers = nlohmann::json::array();
    const auto orNull = [](const std::optional<std::string>& text) {
        return text ? nlohmann::json(*text) : nlohmann::json(nullptr);
    };
    for (const Host& host : found)
        printers.push_back({
            {"address", ipv4Text(host.address)},
            {"port", port},
            {"printer", "ETHERNET " + ipv4Text(host.address) + ':' + std::to_string(port)},
            {"answered", !host.answeredNothing},
            {"maker", orNull(host.maker)},
            {"model", orNull(host.model)},
            {"ready", host.status.ready()},
            {"status",
             host.answeredNothing ? nlohmann::json(nullptr) : nlohmann::json(host.status.line())},
            {"failure",
             host.failure.empty() ? nlohmann::json(nullptr) : nlohmann::json(host.failure)},
            {"comment", host.comment()},
        });
    return {{"printers", printers},
            {"tried", tried},
            {"tookConnection", found.size()},
            {"milliseconds", elapsedMs}};
}

std::string Report::summary() const
{
    const std::string seconds = fixedDecimals(double(elapsedMs) / 1000, 1);
    return std::to_string(tried) + (tried == 1 ? " address" : " addresses") + " tried, " +
           std::to_string(found.size()) + " took a connection, in " + seconds + " s";
}

Report run(const std::vector<std::uint32_t>& addresses, std::uint16_t port, int jobs,
           const PortMaker& makePort, const Progress& progress)
{
    const auto start = std::chrono::steady_clock::now();
    std::vector<std::optional<Host>> hosts(addresses.size());
    std::mutex told;
    std::size_t triedSoFar = 0;
    ParallelJobs::run(addresses.size(), jobs, [&](std::size_t i) {
        if (progress.stop && *progress.stop)
            return;
        hosts[i] = probe(addresses[i], port, makePort);
        const std::lock_guard lock(told);
        ++triedSoFar;
        if (hosts[i] && progress.found)
            progress.found(*hosts[i]);
        if (progress.tried)
            progress.tried(triedSoFar);
    });
    Report report;
    report.port = port;
    report.tried = triedSoFar;
    for (std::optional<Host>& host : hosts) {
        if (host)
            report.found.push_back(std::move(*host));
    }
    report.elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                           std::chrono::steady_clock::now() - start)
                           .count();
    return report;
}

} // namespace Discovery
