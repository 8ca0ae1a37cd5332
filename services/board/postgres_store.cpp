// The board in PostgreSQL, for boards that outgrow one machine: several
// ruvo-board processes share one database. A token is claimed by one
// conditional UPDATE, which PostgreSQL's row lock makes one submission's
// alone; a game is accepted in one transaction with its token used up, and
// the replays' unique token keeps any game from being listed twice. The
// schema's migrations run under an advisory lock, so that processes started
// together apply each once. A connection that breaks (the database
// restarted) is made again for the next request.
// SPDX-License-Identifier: MIT
#include <libpq-fe.h>

#include <array>
#include <memory>
#include <mutex>
#include <type_traits>
#include <vector>

#include "services/board/board_store.h"

namespace ruvo::board {
namespace {

// The schema's versions, each applied once and in order. New versions go
// at the end; none is edited.
constexpr std::array<const char*, 1> kMigrations = {
    "CREATE TABLE tokens (token TEXT PRIMARY KEY, start TEXT NOT NULL, day TEXT NOT NULL,"
    " issued_ms BIGINT NOT NULL, state INTEGER NOT NULL DEFAULT 0, claimed_ms BIGINT NOT NULL DEFAULT 0);"
    "CREATE TABLE replays (id BIGSERIAL PRIMARY KEY, token TEXT NOT NULL UNIQUE REFERENCES tokens(token),"
    " name TEXT NOT NULL, score BIGINT NOT NULL, round BIGINT NOT NULL, ticks BIGINT NOT NULL,"
    " accepted TEXT NOT NULL, day TEXT NOT NULL, body TEXT NOT NULL);"
    "CREATE INDEX replays_best ON replays (score DESC, ticks, id);"
    "CREATE INDEX replays_day_best ON replays (day, score DESC, ticks, id);"};
// The advisory lock the migrations take: any number, the same in every process.
constexpr const char* kMigrationLock = "SELECT pg_advisory_xact_lock(7417620)";

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

class Connection {
  public:
    explicit Connection(const std::string& address) : conn_(PQconnectdb(address.c_str()), &PQfinish) {}
    bool Ok() const { return PQstatus(conn_.get()) == CONNECTION_OK; }
    std::string Error() const { return OneLine(PQerrorMessage(conn_.get())); }

    Result Run(const char* sql, const std::vector<std::string>& values = {})
    {
        std::vector<const char*> pointers;
        for (const std::string& value : values)
            pointers.push_back(value.c_str());
        // Without values, a text of several statements (a migration) runs whole.
        Result result(values.empty() ? PQexec(conn_.get(), sql)
                                     : PQexecParams(conn_.get(), sql, static_cast<int>(values.size()), nullptr,
                                                    pointers.data(), nullptr, nullptr, 0),
                      &PQclear);
        const ExecStatusType status = PQresultStatus(result.get());
        if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
            throw StoreError("PostgreSQL: " + OneLine(PQresultErrorMessage(result.get())));
        return result;
    }

    static std::string OneLine(const char* message)
    {
        std::string text = message != nullptr ? message : "";
        while (!text.empty() && (text.back() == '\n' || text.back() == ' '))
            text.pop_back();
        for (char& ch : text)
            if (ch == '\n')
                ch = ' ';
        return text;
    }

  private:
    std::unique_ptr<PGconn, decltype(&PQfinish)> conn_;
};

std::string Text(const Result& result, int row, int column)
{
    return std::string(PQgetvalue(result.get(), row, column), PQgetlength(result.get(), row, column));
}

std::int64_t Int(const Result& result, int row, int column)
{
    return std::stoll(Text(result, row, column));
}

class PostgresStore final : public BoardStore {
  public:
    explicit PostgresStore(std::string address) : address_(std::move(address)) {}

    void Migrate()
    {
        Use([](Connection& db) {
            db.Run("CREATE TABLE IF NOT EXISTS board_schema (version INTEGER NOT NULL)");
            Transaction(db, [&] {
                db.Run(kMigrationLock);
                const Result read = db.Run("SELECT coalesce(max(version), 0) FROM board_schema");
                for (std::int64_t version = Int(read, 0, 0); version < static_cast<std::int64_t>(kMigrations.size());) {
                    db.Run(kMigrations[static_cast<std::size_t>(version)]);
                    db.Run("INSERT INTO board_schema (version) VALUES ($1)", {std::to_string(++version)});
                }
            });
            return 0;
        });
    }

    void AddToken(const TokenRecord& token) override
    {
        Use([&](Connection& db) {
            db.Run("INSERT INTO tokens (token, start, day, issued_ms) VALUES ($1, $2, $3, $4)",
                   {token.token, token.start, token.day, std::to_string(token.issuedMs)});
            return 0;
        });
    }

