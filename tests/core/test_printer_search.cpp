#include "AddressRange.h"
#include "FrmTestModel.h"
#include "FrmTestView.h"
#include "PrinterSearch.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"

#include <condition_variable>
#include <doctest/doctest.h>
#include <map>

namespace
{

// Printers by the last part of their address: .1 refuses, .2 answers everything, .3 answers
// nothing, .4 breaks the connection when asked, .5 is out of paper; others refuse.
class FakeNetworkPort : public PrinterPort
{
public:
    explicit FakeNetworkPort(std::map<std::string, std::string>& sent, std::mutex& mutex)
        : sent_(sent), mutex_(mutex)
    {
    }
    bool open(const PortOpenRequest& request) override
    {
        name_ = request.name;
        host_ = int(readIpv4(name_.substr(0, name_.find(':'))).value_or(0) & 0xFF);
        return host_ >= 2 && host_ <= 5 ? true : fail("connect to " + name_ + ": refused");
    }
    bool write(const char* data, std::int64_t count) override
    {
        const std::string request(data, std::size_t(count));
        {
            const std::lock_guard lock(mutex_);
            sent_[name_] += RecordingPrinterSdk::hex(request) + ' ';
        }
        const bool status = request.substr(0, 2) == "\x10\x04";
        if (host_ == 2 || host_ == 5)
            answer_ = request == "\x1D\x49\x42"                 ? std::string("_ACME\0", 6)
                      : request == "\x1D\x49\x43"               ? std::string("_LX-500\0", 8)
                      : status && host_ == 5 && request[2] == 4 ? "\x72"
                      : status                                  ? "\x12"
                                                                : "";
        return true;
    }
    std::int64_t read(char* buffer, std::int64_t capacity, const Deadline&) override
    {
        if (host_ == 4)
            return fail("the printer reset the connection"), -1;
        const std::int64_t count = std::min<std::int64_t>(capacity, std::int64_t(answer_.size()));
        answer_.copy(buffer, std::size_t(count));
        answer_.clear();
        return count;
    }
    bool close() override { return true; }

private:
    std::map<std::string, std::string>& sent_;
    std::mutex& mutex_;
    std::string name_, answer_;
    int host_ = 0;
};

// Only the port controls matter here: Combo1's choice raises its click, as on screen.
class PortControls : public FrmTestView
{
public:
    void addItem(const Control& list, const std::string& text) override
    {
        items[&list].push_back(text);
    }
    void selectItem(const Control& list, int index) override
    {
        texts[&list] = items[&list].at(std::size_t(index));
        if (model)
            model->run(list.onClick);
    }
    int selectedIndex(const Control&) const override { return 0; }
    int itemCount(const Control& list) const override
    {
        return items.count(&list) ? int(items.at(&list).size()) : 0;
    }
    void setText(const Control& control, const std::string& text) override
    {
        texts[&control] = text;
    }
    std::string text(const Control& control) const override
    {
        return texts.count(&control) ? texts.at(&control) : "";
    }
    void setEnabled(const Control& control, bool on) override { enabled[&control] = on; }
    void unload() override {}

    std::map<const Control*, std::vector<std::string>> items;
    std::map<const Control*, std::string> texts;
    std::map<const Control*, bool> enabled;
    FrmTestModel* model = nullptr;
};

class FakeSearchView : public PrinterSearchView
{
public:
    void setRangesText(const std::string& text) override { ranges = text; }
    std::string rangesText() const override { return ranges; }
    void setProgress(std::size_t t, std::size_t all) override
    {
        CHECK(t >= tried); // the bar never goes back
        tried = t, total = all;
    }
    void setSummary(const std::string& text) override { summary = text; }
    void clearRows() override { rows.clear(); }
    void insertRow(std::size_t at, const PrinterSearchRow& row) override
    {
        rows.insert(rows.begin() + std::ptrdiff_t(at),
                    row.address + ' ' + row.makerAndModel + " | " + row.state + '\n');
    }
    void setSearching(bool on) override { searching = on; }
    void wake() override
    {
        const std::lock_guard lock(mutex);
        ++wakes;
        woken.notify_one();
    }

    // Hands each wake to the model, as the toolkit's event loop does, until the search ends.
    void runUntilDone(PrinterSearch& search)
    {
        for (int i = 0; i < 200 && search.searching(); ++i) {
            std::unique_lock lock(mutex);
            woken.wait_for(lock, std::chrono::milliseconds(50), [this] { return wakes > 0; });
            wakes = 0;
            lock.unlock();
            search.showProgress();
        }
    }

    std::string rowsText() const
    {
        std::string text;
        for (const std::string& row : rows)
            text += row;
        return text;
    }

    std::string ranges, summary;
    std::size_t tried = 0, total = 0;
    std::vector<std::string> rows;
    bool searching = false;
    std::mutex mutex;
    std::condition_variable woken;
    int wakes = 0;
};

struct Dialog {
    PortControls window;
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    FrmTestModel model{window, sdk, messages, [] { return std::vector<std::string>(); }};
    FakeSearchView view;
    std::map<std::string, std::string> sent;
    std::mutex sentMutex;
    PrinterSearch search;

