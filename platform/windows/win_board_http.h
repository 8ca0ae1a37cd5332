// Talking to a high-score board over WinHTTP (replay/board_client.h): one
// POST at a time on a worker thread, so that the game's thread never waits
// on the network, its answer posted back to the window that asked for it.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace ruvo {

// How long WinHTTP waits for each step (the name, the connection, the
// request sent, the answer), in milliseconds.
constexpr int kBoardTimeoutMs = 10000;

// A board's answer: its HTTP status and body, or status 0 and, as the body,
// why the board was not reached. A body over kBoardAnswerMaxBytes is not
// read: status 0 then too, saying so.
struct BoardReply {
    int status = 0;
    std::string body;
};

// Sends body (text/plain) to url, a checked http or https address, and
// waits for the answer: for a worker thread only.
BoardReply PostToBoard(const std::string& url, std::string_view body);

// Where a worker's answer goes: a window (an HWND) and the message it takes
// them with, until Forget() (the window is going away); a late answer is
// then dropped.
class BoardAnswerTarget {
  public:
    BoardAnswerTarget(void* window, unsigned message) : window_(window), message_(message) {}
    void Forget();
    // Posts the answer to the window as (message, 0, BoardReply*), which
    // TakeBoardReply takes back; false (the answer dropped) once forgotten.
    bool Deliver(BoardReply reply);

  private:
    std::mutex mutex_;
    void* window_;
    unsigned message_;
};

// Posts body to url on a worker thread of its own; the answer goes to the target.
void PostToBoardLater(std::shared_ptr<BoardAnswerTarget> target, std::string url, std::string body);

// The answer of a Deliver, from the message's lParam, now the window's.
std::unique_ptr<BoardReply> TakeBoardReply(std::intptr_t lParam);

// The path a replay is sent to: with ?name=NAME (percent-encoded UTF-8) when
// a name is given for a game that asked for none.
std::string BoardReplaysPath(std::string_view name);

} // namespace ruvo
