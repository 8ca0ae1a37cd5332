// The Replays list on the page: the kept replays, with Watch, Save As...,
// Open..., Copy link, Delete, Race and Copy race link, and Send to Board
// where a board serves the page. Watching or racing
// closes the list; a file that is no replay the game can play is refused
// with its one-line error.
// SPDX-License-Identifier: MIT
#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>

#include "platform/web/web_dialog_build.h"
#include "platform/web/web_imports.h"
#include "platform/web/web_replay_store.h"
#include "replay/replay_keep.h"
#include "replay/replay_race.h"
#include "replay/replay_watch.h"

namespace ruvo {
namespace {

using K = ControlKind;

constexpr int kListId = 501;
constexpr int kSaveId = 502;
constexpr int kOpenId = 503;
constexpr int kLinkId = 504;
constexpr int kDeleteId = 505;
constexpr int kRaceId = 506;
constexpr int kRaceLinkId = 507;
constexpr int kSendId = 508;
constexpr UnitRect kListRect{7, 7, 186, 84};

// Enter (and a double click on a row) watches; Escape closes.
constexpr std::array kButtons = {
    ControlTemplate{K::Button, kOkId, "Watch", {7, 97, 58, 14}, kDefaultButton},
    ControlTemplate{K::Button, kSaveId, "Save As...", {71, 97, 58, 14}},
    ControlTemplate{K::Button, kOpenId, "Open...", {135, 97, 58, 14}},
    ControlTemplate{K::Button, kLinkId, "Copy link", {7, 115, 58, 14}},
    ControlTemplate{K::Button, kDeleteId, "Delete", {71, 115, 58, 14}},
    ControlTemplate{K::Button, kCancelId, "Close", {135, 115, 58, 14}},
    ControlTemplate{K::Button, kRaceId, "Race", {7, 133, 58, 14}},
    ControlTemplate{K::Button, kRaceLinkId, "Copy race link", {71, 133, 122, 14}},
    // The last row only where a board serves the page.
    ControlTemplate{K::Button, kSendId, "Send to Board", {7, 151, 186, 14}},
};
constexpr DialogTemplate kReplays{"Replays", {16, 8, 200, 154}, std::span(kButtons).first(kButtons.size() - 1)};
constexpr DialogTemplate kReplaysForBoard{"Replays", {16, 8, 200, 172}, kButtons};
// What a selected row offers; greyed, with Open..., while the board is asked.
constexpr std::array kRowButtons = {kOkId, kSaveId, kLinkId, kDeleteId, kRaceId, kRaceLinkId, kSendId};
constexpr std::array kBusyButtons = {kOkId, kSaveId, kLinkId, kDeleteId, kRaceId, kRaceLinkId, kSendId, kOpenId};

void Note(std::string_view line)
{
    ruvo_dialog_note(line.data(), static_cast<std::int32_t>(line.size()));
}

// Asks before a replay goes: Yes (Enter) or No (Escape).
bool AskToDelete(std::string_view label)
{
    constexpr int kYesId = 6;
    constexpr int kNoId = 7;
    // The label's columns are for the list; the question has a line of its own.
    std::string question = "Delete the replay of ";
    for (const char ch : label)
        if (ch != ' ' || (question.back() != ' '))
            question += ch;
    question += '?';
    const DialogUnits units = MeasureDialogUnits();
    const std::int32_t textWidth = ruvo_dialog_text_width(question.data(), static_cast<std::int32_t>(question.size()));
    const int width = std::max(120, textWidth * 4 / std::max(units.baseX, 1) + 16);
    const std::array controls = {
        ControlTemplate{K::Text, kNoControlId, question.c_str(), {7, 7, width - 14, 12}, kCentredVertically},
        ControlTemplate{K::Button, kYesId, "Yes", {width / 2 - 52, 24, 48, 14}, kDefaultButton},
        ControlTemplate{K::Button, kNoId, "No", {width / 2 + 4, 24, 48, 14}},
    };
    BeginDialog(DialogTemplate{"Replays", {40, 40, width, 44}, controls});
    for (;;) {
        const std::int32_t answer = ruvo_dialog_run();
        if (answer == kYesId || answer == kOkId || answer == kNoId || answer == kCancelId) {
            ruvo_dialog_end();
            return answer == kYesId || answer == kOkId;
        }
    }
}

void Refill(GameRecord& record)
{
    SetText(kListId, "");
    const std::vector<KeptReplay> kept = KeptReplays(record);
    for (const KeptReplay& row : kept)
        ruvo_dialog_list_add(kListId, row.name.data(), static_cast<std::int32_t>(row.name.size()), row.label.data(),
                             static_cast<std::int32_t>(row.label.size()));
    for (const int id : kRowButtons)
        ruvo_dialog_enable(id, kept.empty() ? 0 : 1);
}

// The selected row's replay, or nothing (said so when it cannot be read).
std::optional<std::string> Selected(GameRecord& record)
{
    const std::string name = EditText(kListId);
    std::string text;
    if (name.empty())
        return std::nullopt;
    if (ReadKeptReplay(record, name, text))
        return text;
    Note("Replays: the replay cannot be read");
    Refill(record);
    return std::nullopt;
}

void SaveAs(const std::string& text)
{
    std::string error;
    const std::optional<Replay> replay = ReadReplay(text, error);
    const std::string name = replay ? ReplayFileName(*replay) : "Ruvo" + std::string(kReplayExtension);
    ruvo_replay_save(name.data(), static_cast<std::int32_t>(name.size()), text.data(),
                     static_cast<std::int32_t>(text.size()));
}

// The file chosen with Open...: its text, or nothing when it is refused.
std::optional<std::string> OpenedFile()
{
    std::string name, text, error;
    TextFromPage([](char* out, std::int32_t capacity) { return ruvo_dialog_file(0, out, capacity); }, name);
    if (!TextFromPage([](char* out, std::int32_t capacity) { return ruvo_dialog_file(1, out, capacity); }, text)) {
        Note(name + ": the file cannot be read");
        return std::nullopt;
    }
    if (!ReadReplay(text, error)) {
        Note(name + ": " + error);
        return std::nullopt;
    }
    return text;
}

} // namespace

int RunReplaysList(GameRecord& record)
{
    BeginDialog(record.host.board ? kReplaysForBoard : kReplays);
    const DialogUnits units = MeasureDialogUnits();
    ruvo_dialog_list(kListId, kOkId, units.ToPixelsX(kListRect.x), units.ToPixelsY(kListRect.y),
                     units.ToPixelsX(kListRect.width), units.ToPixelsY(kListRect.height));
    ruvo_dialog_file_button(kOpenId);
    ruvo_dialog_link_button(kLinkId, kListId, 0);
    ruvo_dialog_link_button(kRaceLinkId, kListId, 1);
    Refill(record);
    std::optional<std::string> chosen;
    bool race = false;
    for (;;) {
        const std::int32_t command = ruvo_dialog_run();
        if (command == kCancelId)
            break;
        race = command == kRaceId;
        if ((command == kOkId || race) && (chosen = Selected(record)))
            break;
        if (command == kOpenId && (chosen = OpenedFile()))
            break;
        if (command == kSaveId)
            if (const std::optional<std::string> text = Selected(record))
                SaveAs(*text);
        if (command == kSendId && record.host.board)
            if (const std::optional<std::string> text = Selected(record);
                text && !SendToBoard(record, *text, kBusyButtons))
                break;
        if (const std::string name = EditText(kListId); command == kDeleteId && !name.empty())
            for (const KeptReplay& kept : KeptReplays(record))
                if (kept.name == name && AskToDelete(kept.label)) {
                    RemoveKeptReplay(record, name);
                    Refill(record);
                }
    }
    ruvo_dialog_end();
    if (chosen)
        if (const std::string error = race ? RaceReplay(record, *chosen) : WatchReplay(record, *chosen); !error.empty())
            Note("Replays: " + error);
    return chosen ? 1 : 0;
}

} // namespace ruvo
