#pragma once

#include "PrinterAnswers.h"
#include "PrinterPort.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

// The search for printers on a network: every address of the ranges is tried on the raw
// printing port, and each host that takes the connection is asked, on it, who it is and
// whether it can print.
namespace Discovery
{

constexpr std::size_t MostAddresses = 4096;
constexpr int DefaultJobs = 64;
constexpr int MostJobs = 256;
constexpr int DefaultTimeoutMs = 1000;

// The addresses of the ranges, each once, in address order; empty with `refusal` set when a
// range cannot be read, leaves loopback, the private blocks and link-local, or there are more
// than MostAddresses.
std::vector<std::uint32_t> addressesOf(const std::vector<std::string>& ranges,
                                       std::string& refusal);

// A host that took the connection.
struct Host {
    std::uint32_t address = 0;
    std::optional<std::string> maker, model;
    PrinterStatus status;
    bool answeredNothing = false;
    std::string failure; // the connection failed after it was taken

    // "ACME LX-500, ready to print", "answers nothing", ...
    std::string comment() const;
};

struct Report {
    std::uint16_t port = 0;
    std::vector<Host> found; // in address order
    std::size_t tried = 0;
    std::int64_t elapsedMs = 0;

    // One line per host, as a list of printers takes it: "ETHERNET 10.0.0.5:9100  # ...".
    std::string lines() const;
    nlohmann::json json() const;
    // "254 addresses tried, 200 took a connection, in 1.3 s"
    std::string summary() const;
};

// A port for one host; the connect bound is the maker's.
using PortMaker = std::function<std::unique_ptr<PrinterPort>()>;

// What a search tells while it runs, one call at a time, from its workers' threads.
struct Progress {
    std::function<void(std::size_t tried)> tried; // after each address
    std::function<void(const Host&)> found;       // each host that took the connection
    // Once set, no address is started; the ones under way end within their bounds.
    const std::atomic<bool>* stop = nullptr;
};

// At most `jobs` hosts are tried at once, each on a port of its own. A report of a stopped
// search holds the addresses tried before the stop.
Report run(const std::vector<std::uint32_t>& addresses, std::uint16_t port, int jobs,
           const PortMaker& makePort, const Progress& progress = {});

} // namespace Discovery
