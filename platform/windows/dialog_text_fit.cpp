// The dialogs' texts fitted to the face the system has.
// SPDX-License-Identifier: MIT
#include "platform/windows/dialog_text_fit.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <commctrl.h>

#include <algorithm>
#include <string>

namespace ruvo {
namespace {

// The room a sunken box keeps on each side of its text.
constexpr int kSunkenGap = 2;

LRESULT CALLBACK SunkenBoxProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR)
{
    if (message == WM_NCCALCSIZE) {
        const LRESULT result = DefSubclassProc(control, message, wParam, lParam);
        RECT& client =
            wParam != 0 ? reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam)->rgrc[0] : *reinterpret_cast<RECT*>(lParam);
        if (client.right - client.left > 2 * kSunkenGap) {
            client.left += kSunkenGap;
            client.right -= kSunkenGap;
        }
        return result;
    }
    if (message == WM_NCDESTROY)
        RemoveWindowSubclass(control, SunkenBoxProc, 1);
    return DefSubclassProc(control, message, wParam, lParam);
}

// The text's width in the font, one line.
int TextWidth(HDC dc, HFONT font, const std::wstring& text)
{
    HGDIOBJ old = SelectObject(dc, font);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return size.cx;
}

BOOL CALLBACK FitControl(HWND control, LPARAM context)
{
    auto& fonts = *reinterpret_cast<std::vector<void*>*>(context);
    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    const bool edit = _wcsicmp(className, L"Edit") == 0;
    if (!edit && (_wcsicmp(className, L"Static") != 0 || (style & SS_TYPEMASK) == SS_ICON))
        return TRUE;
    if (!edit && (GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_STATICEDGE) != 0 &&
        SetWindowSubclass(control, SunkenBoxProc, 1, 0))
        SetWindowPos(control, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    RECT box{};
    GetClientRect(control, &box);
    int room = box.right - 1; // a pixel to spare: the last letter never touches the edge
    if (edit) {
        const LRESULT margins = SendMessageW(control, EM_GETMARGINS, 0, 0);
        room -= LOWORD(margins) + HIWORD(margins);
    }
    auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    HDC dc = GetDC(control);
    int width = TextWidth(dc, font, text);
    if (text.empty() || width <= room || room <= 0 || font == nullptr) {
        ReleaseDC(control, dc);
        return TRUE;
    }
    LOGFONTW face{};
    GetObjectW(font, sizeof face, &face);
    TEXTMETRICW metrics{};
    HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    // The same face and height, its letters narrowed step by step.
    HFONT narrower = nullptr;
    for (LONG average = metrics.tmAveCharWidth * room / width; average > 0 && width > room; --average) {
        if (narrower != nullptr)
            DeleteObject(narrower);
        face.lfWidth = average;
        narrower = CreateFontIndirectW(&face);
        if (narrower == nullptr)
            break;
        width = TextWidth(dc, narrower, text);
    }
    ReleaseDC(control, dc);
    if (narrower != nullptr) {
        fonts.push_back(narrower);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(narrower), TRUE);
    }
    return TRUE;
}

} // namespace

void FitDialogTexts(void* dialog, std::vector<void*>& fonts)
{
    EnumChildWindows(static_cast<HWND>(dialog), FitControl, reinterpret_cast<LPARAM>(&fonts));
}

void ReleaseFittedFonts(std::vector<void*>& fonts)
{
    for (void* font : fonts)
        DeleteObject(static_cast<HFONT>(font));
    fonts.clear();
}

} // namespace ruvo
