// What the board answers, apart from HTTP: a request's method, path, query,
// body and address in; a status, a type, a body and headers out. The
// routes are docs/board.md's.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "services/board/board_store.h"
#include "services/board/rate_limit.h"

namespace ruvo::board {

// The largest replay a board takes, in bytes: a game of hours.
constexpr std::size_t kBoardReplayMaxBytes = 64 * 1024;

struct Request {
    std::string method;
    std::string path;
    std::map<std::string, std::string> query;
    std::string body;
    std::string address;
    std::int64_t nowMs = 0; // milliseconds since 1970, UTC
};

struct Response {
    int status = 200;
    std::string type = "application/json";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;
};

class BoardService {
  public:
    BoardService(BoardStore& store, std::uint32_t perMinute, std::uint32_t pacePercent)
        : store_(store), limit_(perMinute), pacePercent_(pacePercent)
    {
    }

    // The answer to a request of the board's own; nullopt-like status 0 for
    // a path that is not the board's (the site's files answer it).
    Response Answer(const Request& request);

  private:
    Response Tokens(const Request& request);
    Response Submit(const Request& request);
    Response Rows(const Request& request);
    Response Page(const Request& request);
    Response ReplayText(const std::string& id);
    Response Link(const std::string& id, const char* mark);

    BoardStore& store_;
    RateLimit limit_;
    std::uint32_t pacePercent_;
};

} // namespace ruvo::board
