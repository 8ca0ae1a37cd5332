// The View menu of the game window: the whole-number zoom of the play field
// and full screen, on the monitor the window is on, at that monitor's DPI.
// The frame buffer stays 384 x 200; only the window and the blocks change.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <optional>

#include "app/menu_table.h"
#include "platform/windows/registry_settings.h"
#include "platform/windows/win_dpi.h"
#include "platform/windows/win_game_window.h"

namespace ruvo {
namespace {

constexpr DWORD kWindowedStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFullScreenStyle = WS_POPUP | WS_SYSMENU;

// The outer size of a window of the style whose client area is width x height.
SIZE OuterFor(HWND window, DWORD style, int width, int height)
{
    int outerWidth = 0;
    int outerHeight = 0;
    ruvo::OuterSize(window, style, true, width, height, outerWidth, outerHeight);
    return {outerWidth, outerHeight};
}

} // namespace

void WinGameWindow::ApplyView()
{
    HWND hwnd = static_cast<HWND>(hwnd_);
    if (hwnd == nullptr || destroyed_)
        return;
    HMONITOR monitor = MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    viewMonitor_ = monitor;
    const RECT& whole = info.rcMonitor;
    const RECT& work = info.rcWork;
    // The frame, caption and menu bar around a client area.
    const SIZE frame = OuterFor(hwnd, kWindowedStyle, 0, 0);
    const int largest = LargestZoom(work.right - work.left - frame.cx, work.bottom - work.top - frame.cy);
    const bool wasFullScreen = (GetWindowLongW(hwnd, GWL_STYLE) & WS_POPUP) != 0;
    if (view_.fullScreen) {
        if (!wasFullScreen) {
            RECT place{};
            GetWindowRect(hwnd, &place);
            windowedLeft_ = place.left;
            windowedTop_ = place.top;
        }
        const bool visible = IsWindowVisible(hwnd) != FALSE;
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(kFullScreenStyle | (visible ? WS_VISIBLE : 0)));
        SetWindowPos(hwnd, HWND_TOP, whole.left, whole.top, whole.right - whole.left, whole.bottom - whole.top,
                     SWP_FRAMECHANGED | SWP_NOACTIVATE);
        RECT client{};
        GetClientRect(hwnd, &client);
        zoom_ = LargestZoom(client.right, client.bottom);
        fieldX_ = (client.right - kFieldWidth * zoom_) / 2;
        fieldY_ = (client.bottom - kFieldHeight * zoom_) / 2;
    } else {
        const int availableWidth = work.right - work.left - frame.cx;
        const int availableHeight = work.bottom - work.top - frame.cy;
        // The automatic size is chosen as at 100 %, then scaled by the
        // monitor's scale rounded to a whole number (150 % and 175 % give
        // twice the blocks), as far as the screen holds it.
        const int scale = std::max(1, static_cast<int>((WindowDpi(hwnd) + 48) / 96));
        zoom_ = view_.zoom != 0
                    ? WindowZoom(view_, availableWidth, availableHeight, 0)
                    : std::min(largest, AutomaticZoom(availableWidth / scale, availableHeight / scale) * scale);
        fieldX_ = 0;
        fieldY_ = 0;
        const bool visible = IsWindowVisible(hwnd) != FALSE;
        SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(kWindowedStyle | (visible ? WS_VISIBLE : 0)));
        const SIZE outer = OuterFor(hwnd, kWindowedStyle, kFieldWidth * zoom_, kFieldHeight * zoom_);
        UINT flags = SWP_FRAMECHANGED | SWP_NOZORDER | SWP_NOACTIVATE;
        if (!wasFullScreen)
            flags |= SWP_NOMOVE;
        SetWindowPos(hwnd, nullptr, windowedLeft_, windowedTop_, outer.cx, outer.cy, flags);
        // A menu bar that takes two lines takes its room from the field:
        // the window grows by what the client area lacks.
        RECT client{};
        GetClientRect(hwnd, &client);
        const int lackX = kFieldWidth * zoom_ - client.right;
        const int lackY = kFieldHeight * zoom_ - client.bottom;
        if (lackX != 0 || lackY != 0)
            SetWindowPos(hwnd, nullptr, 0, 0, outer.cx + lackX, outer.cy + lackY,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    largestZoom_ = largest;
    HMENU menu = static_cast<HMENU>(menu_);
    if (menu != nullptr) {
        const ViewMenu items = ViewMenuFor(view_, zoom_, largest);
        const auto enabled = [](bool on) { return static_cast<UINT>(MF_BYCOMMAND | (on ? MF_ENABLED : MF_GRAYED)); };
        ::CheckMenuItem(menu, IDM_FULLSCREEN, MF_BYCOMMAND | (items.fullScreenChecked ? MF_CHECKED : MF_UNCHECKED));
        ::EnableMenuItem(menu, IDM_ZOOMIN, enabled(items.zoomIn));
        ::EnableMenuItem(menu, IDM_ZOOMOUT, enabled(items.zoomOut));
        ::EnableMenuItem(menu, IDM_AUTOSIZE, enabled(items.automaticSize));
        ::DrawMenuBar(hwnd);
    }
    InvalidateRect(hwnd, nullptr, FALSE);
    if (viewKeeper_ != nullptr)
        viewKeeper_->KeepViewChoice(view_);
}

// A greyed item does nothing, whether from the menu, its keys or Escape.
void WinGameWindow::ViewCommand(std::uint16_t command)
{
    ViewStep step = ViewStep::FullScreen;
    switch (command) {
    case IDM_ZOOMIN:
        step = ViewStep::ZoomIn;
        break;
    case IDM_ZOOMOUT:
        step = ViewStep::ZoomOut;
        break;
    case IDM_AUTOSIZE:
        step = ViewStep::AutomaticSize;
        break;
    case IDM_FULLSCREEN:
        step = ViewStep::FullScreen;
        break;
    default:
        return;
    }
    if (const std::optional<ViewChoice> next = ViewAfter(view_, step, zoom_, largestZoom_)) {
        view_ = *next;
        ApplyView();
    }
}

void WinGameWindow::FollowMonitor()
{
    HWND hwnd = static_cast<HWND>(hwnd_);
    if (hwnd != nullptr && MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST) != viewMonitor_)
        ApplyView();
}

} // namespace ruvo
