// Tests of the saved settings, their defaults, and the high-score table.
// SPDX-License-Identifier: MIT
#include <array>

#include "audio/audio.h"
#include "settings/defaults.h"
#include "settings/highscore.h"
#include "settings/registry.h"
#include "support/record_fixture.h"
#include "support/settings_text.h"

namespace ruvo {
namespace {

using Settings = testing::RecordFixture;

// The round trip of the eighteen values is tested on the real file (tests/platform/desktop).
TEST_F(Settings, EachBadValueFallsBackToItsOwnDefaultAndAStoreThatCannotBeWrittenIsSilent)
{
    settings.values = {{"Sound", "abc"},
                       {"Music", "-1"},
                       {"Option", "4294967296"},
                       {"Score1", "123"},
                       {"Round1", "65536"},
                       {"Name1", std::string(31, 'n')},
                       {"Score2", ""},
                       {"Round2", "70000"},
                       {"Name2", std::string(32, 'n')},
                       {"Score3", "12 34"},
                       {"Name3", std::string("a\0b", 3)}};
    InitDefaults(R());
    // A round keeps its low 16 bits (70000 - 65536 = 4464).
    const std::string row1 = "Score1=123 Round1=0 Name1=\"" + std::string(31, 'n') + "\"";
    EXPECT_EQ(testing::SettingsText(R()), "Sound=0 Music=0 Option=0 " + row1 +
                                              " Score2=1000 Round2=4464 Name2=\"K.Dorrimak\" Score3=1000 Round3=1 "
                                              "Name3=\"K.Dorrimak\" Score4=1000 Round4=1 Name4=\"K.Dorrimak\" "
                                              "Score5=1000 Round5=1 Name5=\"K.Dorrimak\"");
    // A store that cannot be written is silent: the bad values stay as they are.
    const auto values = settings.values;
    const int saves = settings.saves;
    settings.writable = false;
    SaveSettings(R());
    EXPECT_EQ(settings.values, values);
    EXPECT_EQ(settings.saves, saves);
}

TEST(Names, AreCutBeforeACharacterThatWouldNotFitWhole)
{
    // 32 bytes, where the é does not fit; 31, where it does; then none.
    const std::string a(30, 'a');
    NameBuffer name{};
    for (const auto& [given, kept] : {std::pair{a + "é", a}, {a.substr(1) + "é", a.substr(1) + "é"}, {"", ""}}) {
        CopyName(name, given);
        EXPECT_EQ(NameText(name), kept);
    }
}

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
        for (const NameBuffer& name : R().game.hiNames)
            names.emplace_back(NameText(name));
        return names;
    }
    void Finish(std::uint32_t score, const std::string& name)
    {
        R().game.score = score;
        R().game.round = 70000;
        dialogs.nextName = name;
        CheckHighScore(R());
    }
};

// Where a finished game's score goes: not in at all when it only equals the
// fifth, below an older equal entry, in place of the fifth when it beats only
// that; the name kept to 31 bytes.
TEST_F(HighScore, EntersBelowEqualScoresAndPushesTheRestDown)
{
    using Table = std::vector<std::string>;
    const struct {
        std::uint32_t score;
        std::string name;
        Table table;
    } cases[] = {
        {1000, "Nobody", {"P1", "P2", "P3", "P4", "P5"}},
        {5000, "Bob", {"P1", "Bob", "P2", "P3", "P4"}},
        {2001, "Cy", {"P1", "Bob", "P2", "P3", "Cy"}},
        {9999, std::string(40, 'x'), {std::string(31, 'x'), "P1", "Bob", "P2", "P3"}},
    };
    for (const auto& c : cases) {
        Finish(c.score, c.name);
        EXPECT_EQ(Names(), c.table) << c.score;
    }
    EXPECT_EQ(settings.saves, 3);
    EXPECT_EQ(settings.values["Name1"], std::string(31, 'x'));
}

// A better score is asked for and shown. A save writes the switches and, of
// the table, only the rows that its new entries change in the table as
// stored just then: a window with no new entry writes no row, so that it
// never writes back a table it read before another window stored its own
// (or, in the browser, read half-stored).
TEST_F(HighScore, ABetterScoreIsShownAndSavedWithOnlyTheRowsItChanges)
{
    settings.written.clear();
    SaveSettings(R());
    EXPECT_EQ(settings.written, (std::vector<std::string>{"Sound", "Music", "Option"}));
    // Another window stores a new second row meanwhile.
    const std::vector<std::string> stored[] = {
        {"4500", "1", "Other"}, {"4000", "8", "P2"}, {"3000", "7", "P3"}, {"2000", "6", "P4"}};
    for (int row = 2; row <= 5; ++row)
        for (std::size_t i = 0; i < 3; ++i)
            settings.values[RowValueName(std::array{"Score", "Round", "Name"}[i], row)] = stored[row - 2][i];
    settings.written.clear();
    settings.values["Music"] = "1";
    Finish(3500, "Ann");
    // Asked for, saved and shown with its round's low bits.
    EXPECT_EQ(Names(), (std::vector<std::string>{"P1", "Other", "P2", "Ann", "P3"}));
    EXPECT_EQ(R().game.hiScores, (std::array<std::uint32_t, 5>{5000, 4500, 4000, 3500, 3000}));
    EXPECT_EQ(R().game.hiRounds, (std::array<std::uint16_t, 5>{9, 1, 8, 70000 - 65536, 7}));
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"input", "highscore"}));
    EXPECT_EQ(settings.values["Name4"], "Ann");
    EXPECT_EQ(R().game.musicTrack, MusicHighScore);
    EXPECT_EQ(settings.written, (std::vector<std::string>{"Sound", "Music", "Option", "Score4", "Round4", "Name4",
                                                          "Score5", "Round5", "Name5"}));
    EXPECT_EQ(settings.values["Name2"], "Other");
}

} // namespace
} // namespace ruvo
