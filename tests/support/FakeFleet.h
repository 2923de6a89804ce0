#pragma once

#include "RecordingPrinterSdk.h"

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>

// Printers that answer as a real one does, each by the name its port opens with, shared by
// every SDK of a run.
struct FakeFleet {
    struct Printer {
        std::uint8_t status[4] = {0x12, 0x12, 0x12, 0x12};
        bool opens = true, answers = true;
        std::string heldLayout; // the FS ( L answer, as set
        std::string written;
        bool hangs = false; // its open waits until the test lets it go
    };
    std::mutex mutex;
    std::condition_variable released;
    bool letGo = false;
    std::map<std::string, Printer> printers;
    int active = 0, mostActive = 0;
    bool heldUp = false; // a hanging printer was let go only when its bound passed
};

class FakeFleetSdk : public RecordingPrinterSdk
{
public:
    explicit FakeFleetSdk(FakeFleet& fleet) : fleet_(fleet) {}
    std::int32_t POS_Open(const std::string& name, std::int32_t, std::int32_t, std::int32_t,
                          std::int32_t, std::int32_t) override
    {
        std::unique_lock lock(fleet_.mutex);
        printer_ = &fleet_.printers[name];
        if (printer_->hangs &&
            !fleet_.released.wait_for(lock, std::chrono::seconds(20), [&] { return fleet_.letGo; }))
            fleet_.heldUp = true;
        if (!printer_->opens)
            return -1; // never closed, so never counted as open
        fleet_.mostActive = std::max(fleet_.mostActive, ++fleet_.active);
        return 7;
    }
    std::int32_t POS_Close() override
    {
        const std::lock_guard lock(fleet_.mutex);
        --fleet_.active;
        return 1;
    }
    std::int32_t POS_WriteFile(std::int32_t, const char* data, std::int32_t count) override
    {
        const std::string bytes(data, std::size_t(count));
        const std::lock_guard lock(fleet_.mutex);
        printer_->written += bytes;
        if (!printer_->answers)
            return count;
        if (bytes.starts_with("\x10\x04"))
            answers.push_back(std::string(1, char(printer_->status[bytes[2] - 1])));
        else if (bytes == "\x1D\x49\x02")
            answers.push_back("\x02");
        else if (bytes.starts_with("\x1D\x49"))
            answers.push_back("\x5F" +
                              std::string(bytes[2] == 0x42   ? "MAKER"
                                          : bytes[2] == 0x43 ? "MODEL"
                                                             : "1.0") +
                              '\0');
        else if (bytes == std::string("\x1C\x28\x4C\x02\x00\x22\x40", 7))
            answers.push_back(printer_->heldLayout);
        return count;
    }

private:
    FakeFleet& fleet_;
    FakeFleet::Printer* printer_ = nullptr;
};
