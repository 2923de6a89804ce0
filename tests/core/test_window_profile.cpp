#include "ApplyProfileModel.h"
#include "ApplyProfileView.h"
#include "FakeFleet.h"
#include "FileChooser.h"
#include "FleetReport.h"
#include "FrmTestModel.h"
#include "FrmTestView.h"
#include "HexCommandText.h"
#include "PaperLayoutModel.h"
#include "ProfileFiles.h"
#include "RecordingUserMessages.h"
#include "TextFiles.h"

#include <algorithm>
#include <doctest/doctest.h>
#include <filesystem>
#include <map>
#include <random>

using FrmTestLayout::control;
using FrmTestLayout::Handler;

namespace
{

// Keeps the texts and choices that the model sets; a distance box's change reaches the model as
// the toolkits' windows hand it on.
class BoxesView : public FrmTestView
{
public:
    FrmTestModel* model = nullptr;

    void addItem(const Control& list, const std::string& text) override
    {
        items[&list].push_back(text);
    }
    void selectItem(const Control& list, int index) override
    {
        selected[&list] = index;
        texts[&list] = items[&list].at(std::size_t(index));
    }
    int selectedIndex(const Control& list) const override { return selected.at(&list); }
    int itemCount(const Control& list) const override
    {
        return items.count(&list) ? int(items.at(&list).size()) : 0;
    }
    void setText(const Control& control, const std::string& text) override
    {
        texts[&control] = text;
        if (model && control.name == "Text2")
            model->Text2_Change(control.index);
    }
    std::string text(const Control& control) const override
    {
        return texts.count(&control) ? texts.at(&control) : std::string();
    }
    void setEnabled(const Control&, bool) override {}
    void unload() override {}

    std::map<const Control*, std::vector<std::string>> items;
    std::map<const Control*, int> selected;
    std::map<const Control*, std::string> texts;
};

// Answers each question with the next path given, and nothing once they are used up.
class AnsweringFiles : public FileChooser
{
public:
    std::optional<std::string> openPath(const Question& question) override
    {
        return next(question);
    }
    std::optional<std::string> savePath(const Question& question) override
    {
        return next(question);
    }
    std::optional<std::string> next(const Question& question)
    {
        asked.push_back(question.title);
        if (answers.empty())
            return std::nullopt;
        std::string path = answers.front();
        answers.erase(answers.begin());
        return path;
    }
    std::vector<std::string> answers, asked;
};

struct Window {
    BoxesView view;
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    AnsweringFiles files;
    FrmTestModel model{view, sdk, messages, [] { return std::vector<std::string>{}; }};
    Window()
    {
        view.model = &model;
        model.Form_Load();
    }

    std::vector<std::string> boxes() const
    {
        std::vector<std::string> texts;
        for (int row = 0; row < 6; ++row)
            texts.push_back(view.text(control("Text2", row)));
        texts.push_back(std::to_string(view.selectedIndex(control("Combo4"))));
        return texts;
    }
    void press(Handler handler, int row = -1, const std::string& text = {})
    {
        if (row >= 0)
            view.setText(control("Text2", row), text);
        model.run(handler);
    }
};

struct TempFolder {
    // A name of its own each time: a run that died may have left its folder behind.
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("blackmark-profile-" + std::to_string(std::random_device()()));
    TempFolder()
    {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name, const std::string& text = {}) const
    {
        const std::string at = (path / name).string();
        if (!text.empty())
            TextFiles::write(at, text);
        return at;
    }
};

std::string bytesOf(std::string hex)
{
    const HexEncoding encoded = encodeHexCommandText(hex);
    return std::string(encoded.bytes.begin(), encoded.bytes.end());
}

} // namespace

