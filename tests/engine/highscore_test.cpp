#include "audio/audio.h"
#include "settings/highscore.h"
#include "settings/registry.h"
#include "support/game_fixture.h"

namespace ruvo {
namespace {

class HighScore : public testing::GameFixture {
  protected:
    void SetUp() override
    {
        const std::uint32_t scores[5] = {5000, 4000, 3000, 2000, 1000};
        for (int row = 1; row <= 5; ++row) {
            game.settings.values[RowValueName("Score", row)] = std::to_string(scores[row - 1]);
            game.settings.values[RowValueName("Round", row)] = std::to_string(10 - row);
            game.settings.values[RowValueName("Name", row)] = "P" + std::to_string(row);
        }
        Start();
    }
    std::vector<std::string> Names()
    {
        std::vector<std::string> names;
        for (const NameBuffer& name : R().hiNames)
            names.emplace_back(NameText(name));
        return names;
    }
    void Finish(std::uint32_t score, const std::string& name)
    {
        R().score = score;
        R().round = 70000;
        game.dialogs.nextName = name;
        CheckHighScore(R());
    }
};

TEST_F(HighScore, AScoreEqualToTheFifthEntersNothing)
{
    Finish(1000, "Nobody");
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "P2", "P3", "P4", "P5"}));
    EXPECT_TRUE(game.dialogs.opened.empty());
    EXPECT_EQ(game.settings.saves, 0);
}

TEST_F(HighScore, ABetterScoreShiftsTheRowsBelowItAndIsSaved)
{
    game.settings.values["Music"] = "1";
    Finish(3500, "Ann");
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "P2", "Ann", "P3", "P4"}));
    EXPECT_EQ(R().hiScores[2], 3500u);
    EXPECT_EQ(R().hiRounds[2], static_cast<std::uint16_t>(70000)); // the round's low 16 bits
    EXPECT_EQ(R().hiScores[3], 3000u);
    EXPECT_EQ(R().hiRounds[3], 7u);
    EXPECT_EQ(game.dialogs.opened, (std::vector<std::string>{"input", "highscore"}));
    EXPECT_EQ(game.settings.saves, 1);
    EXPECT_EQ(game.settings.values["Name3"], "Ann");
    EXPECT_EQ(R().musicTrack, MusicHighScore);
}

TEST_F(HighScore, AnEqualScoreGoesBelowTheOlderEntry)
{
    Finish(5000, "Bob");
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "Bob", "P2", "P3", "P4"}));
}

TEST_F(HighScore, BeatingOnlyTheFifthReplacesIt)
{
    Finish(1001, "Cy");
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "P2", "P3", "P4", "Cy"}));
    Finish(9999, "");
    EXPECT_EQ(Names(), (std::vector<std::string>{"", "P1", "P2", "P3", "P4"}));
}

TEST_F(HighScore, TheNameKeepsThirtyOneBytesAndWholeCharacters)
{
    Finish(6000, std::string(40, 'x'));
    EXPECT_EQ(Names()[0], std::string(31, 'x'));
    // 10 three-byte characters are 30 bytes; an eleventh does not fit whole.
    std::string kana;
    for (int i = 0; i < 11; ++i)
        kana += "カ";
    Finish(7000, kana);
    EXPECT_EQ(Names()[0].size(), 30u);
}

using FirstTable = testing::GameFixture;

TEST_F(FirstTable, ThousandEntersNothingButThousandAndOneTakesFirst)
{
    Start();
    R().score = 1000;
    CheckHighScore(R());
    EXPECT_EQ(R().hiScores[0], 1000u);
    R().score = 1001;
    game.dialogs.nextName = "Top";
    CheckHighScore(R());
    EXPECT_EQ(R().hiScores[0], 1001u);
    EXPECT_STREQ(R().hiNames[0].data(), "Top");
    EXPECT_STREQ(R().hiNames[1].data(), "K.Dorrimak");
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
