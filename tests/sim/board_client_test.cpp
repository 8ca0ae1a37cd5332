// Playing for a board in the program on the in-memory machine: a board's
// start played from the title (waiting for an open dialog) and kept with its
// token, which alone makes a replay fit to send; the addresses a player may
// type; and what the player reads of the board's answers.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "replay/board_client.h"
#include "replay/replay_file.h"
#include "replay/replay_watch.h"
#include "settings/dialog_logic.h"
#include "settings/options.h"
#include "support/game_run.h"

namespace ruvo {
namespace {

using testing::GameRun;

TEST(BoardClient, PlaysTheBoardsStartAndKeepsItsTokenForSending)
{
    GameRun run({{"Score1", "300"}, {"Score2", "200"}, {"Score3", "100"}, {"Score4", "50"}, {"Score5", "0"}});
    run.game.Start();
    GameRecord& r = run.R();
    run.Play(9);
    const std::string offline = run.Kept(kLastGameReplay);
    EXPECT_NE(BoardSendRefusal(offline), "");
    EXPECT_NE(BoardSendRefusal("not a replay"), "");

    std::string error;
    Replay given = ReadReplay(offline, error).value();
    given.start.program.seed ^= 0x5A5A5A5Au;
    given.start.options[OptionByName("optSpeed").value()] = 60; // the board's, not the player's
    EXPECT_NE(PlayBoardStart(r, WriteReplayStart(given)), "") << "a start without a token";
    given.start.token = std::string(kReplayTokenChars, 'c');
    const std::string start = WriteReplayStart(given);
    EXPECT_NE(PlayBoardStart(r, "token " + given.start.token), "");

    const std::uint32_t ownSpeed = r.game.optSpeed;
    {
        const OpenDialog open(r);
        EXPECT_EQ(PlayBoardStart(r, start), "");
        EXPECT_NE(r.game.state & StateTitle, 0u) << "the game waits for the dialog";
    }
    StartPendingReplay(r);
    EXPECT_EQ(r.game.state & StateTitle, 0u);
    EXPECT_EQ(r.game.optSpeed, 60u);
    EXPECT_NE(PlayBoardStart(r, start), "") << "no title screen";
    for (int k = 0; k < 100000 && (r.game.state & StateTitle) == 0; ++k) {
        if (k % 9 == 0)
            run.game.Click();
        run.game.dialogs.nextName = "Bea";
        run.game.Tick();
    }
    EXPECT_EQ(r.game.optSpeed, ownSpeed);
    const std::string played = run.Kept(kLastGameReplay);
    EXPECT_NE(played.find("\ntoken " + given.start.token + "\n"), std::string::npos);
    EXPECT_EQ(BoardSendRefusal(played), "");
    EXPECT_EQ(ReadReplay(played, error).value().start.program.seed, given.start.program.seed);
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
