// The menu bar, its accelerators and the View items, as data for every platform.
// SPDX-License-Identifier: MIT
#include "app/menu_table.h"

#include <array>

namespace ruvo {
namespace {

constexpr MenuEntry kSeparator{};

constexpr auto kGameItems = std::to_array<MenuEntry>({
    MenuEntry{IDM_START, "&Start\tF2"},
    MenuEntry{IDM_DAILY, "&Daily Challenge"},
    MenuEntry{IDM_PAUSE, "&Pause\tF3"},
    kSeparator,
    MenuEntry{IDM_HIGHSCORE, "&High Score\tF8"},
    MenuEntry{IDM_REPLAYS, "&Replays..."},
    MenuEntry{IDM_BOARD, "&Board..."},
    kSeparator,
    MenuEntry{IDM_EXIT, "E&xit"},
});
constexpr auto kOptionItems = std::to_array<MenuEntry>({
    MenuEntry{IDM_SOUND, "&Sound\tF4", true},
    MenuEntry{IDM_MUSIC, "&Music\tF5", true},
    kSeparator,
    MenuEntry{IDM_OPTION, "&Option"},
});
constexpr auto kViewItems = std::to_array<MenuEntry>({
    MenuEntry{IDM_ZOOMIN, "Zoom &In\tCtrl++"},
    MenuEntry{IDM_ZOOMOUT, "Zoom &Out\tCtrl+-"},
    MenuEntry{IDM_AUTOSIZE, "&Automatic Size\tCtrl+0"},
    MenuEntry{IDM_FULLSCREEN, "&Full Screen\tF11", true},
});
constexpr auto kHelpItems = std::to_array<MenuEntry>({
    MenuEntry{IDM_HELP, "&Help\tF1"},
    MenuEntry{IDM_ABOUT, "&About\tF10"},
});

constexpr auto kMenuBar = std::to_array<MenuPopup>({
    MenuPopup{"&Game", kGameItems},
    MenuPopup{"&Option", kOptionItems},
    MenuPopup{"&View", kViewItems, true},
    MenuPopup{"&Help", kHelpItems},
});

constexpr auto kAccelerators = std::to_array<Accelerator>({
    // The game's own table, none with Shift, Ctrl or Alt.
    Accelerator{Key::F2, kNoModifiers, IDM_START},
    Accelerator{Key::F3, kNoModifiers, IDM_PAUSE},
    Accelerator{Key::F4, kNoModifiers, IDM_SOUND},
    Accelerator{Key::F5, kNoModifiers, IDM_MUSIC},
    Accelerator{Key::F1, kNoModifiers, IDM_HELP},
    Accelerator{Key::F8, kNoModifiers, IDM_HIGHSCORE},
    Accelerator{Key::F10, kNoModifiers, IDM_ABOUT},
    // The window's: Ctrl+= is Ctrl++ without Shift on most layouts.
    Accelerator{Key::Plus, kCtrl, IDM_ZOOMIN},
    Accelerator{Key::Equal, kCtrl, IDM_ZOOMIN},
    Accelerator{Key::Minus, kCtrl, IDM_ZOOMOUT},
    Accelerator{Key::Digit0, kCtrl, IDM_AUTOSIZE},
    Accelerator{Key::F11, kNoModifiers, IDM_FULLSCREEN},
    Accelerator{Key::Return, kAlt, IDM_FULLSCREEN},
    Accelerator{Key::Enter, kAlt, IDM_FULLSCREEN},
});

} // namespace

std::span<const MenuPopup> GameMenuBar()
{
    return kMenuBar;
}

std::span<const Accelerator> GameAccelerators()
{
    return kAccelerators;
}

std::string_view LabelText(std::string_view label)
{
    return label.substr(0, label.find('\t'));
}

std::string_view KeyHint(std::string_view label)
{
    const std::size_t tab = label.find('\t');
    return tab == std::string_view::npos ? std::string_view{} : label.substr(tab + 1);
}

} // namespace ruvo
