#include "AddressRange.h"
#include "FrmTestModel.h"
#include "FrmTestView.h"
#include "PrinterSearch.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <condition_variable>
#include <doctest/doctest.h>
#include <map>

using FrmTestLayout::control;

namespace
{

// What each fake printer was sent, by its address and port. With holdAtFirst, .2 waits in its
// connect until let go, or for a second at most, so that a stop comes while it is under way.
struct Network {
    std::mutex mutex;
    std::map<std::string, std::string> sent;
    std::condition_variable changed;
    bool holdAtFirst = false, held = false, letGo = false;

    void holdIfFirst(int host)
    {
        std::unique_lock lock(mutex);
        if (!holdAtFirst || host != 2)
            return;
        held = true;
        changed.notify_all();
        changed.wait_for(lock, std::chrono::seconds(1), [this] { return letGo; });
    }
    bool waitUntilHeld()
    {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(20), [this] { return held; });
    }
    void release()
    {
        const std::lock_guard lock(mutex);
        letGo = true;
        changed.notify_all();
    }
};

// Printers by the last part of their address: .2 answers everything, .3 answers nothing, .4
// breaks the connection when asked, .5 is out of paper; others refuse.
class FakeNetworkPort : public PrinterPort
{
public:
    explicit FakeNetworkPort(Network& network) : network_(network) {}
    bool open(const PortOpenRequest& request) override
    {
        name_ = request.name;
        host_ = int(readIpv4(name_.substr(0, name_.find(':'))).value_or(0) & 0xFF);
        network_.holdIfFirst(host_);
        return host_ >= 2 && host_ <= 5 ? true : fail("connect to " + name_ + ": refused");
    }
    bool write(const char* data, std::int64_t count) override
    {
        const std::string request(data, std::size_t(count));
        const std::lock_guard lock(network_.mutex);
        network_.sent[name_] += RecordingPrinterSdk::hex(request) + ' ';
        const bool answers = host_ == 2 || host_ == 5, status = request.substr(0, 2) == "\x10\x04";
        answer_ = !answers                        ? ""
                  : request == "\x1D\x49\x42"     ? std::string("_ACME\0", 6)
                  : request == "\x1D\x49\x43"     ? std::string("_LX-500\0", 8)
                  : !status                       ? ""
                  : host_ == 5 && request[2] == 4 ? "\x72" // paper end
                                                  : "\x12";
        return true;
    }
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline&) override
    {
        if (host_ == 4)
            return fail("the printer reset the connection"), -1;
        const auto count = std::min<std::int64_t>(capacity, std::int64_t(answer_.size()));
        answer_.copy(buffer, std::size_t(count));
        answer_.clear();
        return count;
    }
    bool close() override { return true; }

private:
    Network& network_;
    std::string name_, answer_;
    int host_ = 0;
};

// Only the port controls matter here: Combo1's choice raises its click, as on screen.
class PortControls : public FrmTestView
{
public:
    struct State {
        std::vector<std::string> items;
        std::string text;
        bool enabled = true;
    };
    void addItem(const Control& list, const std::string& text) override
    {
        controls[&list].items.push_back(text);
    }
    void selectItem(const Control& list, int index) override
    {
        controls[&list].text = controls[&list].items.at(std::size_t(index));
        model->run(list.onClick);
    }
    int selectedIndex(const Control&) const override { return 0; }
    int itemCount(const Control& list) const override
    {
        return controls.count(&list) ? int(controls.at(&list).items.size()) : 0;
    }
    void setText(const Control& c, const std::string& text) override { controls[&c].text = text; }
    std::string text(const Control& c) const override
    {
        return controls.count(&c) ? controls.at(&c).text : "";
    }
    void setEnabled(const Control& c, bool on) override { controls[&c].enabled = on; }
    void unload() override {}

    std::map<const Control*, State> controls;
    FrmTestModel* model = nullptr;
};

class FakeSearchView : public PrinterSearchView
{
public:
    void setRangesText(const std::string& text) override { ranges = text; }
    std::string rangesText() const override { return ranges; }
    void setProgress(std::size_t t, std::size_t all) override { tried = t, total = all; }
    void setSummary(const std::string& text) override { summary = text; }
    void clearRows() override { rows.clear(); }
    void insertRow(std::size_t at, const PrinterSearchRow& row) override
    {
        rows.insert(rows.begin() + std::ptrdiff_t(at),
                    row.address + ' ' + row.makerAndModel + " | " + row.state + '\n');
    }
    void setSearching(bool on) override { searching = on; }
    void wake() override { ++wakes; }

    // Shows the progress now and then, as the toolkit's event loop does, until the search ends.
    void runUntilDone(PrinterSearch& search)
    {
        for (int i = 0; i < 1000 && search.searching(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            search.showProgress();
        }
        CHECK(wakes > 0);
    }

    std::string ranges, summary;
    std::size_t tried = 0, total = 0;
    std::vector<std::string> rows;
    bool searching = false;
    std::atomic<int> wakes{0};
};

struct Dialog {
    PortControls window;
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    FrmTestModel model{window, sdk, messages, [] { return std::vector<std::string>(); }};
    FakeSearchView view;
    Network network;
    PrinterSearch search;

