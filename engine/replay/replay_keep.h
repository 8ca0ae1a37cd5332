// Keeping replays in the host's replay store: the last game's, and one for
// each row of the high-score table. A row's replay is found by the row
// itself, so that the stored table keeps its format and another window's rows
// keep theirs: its name holds the row's score, round, a hash of its name and
// its place among equal rows ("row-12345-3-5f2a11c3-1"). Equal rows keep
// their order, the older above, so that place does not change while the row
// stays in the table.
// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "record/record.h"
#include "replay/replay_file.h"

namespace ruvo {

constexpr std::string_view kLastGameReplay = "last";

// The store's name of row k's replay.
std::string RowReplayName(const GameRecord& record, std::size_t row);

// After a game: its replay as the last game's and, when it entered the
// table, as its row's; then the replays of rows no longer in the table go.
// False when the store refused a write: the last game's replay kept before
// is removed then, so that no list shows an older game as the last one.
bool KeepReplay(GameRecord& record, const Replay& replay, bool enteredTable);
// Removes the row replays whose row is neither in this window's table nor
// in the table as stored now.
void RemoveLeftRows(GameRecord& record);

// The Replays list: the rows that have a replay, best first, then the last
// game. label is what the list shows of it.
struct KeptReplay {
    std::string name;
    std::string label;
};
std::vector<KeptReplay> KeptReplays(GameRecord& record);
bool ReadKeptReplay(GameRecord& record, std::string_view name, std::string& text);
bool RemoveKeptReplay(GameRecord& record, std::string_view name);

// A file name to offer for saving: "Ruvo 12345 NAME.ruvo-replay", with the
// characters that a file system may refuse left out of the name.
std::string ReplayFileName(const Replay& replay);

} // namespace ruvo
