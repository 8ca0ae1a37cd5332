// The replay file: the text it is written as (which old files keep being
// read as), its way back, and the one-line errors of what is not a replay.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "replay/daily.h"
#include "replay/replay_file.h"

namespace ruvo {
namespace {

Replay Sample()
{
    Replay replay;
    replay.game = "1.32";
    replay.edition = "desktop";
    replay.date = "2026-03-01T14:05:09Z";
    replay.start.options = {0, 60, 10, 300, 80, 600, 50, static_cast<std::uint32_t>(-2147483647 - 1)};
    replay.start.scores = {4294967295u, 1000, 1000, 999, 0};
    replay.start.soundOn = 2;
    replay.start.musicOn = 1;
    replay.start.program.seed = 3000000000u;
    replay.start.program.sunFrame = 2;
    replay.start.program.boss = {13, -1, 7, 1, 2, -1, 0, 1, 2};
    using A = ReplayAction;
    // Dives one after another share a line; another command between them, or
    // one in the same tick, starts a new one.
    replay.commands = {{21, A::Dive, {}}, {23, A::Dive, {}},  {30, A::Dive, {}},           {30, A::Pause, {}},
                       {30, A::Dive, {}}, {31, A::Pause, {}}, {40, A::Sound, {}},          {40, A::Music, {}},
                       {41, A::Dive, {}}, {41, A::Dive, {}},  {99, A::Name, "  a  name  "}};
    replay.result = {1234, 3, 99, "  a  name  "};
    return replay;
}

constexpr const char* kSampleText = "ruvo-replay 1\n"
                                    "game 1.32\n"
                                    "edition desktop\n"
                                    "date 2026-03-01T14:05:09Z\n"
                                    "options optRound=0 optGameLevel=60 optBossLevel=10 optDistance=300 optSpeed=80 "
                                    "optHarryLevel=600 optHarrySpeed=50 optDamage=-2147483648\n"
                                    "table 4294967295 1000 1000 999 0\n"
                                    "switches sound=2 music=1\n"
                                    "program seed=3000000000 sunFrame=2 stairsTicks=13 stairsDir=-1 hopTicks=7 "
                                    "stopHeading=1 stopTicks=2 dashHeading=-1 dashTicks=0 lungeHeading=1 lungeTicks=2\n"
                                    "21 dive 2 7\n"
                                    "30 pause\n"
                                    "30 dive\n"
                                    "31 pause\n"
                                    "40 sound\n"
                                    "40 music\n"
                                    "41 dive\n"
                                    "41 dive\n"
                                    "99 name   a  name  \n"
                                    "result score=1234 round=3 ticks=99 name=  a  name  \n";

TEST(ReplayFile, IsWrittenAsSmallTextAndReadBackWhole)
{
    EXPECT_EQ(WriteReplay(Sample()), kSampleText);
    std::string error;
    EXPECT_EQ(ReadReplay(kSampleText, error), Sample()) << error;

    // As another system's editor may leave it: a byte-order mark, CR LF (a
    // CR too many), comments and blank lines among the commands, no newline
    // at the end.
    std::string edited = "\xEF\xBB\xBF";
    for (const char ch : std::string(kSampleText)) {
        if (ch == '\n')
            edited += '\r';
        edited += ch;
    }
    edited.insert(edited.find("30 pause"), "# the first pause\r\n\r\n");
    edited.insert(edited.find("\r\nedition"), "\r"); // CR CR LF, as a bad editor leaves it
    edited.pop_back();
    EXPECT_EQ(ReadReplay(edited, error), Sample()) << error;

    // Ten minutes at the hurry-up's 50 ms with a dive every other tick, the
    // most that takes effect (the jumper dives at row 16 and is back there,
    // rising from a platform, two ticks later), stay small.
    Replay dives = Sample();
    dives.commands.clear();
    for (std::uint32_t tick = 21; tick < 12000; tick += 2)
        dives.commands.push_back({tick, ReplayAction::Dive, {}});
    dives.result.ticks = 12000;
    EXPECT_LT(WriteReplay(dives).size(), 20000u);
}

// A day's start is its date's alone: what every edition computes alike,
// and what the documentation gives. A daily game's replay names its day on
// a line of its own, in format 2; any other stays format 1.
TEST(ReplayFile, ADailyGameNamesItsDayAndABoardsStartItsToken)
{
    const Day day = ParseDay("2026-12-09").value();
    EXPECT_EQ(DailyProgram(day).seed, 2499220588u);
    EXPECT_EQ(DailyProgram(day).sunFrame, 1);
    EXPECT_NE(DailyProgram(ParseDay("2026-12-10").value()).seed, DailyProgram(day).seed);
    EXPECT_EQ(DayText(DayOf(1796860799)), "2026-12-09"); // the day's last second
    EXPECT_EQ(DayText(DayOf(1796860800)), "2026-12-10");
    for (const char* bad : {"2026-02-29", "2026-13-01", "1969-12-31", "2026-1-09", "2026-12-09x"})
        EXPECT_FALSE(ParseDay(bad)) << bad;
    EXPECT_TRUE(ParseDay("2028-02-29"));

    Replay daily = Sample();
    daily.start.challenge = "2026-12-09";
    daily.start.program = DailyProgram(day);
    daily.start.options = DailyOptions();
    const std::string text = WriteReplay(daily);
    EXPECT_EQ(text.substr(0, 14), "ruvo-replay 2\n");
    EXPECT_NE(text.find("\ndate 2026-03-01T14:05:09Z\nchallenge 2026-12-09\noptions "), std::string::npos);
    std::string error;
    EXPECT_EQ(ReadReplay(text, error), daily) << error;

    // A board's start file is a replay's header with the board's token last
    // (format 2 too); a game played from it keeps the token, and the start
    // reader takes the start file or a whole replay, but no replay cut short
    // after its header's end.
    Replay board = Sample();
    board.start.token = "0123456789abcdef0123456789abcdef";
    const std::string start = WriteReplayStart(board);
    EXPECT_EQ(start.substr(0, 14), "ruvo-replay 2\n");
    EXPECT_EQ(start.substr(start.size() - 40), "\ntoken 0123456789abcdef0123456789abcdef\n");
    const std::optional<Replay> read = ReadReplayStart(start, error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->start, board.start);
    EXPECT_TRUE(read->commands.empty());
    EXPECT_FALSE(ReadReplay(start, error));
    EXPECT_EQ(ReadReplay(WriteReplay(board), error), board) << error;
    EXPECT_EQ(ReadReplayStart(WriteReplay(board), error), board) << error;
    EXPECT_FALSE(ReadReplayStart(start + "5 dive\n", error));
    EXPECT_EQ(error, "truncated: the result line is missing");
    for (const char* bad :
         {"0123456789ABCDEF0123456789ABCDEF", "0123456789abcdef", "0123456789abcdef0123456789abcdeg"}) {
        board.start.token = bad;
        EXPECT_FALSE(ReadReplayStart(WriteReplayStart(board), error)) << bad;
        EXPECT_EQ(error, "line 9: bad token: expected 32 digits 0-9 and a-f");
    }
}

// The sample with its first "from" made "to".
std::string Sampled(const char* from, const char* to)
{
    std::string text = kSampleText;
    return text.replace(text.find(from), std::string(from).size(), to);
}

TEST(ReplayFile, RefusesWhatIsNotAReplayItCanPlayInOneLine)
{
    const std::string sample = kSampleText;
    // Texts the reader must refuse, and the start of each one's one-line error.
    const struct {
        std::string text;
        const char* error;
    } cases[] = {
        {"", "not a Ruvo replay: the file is empty"},
        {"[General]\nSound=1\n", "not a Ruvo replay: it does not begin with \"ruvo-replay\""},
        {Sampled("ruvo-replay 1", "ruvo-replay 3"), "made by a newer Ruvo: replay format 3, this one reads format 2"},
        {Sampled("ruvo-replay 1", "ruvo-replay one"), "line 1: bad format version"},
        {sample.substr(0, sample.find("table")), "truncated: the table line and all after it are missing"},
        {sample.substr(0, sample.find("stairsDir")), "truncated: line 8 is cut off"},
        {sample.substr(0, sample.find("result")), "truncated: the result line is missing"},
        {Sampled("edition desktop\n", ""), "line 3: expected the edition line"},
        {Sampled("optRound=0 optGameLevel=60", "optGameLevel=60 optRound=0"),
         "line 5: bad options: expected optRound=N ... optDamage=N"},
        {Sampled("optSpeed=80", "optSpeed=4294967296"), "line 5: bad value of optSpeed"},
        {Sampled(" 999 0\n", " 999\n"), "line 6: bad table"},
        {Sampled("sunFrame=2", "sunFrame=3"), "line 8: sunFrame must be from 0 to 2"},
        {Sampled("dashHeading=-1", "dashHeading=-2"), "line 8: dashHeading must be from -1 to 1"},
        {Sampled("hopTicks=7", "hopTicks=19"), "line 8: hopTicks must be from 0 to 18"},
        {sample + std::string(kReplayMaxBytes, '\n'), "too large: 1049135 bytes, where a replay"},
        {Sampled("21 dive 2 7", "21 dive 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1"),
         "line 9: a dive line names at most 16 gaps"},
        {Sampled("ticks=99", "ticks=4294967295"), "line 18: a game of 4294967295 ticks: a replay holds"},
        {Sampled("name=  a  name  ", "name=a name of thirty-two letters!!!!"), "line 18: a name of more than 31 bytes"},
        {Sampled("99 name   a", "99 name a name of thirty-two letters!!!!"), "line 17: a name of more than 31 bytes"},
        {Sampled("30 pause", "22 pause"), "line 10: tick numbers must not decrease"},
        {Sampled("21 dive 2 7", "21 dive 2 x"), "line 9: expected the ticks between dives"},
        {Sampled("30 pause", "30 start"), "line 10: a replay's game is started before its first tick"},
        {Sampled("40 sound", "40 jump"), "line 13: unknown command"},
        {Sampled("21 dive", "0 dive"), "line 9: expected <tick> <command>"},
        {Sampled("99 name", "100 name"), "line 18: the game's 99 ticks end before its last command"},
        {Sampled("round=3", "round=three"), "line 18: bad result"},
        {sample + "\n5 dive\n", "line 20: text after the result line"},
        {Sampled("Z\n", "Z\nchallenge 2026-02-30\n"), "line 5: bad challenge: expected the day as YYYY-MM-DD"},
        {Sampled("Z\n", "Z\nchallenge 2026-12-09\n"),
         "line 9: the game does not start from the start of the challenge of 2026-12-09"},
    };
    for (const auto& broken : cases) {
        std::string error;
        EXPECT_FALSE(ReadReplay(broken.text, error)) << broken.error;
        EXPECT_EQ(error.rfind(broken.error, 0), 0u) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}

} // namespace
} // namespace ruvo
