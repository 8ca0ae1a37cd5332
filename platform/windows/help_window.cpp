// The help window on Windows.
// SPDX-License-Identifier: MIT
#include "platform/windows/help_window.h"

#include <windows.h>
// After windows.h, which they build on.
#include <commdlg.h>
#include <richedit.h>

#include <algorithm>

#include "platform/windows/mci_music.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win_dpi.h"
#include "platform/windows/win_window_system.h"
#include "render/icon.h"

namespace ruvo {
namespace {

constexpr const wchar_t* kHelpClass = L"RuvoHelp";
constexpr int kTextId = 100;
// The window's client area and the text's margins at 100 %.
constexpr int kWidth = 560;
constexpr int kHeight = 480;
constexpr int kMargin = 8;
// The colour the help's rich text gives its links (its colour table's third entry).
constexpr COLORREF kLinkColour = RGB(0, 0, 255);

std::string MissingFileText(std::string_view fileName)
{
    std::string name;
    for (const char ch : fileName)
        if (ch != '\\' && ch != '{' && ch != '}')
            name += ch;
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20{\\b\\fs28 Help is not available\\par}"
           "\\par The help for " +
           name + " could not be opened. It belongs next to the game's program file.\\par}";
}

HWND TextView(HWND window)
{
    return GetDlgItem(window, kTextId);
}

// Scrolls the view so that its first line is the one holding position.
void ScrollTo(HWND view, LONG position)
{
    SendMessageW(view, EM_SETSEL, position, position);
    const LRESULT line = SendMessageW(view, EM_LINEFROMCHAR, position, 0);
    const LRESULT first = SendMessageW(view, EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageW(view, EM_LINESCROLL, 0, line - first);
}

bool InLinkColour(HWND view, LONG from, LONG to, bool& uniform)
{
    SendMessageW(view, EM_SETSEL, from, to);
    CHARFORMAT2W format{};
    format.cbSize = sizeof format;
    SendMessageW(view, EM_GETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    uniform = (format.dwMask & CFM_COLOR) != 0;
    return uniform && (format.dwEffects & CFE_AUTOCOLOR) == 0 && format.crTextColor == kLinkColour;
}

// The text in the link colour becomes links (rich text's own link fields
// are not shown by every rich edit control). Lines without a link are
// passed over whole.
void MarkLinks(HWND view)
{
    const auto lines = static_cast<LONG>(SendMessageW(view, EM_GETLINECOUNT, 0, 0));
    CHARFORMAT2W link{};
    link.cbSize = sizeof link;
    link.dwMask = CFM_LINK;
    link.dwEffects = CFE_LINK;
    for (LONG line = 0; line < lines; ++line) {
        const auto first = static_cast<LONG>(SendMessageW(view, EM_LINEINDEX, line, 0));
        const auto length = static_cast<LONG>(SendMessageW(view, EM_LINELENGTH, first, 0));
        bool uniform = false;
        if (length == 0 || (!InLinkColour(view, first, first + length, uniform) && uniform))
            continue;
        LONG start = -1;
        for (LONG at = first; at <= first + length; ++at) {
            const bool inLink = at < first + length && InLinkColour(view, at, at + 1, uniform);
            if (inLink && start < 0)
                start = at;
            if (!inLink && start >= 0) {
                SendMessageW(view, EM_SETSEL, start, at);
                SendMessageW(view, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&link));
                start = -1;
            }
        }
    }
    SendMessageW(view, EM_SETSEL, 0, 0);
}

// A link names its topic by the topic's heading, or the contents: it goes to
// the first place after the contents list where that text begins a line.
void FollowLink(HWND view, const CHARRANGE& range)
{
    std::wstring text(static_cast<std::size_t>(range.cpMax - range.cpMin) + 1, L'\0');
    TEXTRANGEW request{range, text.data()};
    SendMessageW(view, EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&request));
    text.resize(wcslen(text.c_str()));
    if (text.find(L"contents") != std::wstring::npos) {
        ScrollTo(view, 0);
        return;
    }
    FINDTEXTEXW find{};
    find.chrg.cpMin = range.cpMax;
    find.chrg.cpMax = -1;
    const std::wstring heading = L"\r" + text + L"\r";
    find.lpstrText = heading.c_str();
    LRESULT at = SendMessageW(view, EM_FINDTEXTEXW, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find));
    if (at < 0) {
        find.chrg.cpMin = 0;
        at = SendMessageW(view, EM_FINDTEXTEXW, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&find));
    }
    if (at >= 0)
        ScrollTo(view, static_cast<LONG>(at + 1));
}

