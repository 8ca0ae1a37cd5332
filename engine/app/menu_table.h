// The menu bar "GameMenu", its accelerator table and the window's View items,
// kept once as data: every platform builds its own menu and keys from here.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "record/host.h"

namespace ruvo {

// The window's own commands, in the View pop-up: they size the window and
// never reach the game's command handling (which ignores ids past IDM_EXIT).
enum ViewCommand : std::uint16_t {
    IDM_ZOOMIN = 110,
    IDM_ZOOMOUT = 111,
    IDM_AUTOSIZE = 112,
    IDM_FULLSCREEN = 113,
};

struct MenuEntry {
    std::uint16_t id = 0;   // 0: a separator
    std::string_view label; // '&' marks the access letter; a tab sets off the key hint
    bool checkable = false;
};

struct MenuPopup {
    std::string_view title;
    std::span<const MenuEntry> items;
    // The View pop-up: only where the window has a size of its own to choose.
    bool viewOnly = false;
};

// The pop-ups in the order the bar shows them.
std::span<const MenuPopup> GameMenuBar();

enum class Key : std::uint8_t { F1, F2, F3, F4, F5, F8, F10, F11, Plus, Equal, Minus, Digit0, Return, Enter };

enum KeyModifiers : std::uint8_t {
    kNoModifiers = 0,
    kCtrl = 1,
    kAlt = 2,
};

struct Accelerator {
    Key key;
    std::uint8_t modifiers;
    std::uint16_t command;
};

// The game's accelerator table "GameMenu", in its own order, followed by the
// View items' keys. An item's first key is the one its label hints at.
std::span<const Accelerator> GameAccelerators();

// The label without its key hint ("&Start"), and the key hint alone ("F2",
// empty when the item has none).
std::string_view LabelText(std::string_view label);
std::string_view KeyHint(std::string_view label);

} // namespace ruvo
