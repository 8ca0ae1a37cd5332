// Playing for a high-score board on Win32: the board's address kept in the
// registry beside the other settings, the Board dialog (Game > Board...), and
// what the Replays list's Send to Board does with a kept replay.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace ruvo {

struct BoardReply;
class BoardAnswerTarget;
struct GameRecord;

// The settings' value that holds the board's address (REG_SZ), empty or
// missing while the player has given none.
constexpr std::string_view kBoardAddressValue = "BoardAddress";
// The message a board's answer comes to a dialog with.
constexpr unsigned kBoardAnswerMessage = 0x8000 + 20; // WM_APP + 20

// The address as stored (unchecked), or empty.
std::string StoredBoardAddress(GameRecord& record);

// Sends the kept replay's text to the stored board, its answer to come to
// the target: false, after telling the player why in a box over owner,
// when it goes nowhere (it may not go to a board, or no board is set).
bool SendReplayToBoard(void* owner, GameRecord& record, std::string_view text,
                       std::shared_ptr<BoardAnswerTarget> target);

// The board's answer to a replay sent, in a box over owner.
void TellBoardAnswer(void* owner, const BoardReply& reply);

} // namespace ruvo
