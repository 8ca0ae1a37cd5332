// The saved settings read and written through the settings store.
// SPDX-License-Identifier: MIT
#include "settings/registry.h"

#include <algorithm>
#include <cstring>

#include "settings/highscore.h"

namespace ruvo {

std::string RowValueName(std::string_view word, int row)
{
    return std::string(word) + std::to_string(row);
}

std::uint32_t ReadRegistryDword(SettingsStore* store, std::string_view name, std::uint32_t defaultValue)
{
    std::uint32_t value = 0;
    if (store == nullptr || !store->QueryDword(name, value))
        return defaultValue;
    return value;
}

std::size_t ReadRegistryString(SettingsStore* store, std::string_view name, char* buffer, std::size_t bufferSize,
                               std::string_view defaultText)
{
    if (bufferSize == 0)
        return 0;
    std::string text;
    if (store != nullptr && store->QueryString(name, text, bufferSize - 1) && text.size() < bufferSize &&
        text.find('\0') == std::string::npos) {
        std::memcpy(buffer, text.data(), text.size());
        buffer[text.size()] = '\0';
        return text.size() + 1;
    }
    const std::size_t n = std::min(defaultText.size(), bufferSize - 1);
    std::memcpy(buffer, defaultText.data(), n);
    buffer[n] = '\0';
    return defaultText.size();
}

int LoadSettings(GameRecord& record)
{
    SettingsStore* store = record.host.settings;
    record.soundOn = static_cast<std::int32_t>(ReadRegistryDword(store, "Sound", 0));
    record.musicOn = static_cast<std::int32_t>(ReadRegistryDword(store, "Music", 0));
    record.optionEnabled = static_cast<std::int32_t>(ReadRegistryDword(store, "Option", 0));
    LoadTable(record);
    return 1;
}

void LoadTable(GameRecord& record)
{
    SettingsStore* store = record.host.settings;
    if (store != nullptr)
        store->Refresh();
    for (int row = 1; row <= 5; ++row) {
        const auto k = static_cast<std::size_t>(row - 1);
        record.game.hiScores[k] = ReadRegistryDword(store, RowValueName("Score", row), 1000);
        record.game.hiRounds[k] = static_cast<std::uint16_t>(ReadRegistryDword(store, RowValueName("Round", row), 1));
        record.game.hiNames[k].fill('\0');
        ReadRegistryString(store, RowValueName("Name", row), record.game.hiNames[k].data(),
                           record.game.hiNames[k].size(), kDefaultName);
    }
}

namespace {

void WriteSwitches(SettingsStore& store, const GameRecord& record)
{
    store.SetDword("Sound", static_cast<std::uint32_t>(record.soundOn));
    store.SetDword("Music", static_cast<std::uint32_t>(record.musicOn));
    store.SetDword("Option", static_cast<std::uint32_t>(record.optionEnabled));
}

void WriteRow(SettingsStore& store, const GameRecord& record, std::size_t k)
{
    const int row = static_cast<int>(k) + 1;
    store.SetDword(RowValueName("Score", row), record.game.hiScores[k]);
    store.SetDword(RowValueName("Round", row), record.game.hiRounds[k]);
    store.SetString(RowValueName("Name", row), NameText(record.game.hiNames[k]));
}

} // namespace

int SaveSettings(GameRecord& record)
{
    SettingsStore* store = record.host.settings;
    if (store == nullptr || !store->Create())
        return 1;
    WriteSwitches(*store, record);
    // A window with no new entry writes no row: what it read may be older
    // than what another window stored since. One with new entries takes in
    // the table as stored just now, puts its entries into it and writes the
    // rows that differ from the stored ones, and no other.
    if (record.hiUnsavedRows != 0) {
        const HighScoreTable stored = MergeStoredTable(record);
        const HighScoreTable merged = TableOf(record);
        for (std::size_t k = 0; k < 5; ++k)
            if (!SameRow(merged, stored, k))
                WriteRow(*store, record, k);
    }
    store->Close();
    record.hiUnsavedRows = 0;
    return 1;
}

int WriteSettings(GameRecord& record)
{
    SettingsStore* store = record.host.settings;
    if (store == nullptr || !store->Create())
        return 1;
    WriteSwitches(*store, record);
    for (std::size_t k = 0; k < 5; ++k)
        WriteRow(*store, record, k);
    store->Close();
    record.hiUnsavedRows = 0;
    return 1;
}

void CopyName(NameBuffer& buffer, std::string_view text)
{
    std::size_t n = std::min(text.size(), buffer.size() - 1);
    // Step back over continuation bytes so that a character is kept whole or not at all.
    if (n < text.size())
        while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
            --n;
    buffer.fill('\0');
    std::memcpy(buffer.data(), text.data(), n);
}

std::string_view NameText(const NameBuffer& buffer)
{
    return std::string_view(buffer.data(),
                            static_cast<std::size_t>(std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin()));
}

} // namespace ruvo
