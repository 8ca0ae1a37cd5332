// The Board dialog on Win32 and Send to Board: the requests go out on worker
// threads (win_board_http.h) and their answers come back to the dialog that
// asked, whose buttons wait meanwhile.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_board_dialog.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <vector>

#include "platform/windows/dialog_text_fit.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win_board_http.h"
#include "platform/windows/win_dialogs.h"
#include "platform/windows/win_window_system.h"
#include "render/icon.h"
#include "replay/board_client.h"
#include "replay/replay_file.h"
#include "settings/registry.h"

namespace ruvo {
namespace {

// Its kind among the open dialogs: none of the game's four, nor the Replays list.
constexpr int kBoardKind = 101;

struct BoardCall {
    GameRecord* record;
    WinDialogHost* host;
    std::shared_ptr<BoardAnswerTarget> answers;
    std::vector<void*> fonts;
    bool asking = false;
};

// A box over owner in the notes' caption, and a line on stderr (for the tests).
void Tell(void* owner, std::string_view text, UINT icon = MB_ICONWARNING)
{
    std::fprintf(stderr, "ruvo: %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    MessageBoxW(static_cast<HWND>(owner), Widen(text).c_str(), kNoteCaption, MB_OK | icon);
}

std::string AddressTyped(HWND dialog)
{
    std::wstring text(kBoardAddressMaxBytes + 2, L'\0');
    text.resize(
        static_cast<std::size_t>(GetDlgItemTextW(dialog, kBoardAddressId, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void StoreBoardAddress(GameRecord& record, const std::string& address)
{
    SettingsStore* settings = record.host.settings;
    if (settings == nullptr || !settings->Create())
        return;
    settings->SetString(kBoardAddressValue, address);
    settings->Close();
}

// Play and Open answer while an address is typed and nothing is under way.
void EnableButtons(HWND dialog, const BoardCall& call)
{
    const bool typed = GetWindowTextLengthW(GetDlgItem(dialog, kBoardAddressId)) > 0;
    EnableWindow(GetDlgItem(dialog, kBoardAddressId), !call.asking);
    for (const int id : {kOkId, kBoardOpenId})
        EnableWindow(GetDlgItem(dialog, id), typed && !call.asking);
}

// The address typed, checked and stored; nothing (after telling the player
// why, when it is wrong) when there is none to use.
std::optional<std::string> CheckedAddress(HWND dialog, BoardCall& call)
{
    std::string address;
    const std::string error = CheckBoardAddress(AddressTyped(dialog), address);
    if (!error.empty()) {
        Tell(dialog, error);
        return std::nullopt;
    }
    if (address.empty())
        return std::nullopt;
    StoreBoardAddress(*call.record, address);
    SetDlgItemTextW(dialog, kBoardAddressId, Widen(address).c_str());
    return address;
}

void OpenPage(HWND dialog, const std::string& address)
{
    const std::string url = BoardUrl(address, "/board");
    const auto opened =
        reinterpret_cast<INT_PTR>(ShellExecuteW(dialog, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (opened <= 32)
        Tell(dialog, "The board's page could not be opened: " + url);
}

void AskForStart(HWND dialog, BoardCall& call, const std::string& address)
{
    call.asking = true;
    EnableButtons(dialog, call);
    SetDlgItemTextW(dialog, kBoardStatusId, L"Asking the board for a start...");
    PostToBoardLater(call.answers, BoardUrl(address, "/api/v1/tokens"), "");
}

// The start played as the window's game once the dialog has closed, or why not.
void TakeStart(HWND dialog, BoardCall& call, const BoardReply& reply)
{
    call.asking = false;
    SetDlgItemTextW(dialog, kBoardStatusId, L"");
    EnableButtons(dialog, call);
    std::string error;
    if (reply.status == 201)
        error = PlayBoardStart(*call.record, reply.body);
    else if (reply.status == 0)
        error = BoardAnswerNote(0, reply.body);
    else
        error = "The board gave no start: it answered " + std::to_string(reply.status) + ".";
    if (error.empty())
        EndDialog(dialog, 1);
    else
        Tell(dialog, error);
}

INT_PTR CALLBACK BoardProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto& call = *reinterpret_cast<BoardCall*>(lParam);
        call.host->OpenDialogs().push_back({dialog, kBoardKind, call.record});
        call.answers = std::make_shared<BoardAnswerTarget>(dialog, kBoardAnswerMessage);
        SendDlgItemMessageW(dialog, kBoardAddressId, EM_LIMITTEXT, kBoardAddressMaxBytes, 0);
        SetDlgItemTextW(dialog, kBoardAddressId, Widen(StoredBoardAddress(*call.record)).c_str());
        EnableButtons(dialog, call);
        FitDialogTexts(dialog, call.fonts);
        return TRUE;
    }
    auto* call = reinterpret_cast<BoardCall*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (call == nullptr)
        return FALSE;
    if (message == WM_DESTROY) {
        call->answers->Forget();
        ReleaseFittedFonts(call->fonts);
        std::erase_if(call->host->OpenDialogs(),
                      [dialog](const WinDialogHost::Open& entry) { return entry.dialog == dialog; });
        return FALSE;
    }
    if (message == kBoardAnswerMessage) {
        if (const std::unique_ptr<BoardReply> reply = TakeBoardReply(lParam))
            TakeStart(dialog, *call, *reply);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    if (id == kBoardAddressId && HIWORD(wParam) == EN_CHANGE) {
        EnableButtons(dialog, *call);
    } else if ((id == kOkId || id == kBoardOpenId) && !call->asking) {
        if (const std::optional<std::string> address = CheckedAddress(dialog, *call)) {
            if (id == kOkId)
                AskForStart(dialog, *call, *address);
            else
                OpenPage(dialog, *address);
        }
    } else if (id == kCancelId) {
        EndDialog(dialog, 0);
    } else {
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::string StoredBoardAddress(GameRecord& record)
{
    std::string address;
    if (record.host.settings == nullptr ||
        !record.host.settings->QueryString(kBoardAddressValue, address, kBoardAddressMaxBytes))
        address.clear();
    return address;
}

bool SendReplayToBoard(void* owner, GameRecord& record, std::string_view text,
                       std::shared_ptr<BoardAnswerTarget> target)
{
    if (const std::string refusal = BoardSendRefusal(text); !refusal.empty()) {
        Tell(owner, refusal, MB_ICONINFORMATION);
        return false;
    }
    std::string address;
    if (const std::string error = CheckBoardAddress(StoredBoardAddress(record), address); !error.empty()) {
        Tell(owner, "The board's address is wrong: " + error + ". Choose Game > Board... to give it again.");
        return false;
    }
    if (address.empty()) {
        Tell(owner, "No board is set: choose Game > Board... and give its address.", MB_ICONINFORMATION);
        return false;
    }
    // A game that asked for no name goes with the name typed last in this window, if any.
    std::string error;
    const std::optional<Replay> replay = ReadReplay(text, error);
    const std::string_view lastName = NameText(record.game.entryName);
    const std::string path = BoardReplaysPath(replay && replay->result.name.empty() ? lastName : "");
    PostToBoardLater(std::move(target), BoardUrl(address, path), std::string(text));
    return true;
}

void TellBoardAnswer(void* owner, const BoardReply& reply)
{
    Tell(owner, BoardAnswerNote(reply.status, reply.body), reply.status == 201 ? MB_ICONINFORMATION : MB_ICONWARNING);
}

int WinDialogHost::RunBoard(GameRecord& record)
{
    // No dialog without its owner: once the game window is gone, none opens.
    HWND owner = static_cast<HWND>(windows_.GameHwnd());
    if (owner == nullptr)
        return 0;
    const std::vector<std::uint16_t> data = BuildDialogTemplate(BoardTemplate(), kProgramIconGroup);
    BoardCall call{&record, this, nullptr, {}};
    // A start taken waits in the engine until the dialog has closed.
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(data.data()), owner,
                                BoardProc, reinterpret_cast<LPARAM>(&call));
    return result < 0 ? 0 : static_cast<int>(result);
}

} // namespace ruvo
