// The menu bar "GameMenu" and the accelerator table "GameMenu" on Qt.
#pragma once

#include <map>

#include "game/host.h"

class QAction;
class QMenuBar;

namespace ruvo {

using MenuActions = std::map<MenuId, QAction*>;

// Fills bar with the game's pop-ups and items and returns each item's action;
// triggering one is left to the caller to connect.
MenuActions BuildGameMenu(QMenuBar& bar);

// The key hint of each item that has one, as its label gives it ("F2").
const char* KeyHint(MenuId item);

// Gives every command of the accelerator table its key. Qt shows an action's
// key at the right of its item, and sends nothing for a disabled action.
void AttachAccelerators(const MenuActions& actions);

} // namespace ruvo
