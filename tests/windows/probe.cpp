// ruvo-probe: what the Windows game's tests read from the game's windows
// under Wine, where X shows neither the window class nor control texts.
//   ruvo-probe window          "CLASS|TITLE|WIDTHxHEIGHT" of the game window (its client area)
//   ruvo-probe text TITLE ID   the text of control ID in the top-level window TITLE
//   ruvo-probe fit TITLE       whether the text of every static and edit control of
//                              the window TITLE fits its box in the face the control
//                              has, each digit within its own advance; one line each
//   ruvo-probe size TITLE      "WIDTHxHEIGHT" of the top-level window TITLE, frame and all
//   ruvo-probe close           posts WM_CLOSE to the game window
// Exit status 1 when there is no such window or control, or a text does not fit.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/windows/wide_text.h"

namespace {

struct Fit {
    bool allFit = true;
};

// A control's text against its box: the text as one line in the control's
// font, within the client area less an edit's margins; the digits' ink
// within their advances, so that they cannot run into one another.
BOOL CALLBACK CheckControl(HWND control, LPARAM context)
{
    auto& fit = *reinterpret_cast<Fit*>(context);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool edit = _wcsicmp(className, L"Edit") == 0;
    if (!edit && (_wcsicmp(className, L"Static") != 0 || (style & SS_TYPEMASK) == SS_ICON))
        return TRUE;
    wchar_t text[256] = {};
    GetWindowTextW(control, text, 256);
    RECT box{};
    GetClientRect(control, &box);
    int room = box.right;
    if (edit) {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        room -= LOWORD(margins) + HIWORD(margins);
    }
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SIZE size{};
    GetTextExtentPoint32W(dc, text, static_cast<int>(wcslen(text)), &size);
    bool digitsApart = true;
    for (const wchar_t* ch = text; *ch != 0; ++ch) {
        ABC abc{};
        if (*ch >= L'0' && *ch <= L'9' && GetCharABCWidthsW(dc, *ch, *ch, &abc) && (abc.abcA < 0 || abc.abcC < 0))
            digitsApart = false;
    }
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    const bool fits = size.cx <= room && size.cy <= box.bottom && digitsApart;
    fit.allFit = fit.allFit && fits;
    std::printf("%s %d \"%s\" in %s: %ldx%ld in %dx%ld%s\n", fits ? "fits" : "DOES NOT FIT", GetDlgCtrlID(control),
                ruvo::Narrow(text).c_str(), ruvo::Narrow(face).c_str(), size.cx, size.cy, room, box.bottom,
                digitsApart ? "" : ", digits overlap");
    return TRUE;
}

} // namespace

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
    if (command == L"fit" && argc == 3) {
        HWND dialog = FindWindowW(nullptr, argv[2]);
        if (dialog == nullptr)
            return 1;
        Fit fit;
        EnumChildWindows(dialog, CheckControl, reinterpret_cast<LPARAM>(&fit));
        return fit.allFit ? 0 : 1;
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
        HWND window = FindWindowW(L"RuvoWClass", nullptr);
        return window != nullptr && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: ruvo-probe window | text TITLE ID | fit TITLE | size TITLE | close\n");
    return 2;
}
