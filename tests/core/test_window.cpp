#include "DefaultNetworkAddress.h"
#include "FrmTestModel.h"
#include "FrmTestView.h"
#include "IpAddressRules.h"
#include "IpBoxError.h"
#include "RecordingPrinterSdk.h"
#include "RecordingUserMessages.h"
#include "UnicodeText.h"

#include <doctest/doctest.h>
#include <map>

using FrmTestLayout::control;
using FrmTestLayout::Handler;

namespace
{

// A window that only keeps what the model sets, and logs the calls that change it.
class FakeView : public FrmTestView
{
public:
    struct State {
        std::vector<std::string> items;
        int selected = -1;
        std::string text;
        bool enabled = true;
    };

    void addItem(const Control& list, const std::string& text) override
    {
        state(list).items.push_back(text);
    }
    void selectItem(const Control& list, int index) override
    {
        state(list).selected = index;
        state(list).text = state(list).items.at(std::size_t(index));
        log.push_back("select " + FrmTestLayout::objectName(list) + " " + std::to_string(index));
        if (model)
            model->run(list.onClick);
    }
    int selectedIndex(const Control& list) const override { return controls.at(&list).selected; }
    int itemCount(const Control& list) const override
    {
        return int(controls.count(&list) ? controls.at(&list).items.size() : 0);
    }
    void setText(const Control& control, const std::string& text) override
    {
        state(control).text = text;
    }
    std::string text(const Control& control) const override
    {
        return const_cast<FakeView*>(this)->state(control).text;
    }
    void setEnabled(const Control& control, bool enabled) override
    {
        state(control).enabled = enabled;
        log.push_back(FrmTestLayout::objectName(control) + (enabled ? " on" : " off"));
    }
    void unload() override { log.push_back("unload"); }

    // Types into the port list's field, as a user does.
    void type(const std::string& portText)
    {
        state(control("Combo1")).text = portText;
        model->run(Handler::Combo1_Change);
    }
    State& state(const Control& c)
    {
        const auto [found, made] = controls.try_emplace(&c);
        if (made)
            found->second.text = c.caption; // as the toolkit makes it
        return found->second;
    }

    std::map<const Control*, State> controls;
    std::vector<std::string> log;
    FrmTestModel* model = nullptr;
};

struct Window {
    FakeView view;
    RecordingPrinterSdk sdk;
    RecordingUserMessages messages;
    FrmTestModel model;

    explicit Window(std::vector<std::string> printers = {"Kitchen", "Front desk", "Labels"})
        : model(view, sdk, messages, [printers] { return printers; })
    {
        view.model = &model;
        model.Form_Load();
    }
    std::string enabled()
    {
        std::string states;
        for (const char* name : {"Text1", "Combo2", "Combo3"})
            states += view.state(control(name)).enabled ? '1' : '0';
        return states;
    }
};

} // namespace

TEST_CASE("the window after load")
{
    Window w;
    CHECK(w.view.log == std::vector<std::string>{"select Combo1 0", "Text1 on", "Combo2 off",
                                                 "Combo3 off", "select Combo3 1", "select Combo4 0",
                                                 "select Combo2 0"});
    CHECK(w.view.state(control("Combo1")).items.size() == 14);
    CHECK(w.view.state(control("Combo1")).items[13] == "DRIVER");
    CHECK(w.view.state(control("Combo3")).items ==
          std::vector<std::string>{"9600", "19200", "38400", "115200"});
    CHECK(w.view.state(control("Combo4")).items ==
          std::vector<std::string>{"Black mark function  OFF", "Black mark function  ON"});
    const PortSettings port = w.model.portSettings();
    CHECK(port.portText == "ETHERNET");
    CHECK(port.networkAddress == DefaultNetworkAddress);
    CHECK(port.driverName == "Kitchen");
    CHECK(port.baudRateText == "19200");
    std::vector<std::string> boxes;
    for (int row = 0; row < 6; ++row)
        boxes.push_back(w.view.text(control("Text2", row)));
    CHECK(boxes == std::vector<std::string>{"300", "10", "0", "0", "0", "0"});
    CHECK(w.sdk.calls.empty());

    Window none(std::vector<std::string>{}); // no printer installed: nothing to select
    CHECK(none.view.log.back() == "select Combo4 0");
    CHECK(none.model.portSettings().driverName.empty());
}

