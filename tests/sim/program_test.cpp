// The program on the in-memory machine, started as main starts it: what the
// shell does with the menu's commands, the record a first run starts with,
// and two programs over one settings store.
#include <gtest/gtest.h>

#include "resources/embedded.h"
#include "settings/highscore.h"
#include "settings/registry.h"
#include "sim/headless_game.h"
#include "support/fixed_text.h"

namespace ruvo {
namespace {

class Program : public ::testing::Test {
  protected:
    void Start() { game.Start(); }
    GameRecord& R() { return game.Record(); }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            game.Tick();
    }

    testing::FixedText text;
    EmbeddedResources resources;
    HeadlessGame game{&text, &resources};
};

TEST_F(Program, StartIsGreyedOutsideTheTitleAndPauseOnIt)
{
    Start();
    game.Command(IDM_PAUSE);
    EXPECT_EQ(R().state, StateTitle);
    game.Command(IDM_START);
    const int invalidations = game.Window().invalidations;
    Ticks(19);
    EXPECT_EQ(game.Window().invalidations, invalidations); // the banner frame stays as it is
    Ticks(1);
    const std::uint32_t round = R().round;
    game.Command(IDM_START); // greyed: nothing happens
    EXPECT_EQ(R().state, StatePlay);
    EXPECT_EQ(R().round, round);
    game.Command(IDM_PAUSE);
    EXPECT_EQ(R().state, StatePause);
    EXPECT_EQ(R().paused, 1);
    const std::uint32_t score = R().score;
    Ticks(5);
    EXPECT_EQ(R().score, score);
    EXPECT_EQ(text.drawn.back(), "PAUSE");
    game.Command(IDM_PAUSE);
    EXPECT_EQ(R().state, StatePlay);
    EXPECT_EQ(R().paused, 0);
    Ticks(1);
    EXPECT_EQ(R().score, score + 1);
}

// The defaults that the recorded games set themselves, and the window's size.
TEST_F(Program, StartsOnTheTitleWithEveryDefault)
{
    Start();
    const GameRecord& r = R();
    EXPECT_EQ(r.state, StateTitle);
    EXPECT_EQ(r.optRound, 1u);
    EXPECT_EQ(r.optDistance, 300u);
    EXPECT_EQ(r.optHarryLevel, 600u);
    EXPECT_EQ(r.optGameLevel, 60u);
    EXPECT_EQ(r.optBossLevel, 10u);
    EXPECT_EQ(r.optSpeed, 80u);
    EXPECT_EQ(r.optHarrySpeed, 50u);
    EXPECT_EQ(r.optDamage, 4);
    EXPECT_EQ(r.optionEnabled, 0);
    // 3 x 3 frame, 18 caption, 19 menu: a 390 x 243 window around 384 x 200.
    EXPECT_EQ(r.windowWidth, 390);
    EXPECT_EQ(r.windowHeight, 243);
}

// Two windows of the game over one settings store, both loaded before
// either enters the table: each enters it (the second with an equal score,
// which goes below the older entry), then they close in either order. Every
// save writes the whole table, so a window that wrote its own old table
// would lose the other's entry; the switches go with the last to close.
TEST(TwoWindows, KeepBothNewEntriesInWhicheverOrderTheyClose)
{
    for (const bool firstClosesFirst : {true, false}) {
        SCOPED_TRACE(firstClosesFirst ? "the first closes first" : "the second closes first");
        testing::FixedText text;
        EmbeddedResources resources;
        HeadlessGame first{&text, &resources};
        HeadlessGame second{&text, &resources};
        MemorySettings& store = first.settings;
        first.Start();
        second.Start();
        second.Record().host.settings = &store;
        const auto enter = [](HeadlessGame& game, std::uint32_t score, std::uint32_t round, const char* name) {
            game.Record().score = score;
            game.Record().round = round;
            game.dialogs.nextName = name;
            CheckHighScore(game.Record());
        };
        enter(first, 5000, 7, "Ann");
        first.Command(IDM_SOUND);
        enter(second, 5000, 9, "Bob");
        EXPECT_EQ(NameText(second.Record().hiNames[1]), "Bob") << "the table shown holds both";
        HeadlessGame& last = firstClosesFirst ? second : first;
        (firstClosesFirst ? first : second).Send({MessageKind::Close});
        last.Send({MessageKind::Close});
        EXPECT_EQ(store.values["Score1"], "5000");
        EXPECT_EQ(store.values["Name1"], "Ann");
        EXPECT_EQ(store.values["Round1"], "7");
        EXPECT_EQ(store.values["Score2"], "5000");
        EXPECT_EQ(store.values["Name2"], "Bob");
        EXPECT_EQ(store.values["Round2"], "9");
        EXPECT_EQ(store.values["Name3"], kDefaultName);
        EXPECT_EQ(store.values["Score5"], "1000");
        EXPECT_EQ(store.values["Sound"], &last == &first ? "1" : "0");
    }
}

} // namespace
} // namespace ruvo
