// The window's DPI, on the per-monitor calls where the system has them.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_dpi.h"

#include <windows.h>

namespace ruvo {
namespace {

struct DpiCalls {
    UINT(WINAPI* dpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI* adjustForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;

    DpiCalls()
    {
        HMODULE user = GetModuleHandleW(L"user32.dll");
        dpiForWindow =
            reinterpret_cast<decltype(dpiForWindow)>(reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")));
        adjustForDpi = reinterpret_cast<decltype(adjustForDpi)>(
            reinterpret_cast<void*>(GetProcAddress(user, "AdjustWindowRectExForDpi")));
    }
};

const DpiCalls& Dpi()
{
    static const DpiCalls calls;
    return calls;
}

} // namespace

unsigned SystemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

unsigned WindowDpi(void* window)
{
    if (window != nullptr && Dpi().dpiForWindow != nullptr) {
        const UINT dpi = Dpi().dpiForWindow(static_cast<HWND>(window));
        if (dpi != 0)
            return dpi;
    }
    return SystemDpi();
}

void OuterSize(void* window, unsigned long style, bool menu, int width, int height, int& outerWidth, int& outerHeight)
{
    RECT rect{0, 0, width, height};
    if (Dpi().adjustForDpi != nullptr)
        Dpi().adjustForDpi(&rect, style, menu ? TRUE : FALSE, 0, WindowDpi(window));
    else
        AdjustWindowRectEx(&rect, style, menu ? TRUE : FALSE, 0);
    outerWidth = rect.right - rect.left;
    outerHeight = rect.bottom - rect.top;
}

} // namespace ruvo
