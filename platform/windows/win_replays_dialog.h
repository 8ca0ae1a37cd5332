// The Replays list on Win32 (Game > Replays...): the kept replays in a list
// box, with Watch, Race, Save As..., Open..., Delete, Send to Board and Close; and a replay
// file watched or raced from the command line. A file that is refused shows its one-line
// error in a message box (and on stderr, for the tests).
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace ruvo {

struct GameRecord;

// The caption of the boxes that tell why a replay was refused.
constexpr const wchar_t* kReplayErrorCaption = L"Replay";

// "WHAT: ERROR" in a box over owner (an HWND, or null) and on stderr.
void ComplainAboutReplay(void* owner, std::string_view what, std::string_view error);

// Reads the file and starts watching it, or racing its ghost; false (after
// the complaint) when it cannot be read or played.
bool PlayReplayFile(GameRecord& record, const std::wstring& path, bool race, void* owner);

} // namespace ruvo
