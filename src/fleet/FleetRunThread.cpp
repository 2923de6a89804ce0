#include "FleetRunThread.h"

FleetRunThread::FleetRunThread(Profile profile, std::vector<FleetPrinter> printers,
                               FleetRun::SdkMaker makeSdk, int jobs, bool force,
                               std::function<void()> wake)
{
    thread_ = std::thread([this, profile = std::move(profile), printers = std::move(printers),
                           makeSdk = std::move(makeSdk), jobs, force, wake = std::move(wake)] {
        const auto told = [&](const FleetRun::Finished& done) {
            {
                const std::lock_guard lock(mutex_);
                finished_.push_back({done.index, done.outcome});
            }
            wake();
        };
        std::vector<PrinterOutcome> outcomes =
            FleetRun::run(profile, printers, makeSdk, jobs, force, told, &stop_);
        {
            const std::lock_guard lock(mutex_);
            outcomes_ = std::move(outcomes);
            over_ = true;
        }
        wake();
    });
}

FleetRunThread::~FleetRunThread()
{
    stop();
    thread_.join();
}

std::vector<FleetRunThread::Row> FleetRunThread::take()
{
    const std::lock_guard lock(mutex_);
    return std::exchange(finished_, {});
}

bool FleetRunThread::over() const
{
    const std::lock_guard lock(mutex_);
    return over_;
}

std::vector<PrinterOutcome> FleetRunThread::outcomes() const
{
    const std::lock_guard lock(mutex_);
    return outcomes_;
}
