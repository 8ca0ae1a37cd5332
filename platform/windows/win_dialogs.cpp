// The four modal dialogs on Win32, built in memory from the templates, and the notes.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_dialogs.h"

#include <windows.h>

#include <array>
#include <cstdio>
#include <string>

#include "platform/windows/dialog_text_fit.h"
#include "platform/windows/gdi_text.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win_window_system.h"
#include "render/icon.h"
#include "settings/dialog_logic.h"

namespace ruvo {
namespace {

constexpr WORD kButtonClass = 0x0080;
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kDialogPoints = 9;

void PutDword(std::vector<std::uint16_t>& out, DWORD value)
{
    out.push_back(static_cast<std::uint16_t>(value & 0xFFFF));
    out.push_back(static_cast<std::uint16_t>(value >> 16));
}

void PutText(std::vector<std::uint16_t>& out, std::string_view text)
{
    for (const wchar_t ch : Widen(text))
        out.push_back(static_cast<std::uint16_t>(ch));
    out.push_back(0);
}

void PutRect(std::vector<std::uint16_t>& out, const UnitRect& rect)
{
    for (const int value : {rect.x, rect.y, rect.width, rect.height})
        out.push_back(static_cast<std::uint16_t>(static_cast<std::int16_t>(value)));
}

DWORD ControlStyleBits(const ControlTemplate& control)
{
    DWORD style = WS_CHILD | WS_VISIBLE;
    switch (control.kind) {
    case ControlKind::Text:
        style |= WS_GROUP;
        if (control.style & kCentred)
            style |= SS_CENTER;
        else if (control.style & kRightAligned)
            style |= SS_RIGHT;
        else
            style |= SS_LEFT;
        if (control.style & kCentredVertically)
            style |= SS_CENTERIMAGE;
        if (control.style & kSunken)
            style |= SS_SUNKEN;
        break;
    case ControlKind::Icon:
        style |= SS_ICON;
        break;
    case ControlKind::Edit:
        style |= WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
        break;
    case ControlKind::Button:
        style |= WS_TABSTOP | ((control.style & kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
    }
    return style;
}

WORD ControlClass(ControlKind kind)
{
    switch (kind) {
    case ControlKind::Button:
        return kButtonClass;
    case ControlKind::Edit:
        return kEditClass;
    default:
        return kStaticClass;
    }
}

// The Board dialog, in dialog units.
constexpr auto kBoardControls = std::to_array<ControlTemplate>({
    ControlTemplate{ControlKind::Text, kNoControlId, "The board's address (http:// or https://):", {7, 7, 216, 9}},
    ControlTemplate{ControlKind::Edit, kBoardAddressId, "", {7, 18, 216, 12}},
    ControlTemplate{ControlKind::Text, kBoardStatusId, "", {7, 34, 216, 9}},
    ControlTemplate{ControlKind::Button, kOkId, "&Play for the Board", {7, 47, 80, 14}, kDefaultButton},
    ControlTemplate{ControlKind::Button, kBoardOpenId, "&Open the Board", {92, 47, 80, 14}},
    ControlTemplate{ControlKind::Button, kCancelId, "Close", {177, 47, 46, 14}},
});
constexpr DialogTemplate kBoard{"Board", {20, 20, 230, 68}, kBoardControls};

enum class DialogKind { About, Option, HighScore, Input };

struct DialogCall {
    DialogKind kind;
    GameRecord* record;
    WinDialogHost* host;
    std::vector<void*> fonts; // made to fit texts, for the dialog's life
};

std::string ItemText(HWND dialog, int id)
{
    HWND item = GetDlgItem(dialog, id);
    const int length = item != nullptr ? GetWindowTextLengthW(item) : 0;
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int read = GetDlgItemTextW(dialog, id, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(read));
    return Narrow(text);
}

void SetItemText(HWND dialog, int id, std::string_view text)
{
    SetDlgItemTextW(dialog, id, Widen(text).c_str());
}

void Initialise(HWND dialog, const DialogCall& call)
{
    if (call.kind == DialogKind::Option) {
        const std::array<std::string, 8> values = FillOptionEdits(*call.record);
        for (std::size_t row = 0; row < kOptionRows.size(); ++row)
            SetItemText(dialog, kOptionRows[row].editId, values[row]);
    } else if (call.kind == DialogKind::HighScore) {
        const std::array<HighScoreRowText, 5> rows = HighScoreRows(*call.record);
        for (int k = 0; k < 5; ++k) {
            const HighScoreRowText& row = rows[static_cast<std::size_t>(k)];
            SetItemText(dialog, ScoreCellId(k), row.score);
            SetItemText(dialog, RoundCellId(k), row.round);
            SetItemText(dialog, NameCellId(k), row.name);
        }
    }
}

// True when the command was the dialog's to take.
bool Command(HWND dialog, const DialogCall& call, int id)
{
    switch (call.kind) {
    case DialogKind::About:
    case DialogKind::HighScore:
        if (id != IDOK && id != IDCANCEL)
            return false;
        EndDialog(dialog, 0);
        return true;
    case DialogKind::Option:
        if (id == IDOK) {
            std::array<std::string, 8> edits;
            for (std::size_t row = 0; row < kOptionRows.size(); ++row)
                edits[row] = ItemText(dialog, kOptionRows[row].editId);
            StoreOptionEdits(*call.record, edits);
            EndDialog(dialog, 1);
            return true;
        }
        if (id == IDCANCEL) {
            EndDialog(dialog, 0);
            return true;
        }
        return false;
    case DialogKind::Input:
        // Only OK closes it: a name must be confirmed, even an empty one.
        if (id != IDOK)
            return false;
        StoreEntryName(*call.record, ItemText(dialog, kNameEditId));
        EndDialog(dialog, 0);
        return true;
    }
    return false;
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        auto& call = *reinterpret_cast<DialogCall*>(lParam);
        call.host->OpenDialogs().push_back({dialog, static_cast<int>(call.kind), call.record});
        Initialise(dialog, call);
        FitDialogTexts(dialog, call.fonts);
        return TRUE;
    }
    auto* call = reinterpret_cast<DialogCall*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (message == WM_DESTROY && call != nullptr) {
        ReleaseFittedFonts(call->fonts);
        auto& open = call->host->OpenDialogs();
        std::erase_if(open, [dialog](const WinDialogHost::Open& entry) { return entry.dialog == dialog; });
        return FALSE;
    }
    if (message == WM_COMMAND && call != nullptr)
        return Command(dialog, *call, LOWORD(wParam)) ? TRUE : FALSE;
    return FALSE;
}

int Run(WinDialogHost& host, WinWindowSystem& windows, const DialogTemplate& layout, DialogKind kind,
        GameRecord* record)
{
    // No dialog without its owner: once the game window is gone, none opens.
    if (windows.GameHwnd() == nullptr)
        return 0;
    const std::vector<std::uint16_t> data = BuildDialogTemplate(layout, kProgramIconGroup);
    DialogCall call{kind, record, &host, {}};
    const INT_PTR result =
        DialogBoxIndirectParamW(GetModuleHandleW(nullptr), reinterpret_cast<const DLGTEMPLATE*>(data.data()),
                                static_cast<HWND>(windows.GameHwnd()), DialogProc, reinterpret_cast<LPARAM>(&call));
    return result < 0 ? 0 : static_cast<int>(result);
}

} // namespace

std::vector<std::uint16_t> BuildDialogTemplate(const DialogTemplate& layout, std::uint16_t iconGroup)
{
    std::vector<std::uint16_t> out;
    PutDword(out, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    PutDword(out, 0);
    out.push_back(static_cast<std::uint16_t>(layout.controls.size()));
    PutRect(out, layout.rect);
    out.push_back(0); // no menu
    out.push_back(0); // the standard dialog class
    PutText(out, layout.title);
    out.push_back(kDialogPoints);
    PutText(out, AvailableFace(kDialogFace));
    for (const ControlTemplate& control : layout.controls) {
        if (out.size() % 2 != 0)
            out.push_back(0); // every item starts on a four-byte boundary
        PutDword(out, ControlStyleBits(control));
        PutDword(out, 0);
        PutRect(out, control.rect);
        out.push_back(static_cast<std::uint16_t>(control.id)); // -1 is 0xFFFF
        out.push_back(0xFFFF);
        out.push_back(ControlClass(control.kind));
        if (control.kind == ControlKind::Icon) {
            out.push_back(0xFFFF);
            out.push_back(iconGroup);
        } else {
            PutText(out, control.text);
        }
        out.push_back(0); // no creation data
    }
    return out;
}

const DialogTemplate& BoardTemplate()
{
    return kBoard;
}

// The innermost first: the name dialog keeps what was typed, as OK would.
void WinDialogHost::EndDialogs()
{
    for (auto entry = open_.rbegin(); entry != open_.rend(); ++entry) {
        HWND dialog = static_cast<HWND>(entry->dialog);
        if (entry->kind == static_cast<int>(DialogKind::Input) && entry->record != nullptr)
            StoreEntryName(*entry->record, ItemText(dialog, kNameEditId));
        EndDialog(dialog, 0);
    }
}

void WinDialogHost::ShowNote(std::string_view text)
{
    std::fprintf(stderr, "ruvo: %.*s\n", static_cast<int>(text.size()), text.data());
    std::fflush(stderr);
    if (HWND owner = static_cast<HWND>(windows_.GameHwnd()))
        MessageBoxW(owner, Widen(text).c_str(), kNoteCaption, MB_OK | MB_ICONWARNING);
}

int WinDialogHost::RunAbout()
{
    return Run(*this, windows_, AboutTemplate(), DialogKind::About, nullptr);
}

int WinDialogHost::RunOption(GameRecord& record)
{
    return Run(*this, windows_, OptionTemplate(), DialogKind::Option, &record);
}

int WinDialogHost::RunHighScore(GameRecord& record)
{
    return Run(*this, windows_, HighScoreTemplate(), DialogKind::HighScore, &record);
}

int WinDialogHost::RunInput(GameRecord& record)
{
    return Run(*this, windows_, InputTemplate(), DialogKind::Input, &record);
}

} // namespace ruvo
