#include "audio/audio.h"
#include "settings/defaults.h"
#include "settings/highscore.h"
#include "settings/registry.h"
#include "support/record_fixture.h"

namespace ruvo {
namespace {

class HighScore : public testing::RecordFixture {
  protected:
    void SetUp() override
    {
        const std::uint32_t scores[5] = {5000, 4000, 3000, 2000, 1000};
        for (int row = 1; row <= 5; ++row) {
            settings.values[RowValueName("Score", row)] = std::to_string(scores[row - 1]);
            settings.values[RowValueName("Round", row)] = std::to_string(10 - row);
            settings.values[RowValueName("Name", row)] = "P" + std::to_string(row);
        }
        InitDefaults(R());
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
        dialogs.nextName = name;
        CheckHighScore(R());
    }
};

TEST_F(HighScore, AScoreEqualToTheFifthEntersNothing)
{
    Finish(1000, "Nobody");
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "P2", "P3", "P4", "P5"}));
    EXPECT_TRUE(dialogs.opened.empty());
    EXPECT_EQ(settings.saves, 0);
}

TEST_F(HighScore, ABetterScoreShiftsTheRowsBelowItAndIsSaved)
{
    settings.values["Music"] = "1";
    Finish(3500, "Ann");
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "P2", "Ann", "P3", "P4"}));
    EXPECT_EQ(R().hiScores[2], 3500u);
    EXPECT_EQ(R().hiRounds[2], static_cast<std::uint16_t>(70000)); // the round's low 16 bits
    EXPECT_EQ(R().hiScores[3], 3000u);
    EXPECT_EQ(R().hiRounds[3], 7u);
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"input", "highscore"}));
    EXPECT_EQ(settings.saves, 1);
    EXPECT_EQ(settings.values["Name3"], "Ann");
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

using FirstTable = testing::RecordFixture;

TEST_F(FirstTable, ThousandEntersNothingButThousandAndOneTakesFirst)
{
    InitDefaults(R());
    R().score = 1000;
    CheckHighScore(R());
    EXPECT_EQ(R().hiScores[0], 1000u);
    R().score = 1001;
    dialogs.nextName = "Top";
    CheckHighScore(R());
    EXPECT_EQ(R().hiScores[0], 1001u);
    EXPECT_STREQ(R().hiNames[0].data(), "Top");
    EXPECT_STREQ(R().hiNames[1].data(), "K.Dorrimak");
}

} // namespace
} // namespace ruvo
