// The last game's replay and the table rows' replays, kept in the host's
// replay store under names the rows themselves give.
// SPDX-License-Identifier: MIT
#include "replay/replay_keep.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "settings/registry.h"

namespace ruvo {
namespace {

struct Row {
    std::uint32_t score;
    std::uint16_t round;
    std::string name;

    bool operator==(const Row&) const = default;
};
using Table = std::array<Row, 5>;

Table TableOf(const GameRecord& record)
{
    Table table;
    for (std::size_t k = 0; k < 5; ++k)
        table[k] = {record.game.hiScores[k], record.game.hiRounds[k], std::string(NameText(record.game.hiNames[k]))};
    return table;
}

// The table as the settings store holds it now, as LoadTable reads it.
Table StoredTable(const GameRecord& record)
{
    GameRecord scratch;
    scratch.host.settings = record.host.settings;
    LoadTable(scratch);
    return TableOf(scratch);
}

std::uint32_t NameHash(std::string_view name)
{
    std::uint32_t hash = 0x811c9dc5u;
    for (const unsigned char c : name)
        hash = (hash ^ c) * 16777619u;
    return hash;
}

std::string NameOf(const Table& table, std::size_t row)
{
    int place = 1;
    for (std::size_t k = 0; k < row; ++k)
        place += table[k] == table[row] ? 1 : 0;
    char text[80];
    std::snprintf(text, sizeof text, "row-%u-%u-%08x-%d", table[row].score, static_cast<unsigned>(table[row].round),
                  NameHash(table[row].name), place);
    return text;
}

const char* const kPlaces[5] = {"1st", "2nd", "3rd", "4th", "5th"};

std::string Label(std::string_view place, std::uint32_t score, std::uint32_t round, std::string_view name)
{
    return std::string(place) + "   " + std::to_string(score) + "   round " + std::to_string(round) + "   " +
           std::string(name);
}

} // namespace

std::string RowReplayName(const GameRecord& record, std::size_t row)
{
    return NameOf(TableOf(record), row);
}

bool KeepReplay(GameRecord& record, const Replay& replay, bool enteredTable)
{
    ReplayStore* store = record.host.replays;
    if (store == nullptr)
        return true;
    const std::string text = WriteReplay(replay);
    bool kept = store->Write(kLastGameReplay, text);
    if (!kept)
        store->Remove(kLastGameReplay);
    if (enteredTable) {
        // The table has been saved, another window's new rows merged in: the
        // game's row is the lowest of its equals, if it is still there.
        const Table table = TableOf(record);
        const Row row{replay.result.score, static_cast<std::uint16_t>(replay.result.round), replay.result.name};
        for (std::size_t k = 5; k-- > 0;)
            if (table[k] == row) {
                kept = store->Write(NameOf(table, k), text) && kept;
                break;
            }
    }
    RemoveLeftRows(record);
    return kept;
}

void RemoveLeftRows(GameRecord& record)
{
    ReplayStore* store = record.host.replays;
    if (store == nullptr)
        return;
    std::vector<std::string> kept;
    for (const Table& table : {TableOf(record), StoredTable(record)})
        for (std::size_t k = 0; k < 5; ++k)
            kept.push_back(NameOf(table, k));
    for (const std::string& name : store->List())
        if (name.rfind("row-", 0) == 0 && std::find(kept.begin(), kept.end(), name) == kept.end())
            store->Remove(name);
}

std::vector<KeptReplay> KeptReplays(GameRecord& record)
{
    std::vector<KeptReplay> list;
    ReplayStore* store = record.host.replays;
    if (store == nullptr)
        return list;
    const std::vector<std::string> names = store->List();
    const auto has = [&names](std::string_view name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    // A daily challenge's game says which day's it was.
    std::string text, error;
    const auto daily = [&](std::string_view name) {
        std::optional<Replay> replay;
        if (store->Read(name, text))
            replay = ReadReplay(text, error);
        return replay && !replay->start.challenge.empty() ? "   daily " + replay->start.challenge : std::string();
    };
    const Table table = TableOf(record);
    for (std::size_t k = 0; k < 5; ++k)
        if (const std::string name = NameOf(table, k); has(name))
            list.push_back({name, Label(kPlaces[k], table[k].score, table[k].round, table[k].name) + daily(name)});
    if (has(kLastGameReplay) && store->Read(kLastGameReplay, text))
        if (const std::optional<Replay> last = ReadReplay(text, error))
            list.push_back({std::string(kLastGameReplay),
                            Label("Last game", last->result.score, last->result.round, last->result.name) +
                                (last->start.challenge.empty() ? "" : "   daily " + last->start.challenge)});
    return list;
}

bool ReadKeptReplay(GameRecord& record, std::string_view name, std::string& text)
{
    return record.host.replays != nullptr && record.host.replays->Read(name, text);
}

bool RemoveKeptReplay(GameRecord& record, std::string_view name)
{
    return record.host.replays != nullptr && record.host.replays->Remove(name);
}

std::string ReplayFileName(const Replay& replay)
{
    std::string name = "Ruvo " + std::to_string(replay.result.score);
    if (!replay.result.name.empty())
        name += ' ';
    for (const char ch : replay.result.name)
        if (static_cast<unsigned char>(ch) >= 0x20 &&
            std::string_view("/\\:*?\"<>|").find(ch) == std::string_view::npos)
            name += ch;
    while (name.back() == ' ' || name.back() == '.')
        name.pop_back();
    return name + std::string(kReplayExtension);
}

} // namespace ruvo
