// The Replays list on Win32, a dialog built in memory like the game's own,
// with the system's file dialogs for Save As... and Open....
// SPDX-License-Identifier: MIT
#include "platform/windows/win_replays_dialog.h"

#include <windows.h>
// After windows.h, which they build on.
#include <commdlg.h>
#include <shlobj.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "platform/windows/gdi_text.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win_board_dialog.h"
#include "platform/windows/win_board_http.h"
#include "platform/windows/win_dialogs.h"
#include "platform/windows/win_replay_store.h"
#include "platform/windows/win_window_system.h"
#include "replay/replay_keep.h"
#include "replay/replay_race.h"
#include "replay/replay_watch.h"
#include "settings/dialog_templates.h"

namespace ruvo {
namespace {

constexpr int kListId = 1000;
constexpr int kSaveId = 1001;
constexpr int kOpenId = 1002;
constexpr int kDeleteId = 1003;
constexpr int kRaceId = 1004;
constexpr int kSendId = 1005;
// Its kind among the open dialogs: none of the game's four.
constexpr int kReplaysKind = 100;
constexpr wchar_t kFilter[] = L"Ruvo replays (*.ruvo-replay)\0*.ruvo-replay\0All files (*.*)\0*.*\0";

struct ReplaysCall {
    GameRecord* record;
    WinDialogHost* host;
    std::vector<KeptReplay> kept;
    std::shared_ptr<BoardAnswerTarget> answers;
    bool sending = false; // a replay is on its way to the board
};

// The dialog's template: a list box over a row of seven buttons, in the
// dialog units and the font of the game's other dialogs.
std::vector<std::uint16_t> ReplaysTemplate()
{
    struct Item {
        DWORD style;
        short x, y, width, height;
        int id;
        WORD itemClass;
        const wchar_t* text;
    };
    const DWORD button = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    const Item items[] = {
        {WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, 7, 7, 331, 96,
         kListId, 0x0083, L""},
        {button | BS_DEFPUSHBUTTON, 7, 109, 42, 14, IDOK, 0x0080, L"&Watch"},
        {button, 52, 109, 42, 14, kRaceId, 0x0080, L"&Race"},
        {button, 97, 109, 42, 14, kSaveId, 0x0080, L"&Save As..."},
        {button, 142, 109, 42, 14, kOpenId, 0x0080, L"&Open..."},
        {button, 187, 109, 42, 14, kDeleteId, 0x0080, L"&Delete"},
        {button, 232, 109, 60, 14, kSendId, 0x0080, L"Send to &Board"},
        {button, 296, 109, 42, 14, IDCANCEL, 0x0080, L"Close"},
    };
    std::vector<std::uint16_t> out;
    const auto dword = [&out](DWORD value) {
        out.push_back(static_cast<std::uint16_t>(value & 0xFFFF));
        out.push_back(static_cast<std::uint16_t>(value >> 16));
    };
    const auto text = [&out](const std::wstring& value) {
        out.insert(out.end(), value.begin(), value.end());
        out.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    dword(0);
    out.push_back(static_cast<std::uint16_t>(std::size(items)));
    for (const int value : {0, 0, 345, 130})
        out.push_back(static_cast<std::uint16_t>(value));
    out.push_back(0); // no menu
    out.push_back(0); // the standard dialog class
    text(L"Replays");
    out.push_back(9);
    text(Widen(AvailableFace(kDialogFace)));
    for (const Item& item : items) {
        if (out.size() % 2 != 0)
            out.push_back(0); // every item starts on a four-byte boundary
        dword(item.style);
        dword(0);
        for (const short value : {item.x, item.y, item.width, item.height})
            out.push_back(static_cast<std::uint16_t>(value));
        out.push_back(static_cast<std::uint16_t>(item.id));
        out.push_back(0xFFFF);
        out.push_back(item.itemClass);
        text(item.text);
        out.push_back(0); // no creation data
    }
    return out;
}

void Refill(HWND dialog, ReplaysCall& call)
{
    HWND list = GetDlgItem(dialog, kListId);
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    call.kept = KeptReplays(*call.record);
    for (const KeptReplay& kept : call.kept)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(kept.label).c_str()));
    SendMessageW(list, LB_SETCURSEL, call.kept.empty() ? static_cast<WPARAM>(-1) : 0, 0);
    for (const int id : {IDOK, kRaceId, kSaveId, kDeleteId, kSendId})
        EnableWindow(GetDlgItem(dialog, id), !call.kept.empty() && (id != kSendId || !call.sending));
}

// The selected row's entry, or null.
const KeptReplay* Selection(HWND dialog, const ReplaysCall& call)
{
    const LRESULT row = SendDlgItemMessageW(dialog, kListId, LB_GETCURSEL, 0, 0);
    if (row < 0 || static_cast<std::size_t>(row) >= call.kept.size())
        return nullptr;
    return &call.kept[static_cast<std::size_t>(row)];
}

// The selected replay's text, or nothing (after saying so) when it is gone.
std::optional<std::string> SelectedText(HWND dialog, ReplaysCall& call)
{
    const KeptReplay* kept = Selection(dialog, call);
    if (kept == nullptr)
        return std::nullopt;
    std::string text;
    if (ReadKeptReplay(*call.record, kept->name, text))
        return text;
    ComplainAboutReplay(dialog, kept->label, "the replay cannot be read");
    Refill(dialog, call);
    return std::nullopt;
}

std::wstring DocumentsFolder()
{
    wchar_t path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

// The file dialog's answer, or empty when the player cancelled.
std::wstring AskPath(HWND dialog, bool saving, const std::wstring& suggested)
{
    std::vector<wchar_t> file(32768, L'\0');
    suggested.copy(file.data(), std::min(suggested.size(), file.size() - 1));
    const std::wstring folder = DocumentsFolder();
    OPENFILENAMEW ask{};
    ask.lStructSize = sizeof ask;
    ask.hwndOwner = dialog;
    ask.lpstrFilter = kFilter;
    ask.lpstrFile = file.data();
    ask.nMaxFile = static_cast<DWORD>(file.size());
    ask.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ask.lpstrDefExt = L"ruvo-replay";
    ask.Flags = OFN_EXPLORER | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (saving) {
        ask.lpstrTitle = L"Save Replay";
        ask.Flags |= OFN_OVERWRITEPROMPT;
        return GetSaveFileNameW(&ask) ? file.data() : L"";
    }
    ask.lpstrTitle = L"Open Replay";
    ask.Flags |= OFN_FILEMUSTEXIST;
    return GetOpenFileNameW(&ask) ? file.data() : L"";
}

void SaveAs(HWND dialog, ReplaysCall& call)
{
    const std::optional<std::string> text = SelectedText(dialog, call);
    if (!text)
        return;
    std::string error;
    const std::optional<Replay> replay = ReadReplay(*text, error);
    const std::wstring path = AskPath(dialog, true, Widen(replay ? ReplayFileName(*replay) : "Ruvo.ruvo-replay"));
    if (!path.empty() && !WriteWholeFile(path, *text))
        ComplainAboutReplay(dialog, Narrow(path), "the file cannot be written");
}

// Asks the engine to watch the text, or race its ghost: it starts once the
// list has closed, which it does at once; a text that is no replay is
// refused with the list kept open.
void Play(HWND dialog, ReplaysCall& call, const std::string& text, std::string_view what, bool race)
{
    const std::string error = race ? RaceReplay(*call.record, text) : WatchReplay(*call.record, text);
    if (error.empty())
        EndDialog(dialog, 1);
    else
        ComplainAboutReplay(dialog, what, error);
}

void Open(HWND dialog, ReplaysCall& call)
{
    const std::wstring path = AskPath(dialog, false, L"");
    if (path.empty())
        return;
    std::string text, why;
    if (ReadReplayFile(path, text, why))
        Play(dialog, call, text, Narrow(path), false);
    else
        ComplainAboutReplay(dialog, Narrow(path), why);
}

void Delete(HWND dialog, ReplaysCall& call)
{
    const KeptReplay* kept = Selection(dialog, call);
    if (kept == nullptr)
        return;
    const std::wstring question = L"Delete the replay of " + Widen(kept->label) + L"?";
    if (MessageBoxW(dialog, question.c_str(), L"Replays", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    RemoveKeptReplay(*call.record, kept->name);
    Refill(dialog, call);
}

// The selected replay to the board, unless it may not go; the answer comes
// as a message, Send to Board waiting meanwhile.
void Send(HWND dialog, ReplaysCall& call)
{
    const std::optional<std::string> text = SelectedText(dialog, call);
    if (call.sending || !text || !SendReplayToBoard(dialog, *call.record, *text, call.answers))
        return;
    call.sending = true;
    EnableWindow(GetDlgItem(dialog, kSendId), FALSE);
}

void Sent(HWND dialog, ReplaysCall& call, const BoardReply& reply)
{
    call.sending = false;
    EnableWindow(GetDlgItem(dialog, kSendId), !call.kept.empty());
    TellBoardAnswer(dialog, reply);
}

INT_PTR CALLBACK ReplaysProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto& call = *reinterpret_cast<ReplaysCall*>(lParam);
        call.host->OpenDialogs().push_back({dialog, kReplaysKind, call.record});
        call.answers = std::make_shared<BoardAnswerTarget>(dialog, kBoardAnswerMessage);
        Refill(dialog, call);
        return TRUE;
    }
    auto* call = reinterpret_cast<ReplaysCall*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (call == nullptr)
        return FALSE;
    if (message == WM_DESTROY) {
        call->answers->Forget();
        std::erase_if(call->host->OpenDialogs(),
                      [dialog](const WinDialogHost::Open& entry) { return entry.dialog == dialog; });
        return FALSE;
    }
    if (message == kBoardAnswerMessage) {
        if (const std::unique_ptr<BoardReply> reply = TakeBoardReply(lParam))
            Sent(dialog, *call, *reply);
        return TRUE;
    }
    if (message != WM_COMMAND)
        return FALSE;
    const int id = LOWORD(wParam);
    const bool race = id == kRaceId;
    if (id == IDOK || race || (id == kListId && HIWORD(wParam) == LBN_DBLCLK)) {
        if (const std::optional<std::string> text = SelectedText(dialog, *call))
            Play(dialog, *call, *text, Selection(dialog, *call)->label, race);
    } else if (id == kSaveId) {
        SaveAs(dialog, *call);
    } else if (id == kOpenId) {
        Open(dialog, *call);
    } else if (id == kDeleteId) {
        Delete(dialog, *call);
    } else if (id == kSendId) {
        Send(dialog, *call);
    } else if (id == IDCANCEL) {
        EndDialog(dialog, 0);
    } else {
        return FALSE;
    }
    return TRUE;
}

} // namespace

void ComplainAboutReplay(void* owner, std::string_view what, std::string_view error)
{
    const std::string line = std::string(what) + ": " + std::string(error);
    std::fprintf(stderr, "ruvo: %s\n", line.c_str());
    std::fflush(stderr);
    MessageBoxW(static_cast<HWND>(owner), Widen(line).c_str(), kReplayErrorCaption, MB_OK | MB_ICONWARNING);
}

bool PlayReplayFile(GameRecord& record, const std::wstring& path, bool race, void* owner)
{
    std::string text, error;
    if (ReadReplayFile(path, text, error))
        error = race ? RaceReplay(record, text) : WatchReplay(record, text);
    if (!error.empty())
        ComplainAboutReplay(owner, Narrow(path), error);
    return error.empty();
}

int WinDialogHost::RunReplays(GameRecord& record)
{
    // No dialog without its owner: once the game window is gone, none opens.
    HWND owner = static_cast<HWND>(windows_.GameHwnd());
    if (owner == nullptr)
        return 0;
    const std::vector<std::uint16_t> data = ReplaysTemplate();
    ReplaysCall call{&record, this, {}, nullptr};
    // A replay chosen to watch or race starts once the list has closed (the engine
    // holds it while a dialog is open), unless the window closed meanwhile.
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(data.data()), owner,
                                ReplaysProc, reinterpret_cast<LPARAM>(&call));
    return result < 0 ? 0 : static_cast<int>(result);
}

} // namespace ruvo