// The text's margins and zoom at the window's scale: the rich text is laid
// out at the system's scale, which a monitor of another scale zooms.
void FitText(HWND window)
{
    HWND view = TextView(window);
    const unsigned dpi = WindowDpi(window);
    const int margin = Scaled(kMargin, dpi);
    SendMessageW(view, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(margin, margin));
    const unsigned system = SystemDpi();
    SendMessageW(view, EM_SETZOOM, dpi == system ? 0 : dpi, dpi == system ? 0 : system);
}

LRESULT CALLBACK HelpProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        MoveWindow(TextView(window), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_SETFOCUS:
        SetFocus(TextView(window));
        return 0;
    case WM_NOTIFY: {
        const auto* link = reinterpret_cast<const ENLINK*>(lParam);
        if (link->nmhdr.code == EN_LINK && link->msg == WM_LBUTTONUP) {
            FollowLink(link->nmhdr.hwndFrom, link->chrg);
            return 1;
        }
        break;
    }
    case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        FitText(window);
        return 0;
    }
    case WM_CLOSE: {
        // Hidden, to be shown again as it was; the game takes the keys back.
        HWND owner = GetWindow(window, GW_OWNER);
        ShowWindow(window, SW_HIDE);
        if (owner != nullptr && IsWindowVisible(owner)) {
            SetForegroundWindow(owner);
            SetActiveWindow(owner);
            SetFocus(owner);
        }
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND CreateHelpWindow(HWND owner)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // The rich edit control of Windows XP and later (RICHEDIT50W).
    if (LoadLibraryW(L"msftedit.dll") == nullptr)
        return nullptr;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = HelpProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconGroup), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHelpClass;
    RegisterClassExW(&windowClass);
    HWND window = CreateWindowExW(0, kHelpClass, L"Ruvo Help", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  kWidth, kHeight, owner, nullptr, instance, nullptr);
    if (window == nullptr)
        return nullptr;
    // At the scale of the game's monitor, as far as its work area holds it.
    const unsigned dpi = WindowDpi(owner != nullptr ? owner : window);
    int width = 0;
    int height = 0;
    OuterSize(window, WS_OVERLAPPEDWINDOW, false, Scaled(kWidth, dpi), Scaled(kHeight, dpi), width, height);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromWindow(owner != nullptr ? owner : window, MONITOR_DEFAULTTONEAREST), &monitor);
    width = std::min<int>(width, monitor.rcWork.right - monitor.rcWork.left);
    height = std::min<int>(height, monitor.rcWork.bottom - monitor.rcWork.top);
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    HWND view = CreateWindowExW(
        0, MSFTEDIT_CLASS, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0,
        0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTextId)), instance, nullptr);
    SendMessageW(view, EM_SETEVENTMASK, 0, ENM_LINK);
    FitText(window);
    RECT client{};
    GetClientRect(window, &client);
    MoveWindow(view, 0, 0, client.right, client.bottom, FALSE);
    return window;
}

} // namespace

HelpWindow::~HelpWindow()
{
    if (window_ != nullptr)
        DestroyWindow(static_cast<HWND>(window_));
}

std::string HelpWindow::ReadHelpText(std::string_view fileName)
{
    std::wstring name = Widen(fileName);
    if (name.empty() || name.find_first_of(L"\\/:") != std::wstring::npos)
        return MissingFileText(fileName);
    // The rich text made from the help file has its name with .RTF.
    const std::size_t dot = name.find_last_of(L'.');
    name = name.substr(0, dot) + L".RTF";
    HANDLE file = CreateFileW((ProgramFolder() + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return MissingFileText(fileName);
    std::string text;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    if (text.rfind("{\\rtf", 0) != 0)
        return MissingFileText(fileName);
    return text;
}

void HelpWindow::Help(std::string_view fileName, HelpCommand command)
{
    if (command == HelpCommand::Quit) {
        if (window_ != nullptr)
            DestroyWindow(static_cast<HWND>(window_));
        window_ = nullptr;
        return;
    }
    if (window_ == nullptr)
        window_ = CreateHelpWindow(windows_ != nullptr ? static_cast<HWND>(windows_->GameHwnd()) : nullptr);
    HWND window = static_cast<HWND>(window_);
    if (window == nullptr)
        return;
    // Read afresh each time, shown from the top.
    const std::string text = ReadHelpText(fileName);
    SETTEXTEX how{ST_DEFAULT, CP_ACP};
    SendMessageW(TextView(window), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                 reinterpret_cast<LPARAM>(text.c_str()));
    MarkLinks(TextView(window));
    ScrollTo(TextView(window), 0);
    ShowWindow(window, SW_SHOWNORMAL);
    SetForegroundWindow(window);
}

} // namespace ruvo
