// The board's routes: starts given with their tokens, replays verified and
// kept, the board as JSON and as a page, a kept replay as a file and as a
// link into the page.
// SPDX-License-Identifier: MIT
#include "services/board/board_service.h"

#include <charconv>
#include <ctime>
#include <random>

#include "replay/daily.h"
#include "replay/replay_file.h"
#include "replay/replay_verify.h"
#include "services/board/board_page.h"
#include "services/board/json_text.h"
#include "services/board/replay_link.h"

namespace ruvo::board {
namespace {

// A claim held longer than this by a process that died verifying is given up.
constexpr std::int64_t kStaleClaimMs = 5 * 60 * 1000;
// The clocks of the player's machine and the board's are not one: a game may
// come this much sooner than its ticks' own pace allows.
constexpr std::int64_t kClockSlackMs = 2000;
// The start file's table: every game played from it as it stands (as
// ruvo-sim plays it) enters the table and asks for its player's name. The
// editions keep the player's own table.
constexpr std::uint32_t kStartScore = 0;
constexpr std::size_t kMostRows = 100;

Response Json(int status, std::string body)
{
    return {status, "application/json", std::move(body), {}};
}

Response Refuse(int status, const std::string& reason)
{
    return Json(status, "{\"error\":" + JsonString(reason) + "}");
}

std::string DateText(std::int64_t nowMs)
{
    const std::time_t seconds = static_cast<std::time_t>(nowMs / 1000);
    std::tm utc{};
    gmtime_r(&seconds, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string RandomHex(std::size_t digits)
{
    static thread_local std::random_device source;
    std::string out;
    while (out.size() < digits) {
        const unsigned value = source();
        for (int shift = 28; shift >= 0 && out.size() < digits; shift -= 4)
            out += "0123456789abcdef"[(value >> shift) & 0xf];
    }
    return out;
}

// A day the board gives starts of: today's in UTC, or a day either side of
// it, for players whose own date is another.
std::optional<Day> NearDay(const std::string& text, std::int64_t nowMs)
{
    const std::optional<Day> day = ParseDay(text);
    if (!day)
        return std::nullopt;
    for (const std::int64_t offset : {-86400, 0, 86400})
        if (DayOf(nowMs / 1000 + offset) == *day)
            return day;
    return std::nullopt;
}

std::optional<std::int64_t> Id(const std::string& text)
{
    std::int64_t id = 0;
    const auto [end, failed] = std::from_chars(text.data(), text.data() + text.size(), id);
    if (failed != std::errc() || end != text.data() + text.size() || id <= 0 || text[0] == '+')
        return std::nullopt;
    return id;
}

// A name typed on the board's side: a line of text as the name dialog takes one.
bool NameFits(const std::string& name)
{
    if (name.empty() || name.size() > kReplayNameBytes || !IsUtf8(name))
        return false;
    for (const char ch : name)
        if (static_cast<unsigned char>(ch) < 0x20 || ch == 0x7f)
            return false;
    return true;
}

std::string EntryJson(const BoardEntry& entry)
{
    return "{\"rank\":" + std::to_string(entry.rank) + ",\"id\":" + std::to_string(entry.id) +
           ",\"name\":" + JsonString(ShownName(entry.name)) + ",\"score\":" + std::to_string(entry.score) +
           ",\"round\":" + std::to_string(entry.round) + ",\"ticks\":" + std::to_string(entry.ticks) +
           ",\"date\":" + JsonString(entry.date) + ",\"day\":" + JsonString(entry.day) +
           ",\"replay\":\"/api/v1/replays/" + std::to_string(entry.id) + "\"}";
}

} // namespace

Response BoardService::Answer(const Request& request)
{
    const std::string& path = request.path;
    const auto only = [&](const char* method, auto&& answer) -> Response {
        if (request.method != method && !(request.method == "HEAD" && std::string(method) == "GET")) {
            Response wrong = Refuse(405, "use " + std::string(method) + " for " + path);
            wrong.headers.emplace_back("Allow", method);
            return wrong;
        }
        return answer();
    };
    try {
        if (path == "/api/v1/tokens")
            return only("POST", [&] { return Tokens(request); });
        if (path == "/api/v1/replays")
            return only("POST", [&] { return Submit(request); });
        if (path == "/api/v1/board")
            return only("GET", [&] { return Rows(request); });
        if (path.rfind("/api/v1/replays/", 0) == 0)
            return only("GET", [&] { return ReplayText(path.substr(16)); });
        if (path == "/board")
            return only("GET", [&] { return Page(request); });
        if (path.rfind("/board/watch/", 0) == 0)
            return only("GET", [&] { return Link(path.substr(13), "#replay="); });
        if (path.rfind("/board/race/", 0) == 0)
            return only("GET", [&] { return Link(path.substr(12), "#race="); });
        if (path == "/healthz")
            return only("GET", [&] {
                store_.Rows({}, 1);
                return Response{200, "text/plain", "ok\n", {}};
            });
        if (path.rfind("/api/", 0) == 0)
            return Refuse(404, "no such address: " + path);
    } catch (const StoreError& failure) {
        return Refuse(503, std::string("the board's database is not available: ") + failure.what());
    }
    return {0, {}, {}, {}};
}

Response BoardService::Tokens(const Request& request)
{
    if (!limit_.Take(request.address, request.nowMs))
        return Refuse(429, "too many requests from " + request.address + ": try again in a minute");
    Replay start;
    start.game = RUVO_VERSION;
    start.edition = "board";
    start.date = DateText(request.nowMs);
    start.start.options = DailyOptions();
    start.start.scores.fill(kStartScore);
    const auto asked = request.query.find("day");
    if (asked != request.query.end()) {
        const std::optional<Day> day = NearDay(asked->second, request.nowMs);
        if (!day)
            return Refuse(400,
                          "day " + asked->second + ": expected today's UTC date, or a day either side, as YYYY-MM-DD");
        start.start.challenge = DayText(*day);
        start.start.program = DailyProgram(*day);
    } else {
        start.start.program.seed = static_cast<std::uint32_t>(std::stoul(RandomHex(8), nullptr, 16));
        start.start.program.sunFrame = static_cast<std::int32_t>(start.start.program.seed % 3);
    }
    start.start.token = RandomHex(kReplayTokenChars);
    const std::string text = WriteReplayStart(start);
    store_.AddToken({start.start.token, text, start.start.challenge, request.nowMs});
    return {201, "text/plain; charset=utf-8", text, {}};
}

Response BoardService::Submit(const Request& request)
{
    if (!limit_.Take(request.address, request.nowMs))
        return Refuse(429, "too many requests from " + request.address + ": try again in a minute");
    if (request.body.size() > kBoardReplayMaxBytes)
        return Refuse(413, "too large: " + std::to_string(request.body.size()) +
                               " bytes, where the board takes at most " + std::to_string(kBoardReplayMaxBytes));
    std::string error;
    std::optional<Replay> replay = ReadReplay(request.body, error);
    if (!replay)
        return Refuse(400, "not a replay the board can read: " + error);
    // The name typed into the game wins over one typed for the board.
    std::string name = replay->result.name;
    if (const auto typed = request.query.find("name"); typed != request.query.end()) {
        if (!NameFits(typed->second))
            return Refuse(400,
                          "name: expected 1 to " + std::to_string(kReplayNameBytes) + " bytes of text on one line");
        if (name.empty())
            name = typed->second;
    }
    const std::string token = replay->start.token;
    if (token.empty())
        return Refuse(422, "the game did not start from a board's start: ask the board for one, then play it");

    TokenRecord given;
    switch (store_.ClaimToken(token, request.nowMs, kStaleClaimMs, given)) {
    case Claim::Unknown:
        return Refuse(422, "the game's token is not one this board gave");
    case Claim::Taken:
        return Refuse(409, "the game's token was already used");
    case Claim::Claimed:
        break;
    }
    // What goes wrong from here leaves the token to its rightful game.
    struct Release {
        BoardStore& store;
        const std::string& token;
        bool keep = false;
        ~Release()
        {
            if (!keep)
                try {
                    store.ReleaseToken(token);
                } catch (const StoreError&) {
                    // The claim goes stale and is given up later.
                }
        }
    } release{store_, token};

    const std::optional<Replay> start = ReadReplayStart(given.start, error);
    const ReplayStart& played = replay->start;
    if (!start || played.program != start->start.program || played.options != start->start.options ||
        played.challenge != start->start.challenge)
        return Refuse(422, "the game does not start from the start its token was given with");
    const ReplayResult claimed = replay->result;
    const Verdict verdict = VerifyReplay(std::move(*replay));
    if (!verdict.verified)
        return Refuse(422, "the replay does not verify: " + verdict.line);
    const std::int64_t since = request.nowMs - given.issuedMs;
    const auto least = static_cast<std::int64_t>(verdict.playedMs * pacePercent_ / 100);
    if (least > since + kClockSlackMs)
        return Refuse(422, "played faster than real time: its " + std::to_string(claimed.ticks) + " ticks take " +
                               std::to_string(verdict.playedMs / 1000) +
                               " s at the game's pace, and its start was given " + std::to_string(since / 1000) +
                               " s ago");

    BoardEntry entry;
    entry.name = name.empty() ? "anonymous" : name;
    entry.score = claimed.score;
    entry.round = claimed.round;
    entry.ticks = claimed.ticks;
    entry.date = DateText(request.nowMs);
    entry.day = start->start.challenge;
    entry = store_.Accept(token, entry, request.body);
    release.keep = true;
    return Json(201, "{\"id\":" + std::to_string(entry.id) + ",\"rank\":" + std::to_string(entry.rank) +
                         ",\"score\":" + std::to_string(entry.score) + ",\"round\":" + std::to_string(entry.round) +
                         ",\"ticks\":" + std::to_string(entry.ticks) +
                         ",\"name\":" + JsonString(ShownName(entry.name)) + ",\"day\":" + JsonString(entry.day) + "}");
}

Response BoardService::Rows(const Request& request)
{
    std::size_t limit = 10;
    if (const auto asked = request.query.find("limit"); asked != request.query.end()) {
        const std::optional<std::int64_t> count = Id(asked->second);
        if (!count || *count > static_cast<std::int64_t>(kMostRows))
            return Refuse(400, "limit " + asked->second + ": expected 1 to " + std::to_string(kMostRows));
        limit = static_cast<std::size_t>(*count);
    }
    std::string day;
    if (const auto asked = request.query.find("day"); asked != request.query.end()) {
        if (!ParseDay(asked->second))
            return Refuse(400, "day " + asked->second + ": expected YYYY-MM-DD");
        day = asked->second;
    }
    std::string body = "{\"day\":" + JsonString(day) + ",\"rows\":[";
    const std::vector<BoardEntry> rows = store_.Rows(day, limit);
    for (std::size_t k = 0; k < rows.size(); ++k)
        body += (k == 0 ? "" : ",") + EntryJson(rows[k]);
    return Json(200, body + "]}");
}

Response BoardService::Page(const Request& request)
{
    std::string day;
    if (const auto asked = request.query.find("day"); asked != request.query.end() && ParseDay(asked->second))
        day = asked->second;
    Response page{200, "text/html; charset=utf-8", BoardPage(store_.Rows(day, kMostRows), day), {}};
    page.headers.emplace_back("Content-Security-Policy", kBoardPagePolicy);
    return page;
}

Response BoardService::ReplayText(const std::string& id)
{
    const std::optional<std::int64_t> number = Id(id);
    const std::optional<std::string> text = number ? store_.Replay(*number) : std::nullopt;
    if (!text)
        return Refuse(404, "no replay " + id + " on this board");
    Response file{200, "text/plain; charset=utf-8", *text, {}};
    file.headers.emplace_back("Content-Disposition", "attachment; filename=\"board-" + id + ".ruvo-replay\"");
    return file;
}

Response BoardService::Link(const std::string& id, const char* mark)
{
    const std::optional<std::int64_t> number = Id(id);
    const std::optional<std::string> text = number ? store_.Replay(*number) : std::nullopt;
    if (!text)
        return Refuse(404, "no replay " + id + " on this board");
    Response there{303, "text/plain", {}, {}};
    there.headers.emplace_back("Location", "/" + std::string(mark) + PackedReplay(*text));
    return there;
}

} // namespace ruvo::board
