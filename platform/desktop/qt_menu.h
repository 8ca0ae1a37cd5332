// The menu bar "GameMenu" and the accelerator table "GameMenu" on Qt.
// SPDX-License-Identifier: MIT
#pragma once

#include <map>

#include "record/host.h"

class QAction;
class QMenuBar;

namespace ruvo {

using MenuActions = std::map<MenuId, QAction*>;

// The window's own items in the View pop-up: they size the window and never
// reach the game.
struct ViewActions {
    QAction* zoomIn = nullptr;
    QAction* zoomOut = nullptr;
    QAction* automaticSize = nullptr;
    QAction* fullScreen = nullptr;
};

// Fills bar with the pop-ups and items of the game's menu table and returns
// each game item's action (and the View items' in view, when given);
// triggering one is left to the caller to connect. The View items have their
// keys already.
MenuActions BuildGameMenu(QMenuBar& bar, ViewActions* view = nullptr);

// Gives every command of the accelerator table its key. Qt shows an action's
// key at the right of its item, and sends nothing for a disabled action.
void AttachAccelerators(const MenuActions& actions);

} // namespace ruvo
