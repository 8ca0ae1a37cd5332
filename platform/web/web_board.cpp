// Playing for the board that serves the page: the Board dialog (Play for the
// Board, Open the Board) and Send to Board for a kept replay. The page makes
// the requests, to its own address only, and answers the open dialog once
// the board has answered: the game goes on meanwhile, and the player may
// close the dialog rather than wait.
// SPDX-License-Identifier: MIT
#include <array>
#include <optional>
#include <span>
#include <string>

#include "platform/web/web_dialog_build.h"
#include "platform/web/web_imports.h"
#include "platform/web/web_replay_store.h"
#include "replay/board_client.h"
#include "replay/replay_file.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

using K = ControlKind;

constexpr int kPlayId = 601;
constexpr int kOpenId = 602;
// Not a control: the page's word that the board has answered.
constexpr int kAnsweredId = 603;

constexpr std::array kBoardControls = {
    ControlTemplate{K::Text,
                    kNoControlId,
                    "This site's board lists the games it has played again from their replays.",
                    {7, 7, 206, 20}},
    ControlTemplate{K::Button, kPlayId, "Play for the Board", {7, 31, 78, 14}, kDefaultButton},
    ControlTemplate{K::Button, kOpenId, "Open the Board", {89, 31, 70, 14}},
    ControlTemplate{K::Button, kCancelId, "Close", {163, 31, 50, 14}},
};
constexpr DialogTemplate kBoard{"Board", {16, 8, 220, 52}, kBoardControls};
constexpr std::array kBusy = {kPlayId, kOpenId};

void Note(std::string_view line)
{
    ruvo_dialog_note(line.data(), static_cast<std::int32_t>(line.size()));
}

struct BoardAnswer {
    int status = 0;
    std::string body;
};

// Posts body to the board's path and waits for its answer with the buttons
// busy greyed; nothing when the player closes the dialog first (Escape, the
// close box, Close), whose other commands wait meanwhile.
std::optional<BoardAnswer> AskBoard(std::string_view path, std::string_view body, std::span<const int> busy)
{
    for (const int id : busy)
        ruvo_dialog_enable(id, 0);
    ruvo_board_request(path.data(), static_cast<std::int32_t>(path.size()), body.data(),
                       static_cast<std::int32_t>(body.size()), kAnsweredId);
    for (;;) {
        const std::int32_t command = ruvo_dialog_run();
        if (command == kCancelId)
            return std::nullopt;
        if (command == kAnsweredId)
            break;
    }
    for (const int id : busy)
        ruvo_dialog_enable(id, 1);
    BoardAnswer answer;
    answer.status = ruvo_board_status();
    if (!TextFromPage(ruvo_board_answer, answer.body))
        answer.body.clear();
    return answer;
}

// A name as a query's value: UTF-8 bytes, all but letters and digits escaped.
std::string QueryValue(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= '0' && byte <= '9') || ((byte | 0x20) >= 'a' && (byte | 0x20) <= 'z'))
            out += c;
        else
            out += {'%', kHex[byte >> 4], kHex[byte & 15]};
    }
    return out;
}

} // namespace

int RunBoardDialog(GameRecord& record)
{
    BeginDialog(kBoard);
    constexpr std::string_view kPage = "board";
    ruvo_dialog_page_button(kOpenId, kPage.data(), static_cast<std::int32_t>(kPage.size()));
    for (;;) {
        const std::int32_t command = ruvo_dialog_run();
        if (command == kCancelId)
            break;
        if (command != kPlayId && command != kOkId)
            continue;
        const std::optional<BoardAnswer> start = AskBoard("api/v1/tokens", "", kBusy);
        if (!start)
            break;
        // No answer, or one that says to wait, is told as a sent game's
        // would be; any other answer is the start, or the start's error.
        // The game starts once the last dialog has closed.
        const std::string error = start->status == 0 || start->status == 429
                                      ? BoardAnswerNote(start->status, start->body)
                                      : PlayBoardStart(record, start->body);
        if (error.empty()) {
            ruvo_dialog_end();
            return 1;
        }
        Note(error);
    }
    ruvo_dialog_end();
    return 0;
}

bool SendToBoard(GameRecord& record, std::string_view text, std::span<const int> busy)
{
    if (const std::string refusal = BoardSendRefusal(text); !refusal.empty()) {
        Note(refusal);
        return true;
    }
    // A game that asked for no name goes with the name last typed here.
    std::string path = "api/v1/replays";
    std::string error;
    const std::optional<Replay> replay = ReadReplay(text, error);
    const std::string_view typed = NameText(record.game.entryName);
    if (replay && replay->result.name.empty() && !typed.empty())
        path += "?name=" + QueryValue(typed);
    const std::optional<BoardAnswer> answer = AskBoard(path, text, busy);
    if (!answer)
        return false;
    Note(BoardAnswerNote(answer->status, answer->body));
    return true;
}

} // namespace ruvo