TEST_CASE("the port list sets which port controls are usable")
{
    Window w;
    const char* const steps[][2] = {{"DRIVER", "010"}, {"CO", "010"},   {"COM", "001"},
                                    {"COM12", "001"},  {"com1", "001"}, {"LPT", "000"},
                                    {"ETH", "100"},    {"", "100"}};
    for (const auto& [typed, states] : steps) {
        CAPTURE(typed);
        w.view.type(typed);
        CHECK(w.enabled() == states);
    }
}

TEST_CASE("each button reads its controls at the press")
{
    struct Row {
        Handler handler;
        std::string commandTextEnd;
    };
    // Row n of the boxes reads n + 1 mm, so 8 (n + 1) counts; the switch reads ON.
    const Row rows[] = {{Handler::Command1_Click, " 81 04 05 06 8 0"},
                        {Handler::Command2_Click, " 82 04 05 06 10 0"},
                        {Handler::Command3_Click, " 01 00 18 0"},
                        {Handler::Command4_Click, " 01 01 20 0"},
                        {Handler::Command6_Click, " 02 00 28 0"},
                        {Handler::Command7_Click, " 02 01 30 0"},
                        {Handler::Command5_Click, " 80 04 05 06 44"},
                        {Handler::Command8_Click, " 2A 2A 0A"},
                        {Handler::Command9_Click, " 1D 56 30 0A"}};
    for (const Row& row : rows) {
        CAPTURE(row.commandTextEnd);
        Window w;
        for (int i = 0; i < 6; ++i)
            w.view.setText(control("Text2", i), std::to_string(i + 1));
        w.view.selectItem(control("Combo4"), 1);
        w.view.selectItem(control("Combo3"), 3);
        w.view.selectItem(control("Combo2"), 2);
        w.view.setText(control("Text1"), "127.0.0.1:9101");
        // Each port in turn: the port controls too are read at the press.
        const std::pair<int, const char*> ports[] = {{0, "POS_Open(127.0.0.1:9101,0,0,0,0,21)"},
                                                     {3, "POS_Open(COM3,115200,8,0,0,1)"},
                                                     {13, "POS_Open(Labels,0,0,0,0,20)"}};
        for (const auto& [port, open] : ports) {
            w.sdk.calls.clear();
            w.view.selectItem(control("Combo1"), port);
            w.model.run(row.handler);
            CHECK(w.model.windowValues().CommandText.ends_with(row.commandTextEnd));
            REQUIRE(w.sdk.calls.size() == 5);
            CHECK(w.sdk.calls[0] == open);
        }
    }
}

TEST_CASE("the layout: tab order, and every control inside the window and apart")
{
    std::vector<std::string> order;
    for (const FrmTestLayout::Control* c : FrmTestLayout::tabOrder())
        order.push_back(FrmTestLayout::objectName(*c));
    CHECK(order == std::vector<std::string>{
                       "Combo1",   "Combo2",   "Combo3",    "Command5", "Combo4",   "Text1",
                       "Command1", "Command2", "Command3",  "Command4", "Command6", "Command7",
                       "Command8", "Command9", "Command10", "Text2_0",  "Text2_1",  "Text2_2",
                       "Text2_3",  "Text2_4",  "Text2_5"});
    const auto apart = [](const Twips::Rect& a, const Twips::Rect& b) {
        return a.left + a.width <= b.left || b.left + b.width <= a.left ||
               a.top + a.height <= b.top || b.top + b.height <= a.top;
    };
    for (const FrmTestLayout::Control& a : FrmTestLayout::Controls) {
        CAPTURE(FrmTestLayout::objectName(a));
        CHECK((a.place.left >= 0 && a.place.left + a.place.width <= FrmTestLayout::ClientWidth));
        CHECK((a.place.top >= 0 && a.place.top + a.place.height <= FrmTestLayout::ClientHeight));
        for (const FrmTestLayout::Control& b : FrmTestLayout::Controls)
            CHECK((&a == &b || apart(a.place, b.place)));
    }
    CHECK_THROWS(control("Text2", 6));
    CHECK(Twips::toPixels(7935, 144) == 794);
}

namespace
{

int errorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const IpBoxError& error) {
        return error.number();
    }
    return 0;
}

} // namespace

