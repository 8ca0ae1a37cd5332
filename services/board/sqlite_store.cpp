// The board in SQLite: one file, in WAL mode so that readers do not wait
// for the writer. Every write is on the disk (synchronous = FULL) before it
// is answered, and survives the process being killed or the machine losing
// power. A write to the disk costs milliseconds, so the writes that arrive
// together are committed together: the first to come commits the others'
// with its own, each in a savepoint of its own, so that one that fails
// leaves the rest (a group commit). Several processes may share the file;
// one connection a process, used by one thread at a time.
// SPDX-License-Identifier: MIT
#include <sqlite3.h>

#include <array>
#include <condition_variable>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

#include "services/board/board_store.h"

namespace ruvo::board {
namespace {

// The schema's versions, each applied once and in order; a database
// records the last it has. New versions go at the end; none is edited. A
// token's state: 0 given, 1 claimed by a submission being verified (since
// claimed_ms), 2 used by an accepted game.
constexpr std::array<const char*, 1> kMigrations = {
    "CREATE TABLE tokens (token TEXT PRIMARY KEY, start TEXT NOT NULL, day TEXT NOT NULL,"
    " issued_ms INTEGER NOT NULL, state INTEGER NOT NULL DEFAULT 0, claimed_ms INTEGER NOT NULL DEFAULT 0);"
    "CREATE TABLE replays (id INTEGER PRIMARY KEY, token TEXT NOT NULL UNIQUE REFERENCES tokens(token),"
    " name TEXT NOT NULL, score INTEGER NOT NULL, round INTEGER NOT NULL, ticks INTEGER NOT NULL,"
    " accepted TEXT NOT NULL, day TEXT NOT NULL, body TEXT NOT NULL);"
    "CREATE INDEX replays_best ON replays (score DESC, ticks, id);"
    "CREATE INDEX replays_day_best ON replays (day, score DESC, ticks, id);"};

class Statement {
  public:
    Statement(sqlite3* db, const char* sql)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
            throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db));
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& Bind(int at, const std::string& text)
    {
        sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Bind(int at, std::int64_t value)
    {
        sqlite3_bind_int64(statement_, at, value);
        return *this;
    }
    // True while a row comes.
    bool Step()
    {
        const int status = sqlite3_step(statement_);
        if (status == SQLITE_ROW)
            return true;
        if (status != SQLITE_DONE)
            throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(sqlite3_db_handle(statement_)));
        return false;
    }
    std::int64_t Int(int column) const { return sqlite3_column_int64(statement_, column); }
    std::string Text(int column) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, column));
        return text == nullptr ? std::string() : std::string(text, sqlite3_column_bytes(statement_, column));
    }

  private:
    sqlite3_stmt* statement_ = nullptr;
};

class SqliteStore final : public BoardStore {
  public:
    explicit SqliteStore(sqlite3* db) : db_(db) {}
    ~SqliteStore() override { sqlite3_close(db_); }

    void Migrate()
    {
        Execute("CREATE TABLE IF NOT EXISTS board_schema (version INTEGER NOT NULL)");
        Execute("BEGIN IMMEDIATE");
        try {
            Statement read(db_, "SELECT coalesce(max(version), 0) FROM board_schema");
            read.Step();
            for (std::int64_t version = read.Int(0); version < static_cast<std::int64_t>(kMigrations.size());) {
                Execute(kMigrations[static_cast<std::size_t>(version)]);
                Statement note(db_, "INSERT INTO board_schema (version) VALUES (?)");
                note.Bind(1, ++version).Step();
            }
            Execute("COMMIT");
        } catch (...) {
            Execute("ROLLBACK");
            throw;
        }
    }

    void AddToken(const TokenRecord& token) override
    {
        Write([&] {
            Statement add(db_, "INSERT INTO tokens (token, start, day, issued_ms) VALUES (?, ?, ?, ?)");
            add.Bind(1, token.token).Bind(2, token.start).Bind(3, token.day).Bind(4, token.issuedMs).Step();
        });
    }

