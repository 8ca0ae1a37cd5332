// The settings store on the registry, under Wine: what the game reads from
// values of every kind (names that older programs wrote through the ANSI
// calls among them), what its save leaves behind, and reading while a save
// is open.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "platform/windows/registry_settings.h"
#include "platform/windows/wide_text.h"
#include "record/record.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

// Each test has a key of its own, made empty, and a record on it.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        ASSERT_EQ(
            RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
            ERROR_SUCCESS);
        record_.host.settings = &store_;
    }
    void TearDown() override
    {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }

    void Put(const wchar_t* name, DWORD type, const void* data, std::size_t size)
    {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
                  ERROR_SUCCESS);
    }
    void PutString(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        Put(name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }

    const std::wstring path_ =
        L"SOFTWARE\\Tolp\\RuvoTest\\" + Widen(::testing::UnitTest::GetInstance()->current_test_info()->name());
    HKEY key_ = nullptr;
    RegistrySettingsStore store_{path_};
    GameRecord record_;
};

TEST_F(RegistryStoreTest, LoadsStoredValuesAndGivesDefaultsForWhatDoesNotFit)
{
    const DWORD two = 2, most = 4294967295u, round = 70000; // a round keeps its low 16 bits
    const unsigned char three[3] = {1, 0, 0};
    const unsigned long long wide = 7;
    Put(L"Sound", REG_DWORD, &two, 4);
    PutString(L"Music", L"1"); // a string where a number belongs
    Put(L"Option", REG_BINARY, three, sizeof three);
    Put(L"Score1", REG_DWORD, &most, 4);
    Put(L"Score2", REG_QWORD, &wide, sizeof wide);
    Put(L"Round2", REG_DWORD, &round, 4);
    PutString(L"Name1", std::wstring(31, L'x'));
    PutString(L"Name2", std::wstring(40, L'y')); // longer than a row holds
    PutString(L"Name3", L"%TEMP%", REG_EXPAND_SZ);
    PutString(L"Name4", L"名前"); // six bytes of UTF-8
    // An older program hands the registry bytes in the system's code page,
    // here without a terminating zero; the registry keeps UTF-16. (A zero
    // right after the bytes would be taken in as the string's own.)
    char ansi[64] = {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, 0, L"Zoë Åsa", -1, ansi, sizeof ansi, nullptr,
                                           GetACP() == CP_UTF8 ? nullptr : &lossy) -
                       1;
    ASSERT_GT(length, 0);
    ASSERT_FALSE(lossy) << "code page " << GetACP();
    ansi[length] = '!';
    ASSERT_EQ(RegSetValueExA(key_, "Name5", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi), length), ERROR_SUCCESS);
    // Score3 to Score5 and the rest are missing.

    LoadSettings(record_);
    EXPECT_EQ(std::tuple(record_.soundOn, record_.musicOn, record_.optionEnabled), std::tuple(2, 0, 0));
    EXPECT_EQ(record_.game.hiScores, (std::array<std::uint32_t, 5>{4294967295u, 1000, 1000, 1000, 1000}));
    EXPECT_EQ(record_.game.hiRounds, (std::array<std::uint16_t, 5>{1, 70000 & 0xFFFF, 1, 1, 1}));
    std::vector<std::string> names;
    for (const NameBuffer& name : record_.game.hiNames)
        names.emplace_back(NameText(name));
    EXPECT_EQ(names, (std::vector<std::string>{std::string(31, 'x'), kDefaultName, kDefaultName, "名前", "Zoë Åsa"}));
}

TEST_F(RegistryStoreTest, SaveWritesEighteenTypedValuesAndReadsSeeItWhileOpen)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); // the first save makes the key
    LoadSettings(record_);
    record_.soundOn = 1;
    record_.game.hiScores[2] = 123456;
    record_.game.hiRounds[2] = 65535;
    CopyName(record_.game.hiNames[2], "名前 Ü");
    WriteSettings(record_);

    HKEY saved = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &saved), ERROR_SUCCESS);
    DWORD count = 0;
    RegQueryInfoKeyW(saved, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    EXPECT_EQ(count, 18u);
    // A name as UTF-16 with its terminating zero; the numbers' type shows in
    // what loads again below (and in game_test's registry).
    wchar_t name[32] = {};
    DWORD type = 0, size = sizeof name;
    ASSERT_EQ(RegQueryValueExW(saved, L"Name3", nullptr, &type, reinterpret_cast<BYTE*>(name), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(std::wstring(name), L"名前 Ü");
    EXPECT_EQ(size, (std::wstring(name).size() + 1) * sizeof(wchar_t));
    RegCloseKey(saved);

    // Another instance's save merges what is stored with its own: it reads
    // between its writes, and sees them.
    ASSERT_TRUE(store_.Create());
    std::uint32_t value = 0;
    ASSERT_TRUE(store_.QueryDword("Score3", value));
    EXPECT_EQ(value, 123456u);
    store_.SetDword("Score3", 7);
    ASSERT_TRUE(store_.QueryDword("Score3", value));
    EXPECT_EQ(value, 7u);
    store_.Close();
    GameRecord again;
    again.host.settings = &store_;
    LoadSettings(again);
    EXPECT_EQ(again.soundOn, 1);
    EXPECT_EQ(again.game.hiScores[2], 7u);
    EXPECT_EQ(again.game.hiRounds[2], 65535);
    EXPECT_EQ(NameText(again.game.hiNames[2]), "名前 Ü");
}

} // namespace
} // namespace ruvo
