// ruvo-probe: what the Windows game's tests read from the game's windows
// under Wine, where X shows neither the window class nor control texts.
//   ruvo-probe window          "CLASS|TITLE|WIDTHxHEIGHT" of the game window (its client area)
//   ruvo-probe text TITLE ID   the text of control ID in the top-level window TITLE
// Exit status 1 when there is no such window or control.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/windows/wide_text.h"

int wmain(int argc, wchar_t** argv)
{
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
        wchar_t text[256] = {};
        GetWindowTextW(item, text, 256);
        std::printf("%s\n", ruvo::Narrow(text).c_str());
        return 0;
    }
    std::fprintf(stderr, "usage: ruvo-probe window | text TITLE ID\n");
    return 2;
}