    Claim ClaimToken(const std::string& token, std::int64_t nowMs, std::int64_t staleMs, TokenRecord& record) override
    {
        Claim outcome = Claim::Unknown;
        Write([&] {
            Statement claim(db_, "UPDATE tokens SET state = 1, claimed_ms = ?1 WHERE token = ?2 AND"
                                 " (state = 0 OR (state = 1 AND claimed_ms < ?1 - ?3))"
                                 " RETURNING start, day, issued_ms");
            claim.Bind(1, nowMs).Bind(2, token).Bind(3, staleMs);
            if (claim.Step()) {
                record = {token, claim.Text(0), claim.Text(1), claim.Int(2)};
                while (claim.Step()) {
                }
                outcome = Claim::Claimed;
                return;
            }
            Statement known(db_, "SELECT 1 FROM tokens WHERE token = ?");
            outcome = known.Bind(1, token).Step() ? Claim::Taken : Claim::Unknown;
        });
        return outcome;
    }

    void ReleaseToken(const std::string& token) override
    {
        Write([&] {
            Statement release(db_, "UPDATE tokens SET state = 0 WHERE token = ? AND state = 1");
            release.Bind(1, token).Step();
        });
    }

    BoardEntry Accept(const std::string& token, BoardEntry entry, const std::string& replay) override
    {
        Write([&] {
            Statement use(db_, "UPDATE tokens SET state = 2 WHERE token = ? AND state = 1");
            use.Bind(1, token).Step();
            if (sqlite3_changes(db_) != 1)
                throw StoreError("the token is no longer this submission's");
            Statement add(db_, "INSERT INTO replays (token, name, score, round, ticks, accepted, day, body)"
                               " VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING id");
            add.Bind(1, token).Bind(2, entry.name).Bind(3, entry.score).Bind(4, entry.round).Bind(5, entry.ticks);
            add.Bind(6, entry.date).Bind(7, entry.day).Bind(8, replay);
            add.Step();
            entry.id = add.Int(0);
            while (add.Step()) {
            }
            entry.rank = RankOf(entry);
        });
        return entry;
    }

