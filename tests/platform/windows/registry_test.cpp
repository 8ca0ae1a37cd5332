// The settings store on the registry, under Wine, over one key's life: the
// first save makes the key with its eighteen typed values, reads see them
// while a save is open, and then what the game reads from values of every
// kind (names that older programs wrote through the ANSI calls among them).
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "platform/windows/registry_settings.h"
#include "platform/windows/wide_text.h"
#include "record/record.h"
#include "settings/registry.h"
#include "support/settings_text.h"

namespace ruvo {
namespace {

void Put(HKEY key, const wchar_t* name, DWORD type, const void* data, std::size_t size)
{
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size)),
              ERROR_SUCCESS);
}
void PutString(HKEY key, const wchar_t* name, const std::wstring& text, DWORD type = REG_SZ)
{
    Put(key, name, type, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
}

TEST(RegistryStore, SavesTypedValuesSeenWhileOpenAndLoadsEveryKindWithDefaultsForWhatDoesNotFit)
{
    const std::wstring path = L"SOFTWARE\\Tolp\\RuvoTest\\Registry";
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()); // the first save makes the key
    RegistrySettingsStore store{path};
    GameRecord record;
    record.host.settings = &store;
    LoadSettings(record);
    record.soundOn = 1;
    record.game.hiScores[2] = 123456;
    record.game.hiRounds[2] = 65535;
    CopyName(record.game.hiNames[2], "名前 Ü");
    WriteSettings(record);

    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
    DWORD count = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr,
                     nullptr);
    EXPECT_EQ(count, 18u);
    // A name as UTF-16 with its terminating zero; the numbers' type shows in
    // what loads again below (and in game_test's registry).
    wchar_t name[32] = {};
    DWORD type = 0, size = sizeof name;
    ASSERT_EQ(RegQueryValueExW(key, L"Name3", nullptr, &type, reinterpret_cast<BYTE*>(name), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, DWORD{REG_SZ});
    EXPECT_EQ(std::wstring(name), L"名前 Ü");
    EXPECT_EQ(size, (std::wstring(name).size() + 1) * sizeof(wchar_t));

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
    EXPECT_EQ(std::tuple(again.soundOn, again.game.hiScores[2], again.game.hiRounds[2]), std::tuple(1, 7u, 65535));
    EXPECT_EQ(NameText(again.game.hiNames[2]), "名前 Ü");

    // Values of every kind, of which Score3 to Score5 and the rest are missing.
    for (const wchar_t* missing : {L"Score3", L"Score4", L"Score5", L"Round1", L"Round3", L"Round4", L"Round5"})
        RegDeleteValueW(key, missing);
    const DWORD two = 2, most = 4294967295u, round = 70000; // a round keeps its low 16 bits
    const unsigned char three[3] = {1, 0, 0};
    const unsigned long long wide = 7;
    Put(key, L"Sound", REG_DWORD, &two, 4);
    PutString(key, L"Music", L"1"); // a string where a number belongs
    Put(key, L"Option", REG_BINARY, three, sizeof three);
    Put(key, L"Score1", REG_DWORD, &most, 4);
    Put(key, L"Score2", REG_QWORD, &wide, sizeof wide);
    Put(key, L"Round2", REG_DWORD, &round, 4);
    PutString(key, L"Name1", std::wstring(31, L'x'));
    PutString(key, L"Name2", std::wstring(40, L'y')); // longer than a row holds
    PutString(key, L"Name3", L"%TEMP%", REG_EXPAND_SZ);
    PutString(key, L"Name4", L"名前"); // six bytes of UTF-8
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
    ASSERT_EQ(RegSetValueExA(key, "Name5", 0, REG_SZ, reinterpret_cast<const BYTE*>(ansi), length), ERROR_SUCCESS);
    RegCloseKey(key);

    GameRecord loaded;
    loaded.host.settings = &store;
    LoadSettings(loaded);
    // 4464: the round's low 16 bits.
    EXPECT_EQ(testing::SettingsText(loaded),
              "Sound=2 Music=0 Option=0 Score1=4294967295 Round1=1 Name1=\"" + std::string(31, 'x') +
                  "\" Score2=1000 Round2=4464 Name2=\"K.Dorrimak\" Score3=1000 Round3=1 Name3=\"K.Dorrimak\" "
                  "Score4=1000 Round4=1 Name4=\"名前\" Score5=1000 Round5=1 Name5=\"Zoë Åsa\"");
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
}

} // namespace
} // namespace ruvo
