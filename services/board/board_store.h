// The board's store: the tokens a board gave and the games it accepted, in
// SQLite (one machine) or PostgreSQL (several processes over one database).
// A store's calls are safe from any thread; a database that fails makes them
// throw StoreError, which the service answers with 503 and survives.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ruvo::board {

struct StoreError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A start the board gave: the start file's text, the day it is the
// challenge of (or empty) and when it was given.
struct TokenRecord {
    std::string token;
    std::string start;
    std::string day;
    std::int64_t issuedMs = 0;
};

enum class Claim {
    Claimed, // this submission has it until Accept or Release
    Unknown, // no such token
    Taken,   // used by an accepted game, or being verified for another submission
};

// A game on the board.
struct BoardEntry {
    std::int64_t id = 0;
    std::int64_t rank = 0; // on its board: the day's for a daily game, else the whole board's
    std::string name;
    std::uint32_t score = 0;
    std::uint32_t round = 0;
    std::uint32_t ticks = 0;
    std::string date; // when it was accepted, UTC
    std::string day;  // the challenge's day, or empty
};

class BoardStore {
  public:
    virtual ~BoardStore() = default;
    virtual void AddToken(const TokenRecord& token) = 0;
    // Claims an unused token for one submission. A claim older than
    // staleMs (its process died verifying) may be claimed again.
    virtual Claim ClaimToken(const std::string& token, std::int64_t nowMs, std::int64_t staleMs,
                             TokenRecord& record) = 0;
    virtual void ReleaseToken(const std::string& token) = 0;
    // Stores the game and uses up its token in one transaction; gives the
    // entry with its id and rank.
    virtual BoardEntry Accept(const std::string& token, BoardEntry entry, const std::string& replay) = 0;
    // The best games first, of one day's challenge or (day empty) of all.
    virtual std::vector<BoardEntry> Rows(const std::string& day, std::size_t limit) = 0;
    virtual std::optional<std::string> Replay(std::int64_t id) = 0;
};

// The store a --database address names (sqlite:PATH, or postgresql://...
// as libpq takes it), its schema created or brought up to date. Null and a
// one-line error when it cannot be.
std::unique_ptr<BoardStore> OpenStore(const std::string& address, std::string& error);
std::unique_ptr<BoardStore> OpenSqliteStore(const std::string& path, std::string& error);
std::unique_ptr<BoardStore> OpenPostgresStore(const std::string& address, std::string& error);

} // namespace ruvo::board
