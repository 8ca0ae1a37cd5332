// How the page's dialogs are built: from a template, laid out in pixels of
// the page's dialog font, control by control; and what they show and hold.
// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "record/record.h"
#include "settings/dialog_templates.h"

namespace ruvo {

DialogUnits MeasureDialogUnits();
void BeginDialog(const DialogTemplate& layout);
void SetText(int id, std::string_view text);
// An edit's text, or the value of the list's selected row.
std::string EditText(int id);

// The Replays list: Watch, Save As..., Open..., Copy link, Delete, Race, Copy race link,
// and Send to Board where a board serves the page (web_replays_list.cpp).
int RunReplaysList(GameRecord& record);

// The Board dialog: Play for the Board and Open the Board (web_board.cpp).
int RunBoardDialog(GameRecord& record);
// Sends a kept replay's text to the board from the open dialog, its busy
// buttons greyed meanwhile, and tells the player the board's answer, or why
// the replay cannot go. False when the player closed the dialog rather than
// wait for the board.
bool SendToBoard(GameRecord& record, std::string_view text, std::span<const int> busy);

} // namespace ruvo
