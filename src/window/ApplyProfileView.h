#pragma once

#include <array>
#include <cstddef>
#include <string>

// What the apply dialog's model asks of a dialog on any toolkit.
class ApplyProfileView
{
public:
    virtual ~ApplyProfileView() = default;

    // While a run is at work, Apply and the inputs are off and Stop is on; Save report… is on
    // once a run is over.
    virtual void showRunning(bool running, bool reportReady) = 0;
    virtual void showProgress(std::size_t done, std::size_t total) = 0;
    virtual void clearRows() = 0;
    // One printer done: printer, maker and model, result, reason, time.
    virtual void addRow(const std::array<std::string, 5>& cells) = 0;
};
