// Replays in the program on the in-memory machine: watching one on the title
// screen and what the player can do meanwhile, the replays kept for the
// table's rows and the last game (two windows over one store among them),
// how large a long game's replay grows, and ruvo-sim's verification; and
// playing for a board: a board's start played from the title (waiting for an
// open dialog) and kept with its token, which alone makes a replay fit to
// send; the addresses a player may type; and what the player reads of the
// board's answers.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "game/drawing.h"
#include "game/window.h"
#include "replay/board_client.h"
#include "replay/replay_file.h"
#include "replay/replay_keep.h"
#include "replay/replay_race.h"
#include "replay/replay_record.h"
#include "replay/replay_verify.h"
#include "replay/replay_watch.h"
#include "settings/dialog_logic.h"
#include "settings/options.h"
#include "support/game_run.h"

namespace ruvo {
namespace {

using testing::GameRun;
using testing::kLowTable;
using testing::Read;
using testing::RecordedGame;
using testing::StartedRun;

const testing::SettingsValues kZeroTable = {
    {"Score1", "0"}, {"Score2", "0"}, {"Score3", "0"}, {"Score4", "0"}, {"Score5", "0"}};

// Watched on the title three times over: to its end, ended with Esc after
// its speeds, its pause and the switches, and ended by Start, which starts
// the game; the game on the title then plays on as it would have.
TEST(Watching, LeavesTheGameOnTheTitleToPlayOnAsItWouldHave)
{
    const std::string replay = RecordedGame(9);
    StartedRun without;
    without.Ticks(70);
    const std::vector<std::string> expected = without.Play(7);

    StartedRun with;
    GameRecord& r = with.R();
    HeadlessWindow& window = with.game.Window();
    EXPECT_EQ(WatchReplay(r, "ruvo-replay 9\n"), "made by a newer Ruvo: replay format 9, this one reads format 2");
    const auto watch = [&](int ticks) {
        const ProgramState before = r.game.program;
        const Surface frame = *r.drawing.frameBitmap;
        EXPECT_EQ(WatchReplay(r, replay), "");
        EXPECT_EQ(window.caption, std::string(kWindowTitle) + " - REPLAY");
        EXPECT_EQ(window.timerPeriod, r.watch->play.game.tickInterval);
        EXPECT_TRUE(window.IsEnabled(IDM_PAUSE)); // the replay's pause
        for (int i = 0; i < ticks && r.watch; ++i) {
            with.game.Click(); // the replay plays by itself
            with.game.Tick();
        }
        return std::pair{before, frame};
    };
    const auto expectAsBefore = [&](const std::pair<ProgramState, Surface>& before) {
        EXPECT_FALSE(r.watch);
        EXPECT_EQ(r.game.program, before.first);
        EXPECT_EQ(r.drawing.frameBitmap->Pixels(), before.second.Pixels());
        EXPECT_EQ(window.timerPeriod, r.game.tickInterval);
        EXPECT_EQ(window.caption, kWindowTitle);
        EXPECT_FALSE(window.IsEnabled(IDM_PAUSE));
    };
    with.Ticks(30);
    // To its end, which comes by itself, with the replay's result.
    expectAsBefore(watch(100000));
    EXPECT_EQ(r.lastWatched, Read(replay).result);
    with.Ticks(10);

    const auto before = watch(30);
    ASSERT_TRUE(r.watch);
    const std::pair<char, const char*> keys[] = {{'+', " 2x"}, {'=', " 4x"}, {'+', " 8x"}, {'+', " 8x"}, {'-', " 4x"},
                                                 {'-', " 2x"}, {'-', ""},    {'-', ""},    {'+', " 2x"}, {'+', " 4x"}};
    for (const auto& [key, speed] : keys) {
        with.game.Send({MessageKind::Char, static_cast<std::uint32_t>(key)});
        EXPECT_EQ(window.caption, std::string(kWindowTitle) + " - REPLAY" + speed);
    }
    EXPECT_EQ(window.timerPeriod, PaceFor(r.watch->play.game.tickInterval, 4).periodMs);
    std::uint32_t ticks = r.watch->play.result.ticks;
    with.Ticks(3);
    EXPECT_EQ(r.watch->play.result.ticks, ticks + 3 * static_cast<std::uint32_t>(r.watch->ticksPerTimer));
    with.game.Command(IDM_PAUSE);
    EXPECT_EQ(window.caption, std::string(kWindowTitle) + " - REPLAY 4x, paused");
    ticks = r.watch->play.result.ticks;
    with.Ticks(5);
    EXPECT_EQ(r.watch->play.result.ticks, ticks);
    with.game.Command(IDM_PAUSE);
    with.Ticks(1);
    EXPECT_GT(r.watch->play.result.ticks, ticks);
    // The switches tried twice: as they were.
    for (const MenuId item : {IDM_SOUND, IDM_MUSIC, IDM_SOUND, IDM_MUSIC})
        with.game.Command(item);
    with.game.Send({MessageKind::Char, 27});
    expectAsBefore(before);
    EXPECT_EQ(r.lastWatched, ReplayResult{}); // not to its end
    with.Ticks(30);

    watch(20);
    const auto start = [&] {
        with.game.Command(IDM_START);
        EXPECT_FALSE(r.watch);
        EXPECT_EQ(r.game.state, kStartBannerWord);
        EXPECT_TRUE(r.replayLog.recording);
        EXPECT_EQ(WatchReplay(r, replay), "a replay plays on the title screen only");
    };
    EXPECT_EQ(with.Play(7, "Ann", start), expected);
}

// A replay asked for while a dialog is open (a link that comes while the
// Option dialog is open) starts once the dialog has closed: the dialog's OK
// restarts the live title from the live game's values, and the replay still
// plays to the end its file gives.
TEST(Watching, WaitsForAnOpenDialogToClose)
{
    const std::string replay = RecordedGame(9);
    const ReplayResult result = Read(replay).result;
    // The live game's values once the dialog's OK has restarted the title,
    // and a replay that came meanwhile has played to its end.
    const auto afterOption = [&](bool replayComes) {
        StartedRun program(testing::SettingsValues{{"Option", "1"}});
        GameRecord& r = program.R();
        const std::array<std::string, 8> edits = FillOptionEdits(r);
        program.game.dialogs.optionAnswer = std::vector<std::string>(edits.begin(), edits.end());
        if (replayComes)
            program.game.dialogs.whileOptionOpen = [&] {
                EXPECT_EQ(WatchReplay(r, replay), "");
                EXPECT_FALSE(r.watch);
            };
        program.game.Command(IDM_OPTION);
        EXPECT_EQ(static_cast<bool>(r.watch), replayComes);
        for (int i = 0; i < 100000 && r.watch; ++i)
            program.game.Tick();
        EXPECT_EQ(r.lastWatched, replayComes ? result : ReplayResult{});
        return r.game.program;
    };
    EXPECT_EQ(afterOption(true), afterOption(false));
}

// A race: the player's game starts where the replay's did and goes its own
// way; while the two games' scenery is the same the window shows the ghost
// over a copy of the frame, the caption gives the lead, a pause of the
// player's holds the ghost too, and the end says who won. The same inputs
// give the same game, trace and frames, with the ghost or without it, and
// the player's game is kept and verifies.
TEST(Racing, AGhostBesideThePlayersGameShowsTheLeadAndChangesNothingOfIt)
{
    const std::string replay = RecordedGame(9);
    const Replay ghost = Read(replay);
    const auto played = [&](bool race) {
        StartedRun run(kLowTable);
        GameRecord& r = run.R();
        r.game.optDamage = 0;
        const auto start = [&] {
            if (race) {
                EXPECT_EQ(RaceReplay(r, replay), "");
                EXPECT_EQ(run.game.Window().caption, std::string(kWindowTitle) + " - RACE vs Ann +0");
            } else {
                run.game.StartBoard(ghost.start);
            }
        };
        // Before each tick, what the one before left (where the ghost's
        // jumper is where the player's is, the two frames look alike).
        int shown = 0, apart = 0;
        std::uint32_t held = 0;
        const auto each = [&](int k) {
            if (k == 50 || k == 60)
                run.game.Command(IDM_PAUSE);
            if (!r.race)
                return;
            held = k == 50 ? r.race->ghost.result.ticks : held;
            if (k > 50 && k <= 60) {
                EXPECT_EQ(r.race->ghost.result.ticks, held) << k;
            }
            if (r.drawing.ghostShown) {
                ++shown;
                apart += ShownFrame(r.drawing)->Pixels() != r.drawing.frameBitmap->Pixels() ? 1 : 0;
            }
            const auto lead = static_cast<std::int64_t>(r.game.score) - r.race->ghost.game.score;
            EXPECT_EQ(run.game.Window().caption,
                      std::string(kWindowTitle) + " - RACE vs Ann " + (lead >= 0 ? "+" : "") + std::to_string(lead));
        };
        std::vector<std::string> lines = run.Play(7, "Cy", start, each);
        if (race) {
            EXPECT_GT(shown, 20);
            EXPECT_GT(apart, 10);
            EXPECT_FALSE(r.race);
            EXPECT_EQ(ShownFrame(r.drawing), r.drawing.frameBitmap.get());
            EXPECT_EQ(run.game.Window().caption, kWindowTitle);
            EXPECT_EQ(run.game.dialogs.notes.size(), 1u);
            for (const std::string& note : run.game.dialogs.notes)
                EXPECT_NE(note.find("the race"), std::string::npos) << note;
        }
        EXPECT_TRUE(VerifyReplay(Read(run.Kept(kLastGameReplay))).verified);
        return lines;
    };
    EXPECT_EQ(played(true), played(false));
}

TEST(WatchPace, DividesThePeriodOrRunsSeveralTicksAtTheShortestTimer)
{
    const struct {
        std::int32_t period, speed, timer, ticks;
    } cases[] = {{80, 1, 80, 1}, {80, 2, 40, 1}, {80, 8, 10, 1}, {50, 8, 12, 2},
                 {0, 1, 10, 1},  {-5, 2, 10, 2}, {5, 4, 10, 4},  {2147483647, 8, 268435455, 1}};
    for (const auto& c : cases) {
        const WatchPace pace = PaceFor(c.period, c.speed);
        EXPECT_EQ(std::pair(pace.periodMs, pace.ticks), std::pair(c.timer, c.ticks)) << c.period << " at " << c.speed;
    }
}

TEST(KeptReplays, FollowTheTableRowsAndTheLastGameUnlessTheStoreRefusesIt)
{
    // A game, and the same game again in a program that starts where the
    // first one did: equal rows, each with a replay of its own.
    StartedRun first(kZeroTable);
    first.Play(6, "Bea");
    const std::string replay = first.Kept(kLastGameReplay);
    const Replay game = Read(replay);
    const std::string row = RowReplayName(first.R(), 0);
    EXPECT_EQ(first.Kept(row), replay);
    EXPECT_EQ(row.rfind("row-" + std::to_string(game.result.score) + "-" + std::to_string(game.result.round) + "-", 0),
              0u);
    EXPECT_EQ(row.substr(row.size() - 2), "-1");
    // A store that refuses the next game's replay: the player is told once,
    // and the list shows no older game as the last one.
    EXPECT_TRUE(first.game.dialogs.notes.empty());
    first.game.replays.writable = false;
    first.Play(5, "Cy");
    EXPECT_EQ(first.Kept(kLastGameReplay), "");
    EXPECT_EQ(first.game.dialogs.notes, std::vector<std::string>{kReplayNotKept});
    for (const KeptReplay& kept : KeptReplays(first.R()))
        EXPECT_NE(kept.name, kLastGameReplay);

    testing::SettingsValues table{
        {"Score1", std::to_string(game.result.score)}, {"Round1", std::to_string(game.result.round)}, {"Name1", "Bea"}};
    table.insert(kZeroTable.begin(), kZeroTable.end()); // the rows below, at 0
    StartedRun second(table);
    second.Play(6, "Bea");
    const auto played = [](const std::string& text) { return text.substr(text.find("program")); };
    EXPECT_EQ(played(second.Kept(kLastGameReplay)), played(replay));
    const std::string equalRow = row.substr(0, row.size() - 1) + "2";
    EXPECT_EQ(RowReplayName(second.R(), 1), equalRow);
    const std::vector<KeptReplay> list = KeptReplays(second.R());
    ASSERT_EQ(list.size(), 2u); // the older row came with no replay
    EXPECT_EQ(list[0].name, RowReplayName(second.R(), 1));
    EXPECT_EQ(list[0].label, "2nd   " + std::to_string(game.result.score) + "   round " +
                                 std::to_string(game.result.round) + "   Bea");
    EXPECT_EQ(list[1].name, kLastGameReplay);

    // Rows pushed out of the table take their replays with them.
    second.R().game.optDamage = 8;
    for (int i = 0; i < 8 && !second.Kept(equalRow).empty(); ++i)
        second.Play(13, "Cy");
    EXPECT_EQ(second.Kept(equalRow), "");
    EXPECT_TRUE(RemoveKeptReplay(second.R(), kLastGameReplay));
    for (const KeptReplay& kept : KeptReplays(second.R()))
        EXPECT_EQ(kept.label.find("Bea"), std::string::npos);
}

TEST(KeptReplays, TwoWindowsKeepEachOthersRows)
{
    GameRun one(kZeroTable), two;
    two.game.sharedSettings = &one.game.settings;
    two.game.sharedReplays = &one.game.replays;
    one.game.Start();
    two.game.Start(); // both have read the table before either game ends
    one.Play(6, "One");
    const std::string oneRow = RowReplayName(one.R(), 0);
    // The second window's table is still the one it read; the store's has the row.
    RemoveLeftRows(two.R());
    EXPECT_NE(one.Kept(oneRow), "");
    two.Play(4, "Two");
    // The second window's save took in the first one's row, and its replay stays.
    EXPECT_NE(one.Kept(oneRow), "");
    std::size_t rows = 0;
    for (const KeptReplay& kept : KeptReplays(two.R()))
        rows += kept.name.rfind("row-", 0) == 0 ? 1 : 0;
    EXPECT_EQ(rows, 2u);
}

TEST(Recording, KeepsATenMinuteGameOfHeldDivesSmall)
{
    StartedRun program;
    GameRecord& r = program.R();
    r.game.optDamage = 100000; // lives enough for ten minutes
    program.game.Command(IDM_START);
    std::int64_t elapsedMs = 0;
    int ticks = 0;
    for (; elapsedMs < 10 * 60 * 1000; ++ticks) {
        program.game.Send({MessageKind::Char, 32}); // the space bar held down
        elapsedMs += r.game.tickInterval;
        program.game.Tick();
    }
    const Replay replay = RecordedSoFar(r);
    EXPECT_GT(replay.commands.size(), 1000u);
    EXPECT_LT(WriteReplay(replay).size(), 20000u) << ticks << " ticks, " << replay.commands.size() << " dives";
}

TEST(Verify, ChecksTheResultAndNamesTheFirstDifference)
{
    const Replay replay = Read(RecordedGame(4));
    // The verified line is sim_test.sh's, through ruvo-sim --verify.
    Replay dive = replay;
    for (ReplayCommand& command : dive.commands)
        command.tick += command.action == ReplayAction::Dive ? 1 : 0;
    const Verdict edited = VerifyReplay(dive);
    EXPECT_FALSE(edited.verified);
    EXPECT_EQ(edited.line.rfind("differs: ", 0), 0u) << edited.line;

    Replay score = replay;
    score.result.score += 50;
    EXPECT_EQ(VerifyReplay(score).line, "differs: score=" + std::to_string(score.result.score - 50) +
                                            ", the file says score=" + std::to_string(score.result.score));
    Replay name = replay;
    name.result.name = "Someone";
    EXPECT_EQ(VerifyReplay(name).line, "differs: name=Ann, the file says name=Someone");
}

// A board's start, a day's and a race's play with their own options and give
// the player's own back once the game is over; the board's start waits for an
// open dialog, and its token, kept with the game, alone makes a replay fit to
// send.
TEST(BoardClient, PlaysTheBoardsStartADaysAndARacesAndKeepsTheTokenForSending)
{
    StartedRun run(kLowTable);
    GameRecord& r = run.R();
    r.game.optSpeed = 70;
    run.Play(9);
    const std::string offline = run.Kept(kLastGameReplay);
    EXPECT_NE(BoardSendRefusal(offline), "");
    EXPECT_NE(BoardSendRefusal("not a replay"), "");

    Replay given = Read(offline);
    given.start.program.seed ^= 0x5A5A5A5Au;
    given.start.options[OptionByName("optSpeed").value()] = 60; // the board's, not the player's
    EXPECT_NE(PlayBoardStart(r, WriteReplayStart(given)), "") << "a start without a token";
    given.start.token = std::string(kReplayTokenChars, 'c');
    const std::string start = WriteReplayStart(given);
    EXPECT_NE(PlayBoardStart(r, "token " + given.start.token), "");

    {
        const OpenDialog open(r);
        EXPECT_EQ(PlayBoardStart(r, start), "");
        EXPECT_NE(r.game.state & StateTitle, 0u) << "the game waits for the dialog";
    }
    StartPendingReplay(r);
    EXPECT_EQ(r.game.state & StateTitle, 0u);
    EXPECT_EQ(r.game.optSpeed, 60u);
    EXPECT_NE(PlayBoardStart(r, start), "") << "no title screen";
    run.Play(9, "Bea", [] {}); // the board's game, started above
    EXPECT_EQ(r.game.optSpeed, 70u);
    const std::string played = run.Kept(kLastGameReplay);
    EXPECT_NE(played.find("\ntoken " + given.start.token + "\n"), std::string::npos);
    EXPECT_EQ(BoardSendRefusal(played), "");
    EXPECT_EQ(Read(played).start.program.seed, given.start.program.seed);

    run.game.StartDaily(ParseDay("2026-12-09").value());
    EXPECT_EQ(r.game.optSpeed, 80u);
    run.Play(0, "Ann", [] {}); // no dives, from the start above
    EXPECT_EQ(r.game.optSpeed, 70u);
    const std::string daily = run.Kept(kLastGameReplay);
    EXPECT_NE(daily.find("\nchallenge 2026-12-09\n"), std::string::npos);
    ASSERT_EQ(RaceReplay(r, daily), "");
    EXPECT_EQ(r.game.optSpeed, 80u);
    run.Play(0, "Ann", [] {});
    EXPECT_EQ(r.game.optSpeed, 70u);
}

TEST(BoardClient, TakesOnlyAnAddressAPlayerMeant)
{
    const struct {
        std::string typed, normal;
        bool refused;
    } cases[] = {
        {"", "", false},
        {"http://127.0.0.1:8088", "http://127.0.0.1:8088", false},
        {"https://board.example.org/ruvo//", "https://board.example.org/ruvo", false},
        {"board.example.org", "", true},
        {"ftp://board.example.org", "", true},
        {"http://", "", true},
        {"http://:80/", "", true},
        {"http://user@evil.example/", "", true},
        {"http://a b/", "", true},
        {"http://board\n.example", "", true},
        {"http://caf\xc3\xa9.example", "", true},
        {"http://" + std::string(kBoardAddressMaxBytes, 'a'), "", true},
    };
    for (const auto& c : cases) {
        std::string normal = "left over";
        EXPECT_EQ(CheckBoardAddress(c.typed, normal).empty(), !c.refused) << c.typed;
        EXPECT_EQ(normal, c.normal) << c.typed;
    }
    EXPECT_EQ(BoardUrl("http://h:1", "/board"), "http://h:1/board");
}

TEST(BoardClient, TellsTheBoardsAnswerInOneShortLine)
{
    const struct {
        int status;
        std::string body, note;
    } cases[] = {
        {201, R"({"id":7,"rank":3,"score":1250,"round":2,"ticks":900,"name":"Ann","day":null})",
         "The board took your game: 1250 points, rank 3."},
        {201, "", "The board took your game."},
        {409, R"({"error": "this token was used already"})",
         "The board already has this game: this token was used already"},
        {422, R"({"error":"it plays to 10 points, not \"900\"\u0007"})",
         "The board did not take this game: it plays to 10 points, not \"900\"?"},
        {429, R"({"error":"too many requests"})",
         "The board is busy with this address; try again in a minute: too many requests"},
        {502, "<html>Bad Gateway</html>", "The board did not take this game: it answered 502"},
        {422, R"({"error":"line1\nline2\u00)", "The board did not take this game: line1 line2?"},
        {0, "connection refused", "The board could not be reached: connection refused"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BoardAnswerNote(c.status, c.body), c.note) << c.body;
    const std::string flood = BoardAnswerNote(422, R"({"error":")" + std::string(100000, 'x') + "\"}");
    EXPECT_LT(flood.size(), 300u);
}

} // namespace
} // namespace ruvo
