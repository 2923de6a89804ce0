#pragma once

#include "FleetRunThread.h"
#include "PortNames.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class ApplyProfileView;
class FileChooser;
class UserMessages;

// The dialog of File ▸ Apply a profile to printers…, whatever draws it: a profile set on many
// printers by the same run as `apply`, off the window's thread, each printer's row shown as it
// finishes, and the report saved as `apply --json` writes it.
class ApplyProfileModel
{
public:
    // What the dialog holds when Apply is pressed.
    struct Request {
        enum class Printers { ListFile, Pasted, Found };
        std::string profilePath;
        Printers printers = Printers::ListFile;
        std::string listPath;
        std::string pastedLines;
        std::string jobs = std::to_string(FleetRun::DefaultJobs);
        bool force = false;
    };

    // `wake` is called on the run's thread when there is news: the view then calls deliver()
    // on its own thread. `found` is the last search's printers.
    ApplyProfileModel(ApplyProfileView& view, UserMessages& messages, FileChooser& files,
                      FleetRun::SdkMaker makeSdk, const PortNames::DevicePathStyle& paths,
                      std::vector<std::string> found, std::function<void()> wake);
    // Closing the dialog during a run stops it and waits for the printers at work.
    ~ApplyProfileModel();
    ApplyProfileModel(const ApplyProfileModel&) = delete;
    ApplyProfileModel& operator=(const ApplyProfileModel&) = delete;

    // Starts a run; false, with one box saying why, when the input is refused. Nothing is sent
    // to anyone then.
    bool apply(const Request& request);
    // The printers not yet begun are not started; those at work end within their bounds.
    void stop();
    // Shows what finished since the last call; on the window's thread.
    void deliver();
    bool running() const { return run_ && !over_; }

    // Asks where, and writes the report of the last run as `apply --json` does.
    void saveReport();
    // The report of the last run, as `apply --json` writes it; empty before one is over.
    std::string report() const;

    // Asks for a file and gives its path, for the dialog's Browse buttons.
    std::optional<std::string> browseProfile();
    std::optional<std::string> browseList();

    static constexpr const char* Title = "Apply a profile to printers";
    static constexpr const char* RefusedTitle = "error";
    static constexpr const char* PastedName = "pasted lines";
    static constexpr const char* FoundName = "printers found";

private:
    bool readPrinters(const Request& request, std::vector<FleetPrinter>& printers);
    void refuse(const std::string& text);

    ApplyProfileView& view_;
    UserMessages& messages_;
    FileChooser& files_;
    FleetRun::SdkMaker makeSdk_;
    const PortNames::DevicePathStyle& paths_;
    std::vector<std::string> found_;
    std::function<void()> wake_;

    std::vector<FleetPrinter> printers_;
    std::unique_ptr<FleetRunThread> run_;
    std::size_t shown_ = 0;
    bool over_ = false;
    std::vector<PrinterOutcome> outcomes_;
};
