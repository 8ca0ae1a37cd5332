// The settings store on the registry, under Wine: what the game reads from
// values of every kind, what its save leaves behind, and reading while a
// save is open.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/windows/registry_settings.h"
#include "platform/windows/wide_text.h"
#include "record/record.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

// Each test has a key of its own, made empty.
class RegistryStoreTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        path_ = L"SOFTWARE\\Tolp\\RuvoTest\\" + Widen(::testing::UnitTest::GetInstance()->current_test_info()->name());
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
        ASSERT_EQ(
            RegCreateKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr),
            ERROR_SUCCESS);
    }
    void TearDown() override
    {
        RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }

    void Put(const wchar_t* name, DWORD type, const void* data, DWORD size)
    {
        ASSERT_EQ(RegSetValueExW(key_, name, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }
    void PutDword(const wchar_t* name, DWORD value) { Put(name, REG_DWORD, &value, sizeof value); }
    void PutString(const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
    {
        Put(name, type, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }

    std::wstring path_;
    HKEY key_ = nullptr;
};

TEST_F(RegistryStoreTest, LoadsStoredValuesAndGivesDefaultsForWhatDoesNotFit)
{
    PutDword(L"Sound", 2);
    PutString(L"Music", L"1"); // a string where a number belongs
    const unsigned char three[3] = {1, 0, 0};
    Put(L"Option", REG_BINARY, three, sizeof three);
    PutDword(L"Score1", 4294967295u);
    const unsigned long long wide = 7;
    Put(L"Score2", REG_QWORD, &wide, sizeof wide);
    PutDword(L"Round1", 65536); // only its low 16 bits are kept
    PutDword(L"Round2", 70000);
    PutString(L"Name1", std::wstring(31, L'x'));
    PutString(L"Name2", std::wstring(40, L'y')); // longer than a row holds
    PutString(L"Name3", L"%TEMP%", REG_EXPAND_SZ);
    PutString(L"Name4", L"名前"); // six bytes of UTF-8
    // Name5, Score3 to Score5 and the rest are missing.

    RegistrySettingsStore store(path_);
    GameRecord record;
    record.host.settings = &store;
    LoadSettings(record);
    EXPECT_EQ(record.soundOn, 2);
    EXPECT_EQ(record.musicOn, 0);
    EXPECT_EQ(record.optionEnabled, 0);
    EXPECT_EQ(record.game.hiScores[0], 4294967295u);
    EXPECT_EQ(record.game.hiScores[1], 1000u);
    EXPECT_EQ(record.game.hiScores[4], 1000u);
    EXPECT_EQ(record.game.hiRounds[0], 0);
    EXPECT_EQ(record.game.hiRounds[1], 70000 & 0xFFFF);
    EXPECT_EQ(record.game.hiRounds[2], 1);
    EXPECT_EQ(NameText(record.game.hiNames[0]), std::string(31, 'x'));
    EXPECT_EQ(NameText(record.game.hiNames[1]), kDefaultName);
    EXPECT_EQ(NameText(record.game.hiNames[2]), kDefaultName);
    EXPECT_EQ(NameText(record.game.hiNames[3]), "名前");
    EXPECT_EQ(NameText(record.game.hiNames[4]), kDefaultName);
}

TEST_F(RegistryStoreTest, ReadsNamesThatOlderProgramsWroteThroughTheAnsiCalls)
{
    // An older program hands the registry bytes in the system's code page,
    // without (or with) a terminating zero; the registry keeps UTF-16.
    const std::wstring name = L"Zoë Åsa";
    char bytes[64] = {};
    BOOL lossy = FALSE;
    const int length = WideCharToMultiByte(CP_ACP, 0, name.c_str(), static_cast<int>(name.size()), bytes, sizeof bytes,
                                           nullptr, GetACP() == CP_UTF8 ? nullptr : &lossy);
    ASSERT_GT(length, 0);
    ASSERT_FALSE(lossy) << "code page " << GetACP();
    ASSERT_EQ(RegSetValueExA(key_, "Name1", 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes), length), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key_, "Name2", 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes), length + 1),
              ERROR_SUCCESS);

    RegistrySettingsStore store(path_);
    std::string text;
    ASSERT_TRUE(store.QueryString("Name1", text, 31));
    EXPECT_EQ(text, "Zoë Åsa");
    ASSERT_TRUE(store.QueryString("Name2", text, 31));
    EXPECT_EQ(text, "Zoë Åsa");
}

TEST_F(RegistryStoreTest, SaveWritesEighteenTypedValuesAndReadsSeeItWhileOpen)
{
    RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); // the first save makes the key
    RegistrySettingsStore store(path_);
    GameRecord record;
    record.host.settings = &store;
    LoadSettings(record);
    record.soundOn = 1;
    record.game.hiScores[2] = 123456;
    record.game.hiRounds[2] = 65535;
    CopyName(record.game.hiNames[2], "名前 Ü");
    WriteSettings(record);

    HKEY saved = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path_.c_str(), 0, KEY_READ, &saved), ERROR_SUCCESS);
    DWORD count = 0;
    RegQueryInfoKeyW(saved, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    EXPECT_EQ(count, 18u);
    for (const char* word : {"Sound", "Music", "Option", "Score1", "Round5", "Name1", "Name5"}) {
        DWORD type = 0;
        DWORD size = 0;
        ASSERT_EQ(RegQueryValueExW(saved, Widen(word).c_str(), nullptr, &type, nullptr, &size), ERROR_SUCCESS) << word;
        EXPECT_EQ(type, word[0] == 'N' ? DWORD{REG_SZ} : DWORD{REG_DWORD}) << word;
    }
    wchar_t name[32] = {};
    DWORD size = sizeof name;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(saved, L"Name3", nullptr, &type, reinterpret_cast<BYTE*>(name), &size), ERROR_SUCCESS);
    EXPECT_EQ(std::wstring(name), L"名前 Ü");
    EXPECT_EQ(size, (std::wstring(name).size() + 1) * sizeof(wchar_t)); // with its terminating zero
    RegCloseKey(saved);

    // Another instance's save merges what is stored with its own: it reads
    // between its writes, and sees them.
    ASSERT_TRUE(store.Create());
    std::uint32_t value = 0;
    ASSERT_TRUE(store.QueryDword("Score3", value));
    EXPECT_EQ(value, 123456u);
    store.SetDword("Score3", 7);
    ASSERT_TRUE(store.QueryDword("Score3", value));
    EXPECT_EQ(value, 7u);
    store.Close();
    GameRecord again;
    again.host.settings = &store;
    LoadSettings(again);
    EXPECT_EQ(again.soundOn, 1);
    EXPECT_EQ(again.game.hiScores[2], 7u);
    EXPECT_EQ(again.game.hiRounds[2], 65535);
    EXPECT_EQ(NameText(again.game.hiNames[2]), "名前 Ü");
}

} // namespace
} // namespace ruvo
