#include "settings/defaults.h"
#include "settings/registry.h"
#include "support/record_fixture.h"

namespace ruvo {
namespace {

using Settings = testing::RecordFixture;

TEST_F(Settings, SaveThenLoadKeepsAllEighteenValues)
{
    InitDefaults(R());
    R().soundOn = 1;
    R().musicOn = 2;
    R().optionEnabled = 7;
    for (std::size_t k = 0; k < 5; ++k) {
        R().hiScores[k] = 4000000000u - static_cast<std::uint32_t>(k);
        R().hiRounds[k] = static_cast<std::uint16_t>(65535 - k);
        CopyName(R().hiNames[k], "Name " + std::to_string(k));
    }
    WriteSettings(R());
    EXPECT_EQ(settings.values.size(), 18u);
    GameRecord loaded;
    loaded.host.settings = &settings;
    LoadSettings(loaded);
    EXPECT_EQ(loaded.soundOn, 1);
    EXPECT_EQ(loaded.musicOn, 2); // kept as stored, not reduced to 0 or 1
    EXPECT_EQ(loaded.optionEnabled, 7);
    EXPECT_EQ(loaded.hiScores, R().hiScores);
    EXPECT_EQ(loaded.hiRounds, R().hiRounds);
    EXPECT_EQ(loaded.hiNames, R().hiNames);
}

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
    EXPECT_EQ(R().hiScores[0], 123u);
    EXPECT_EQ(R().hiRounds[0], 0u);
    EXPECT_EQ(NameText(R().hiNames[0]), std::string(31, 'n'));
    EXPECT_EQ(R().hiScores[1], 1000u);
    EXPECT_EQ(R().hiRounds[1], 70000 - 65536);
    EXPECT_STREQ(R().hiNames[1].data(), "K.Dorrimak");
    EXPECT_EQ(R().hiScores[2], 1000u);
    EXPECT_STREQ(R().hiNames[2].data(), "K.Dorrimak");
    EXPECT_EQ(R().hiScores[4], 1000u);
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
