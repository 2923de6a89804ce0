#pragma once

#include "Twips.h"

#include <array>
#include <string>
#include <string_view>

// The main window as data, for a window on any toolkit to build itself from: every control
// with its kind, caption, place in twips, tab position and colour, and the handler each of
// its events runs.
namespace FrmTestLayout
{

inline constexpr std::string_view Title = "FrmSetting";
inline constexpr int ClientWidth = 6450;
inline constexpr int ClientHeight = 7935;

enum class ControlKind {
    Label,
    TextBox,
    PushButton,
    EditableList,  // a text field with a list of entries, or any typed text
    SelectionList, // one of its entries, nothing typed
};

// Each event a handler answers. The port list's two behave alike.
enum class Handler {
    None,
    Combo1_Click,
    Combo1_Change,
    Command1_Click,
    Command2_Click,
    Command3_Click,
    Command4_Click,
    Command5_Click,
    Command6_Click,
    Command7_Click,
    Command8_Click,
    Command9_Click,
    Command10_Click,
};

enum class Font {
    Window,   // the window's default font
    PortLabel // "MS Sans Serif", 9.75 point, bold
};

inline constexpr std::string_view PortLabelFace = "MS Sans Serif";
inline constexpr double PortLabelPoints = 9.75;
inline constexpr int PortLabelWeight = 700;

struct Control {
    std::string_view name; // "Text2" for each member of an indexed family
    int index;             // its index in the family, -1 for a single control
    ControlKind kind;
    std::string_view caption; // a label's or button's caption, a text box's start text
    Twips::Rect place;
    int tabPosition;
    bool redText;
    Font font;
    Handler onClick;  // a button's press, or an entry picked in a list
    Handler onChange; // text typed into an editable list
};

// The 31 controls, in the order they are made.
extern const std::array<Control, 31> Controls;

// The controls that take focus, in tab order: every one but the labels.
std::array<const Control*, 21> tabOrder();

// The control of that name and index; it must exist.
const Control& control(std::string_view name, int index = -1);

// "Text2_0" for an indexed control, the name for any other: what a toolkit names it by.
std::string objectName(const Control& control);

} // namespace FrmTestLayout