    Claim ClaimToken(const std::string& token, std::int64_t nowMs, std::int64_t staleMs, TokenRecord& record) override
    {
        return Use([&](Connection& db) {
            const Result claim = db.Run("UPDATE tokens SET state = 1, claimed_ms = $1 WHERE token = $2 AND"
                                        " (state = 0 OR (state = 1 AND claimed_ms < $1::BIGINT - $3::BIGINT))"
                                        " RETURNING start, day, issued_ms",
                                        {std::to_string(nowMs), token, std::to_string(staleMs)});
            if (PQntuples(claim.get()) == 1) {
                record = {token, Text(claim, 0, 0), Text(claim, 0, 1), Int(claim, 0, 2)};
                return Claim::Claimed;
            }
            const Result known = db.Run("SELECT 1 FROM tokens WHERE token = $1", {token});
            return PQntuples(known.get()) == 1 ? Claim::Taken : Claim::Unknown;
        });
    }

    void ReleaseToken(const std::string& token) override
    {
        Use([&](Connection& db) {
            db.Run("UPDATE tokens SET state = 0 WHERE token = $1 AND state = 1", {token});
            return 0;
        });
    }

    BoardEntry Accept(const std::string& token, BoardEntry entry, const std::string& replay) override
    {
        return Use([&](Connection& db) {
            BoardEntry accepted = entry;
            Transaction(db, [&] {
                const Result use = db.Run("UPDATE tokens SET state = 2 WHERE token = $1 AND state = 1", {token});
                if (std::string(PQcmdTuples(use.get())) != "1")
                    throw StoreError("the token is no longer this submission's");
                const Result add = db.Run("INSERT INTO replays (token, name, score, round, ticks, accepted, day, body)"
                                          " VALUES ($1, $2, $3, $4, $5, $6, $7, $8) RETURNING id",
                                          {token, entry.name, std::to_string(entry.score), std::to_string(entry.round),
                                           std::to_string(entry.ticks), entry.date, entry.day, replay});
                accepted.id = Int(add, 0, 0);
                const Result better = db.Run(
                    "SELECT count(*) FROM replays WHERE ($4 = '' OR day = $4) AND"
                    " (score > $1 OR (score = $1 AND (ticks < $2 OR (ticks = $2 AND id < $3))))",
                    {std::to_string(entry.score), std::to_string(entry.ticks), std::to_string(accepted.id), entry.day});
                accepted.rank = Int(better, 0, 0) + 1;
            });
            return accepted;
        });
    }

    std::vector<BoardEntry> Rows(const std::string& day, std::size_t limit) override
    {
        return Use([&](Connection& db) {
            const Result rows =
                db.Run("SELECT id, name, score, round, ticks, accepted, day FROM replays WHERE ($2 = '' OR day = $2)"
                       " ORDER BY score DESC, ticks, id LIMIT $1",
                       {std::to_string(limit), day});
            std::vector<BoardEntry> entries;
            for (int row = 0; row < PQntuples(rows.get()); ++row) {
                BoardEntry entry;
                entry.id = Int(rows, row, 0);
                entry.rank = row + 1;
                entry.name = Text(rows, row, 1);
                entry.score = static_cast<std::uint32_t>(Int(rows, row, 2));
                entry.round = static_cast<std::uint32_t>(Int(rows, row, 3));
                entry.ticks = static_cast<std::uint32_t>(Int(rows, row, 4));
                entry.date = Text(rows, row, 5);
                entry.day = Text(rows, row, 6);
                entries.push_back(std::move(entry));
            }
            return entries;
        });
    }

    std::optional<std::string> Replay(std::int64_t id) override
    {
        return Use([&](Connection& db) -> std::optional<std::string> {
            const Result read = db.Run("SELECT body FROM replays WHERE id = $1", {std::to_string(id)});
            if (PQntuples(read.get()) == 0)
                return std::nullopt;
            return Text(read, 0, 0);
        });
    }

  private:
    template <typename Work> static void Transaction(Connection& db, Work work)
    {
        db.Run("BEGIN");
        try {
            work();
            db.Run("COMMIT");
        } catch (...) {
            try {
                db.Run("ROLLBACK");
            } catch (const StoreError&) {
                // A broken connection has rolled back already.
            }
            throw;
        }
    }

    // A connection of the pool for one piece of work; a broken one is
    // dropped, and the next piece of work connects anew.
    template <typename Work> std::invoke_result_t<Work, Connection&> Use(Work work)
    {
        std::unique_ptr<Connection> db;
        {
            std::lock_guard lock(mutex_);
            if (!idle_.empty()) {
                db = std::move(idle_.back());
                idle_.pop_back();
            }
        }
        if (!db || !db->Ok()) {
            db = std::make_unique<Connection>(address_);
            if (!db->Ok())
                throw StoreError("PostgreSQL: " + db->Error());
        }
        auto result = work(*db);
        if (db->Ok()) {
            std::lock_guard lock(mutex_);
            idle_.push_back(std::move(db));
        }
        return result;
    }

    std::string address_;
    std::mutex mutex_;
    std::vector<std::unique_ptr<Connection>> idle_;
};

} // namespace

std::unique_ptr<BoardStore> OpenPostgresStore(const std::string& address, std::string& error)
{
    auto store = std::make_unique<PostgresStore>(address);
    try {
        store->Migrate();
    } catch (const StoreError& failure) {
        error = failure.what();
        return nullptr;
    }
    return store;
}

} // namespace ruvo::board