TEST_CASE("the address box's text rules")
{
    struct Row {
        std::u16string text;
        int error; // 0 when accepted
        std::string read;
    };
    const Row rows[] = {
        {u"1.2.3", 102, ""},
        {u"", 102, ""},
        {u"1.2.3\u012E", 102, ""}, // a look-alike dot
        {u"1.2.3.4", 0, "1.2.3.4"},
        {u"010.001.000.255", 0, "10.1.0.255"},
        {u" 10 . 0 . 0 . 1 .x", 0, "10.0.0.1"},
        {u"1.2.3.4.5", 0, "1.2.3.4"},
        {u"+1.-0.3.\u30004", 0, "1.0.3.4"},
        {u"256.1.1.1", 6, ""},
        {u"a.b.c.-1", 6, ""}, // the last part is read first
        {u"a.b.c.300", 6, ""},
        {u"1.2.3.2560x", 13, ""},
        {u"1..2.3", 13, ""},
        {u"1.2.3. ", 13, ""},
        {u"1.2.3.+", 13, ""},
        {u"\uFF11.2.3.4", 13, ""}, // a full-width digit
    };
    for (const Row& row : rows) {
        CAPTURE(row.read);
        std::uint32_t packed = 0;
        CHECK(errorOf([&] { packed = IpAddressRules::packedAddress(row.text); }) == row.error);
        if (row.error == 0)
            CHECK(IpAddressRules::dotted(packed) == row.read);
    }
    try {
        IpAddressRules::packedAddress(u"1.2");
    } catch (const IpBoxError& error) {
        CHECK(error.description() ==
              "Ip \xE5\x9C\xB0\xE5\x9D\x80\xE6\xA0\xBC\xE5\xBC\x8F\xE9\x94\x99\xE8\xAF\xAF\r\n"
              "\xE6\xAD\xA3\xE7\xA1\xAE\xE7\x9A\x84\xE6\xA0\xBC\xE5\xBC\x8F\xE5\xBA\x94\xE8\xAF"
              "\xA5\xE4\xB8\xBA: 255.255.255.255");
    }
    CHECK(IpAddressRules::dotted(0x0A000001) == "10.0.0.1");
}

TEST_CASE("CountIF")
{
    struct Row {
        std::u16string text, key;
        int count; // negative: the error number
    };
    const Row rows[] = {{u"1.2.3", u".", 2},
                        {u"1.2.3", u".x", 2},
                        {u"", u"", 0},
                        {u"\u00E4a\u00E4\u00C4", u"\u00E4", 2},
                        {u"1.2", u"", -5},
                        {std::u16string(16383, u'.'), u".", 16383},
                        {std::u16string(16384, u'1'), u".", -6}};
    for (const Row& row : rows) {
        CAPTURE(row.count);
        int count = 0;
        const int error = errorOf([&] { count = IpAddressRules::countOf(row.text, row.key); });
        CHECK((error ? -error : count) == row.count);
    }
}

TEST_CASE("a window's UTF-16 text becomes UTF-8, and a lone surrogate the replacement mark")
{
    CHECK(UnicodeText::toUtf8(u"A\u00E9\u20AC\U0001F5A8") ==
          "A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x96\xA8");
    CHECK(UnicodeText::toUtf8(std::u16string{0xD800, u'A'}) == "\xEF\xBF\xBD\x41");
    CHECK(UnicodeText::toUtf8(std::u16string{u'A', 0xDFFF}) == "A\xEF\xBF\xBD");
    CHECK(UnicodeText::toUtf16("A\xF0\x9F\x96\xA8") == u"A\U0001F5A8");
    CHECK(UnicodeText::toUtf8(u"\U0010FFFF") == "\xF4\x8F\xBF\xBF"); // the last low surrogate
    // Each stray byte becomes one replacement mark, and the character after it is kept.
    const struct {
        const char* utf8;
        std::u16string utf16;
    } rows[] = {{"\xE0\xA1\x80", u"\u0840"}, // a middle byte with its lowest bit set
                {"\xE0\x41", u"\uFFFDA"},
                {"\xF0\x9F\x96\xC3\xA9", u"\uFFFD\uFFFD\uFFFD\u00E9"},
                {"\x80\xC0\xAF!", u"\uFFFD\uFFFD\uFFFD!"}, // and an overlong form
                {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"}};  // a surrogate's form
    for (const auto& row : rows) {
        CAPTURE(row.utf8);
        CHECK(UnicodeText::toUtf16(row.utf8) == row.utf16);
    }
    CHECK(UnicodeText::toUtf8(char32_t(0x840)) == "\xE0\xA1\x80");
    CHECK(UnicodeText::describe(UnicodeText::decode("\xFF", 0)) == "byte 0xFF");
}
