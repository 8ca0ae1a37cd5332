// Tests of the saved settings and their defaults.
// SPDX-License-Identifier: MIT
#include "settings/defaults.h"
#include "settings/registry.h"
#include "support/record_fixture.h"

namespace ruvo {
namespace {

using Settings = testing::RecordFixture;

// The round trip of the eighteen values is tested on the real file (tests/platform/desktop).
TEST_F(Settings, EachBadValueFallsBackToItsOwnDefault)
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
    EXPECT_EQ(R().soundOn, 0);
    EXPECT_EQ(R().musicOn, 0);
    EXPECT_EQ(R().optionEnabled, 0);
    EXPECT_EQ(R().game.hiScores[0], 123u);
    EXPECT_EQ(R().game.hiRounds[0], 0u);
    EXPECT_EQ(NameText(R().game.hiNames[0]), std::string(31, 'n'));
    EXPECT_EQ(R().game.hiScores[1], 1000u);
    EXPECT_EQ(R().game.hiRounds[1], 70000 - 65536);
    EXPECT_STREQ(R().game.hiNames[1].data(), "K.Dorrimak");
    EXPECT_EQ(R().game.hiScores[2], 1000u);
    EXPECT_STREQ(R().game.hiNames[2].data(), "K.Dorrimak");
    EXPECT_EQ(R().game.hiScores[4], 1000u);
}

TEST_F(Settings, AStoreThatCannotBeWrittenIsSilent)
{
    settings.writable = false;
    InitDefaults(R());
    SaveSettings(R());
    EXPECT_TRUE(settings.values.empty());
    EXPECT_EQ(settings.saves, 0);
}

TEST(Names, AreCutBeforeACharacterThatWouldNotFitWhole)
{
    NameBuffer name{};
    CopyName(name, std::string(30, 'a') + "é"); // 32 bytes: the é does not fit
    EXPECT_EQ(NameText(name), std::string(30, 'a'));
    CopyName(name, std::string(29, 'a') + "é"); // 31 bytes: it does
    EXPECT_EQ(NameText(name), std::string(29, 'a') + "é");
    CopyName(name, "");
    EXPECT_EQ(NameText(name), "");
}

} // namespace
} // namespace ruvo