    explicit Dialog(std::vector<std::uint32_t> own = {}, std::uint16_t port = 9100, int jobs = 3)
        : search(
              view, model, messages, [own] { return own; },
              {[this] { return std::make_unique<FakeNetworkPort>(sent, sentMutex); }, port, jobs})
    {
        window.model = &model;
        model.Form_Load();
        search.open();
    }
};

std::uint32_t ip(const char* text)
{
    return *readIpv4(text);
}

} // namespace

TEST_CASE("the search offers the /24 of each of this computer's private networks, once each")
{
    const struct {
        std::vector<std::uint32_t> own;
        const char* ranges;
    } cases[] = {
        {{ip("192.168.1.77"), ip("8.8.8.8"), ip("10.1.2.3"), ip("192.168.1.3"), ip("127.0.0.1")},
         "192.168.1.0/24, 10.1.2.0/24, 127.0.0.0/24"},
        {{ip("169.254.7.9"), ip("172.31.0.1"), ip("172.32.0.1"), ip("100.64.0.1")},
         "169.254.7.0/24, 172.31.0.0/24"},
        {{ip("1.2.3.4")}, ""},
        {{}, ""}};
    for (const auto& c : cases) {
        Dialog d(c.own);
        CHECK(d.view.ranges == c.ranges);
    }
}

TEST_CASE("the search refuses in one box what discover refuses, before it tries anything")
{
    const struct {
        const char* ranges;
        const char* said;
    } cases[] = {{"", "the search needs at least one address, block or range"},
                 {" , ;", "the search needs at least one address, block or range"},
                 {"127.0.0.2, 8.8.8.8", "\"8.8.8.8\" is outside what discover may try"},
                 {"10.0.0.0/19", "at most 4096 addresses in one run"},
                 {"127.0.0.1 127.0.0", "\"127.0.0\" is not an address range"}};
    for (const auto& c : cases) {
        CAPTURE(c.ranges);
        Dialog d;
        d.view.ranges = c.ranges;
        d.search.find();
        REQUIRE(d.messages.shown.size() == 1);
        CHECK(d.messages.shown[0].text.find(c.said) == 0);
        CHECK(d.messages.shown[0].title == "Find printers on the network");
        CHECK(!d.search.searching());
        CHECK(!d.view.searching);
        CHECK(d.sent.empty());
    }
}

TEST_CASE("the list fills as printers answer, by what each said")
{
    for (const std::uint16_t port : {9100, 9101}) {
        Dialog d({}, port);
        const std::string at = port == 9100 ? "" : ":9101";
        d.view.ranges = "127.0.0.1-127.0.0.6;127.0.0.3";
        d.search.find();
        CHECK(d.view.searching);
        CHECK(d.view.summary == "Trying 6 addresses…");
        d.view.runUntilDone(d.search);
        CHECK(!d.view.searching);
        CHECK(d.view.tried == 6);
        CHECK(d.view.total == 6);
        CHECK(d.view.rowsText() ==
              "127.0.0.2" + at + " ACME LX-500 | ready to print\n" + "127.0.0.3" + at +
                  "  | answers nothing\n" + "127.0.0.4" + at +
                  "  | took the connection, then the printer reset the connection\n" + "127.0.0.5" +
                  at + " ACME LX-500 | cannot print: paper end\n");
        CHECK(d.view.summary.find("6 addresses tried, 4 took a connection, in ") == 0);
        const std::string printer = "127.0.0.2:" + std::to_string(port);
        CHECK(d.sent[printer] == "1D 49 42 10 04 01 1D 49 43 10 04 02 10 04 03 10 04 04 ");
        CHECK(d.sent["127.0.0.3:" + std::to_string(port)] == "1D 49 42 10 04 01 ");
        CHECK(d.sent.count("127.0.0.1:" + std::to_string(port)) == 0);
        REQUIRE(d.model.foundPrinters().size() == 4);
        CHECK(d.model.foundPrinters()[0] ==
              "ETHERNET " + printer + "  # ACME LX-500, ready to print");
        CHECK(d.messages.shown.empty());
    }
}

TEST_CASE("choosing a found printer makes it the window's port")
{
    Dialog d({}, 9101);
    d.view.ranges = "127.0.0.2";
    d.search.find();
    d.view.runUntilDone(d.search);
    d.window.selectItem(FrmTestLayout::control("Combo1"), 13); // DRIVER: no address box
    CHECK(!d.window.enabled[&FrmTestLayout::control("Text1")]);
    d.search.choose(1); // no such row
    CHECK(d.model.portSettings().portText == "DRIVER");
    d.search.choose(0);
    CHECK(d.model.portSettings().portText == "ETHERNET");
    CHECK(d.model.portSettings().networkAddress == "127.0.0.2:9101");
    CHECK(d.window.enabled[&FrmTestLayout::control("Text1")]);
}

TEST_CASE("Stop and closing end the search within its bounds, with what was found kept")
{
    for (const bool closing : {false, true}) {
        CAPTURE(closing);
        Dialog d({}, 9100, 1);
        d.view.ranges = "127.0.0.0/24";
        d.search.find();
        if (closing) {
            d.search.close();
        } else {
            d.search.stop();
            d.view.runUntilDone(d.search);
            CHECK(d.view.summary.find("Stopped: ") == 0);
            CHECK(!d.view.searching);
        }
        CHECK(!d.search.searching());
        CHECK(d.sent.size() <= 2); // the address under way, at most, not the 254
        CHECK(d.model.foundPrinters().size() <= 1);
        d.search.showProgress(); // a late wake after the close changes nothing
    }
}
