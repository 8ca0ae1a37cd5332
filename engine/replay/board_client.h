// Playing for a high-score board (docs/board.md), as every edition does it
// around its own HTTP: the edition asks the board for a start
// (POST /api/v1/tokens), hands the answer to PlayBoardStart, and later sends
// a kept replay (POST /api/v1/replays) once BoardSendRefusal has nothing
// against it. What the player reads comes from here, so that the editions
// say the same.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "record/record.h"

namespace ruvo {

// The longest board address a player may give, in bytes.
constexpr std::size_t kBoardAddressMaxBytes = 200;
// The largest answer an edition reads from a board, start or verdict, in
// bytes: a start file is under 1 KB and a verdict under 300 bytes.
constexpr std::size_t kBoardAnswerMaxBytes = 16 * 1024;

// A board's address as a player types it: "http://HOST[:PORT][/PATH]" or
// https, without spaces or control characters, at most
// kBoardAddressMaxBytes. Returns the one-line error, or empty and the
// address in normal without a trailing '/'. An empty address is no board,
// and no error.
std::string CheckBoardAddress(std::string_view address, std::string& normal);

// The address of a path on the board at a checked address ("/board",
// "/api/v1/tokens").
std::string BoardUrl(std::string_view address, std::string_view path);

// Starts the board's start file as the window's game from the title (the
// last dialog closed first, as a replay waits for it), recorded with its
// token. Returns the one-line error of an answer that is no start with a
// token, or of no title screen.
std::string PlayBoardStart(GameRecord& record, std::string_view text);

// Empty when the kept replay may go to a board; else what tells the player
// why not: it is no replay, or its game did not start from a board's token
// (a game played offline, a race, a daily game played from the menu).
std::string BoardSendRefusal(std::string_view replayText);

// What the player reads once a replay was sent: from the board's HTTP status
// and body (JSON). Status 0 is a board not reached, body then the reason.
std::string BoardAnswerNote(int status, std::string_view body);

} // namespace ruvo
