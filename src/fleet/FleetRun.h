#pragma once

#include "PrinterList.h"
#include "Profile.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class PrinterSdk;

// What became of one printer of a run.
struct PrinterOutcome {
    enum class Result { Set, Failed, Skipped };
    enum class LayoutCheck { NotAsked, Verified, Differs, Unreadable };

    Result result = Result::Failed;
    std::string maker, model; // empty when the printer did not say
    std::string reason;       // why it failed or was skipped; what the check found
    LayoutCheck layout = LayoutCheck::NotAsked;
    double seconds = 0;
};

// Sets a profile on printers: each asked first whether it can print and who it is where its
// port can answer, then sent the whole profile as one document, then asked for its paper
// layout where the profile sets one.
namespace FleetRun
{

inline constexpr int DefaultJobs = 16;
inline constexpr int MostJobs = 256;

// A printer SDK of its own for each printer at work: an SDK holds one open port at a time.
using SdkMaker = std::function<std::unique_ptr<PrinterSdk>()>;

PrinterOutcome applyTo(const Profile& profile, const PortSettings& port, PrinterSdk& sdk,
                       bool force);

// One printer done: how many are done with it, which of the list it was, what became of it.
struct Finished {
    std::size_t count;
    std::size_t index;
    const PrinterOutcome& outcome;
};
using Progress = std::function<void(const Finished&)>;

inline constexpr const char* NotStartedReason = "not started: the run was stopped";

// Every printer, at most `jobs` at a time, the outcomes in the list's order. `done` is called
// after each, from the thread that finished it, one call at a time. Once `stop` is set, the
// printers not yet begun are skipped as not started; those at work end within their bounds.
std::vector<PrinterOutcome> run(const Profile& profile, const std::vector<FleetPrinter>& printers,
                                const SdkMaker& makeSdk, int jobs, bool force, const Progress& done,
                                const std::atomic<bool>* stop = nullptr);

} // namespace FleetRun