TEST_CASE("a profile fills the boxes and the paper layout it gives; a bad one changes nothing")
{
    const TempFolder folder;
    struct Row {
        const char* profile;
        std::vector<std::string> boxes; // six boxes, then the on/off entry
        const char* refusal;
    };
    // The backfeed of the print start and the feed of the cut as typed before: a profile's
    // distance sets both boxes of its setting.
    const std::vector<std::string> atLoad{"300", "10", "0", "7", "7", "0", "0"};
    const Row rows[] = {
        {"[black-mark]\nmark-width = 3.5\npaper-width = \"80mm\"\nprint-start = 2.5\n"
         "cut-position = -1.25\nfunction = \"on\"\n",
         {"3.5", "80", "2.5", "0", "0", "1.25", "1"},
         nullptr},
        {"[black-mark]\nprint-start = \"-0\"\ncut-position = 12\n",
         {"300", "10", "0", "0", "12", "0", "0"},
         nullptr},
        {"[paper-layout]\npaper = \"label\"\npitch = 40\n", atLoad, nullptr},
        {"[black-mark]\nmark-width = 3\nfunction = \"maybe\"\n", atLoad,
         ":3:12: function takes \"on\" or \"off\""},
        {"[black-mark]\nmark-width = 5000\n", atLoad, ":2:14: mark-width \"5000\" is out of range"},
    };
    for (const Row& row : rows) {
        CAPTURE(row.profile);
        Window w;
        w.model.paperLayoutValues().pitch = "100";
        w.view.setText(control("Text2", 3), "7");
        w.view.setText(control("Text2", 4), "7");
        const std::string path = folder.file("shop.toml", row.profile);
        w.files.answers = {path};
        ProfileFiles::open(w.model, w.files, w.messages);
        CHECK(w.boxes() == row.boxes);
        CHECK(w.sdk.calls.empty());
        if (row.refusal) {
            REQUIRE(w.messages.shown.size() == 1);
            CHECK(w.messages.shown[0].text.starts_with(path + row.refusal));
            CHECK(w.model.paperLayoutValues().pitch == "100");
        } else {
            CHECK(w.messages.shown.empty());
        }
    }
    Window w;
    w.files.answers = {folder.file("shop.toml", "[paper-layout]\npaper = \"label\"\npitch = 40\n"
                                                "print-start = \"-2.5mm\"\nbottom = 1\n"
                                                "with-marks = true\nsave = true\n")};
    ProfileFiles::open(w.model, w.files, w.messages);
    const PaperLayoutValues& layout = w.model.paperLayoutValues();
    CHECK(layout.kind == PaperLayout::Kind::MarkedLabels);
    CHECK(std::vector<std::string>{layout.pitch, layout.printStart, layout.cut, layout.bottom} ==
          std::vector<std::string>{"40", "-2.5", "", "1"});
    CHECK(layout.keepAfterPowerOff);
    // The preview takes of each pair the box that the profile filled with its distance.
    w.files.answers = {folder.file("shop.toml", "[black-mark]\nprint-start = 2.5\n"
                                                "cut-position = -1.25\n")};
    ProfileFiles::open(w.model, w.files, w.messages);
    const std::vector<std::string> values = w.model.paperPreview().geometry().values;
    CHECK(std::count_if(values.begin(), values.end(), [](const std::string& line) {
              return line.starts_with("Print start: feed 2.5 mm") ||
                     line.starts_with("Cut: backfeed 1.25 mm");
          }) == 2);
    w.files.answers = {folder.file("missing.toml")};
    ProfileFiles::open(w.model, w.files, w.messages);
    ProfileFiles::open(w.model, w.files, w.messages); // no path given: nothing happens
    REQUIRE(w.messages.shown.size() == 1);
    CHECK(w.messages.shown[0].text == folder.file("missing.toml") + ": cannot be read");
}

