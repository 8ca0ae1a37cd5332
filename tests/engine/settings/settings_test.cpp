// Tests of the saved settings and their defaults.
// SPDX-License-Identifier: MIT
#include "settings/defaults.h"
#include "settings/registry.h"
#include "support/record_fixture.h"
#include "support/settings_text.h"

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
    // A round keeps its low 16 bits (70000 - 65536 = 4464).
    const std::string row1 = "Score1=123 Round1=0 Name1=\"" + std::string(31, 'n') + "\"";
    EXPECT_EQ(testing::SettingsText(R()), "Sound=0 Music=0 Option=0 " + row1 +
                                              " Score2=1000 Round2=4464 Name2=\"K.Dorrimak\" Score3=1000 Round3=1 "
                                              "Name3=\"K.Dorrimak\" Score4=1000 Round4=1 Name4=\"K.Dorrimak\" "
                                              "Score5=1000 Round5=1 Name5=\"K.Dorrimak\"");
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
