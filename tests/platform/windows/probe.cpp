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

int wmain(int argc, wchar_t** argv)
{
    // Sizes in the screen's own pixels, as the game (aware of each monitor's
    // scale) lays its windows out: a probe unaware of the scale would see
    // them shrunk by it where Wine scales for such programs (Wine 10).
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"window") {
        HWND window = FindWindowW(L"RuvoWClass", nullptr);
        if (window == nullptr)
            return 1;
        wchar_t className[64] = {};
        wchar_t title[256] = {};
        GetClassNameW(window, className, 64);
        GetWindowTextW(window, title, 256);
        RECT client{};
        GetClientRect(window, &client);
        std::printf("%s|%s|%ldx%ld\n", ruvo::Narrow(className).c_str(), ruvo::Narrow(title).c_str(), client.right,
                    client.bottom);
        return 0;
    }
    if (command == L"text" && argc == 4) {
        HWND dialog = FindWindowW(nullptr, argv[2]);
        HWND item = dialog != nullptr ? GetDlgItem(dialog, _wtoi(argv[3])) : nullptr;
        if (item == nullptr)
            return 1;
        // Asked of the control itself: an edit's typed text is no caption that
        // another process could read.
        wchar_t text[256] = {};
        DWORD_PTR copied = 0;
        SendMessageTimeoutW(item, WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &copied);
        std::printf("%s\n", ruvo::Narrow(text).c_str());
        return 0;
    }
    if (command == L"list" && argc == 4) {
        HWND dialog = FindWindowW(nullptr, argv[2]);
        HWND list = dialog != nullptr ? GetDlgItem(dialog, _wtoi(argv[3])) : nullptr;
        if (list == nullptr)
            return 1;
        const LRESULT rows = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT row = 0; row < rows; ++row) {
            wchar_t text[256] = {};
            if (SendMessageW(list, LB_GETTEXTLEN, row, 0) < 256)
                SendMessageW(list, LB_GETTEXT, row, reinterpret_cast<LPARAM>(text));
            std::printf("%s\n", ruvo::Narrow(text).c_str());
        }
        return 0;
    }
    if (command == L"size" && argc == 3) {
        HWND window = FindWindowW(nullptr, argv[2]);
        RECT rect{};
        if (window == nullptr || !GetWindowRect(window, &rect))
            return 1;
        std::printf("%ldx%ld\n", rect.right - rect.left, rect.bottom - rect.top);
        return 0;
    }
    if (command == L"close") {
        HWND window = argc == 3 ? FindWindowW(nullptr, argv[2]) : FindWindowW(L"RuvoWClass", nullptr);
        return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (command == L"others") {
        HWND game = FindWindowW(L"RuvoWClass", nullptr);
        if (game == nullptr)
            return 1;
        DWORD process = 0;
        GetWindowThreadProcessId(game, &process);
        struct Search {
            HWND game;
            DWORD process;
        } search{game, process};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                const auto& search = *reinterpret_cast<const Search*>(data);
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                wchar_t title[256] = {};
                if (window != search.game && process == search.process && IsWindowVisible(window)) {
                    GetWindowTextW(window, title, 256);
                    std::printf("%s\n", ruvo::Narrow(title).c_str());
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return 0;
    }
    std::fprintf(stderr,
                 "usage: ruvo-probe window | text TITLE ID | list TITLE ID | size TITLE | close [TITLE] | others\n");
    return 2;
}