    explicit Dialog(std::vector<std::uint32_t> own = {}, std::uint16_t port = 9100, int jobs = 3)
        : search(view, model, messages, [own] { return own; },
                 {[this] { return std::make_unique<FakeNetworkPort>(network); }, port, jobs})
    {
        window.model = &model;
        model.Form_Load();
        search.open();
    }
    void find(const char* ranges)
    {
        view.ranges = ranges;
        search.find();
    }
};

} // namespace

TEST_CASE("the search offers the /24 of each of this computer's private networks, once each")
{
    const auto ip = [](const char* text) { return *readIpv4(text); };
    CHECK(Dialog({ip("192.168.1.77"), ip("8.8.8.8"), ip("10.1.2.3"), ip("192.168.1.3"),
                  ip("127.0.0.1"), ip("169.254.7.9"), ip("172.31.0.1"), ip("172.32.0.1"),
                  ip("100.64.0.1")})
              .view.ranges ==
          "192.168.1.0/24, 10.1.2.0/24, 127.0.0.0/24, 169.254.7.0/24, 172.31.0.0/24");
}

TEST_CASE("the search refuses in one box what discover refuses, before it tries anything")
{
    const char* const cases[][2] = {
        {"", "the search needs at least one address, block or range"},
        {"127.0.0.2, 8.8.8.8", "\"8.8.8.8\" is outside what discover may try"},
        {"10.0.0.0/19", "at most 4096 addresses in one run"},
        {"127.0.0.1 127.0.0", "\"127.0.0\" is not an address range"}};
    for (const auto& [ranges, said] : cases) {
        CAPTURE(ranges);
        Dialog d;
        d.find(ranges);
        REQUIRE(d.messages.shown.size() == 1);
        CHECK(d.messages.shown[0].text.find(said) == 0);
        CHECK(d.messages.shown[0].title == "Find printers on the network");
        CHECK((!d.search.searching() && !d.view.searching && d.network.sent.empty()));
    }
}

TEST_CASE("the list fills as printers answer, and the chosen one becomes the window's port")
{
    for (const std::uint16_t port : {9100, 9101}) {
        Dialog d({}, port);
        const std::string at = port == 9100 ? "" : ":9101", colon = ':' + std::to_string(port);
        d.window.selectItem(control("Combo1"), 13); // DRIVER: no address box
        d.find("127.0.0.1-127.0.0.6;127.0.0.3");
        CHECK((d.view.searching && d.view.summary == "Trying 6 addresses…"));
        d.view.runUntilDone(d.search);
        CHECK((!d.view.searching && d.view.tried == 6 && d.view.total == 6));
        CHECK(d.view.rows == std::vector<std::string>{
                                 "127.0.0.2" + at + " ACME LX-500 | ready to print\n",
                                 "127.0.0.3" + at + "  | answers nothing\n",
                                 "127.0.0.4" + at +
                                     "  | took the connection, then the printer "
                                     "reset the connection\n",
                                 "127.0.0.5" + at + " ACME LX-500 | cannot print: paper end\n"});
        CHECK(d.view.summary.find("6 addresses tried, 4 took a connection, in ") == 0);
        CHECK(d.network.sent["127.0.0.2" + colon] ==
              "1D 49 42 10 04 01 1D 49 43 10 04 02 10 04 03 10 04 04 ");
        CHECK(d.network.sent["127.0.0.3" + colon] == "1D 49 42 10 04 01 ");
        REQUIRE(d.model.foundPrinters().size() == 4);
        CHECK(d.model.foundPrinters()[3] ==
              "ETHERNET 127.0.0.5" + colon + "  # ACME LX-500, cannot print: paper end");
        d.search.choose(4); // no such row
        CHECK(d.model.portSettings().portText == "DRIVER");
        d.search.choose(3);
        CHECK((d.model.portSettings().portText == "ETHERNET" &&
               d.window.controls[&control("Text1")].enabled));
        CHECK(d.model.portSettings().networkAddress == "127.0.0.5" + at);

        d.find("127.0.0.2"); // a new search, a new list
        d.view.runUntilDone(d.search);
        d.search.choose(0);
        CHECK(
            (d.view.rows.size() == 1 && d.model.portSettings().networkAddress == "127.0.0.2" + at));
    }
}

TEST_CASE("Stop, closing and the dialog's end stop the search within its bounds")
{
    for (const char* way : {"stop", "close", "end"}) {
        Dialog d({}, 9100, 1);
        d.network.holdAtFirst = true;
        d.find("127.0.0.0/24");
        REQUIRE(d.network.waitUntilHeld());
        if (way == std::string("end"))
            continue; // the model stops and waits for the search as it goes
        if (way == std::string("close")) {
            d.search.close(); // .2 lets go within its second
        } else {
            d.search.stop();
            d.network.release();
            d.view.runUntilDone(d.search);
            CHECK((d.view.summary.find("Stopped: ") == 0 && !d.view.searching));
        }
        CHECK(!d.search.searching());
        CHECK(d.network.sent.size() == 1); // the address under way, not the 254
        d.search.showProgress();           // a late wake after the close changes nothing
    }
}