TEST_CASE("a run's presses saved as a profile give the commands the printer took")
{
    const TempFolder folder;
    Window w;
    ProfileFiles::save(w.model, w.files, w.messages);
    REQUIRE(w.messages.shown.size() == 1);
    CHECK(w.messages.shown[0].text == ProfileFiles::NothingSentText);
    CHECK(w.files.asked.empty());

    w.press(Handler::Command1_Click, 0, "3.5");
    w.press(Handler::Command3_Click, 2, "2");
    w.press(Handler::Command4_Click, 3, "1.06"); // backfeed wins over the feed before it
    w.press(Handler::Command7_Click, 5, "0");
    w.sdk.openResult = -1;
    w.press(Handler::Command6_Click, 4, "9"); // not sent: the backfeed of 0 stays
    w.press(Handler::Command2_Click, 1, "70");
    w.sdk.openResult = 7;
    w.press(Handler::Command2_Click, 1, "5000"); // refused
    w.view.selectItem(control("Combo4"), 1);
    w.press(Handler::Command5_Click);
    w.press(Handler::Command8_Click); // a test job is no setting
    PaperLayoutValues& layout = w.model.paperLayoutValues();
    layout = {PaperLayout::Kind::MarkedLabels, "40.55", "", "-1.5mm", "2", true};
    const auto set = [&](const PaperLayoutValues& values) { w.model.layoutSet(values); };
    REQUIRE(PaperLayoutModel(layout, w.sdk, w.messages, set).set(w.model.portSettings()));
    layout = {PaperLayout::Kind::None, "", "", "", "", false}; // typed after the set
    const std::string path = folder.file("run.toml");
    w.files.answers = {path};
    ProfileFiles::save(w.model, w.files, w.messages);
    std::string text, refusal;
    REQUIRE(TextFiles::read(path, text));
    const std::optional<Profile> saved = Profile::read(text, path, refusal);
    REQUIRE_MESSAGE(saved, refusal);
    CHECK(saved->notes.empty());
    std::vector<std::string> commands;
    for (const Profile::Command& command : saved->commands)
        commands.push_back(bytesOf(command.hexText));
    const std::vector<std::string>& sent = w.sdk.written;
    REQUIRE(sent.size() == 7);
    CHECK(commands[3] + commands[4] == sent[6]);
    commands.erase(commands.begin() + 3, commands.begin() + 5);
    CHECK(commands == std::vector<std::string>{sent[0], sent[2], sent[3], sent[4]});
    CHECK(w.messages.shown.size() == 4); // nothing to save, two ports, the refused distance
    const std::string nowhere = folder.file("no folder/run.toml");
    w.files.answers = {nowhere};
    ProfileFiles::save(w.model, w.files, w.messages);
    CHECK(w.messages.shown.back().text == nowhere + ": cannot be written");
}

