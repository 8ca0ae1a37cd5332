// The menu bar "GameMenu" and its accelerator table, built at run time from
// the game's menu table.
// SPDX-License-Identifier: MIT
#pragma once

namespace ruvo {

// A menu bar with every pop-up of the table, the View one included.
void* BuildMenuBar();
// The accelerator table: the game's keys, then the View items'.
void* BuildAcceleratorTable();

} // namespace ruvo
