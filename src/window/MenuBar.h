#pragma once

#include "UserMessages.h"

#include <array>
#include <span>
#include <string_view>

// Each item of the window's menu bar.
enum class MenuCommand {
    OpenProfile,
    SaveProfile,
    ApplyProfile,
    WhoIsIt,
    CanItPrint,
    FindPrinters,
    PaperLayout,
    PaperPreview,
    About
};

// The window's menus as data, for a window on any toolkit to build its menu bar from. An '&'
// marks the access key that follows it, as both toolkits read it.
namespace MenuBar
{

struct Item {
    std::string_view caption;
    MenuCommand command;
};

struct Menu {
    std::string_view caption;
    std::span<const Item> items;
};

// The menus, left to right, each with its items top to bottom.
extern const std::array<Menu, 4> Menus;

inline constexpr int CommandCount = 9;
static_assert(int(MenuCommand::About) + 1 == CommandCount);

// Whether the item talks to the printer itself, which can take seconds: the view shows it busy.
bool talksToPrinter(MenuCommand command);

// Help ▸ About: the program, its version and its licence.
UserMessage aboutMessage(std::string_view version);

} // namespace MenuBar