TEST_CASE("the apply dialog: refusals send nothing; a run fills its rows and its report")
{
    struct View : ApplyProfileView {
        void showRunning(bool running, bool ready) override
        {
            states.push_back(std::string(running ? "running" : "idle") + (ready ? "+report" : ""));
        }
        void showProgress(std::size_t done, std::size_t total) override
        {
            progress = std::to_string(done) + "/" + std::to_string(total);
        }
        void clearRows() override { rows.clear(); }
        void addRow(const std::array<std::string, 5>& cells) override { rows.push_back(cells); }
        std::vector<std::string> states;
        std::string progress;
        std::vector<std::array<std::string, 5>> rows;
    };
    const TempFolder folder;
    FakeFleet fleet;
    fleet.printers["127.0.0.3"].opens = false;
    fleet.printers["127.0.0.4"].hangs = true;
    const std::string profile = folder.file("p.toml", "[black-mark]\nfunction = \"on\"\n");
    const std::string list = folder.file("list.txt", "ETHERNET 127.0.0.2\nETHERNET 127.0.0.3\n");
    View view;
    RecordingUserMessages messages;
    AnsweringFiles files;
    std::mutex woken;
    std::condition_variable wake;
    int wakes = 0;
    ApplyProfileModel model(
        view, messages, files, [&] { return std::make_unique<FakeFleetSdk>(fleet); },
        PortNames::PosixDevicePaths, {"ETHERNET 127.0.0.4", "ETHERNET 127.0.0.2  # ACME"},
        [&] {
            const std::lock_guard lock(woken);
            ++wakes;
            wake.notify_all();
        });
    const auto runToEnd = [&] {
        for (int i = 0; i < 200 && model.running(); ++i) {
            std::unique_lock lock(woken);
            wake.wait_for(lock, std::chrono::milliseconds(100), [&] { return wakes > 0; });
            wakes = 0;
            lock.unlock();
            model.deliver();
        }
    };
    using Printers = ApplyProfileModel::Request::Printers;
    const auto ask = [](std::string profile, Printers printers, std::string list,
                        std::string pasted, std::string jobs = "16") {
        return ApplyProfileModel::Request{profile, printers, list, pasted, jobs, false};
    };
    struct Refused {
        ApplyProfileModel::Request request;
        std::string box;
    };
    const Refused refused[] = {
        {ask("", Printers::Pasted, "", "ETHERNET 127.0.0.2"), "Choose a profile."},
        {ask(folder.file("none.toml"), Printers::Pasted, "", "LPT1"), "none.toml: cannot be read"},
        {ask(list, Printers::Pasted, "", "LPT1"), "list.txt:1:10: "},
        {ask(profile, Printers::Pasted, "", "ETHERNET 127.0.0.2\nNOWHERE 1"), "pasted lines:2: "},
        {ask(profile, Printers::Pasted, "", "# none\n"), "pasted lines:1: no printer listed"},
        {ask(profile, Printers::ListFile, "", ""), "Choose the list of printers."},
        {ask(profile, Printers::Pasted, "", "LPT1", "0"),
         "Jobs takes a count from 1 to 256, not \"0\"."},
        {ask(profile, Printers::Pasted, "", "LPT1", "9x"), "not \"9x\"."},
    };
    for (const Refused& row : refused) {
        CAPTURE(row.box);
        messages.shown.clear();
        CHECK_FALSE(model.apply(row.request));
        REQUIRE(messages.shown.size() == 1);
        CHECK_MESSAGE(messages.shown[0].text.find(row.box) != std::string::npos,
                      messages.shown[0].text);
    }
    CHECK(fleet.printers.size() == 2); // no SDK was asked to open anything
    CHECK(model.report().empty());

    ApplyProfileModel::Request request = ask(profile, Printers::ListFile, list, "");
    REQUIRE(model.apply(request));
    CHECK_FALSE(model.apply(request)); // one run at a time
    runToEnd();
    CHECK(view.states == std::vector<std::string>{"idle", "running", "idle+report"});
    CHECK(view.progress == "2/2");
    REQUIRE(view.rows.size() == 2);
    std::map<std::string, std::string> results;
    for (const auto& row : view.rows)
        results[row[0]] = row[1] + " | " + row[2] + " | " + row[3];
    CHECK(results["ETHERNET 127.0.0.2"] == "MAKER MODEL | set | -");
    CHECK(results["ETHERNET 127.0.0.3"] == "- | failed | port not opened: scripted failure");
    const std::string report = folder.file("report.json");
    files.answers = {report};
    model.saveReport();
    std::string saved;
    REQUIRE(TextFiles::read(report, saved));
    CHECK(saved == model.report());
    CHECK(saved.find("\"failed\": 1,\n") != std::string::npos);
    files.answers = {folder.file("no folder/report.json")};
    model.saveReport();
    CHECK(messages.shown.back().text.ends_with("report.json: cannot be written"));

    // Stopped while the first of the found printers hangs: the other is not started.
    request.printers = Printers::Found;
    request.jobs = "1";
    fleet.printers["127.0.0.2"].written.clear();
    REQUIRE(model.apply(request));
    CHECK(view.rows.empty());
    model.stop();
    {
        const std::lock_guard lock(fleet.mutex);
        fleet.letGo = true;
        fleet.released.notify_all();
    }
    runToEnd();
    REQUIRE(view.rows.size() == 2);
    const auto& last = view.rows[0][0] == "ETHERNET 127.0.0.2" ? view.rows[0] : view.rows[1];
    CHECK(last[2] == "skipped");
    CHECK(last[3] == FleetRun::NotStartedReason);
    CHECK(fleet.printers["127.0.0.2"].written.empty());
    ApplyProfileModel unsearched(view, messages, files, {}, PortNames::PosixDevicePaths, {}, [] {});
    CHECK_FALSE(unsearched.apply(request));
    CHECK(messages.shown.back().text.starts_with("No printers have been found yet"));
}
