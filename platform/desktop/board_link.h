// Talking to a board (docs/board.md) over Qt Network: one POST at a time per
// caller, answered on the GUI thread while the game goes on ticking. An
// answer is read up to kBoardAnswerMaxBytes and no further, and a board that
// says nothing for kBoardWaitMs is given up on.
// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "record/host.h"

class QObject;

namespace ruvo {

// How long a request may take in all, lookup and answer included.
constexpr int kBoardWaitMs = 10'000;

struct BoardAnswer {
    int status = 0;    // the HTTP status; 0 when the board was not reached
    std::string body;  // the answer, or why the board was not reached
    std::string error; // the one line of an answer not read: larger than a board sends
};

// The address the player gave for the board, as stored with the game's
// settings ("BoardAddress"), empty for none; and storing a checked one.
std::string StoredBoardAddress(SettingsStore& settings);
void StoreBoardAddress(SettingsStore& settings, std::string_view address);

// POSTs body (text/plain) to url, an http:// or https:// address, and hands
// the answer to done, once, on the GUI thread; nothing is handed once
// context has gone (the request goes with it).
void PostToBoard(QObject* context, const std::string& url, std::string_view body,
                 std::function<void(const BoardAnswer&)> done);

} // namespace ruvo
