#include "FrmTestLayout.h"

#include "BlackMarkCommands.h"
#include "DefaultNetworkAddress.h"

#include <algorithm>
#include <stdexcept>

namespace FrmTestLayout
{

namespace
{

using enum ControlKind;
using BlackMarkCommands::SettingRows;

constexpr Control single(std::string_view name, ControlKind kind, std::string_view caption,
                         Twips::Rect place, int tabPosition, Handler onClick = Handler::None)
{
    return {name,        -1,    kind,         caption, place,
            tabPosition, false, Font::Window, onClick, Handler::None};
}

constexpr Control portLabel(std::string_view name, std::string_view caption, Twips::Rect place,
                            int tabPosition)
{
    return {name,        -1,    Label,           caption,       place,
            tabPosition, false, Font::PortLabel, Handler::None, Handler::None};
}

constexpr Control button(std::string_view name, std::string_view caption, int top, int tabPosition,
                         Handler onClick)
{
    return single(name, PushButton, caption, {120, top, 3840, 465}, tabPosition, onClick);
}

// Each setting row: its button, its distance box and the box's unit label.
struct RowPlaces {
    std::string_view button;
    Handler onClick;
    int buttonTop, boxTop, labelTop;
    int buttonTab, boxTab, labelTab;
};
constexpr RowPlaces Rows[6] = {
    {"Command1", Handler::Command1_Click, 1575, 1620, 1710, 11, 20, 8},
    {"Command2", Handler::Command2_Click, 2205, 2250, 2295, 12, 21, 26},
    {"Command3", Handler::Command3_Click, 2835, 2880, 2880, 13, 22, 27},
    {"Command4", Handler::Command4_Click, 3465, 3510, 3555, 14, 23, 28},
    {"Command6", Handler::Command6_Click, 4095, 4140, 4185, 15, 24, 29},
    {"Command7", Handler::Command7_Click, 4725, 4770, 4770, 16, 25, 30},
};

constexpr std::array<Control, 3> row(int i)
{
    const RowPlaces& r = Rows[i];
    return {button(r.button, SettingRows[i]->caption, r.buttonTop, r.buttonTab, r.onClick),
            Control{"Text2",
                    i,
                    TextBox,
                    "",
                    {4185, r.boxTop, 1185, 330},
                    r.boxTab,
                    true,
                    Font::Window,
                    Handler::None,
                    Handler::None},
            Control{"Label5",
                    i,
                    Label,
                    "mm",
                    {5580, r.labelTop, 675, 255},
                    r.labelTab,
                    false,
                    Font::Window,
                    Handler::None,
                    Handler::None}};
}

constexpr std::array<Control, 31> allControls()
{
    std::array<Control, 31> all{
        portLabel("Label1", "Select Port:", {45, 90, 1215, 255}, 0),
        Control{"Combo1",
                -1,
                EditableList,
                "",
                {45, 390, 1575, 315},
                1,
                false,
                Font::Window,
                Handler::Combo1_Click,
                Handler::Combo1_Change},
        portLabel("Label4", "Baudrate:", {1665, 90, 1020, 255}, 5),
        single("Combo3", SelectionList, "", {1665, 390, 1095, 315}, 6),
        portLabel("Label2", "IP:", {2880, 90, 570, 255}, 2),
        single("Text1", TextBox, DefaultNetworkAddress, {2880, 390, 1485, 285}, 10),
        portLabel("Label3", "Driver:", {4455, 90, 1080, 255}, 3),
        single("Combo2", SelectionList, "", {4455, 390, 1935, 315}, 4),
        button("Command5", BlackMarkCommands::SwitchCaption, 945, 7, Handler::Command5_Click),
        Control{"Combo4",
                -1,
                SelectionList,
                "",
                {4185, 990, 2205, 315},
                9,
                true,
                Font::Window,
                Handler::None,
                Handler::None},
    };
    std::size_t next = 10;
    for (int i = 0; i < 6; ++i) {
        for (const Control& c : row(i))
            all[next++] = c;
    }
    all[next++] = button("Command8", BlackMarkCommands::FindStartAndPrint.caption, 5400, 17,
                         Handler::Command8_Click);
    all[next++] =
        button("Command9", BlackMarkCommands::TestCut.caption, 6075, 18, Handler::Command9_Click);
    all[next++] = button("Command10", "Close", 6885, 19, Handler::Command10_Click);
    return all;
}

} // namespace

const std::array<Control, 31> Controls = allControls();

std::array<const Control*, 21> tabOrder()
{
    std::array<const Control*, 21> order{};
    std::size_t next = 0;
    for (const Control& c : Controls) {
        if (c.kind != Label)
            order[next++] = &c;
    }
    std::sort(order.begin(), order.end(),
              [](const Control* a, const Control* b) { return a->tabPosition < b->tabPosition; });
    return order;
}

const Control& control(std::string_view name, int index)
{
    for (const Control& c : Controls) {
        if (c.name == name && c.index == index)
            return c;
    }
    throw std::out_of_range("no control " + std::string(name));
}

std::string objectName(const Control& control)
{
    std::string name(control.name);
    return control.index < 0 ? name : name + "_" + std::to_string(control.index);
}

} // namespace FrmTestLayout
