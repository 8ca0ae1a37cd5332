// ruvo-probe: what the Windows game's tests read from the game's windows
// under Wine, where X shows neither the window class nor control texts.
//   ruvo-probe window          "CLASS|TITLE|WIDTHxHEIGHT" of the game window (its client area)
//   ruvo-probe text TITLE ID   the text of control ID in the top-level window TITLE
//   ruvo-probe list TITLE ID   the rows of list box ID in the top-level window TITLE, one a line
//   ruvo-probe size TITLE      "WIDTHxHEIGHT" of the top-level window TITLE, frame and all
//   ruvo-probe close [TITLE]   posts WM_CLOSE to the game window (or the top-level window TITLE)
//   ruvo-probe others          the titles of the game's other windows shown, one a line: its
//                              top-level windows but the game window (controls are no such window)
// Exit status 1 when there is no such window or control.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/windows/wide_text.h"

namespace {

void Print(const wchar_t* text)
{
    std::printf("%s\n", ruvo::Narrow(text).c_str());
}

// Prints the title of each shown top-level window of the game's process but the game window.
BOOL CALLBACK PrintOther(HWND window, LPARAM game)
{
    DWORD process = 0, gameProcess = 0;
    GetWindowThreadProcessId(window, &process);
    GetWindowThreadProcessId(reinterpret_cast<HWND>(game), &gameProcess);
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (window != reinterpret_cast<HWND>(game) && process == gameProcess && IsWindowVisible(window))
        Print(title);
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Sizes in the screen's own pixels, as the game (aware of each monitor's
    // scale) lays its windows out: a probe unaware of the scale would see
    // them shrunk by it where Wine scales for such programs (Wine 10).
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    HWND game = FindWindowW(L"RuvoWClass", nullptr);
    HWND named = argc > 2 ? FindWindowW(nullptr, argv[2]) : nullptr;
    HWND item = argc == 4 && named != nullptr ? GetDlgItem(named, _wtoi(argv[3])) : nullptr;
    wchar_t text[256] = {};
    RECT rect{};
    if (command == L"window" && game != nullptr) {
        GetClassNameW(game, text, 256);
        std::wstring line = text + std::wstring(L"|");
        GetWindowTextW(game, text, 256);
        GetClientRect(game, &rect);
        Print((line + text + L"|" + std::to_wstring(rect.right) + L"x" + std::to_wstring(rect.bottom)).c_str());
    } else if (command == L"text" && item != nullptr) {
        // Asked of the control itself: an edit's typed text is no caption that
        // another process could read.
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(item, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
        Print(text);
    } else if (command == L"list" && item != nullptr) {
        for (LRESULT row = 0, rows = SendMessageW(item, LB_GETCOUNT, 0, 0); row < rows; ++row) {
            text[0] = 0;
            if (SendMessageW(item, LB_GETTEXTLEN, row, 0) < 256)
                SendMessageW(item, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
            Print(text);
        }
    } else if (command == L"size" && argc == 3 && named != nullptr && GetWindowRect(named, &rect)) {
        std::printf("%ldx%ld\n", rect.right - rect.left, rect.bottom - rect.top);
    } else if (command == L"close") {
        HWND window = argc == 3 ? named : game;
        return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    } else if (command == L"others" && game != nullptr) {
        EnumWindows(PrintOther, reinterpret_cast<LPARAM>(game));
    } else if (command == L"window" || command == L"text" || command == L"list" || command == L"size" ||
               command == L"others") {
        return 1;
    } else {
        std::fprintf(
            stderr, "usage: ruvo-probe window | text TITLE ID | list TITLE ID | size TITLE | close [TITLE] | others\n");
        return 2;
    }
    return 0;
}