    std::vector<BoardEntry> Rows(const std::string& day, std::size_t limit) override
    {
        std::lock_guard lock(mutex_);
        Statement rows(db_, day.empty() ? "SELECT id, name, score, round, ticks, accepted, day FROM replays"
                                          " ORDER BY score DESC, ticks, id LIMIT ?1"
                                        : "SELECT id, name, score, round, ticks, accepted, day FROM replays"
                                          " WHERE day = ?2 ORDER BY score DESC, ticks, id LIMIT ?1");
        rows.Bind(1, static_cast<std::int64_t>(limit));
        if (!day.empty())
            rows.Bind(2, day);
        std::vector<BoardEntry> entries;
        while (rows.Step()) {
            BoardEntry entry;
            entry.id = rows.Int(0);
            entry.rank = static_cast<std::int64_t>(entries.size()) + 1;
            entry.name = rows.Text(1);
            entry.score = static_cast<std::uint32_t>(rows.Int(2));
            entry.round = static_cast<std::uint32_t>(rows.Int(3));
            entry.ticks = static_cast<std::uint32_t>(rows.Int(4));
            entry.date = rows.Text(5);
            entry.day = rows.Text(6);
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    std::optional<std::string> Replay(std::int64_t id) override
    {
        std::lock_guard lock(mutex_);
        Statement read(db_, "SELECT body FROM replays WHERE id = ?");
        if (!read.Bind(1, id).Step())
            return std::nullopt;
        return read.Text(0);
    }

  private:
    // A write waiting to be committed, and what became of it.
    struct Job {
        const std::function<void()>* work;
        std::exception_ptr failure;
        bool done = false;
    };

    // Runs work in a savepoint of the next transaction and returns once that
    // has been committed; work's own failure, or the commit's, is thrown here.
    void Write(const std::function<void()>& work)
    {
        Job job{&work, nullptr, false};
        std::unique_lock lock(queueMutex_);
        queue_.push_back(&job);
        while (!job.done) {
            if (committing_) {
                committed_.wait(lock);
                continue;
            }
            // This thread commits what has gathered, its own job among it.
            committing_ = true;
            std::vector<Job*> batch;
            batch.swap(queue_);
            lock.unlock();
            CommitBatch(batch);
            lock.lock();
            committing_ = false;
            for (Job* done : batch)
                done->done = true;
            committed_.notify_all();
        }
        if (job.failure)
            std::rethrow_exception(job.failure);
    }

    void CommitBatch(const std::vector<Job*>& batch)
    {
        std::lock_guard lock(mutex_);
        try {
            Execute("BEGIN IMMEDIATE");
        } catch (...) {
            for (Job* job : batch)
                job->failure = std::current_exception();
            return;
        }
        for (Job* job : batch) {
            Execute("SAVEPOINT job");
            try {
                (*job->work)();
                Execute("RELEASE job");
            } catch (...) {
                job->failure = std::current_exception();
                Execute("ROLLBACK TO job");
                Execute("RELEASE job");
            }
        }
        try {
            Execute("COMMIT");
        } catch (...) {
            const std::exception_ptr failure = std::current_exception();
            sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
            for (Job* job : batch)
                job->failure = failure;
        }
    }

    void Execute(const char* sql)
    {
        char* message = nullptr;
        if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
            std::string text = message != nullptr ? message : sqlite3_errmsg(db_);
            sqlite3_free(message);
            throw StoreError("SQLite: " + text);
        }
    }

    // The entry's place on its board: the day's for a daily game.
    std::int64_t RankOf(const BoardEntry& entry)
    {
        Statement better(db_, "SELECT count(*) FROM replays WHERE (?4 = '' OR day = ?4) AND"
                              " (score > ?1 OR (score = ?1 AND (ticks < ?2 OR (ticks = ?2 AND id < ?3))))");
        better.Bind(1, entry.score).Bind(2, entry.ticks).Bind(3, entry.id).Bind(4, entry.day).Step();
        return better.Int(0) + 1;
    }

    sqlite3* db_;
    std::mutex mutex_; // the connection's
    std::mutex queueMutex_;
    std::condition_variable committed_;
    std::vector<Job*> queue_;
    bool committing_ = false;
};

} // namespace

std::unique_ptr<BoardStore> OpenSqliteStore(const std::string& path, std::string& error)
{
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        error = "cannot open the database " + path + ": " + (db != nullptr ? sqlite3_errmsg(db) : "out of memory");
        sqlite3_close(db);
        return nullptr;
    }
    // Another process's write waits its turn rather than failing.
    sqlite3_busy_timeout(db, 10000);
    auto store = std::make_unique<SqliteStore>(db);
    try {
        for (const char* setting :
             {"PRAGMA journal_mode = WAL", "PRAGMA synchronous = FULL", "PRAGMA foreign_keys = ON"})
            if (sqlite3_exec(db, setting, nullptr, nullptr, nullptr) != SQLITE_OK)
                throw StoreError(std::string("SQLite: ") + sqlite3_errmsg(db));
        store->Migrate();
    } catch (const StoreError& failure) {
        error = path + ": " + failure.what();
        return nullptr;
    }
    return store;
}

std::unique_ptr<BoardStore> OpenStore(const std::string& address, std::string& error)
{
    if (address.rfind("sqlite:", 0) == 0 && address.size() > 7)
        return OpenSqliteStore(address.substr(7), error);
    if (address.rfind("postgresql://", 0) == 0 || address.rfind("postgres://", 0) == 0)
        return OpenPostgresStore(address, error);
    error = "unknown database address " + address + ": expected sqlite:PATH or postgresql://...";
    return nullptr;
}

} // namespace ruvo::board
