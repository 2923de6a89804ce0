#pragma once

#include "Discovery.h"
#include "PortNames.h"
#include "PrinterSearchView.h"
#include "UserMessages.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class FrmTestModel;

// The dialog that finds printers on this computer's networks: the ranges to try, checked as
// discover checks them, a search on a thread of its own that fills the list as printers
// answer, and the printer chosen from it put into the window's port controls.
class PrinterSearch
{
public:
    using OwnAddresses = std::function<std::vector<std::uint32_t>()>;

    struct Settings {
        Discovery::PortMaker makePort;
        std::uint16_t port = PortNames::RawPrintingPort;
        int jobs = Discovery::DefaultJobs;
    };

    static constexpr const char* Title = "Find printers on the network";

    PrinterSearch(PrinterSearchView& view, FrmTestModel& window, UserMessages& messages,
                  OwnAddresses ownAddresses, Settings settings);
    // Stops a search that still runs and waits for it.
    ~PrinterSearch();
    PrinterSearch(const PrinterSearch&) = delete;
    PrinterSearch& operator=(const PrinterSearch&) = delete;

    // The /24 of each private, loopback or link-local address, each once, in the order given.
    static std::string ownRanges(const std::vector<std::uint32_t>& addresses);

    // Before the dialog is first shown: the ranges are this computer's own networks.
    void open();
    void find();
    // No address is started after this; the ones under way end within their bounds.
    void stop();
    // On the view's thread, after wake(): what the search found since the last call.
    void showProgress();
    // The row's printer becomes the window's port: ETHERNET at its address.
    void choose(std::size_t row);
    // Before the view goes: stops the search and waits for it, so that nothing calls back.
    void close();

    bool searching() const { return worker_.joinable(); }

private:
    struct Shared {
        std::size_t tried = 0;
        std::vector<Discovery::Host> found;
        bool done = false;
        Discovery::Report report;
    };

    void search(std::vector<std::uint32_t> addresses);
    void tell();
    void finish(const Discovery::Report& report);
    std::string addressText(std::uint32_t address) const;
    PrinterSearchRow rowOf(const Discovery::Host& host) const;

    PrinterSearchView& view_;
    FrmTestModel& window_;
    UserMessages& messages_;
    OwnAddresses ownAddresses_;
    Settings settings_;

    std::vector<std::uint32_t> rowHosts_; // in address order, as the rows
    std::vector<std::string> rowAddresses_;
    std::size_t total_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> wakePending_{false};
    std::mutex mutex_;
    Shared shared_;
    std::thread worker_;
};
