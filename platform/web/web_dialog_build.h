// How the page's dialogs are built: from a template, laid out in pixels of
// the page's dialog font, control by control; and what they show and hold.
// SPDX-License-Identifier: MIT
#pragma once

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

// The Replays list: Watch, Save As..., Open..., Copy link, Delete, Race, Copy race link
// (web_replays_list.cpp).
int RunReplaysList(GameRecord& record);

} // namespace ruvo
