// What a board costs: its verified submissions a second and a processor
// second, the times of submissions sent by many clients at once, and the
// times of its first page. Against a ruvo-board that board-bench.sh starts
// (with --pace 0 --rate 0, so that nothing but the work is measured).
//
// The game sent is one long game of the day's challenge, played once by a
// look-ahead player (before each tick it plays both choices a little ahead
// on copies of the game, and dives where diving keeps a life), then sent
// again and again, each time with a token of its own: every submission is
// the same game's verification.
//
// Usage: ruvo-board-bench URL PID submit GAMES CLIENTS
//        ruvo-board-bench URL PID pages REQUESTS
// PID is the board's process, whose processor time and peak memory are read.
// Prints key=value lines for board-bench.sh.
// SPDX-License-Identifier: MIT
#include <httplib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "replay/daily.h"
#include "replay/replay_file.h"
#include "replay/replay_play.h"
#include "replay/replay_verify.h"

namespace {

using Clock = std::chrono::steady_clock;

// Ten minutes at the game's pace of 80 ms a tick.
constexpr std::uint32_t kLongGameTicks = 7500;
constexpr int kLookAhead = 48;

double Seconds(Clock::time_point since)
{
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// The board process's processor seconds, from /proc.
double ProcessSeconds(const std::string& pid)
{
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long long user = 0, system = 0;
    for (int k = 3; k <= 15 && fields >> field; ++k) {
        if (k == 14)
            user = std::stoll(field);
        if (k == 15)
            system = std::stoll(field);
    }
    return static_cast<double>(user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long long PeakKilobytes(const std::string& pid)
{
    std::ifstream status("/proc/" + pid + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0)
            return std::atoll(line.c_str() + 6);
    return 0;
}

double Percentile(std::vector<double> times, double share)
{
    std::sort(times.begin(), times.end());
    return times.empty()
               ? 0
               : times[std::min(times.size() - 1, static_cast<std::size_t>(share * static_cast<double>(times.size())))];
}

std::string Token(httplib::Client& board, const std::string& day)
{
    const auto answer = board.Post("/api/v1/tokens?day=" + day, "", "text/plain");
    if (!answer || answer->status != 201) {
        std::fprintf(stderr, "ruvo-board-bench: no start from the board\n");
        std::exit(1);
    }
    return answer->body;
}

// Lives left after playing on a copy of play for a while, with a dive
// first where dive says so.
std::int64_t LivesAhead(const ruvo::ReplayPlay& play, bool dive)
{
    ruvo::ReplayPlay ahead = play;
    ahead.commands.clear();
    ahead.next = 0;
    if (dive)
        ahead.commands.push_back({play.result.ticks + 1, ruvo::ReplayAction::Dive, {}});
    for (int k = 0; k < kLookAhead && ruvo::StepReplayPlay(ahead); ++k) {
    }
    return ahead.ended ? -1 : ahead.game.lives;
}

// A long game from the start file's start, played by looking ahead.
std::string LongGame(const std::string& startFile)
{
    using namespace ruvo;
    std::string error;
    std::optional<Replay> replay = ReadReplayStart(startFile, error);
    if (!replay) {
        std::fprintf(stderr, "ruvo-board-bench: %s\n", error.c_str());
        std::exit(1);
    }
    replay->edition = "bench";
    replay->commands = {{1, ReplayAction::Name, "Bench"}};
    replay->result.ticks = kReplayMaxTicks;
    Replay played = *replay;
    ReplayPlay play;
    BeginReplayPlay(play, std::move(*replay));
    std::vector<ReplayCommand> commands = {{1, ReplayAction::Name, "Bench"}};
    for (;;) {
        // Past ten minutes the player stops diving, and the game ends.
        const bool dive = play.result.ticks < kLongGameTicks && LivesAhead(play, true) > LivesAhead(play, false);
        if (dive) {
            const ReplayCommand command{play.result.ticks + 1, ReplayAction::Dive, {}};
            commands.push_back(command);
            play.commands.push_back(command);
        }
        if (!StepReplayPlay(play))
            break;
    }
    played.commands = std::move(commands);
    played.result = play.result;
    const std::string text = WriteReplay(played);
    if (!VerifyReplay(*ReadReplay(text, error)).verified) {
        std::fprintf(stderr, "ruvo-board-bench: the long game does not verify\n");
        std::exit(1);
    }
    return text;
}

std::string WithToken(std::string game, const std::string& startFile)
{
    const std::size_t mine = game.find("\ntoken ") + 7, theirs = startFile.find("\ntoken ") + 7;
    return game.replace(mine, ruvo::kReplayTokenChars, startFile.substr(theirs, ruvo::kReplayTokenChars));
}

int Submit(const std::string& url, const std::string& pid, int games, int clients)
{
    httplib::Client board(url);
    const std::string day = ruvo::DayText(ruvo::DayOf(std::time(nullptr)));
    const auto made = Clock::now();
    const std::string game = LongGame(Token(board, day));
    const double madeSeconds = Seconds(made);
    const std::optional<ruvo::Replay> read = [&] {
        std::string error;
        return ruvo::ReadReplay(game, error);
    }();
    std::vector<std::string> sends;
    for (int k = 0; k < games; ++k)
        sends.push_back(WithToken(game, Token(board, day)));

    std::atomic<int> next{0}, accepted{0};
    std::mutex timesMutex;
    std::vector<double> times;
    const double processorBefore = ProcessSeconds(pid);
    const auto started = Clock::now();
    std::vector<std::thread> senders;
    for (int c = 0; c < clients; ++c)
        senders.emplace_back([&] {
            httplib::Client client(url);
            client.set_read_timeout(120, 0);
            for (int k; (k = next++) < games;) {
                const auto sent = Clock::now();
                const auto answer = client.Post("/api/v1/replays", sends[static_cast<std::size_t>(k)], "text/plain");
                const double took = Seconds(sent);
                if (answer && answer->status == 201)
                    ++accepted;
                else if (!answer)
                    std::fprintf(stderr, "ruvo-board-bench: %s\n", httplib::to_string(answer.error()).c_str());
                else
                    std::fprintf(stderr, "ruvo-board-bench: %d %s\n", answer->status, answer->body.c_str());
                std::lock_guard lock(timesMutex);
                times.push_back(took);
            }
        });
    for (std::thread& sender : senders)
        sender.join();
    const double wall = Seconds(started);
    const double processor = ProcessSeconds(pid) - processorBefore;
    std::printf("game_ticks=%u\ngame_made_seconds=%.1f\nsubmissions=%d\naccepted=%d\nclients=%d\n", read->result.ticks,
                madeSeconds, games, accepted.load(), clients);
    std::printf("submissions_per_second=%.1f\nsubmissions_per_processor_second=%.1f\n", accepted / wall,
                accepted / processor);
    std::printf("p50_ms=%.1f\np99_ms=%.1f\npeak_rss_kb=%lld\n", 1000 * Percentile(times, 0.5),
                1000 * Percentile(times, 0.99), PeakKilobytes(pid));
    return accepted == games ? 0 : 1;
}

int Pages(const std::string& url, const std::string& pid, int requests)
{
    httplib::Client board(url);
    for (const char* path : {"/api/v1/board", "/board"}) {
        std::vector<double> times;
        for (int k = 0; k < requests; ++k) {
            const auto sent = Clock::now();
            const auto answer = board.Get(path);
            times.push_back(Seconds(sent));
            if (!answer || answer->status != 200) {
                std::fprintf(stderr, "ruvo-board-bench: %s failed\n", path);
                return 1;
            }
        }
        const std::string name = path[1] == 'a' ? "api" : "page";
        std::printf("%s_p50_ms=%.2f\n%s_p99_ms=%.2f\n", name.c_str(), 1000 * Percentile(times, 0.5), name.c_str(),
                    1000 * Percentile(times, 0.99));
    }
    std::printf("peak_rss_kb=%lld\n", PeakKilobytes(pid));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 5 && args[2] == "submit")
        return Submit(args[0], args[1], std::atoi(args[3].c_str()), std::atoi(args[4].c_str()));
    if (args.size() == 4 && args[2] == "pages")
        return Pages(args[0], args[1], std::atoi(args[3].c_str()));
    std::fprintf(stderr, "usage: ruvo-board-bench URL PID submit GAMES CLIENTS | URL PID pages REQUESTS\n");
    return 2;
}
