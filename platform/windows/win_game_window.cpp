// The engine's game window on Win32.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_game_window.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "app/menu_table.h"
#include "platform/windows/tick_timer.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win_replays_dialog.h"
#include "render/surface.h"
#include "settings/dialog_logic.h"

namespace ruvo {
namespace {

// The whole-field repaint of the invalid part, every game pixel a zoom x
// zoom block. The engine copies the frame over the invalid part, then, in a
// race, the ghost's square over that: each copy lays only its own area, so
// the ghost shows and the square it left a tick ago is the frame's again.
class WindowPaint final : public PaintTarget {
  public:
    WindowPaint(HDC dc, const RECT& invalid, int zoom, int fieldX, int fieldY)
        : dc_(dc), invalid_(invalid), zoom_(zoom), fieldX_(fieldX), fieldY_(fieldY)
    {
    }

    Rect InvalidRect() const override
    {
        const int left = std::max(0, static_cast<int>(invalid_.left - fieldX_) / zoom_);
        const int top = std::max(0, static_cast<int>(invalid_.top - fieldY_) / zoom_);
        const int right = (static_cast<int>(invalid_.right - fieldX_) + zoom_ - 1) / zoom_;
        const int bottom = (static_cast<int>(invalid_.bottom - fieldY_) + zoom_ - 1) / zoom_;
        return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
    }

    void CopyFrom(const Surface& source, Rect area) override
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = source.Width();
        info.bmiHeader.biHeight = -source.Height(); // top row first, as the surface keeps them
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        // The whole field is handed over and the area is the clip: GDI
        // copies only what lies in it.
        const int saved = SaveDC(dc_);
        IntersectClipRect(dc_, fieldX_ + area.x * zoom_, fieldY_ + area.y * zoom_,
                          fieldX_ + (area.x + area.width) * zoom_, fieldY_ + (area.y + area.height) * zoom_);
        SetStretchBltMode(dc_, COLORONCOLOR);
        StretchDIBits(dc_, fieldX_, fieldY_, source.Width() * zoom_, source.Height() * zoom_, 0, 0, source.Width(),
                      source.Height(), source.Pixels().data(), &info, DIB_RGB_COLORS, SRCCOPY);
        RestoreDC(dc_, saved);
    }

  private:
    HDC dc_;
    RECT invalid_;
    int zoom_;
    int fieldX_;
    int fieldY_;
};

} // namespace

WinGameWindow::WinGameWindow(GameRecord& record, const ViewChoice& view, RegistrySettingsStore* viewKeeper)
    : record_(record), view_(view), viewKeeper_(viewKeeper), pads_([this](PadButton button) { PadPress(button); })
{
}

WinGameWindow::~WinGameWindow()
{
    timers_.clear();
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(static_cast<HWND>(hwnd_), GWLP_USERDATA, 0);
        DestroyWindow(static_cast<HWND>(hwnd_));
    }
}

void WinGameWindow::Attach(void* hwnd)
{
    hwnd_ = hwnd;
    menu_ = GetMenu(static_cast<HWND>(hwnd));
}

void WinGameWindow::Invalidate()
{
    if (hwnd_ != nullptr)
        InvalidateRect(static_cast<HWND>(hwnd_), nullptr, FALSE);
}

std::int32_t WinGameWindow::SetTimer(std::int32_t id, std::int32_t periodMs)
{
    if (hwnd_ == nullptr || destroyed_)
        return 0;
    std::unique_ptr<TickTimer>& timer = timers_[id];
    if (!timer)
        timer = std::make_unique<TickTimer>(hwnd_, kTickMessage, static_cast<std::uintptr_t>(id));
    timer->Start(std::max(periodMs, kShortestTimerMs));
    return id;
}

void WinGameWindow::KillTimer(std::int32_t id)
{
    const auto it = timers_.find(id);
    if (it != timers_.end())
        it->second->Stop();
}

void WinGameWindow::CheckMenuItem(MenuId item, bool checked)
{
    if (menu_ != nullptr)
        ::CheckMenuItem(static_cast<HMENU>(menu_), item, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void WinGameWindow::EnableMenuItem(MenuId item, bool enabled)
{
    if (menu_ != nullptr)
        ::EnableMenuItem(static_cast<HMENU>(menu_), item, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void WinGameWindow::DrawMenuBar()
{
    if (hwnd_ != nullptr)
        ::DrawMenuBar(static_cast<HWND>(hwnd_));
}

void WinGameWindow::Show(int showCommand)
{
    if (hwnd_ == nullptr)
        return;
    ShowWindow(static_cast<HWND>(hwnd_), showCommand);
    UpdateWindow(static_cast<HWND>(hwnd_));
}

void WinGameWindow::Destroy()
{
    if (hwnd_ == nullptr || destroyed_)
        return;
    // The surfaces are gone by now: no tick may reach the game again.
    for (auto& [id, timer] : timers_)
        timer->Stop();
    DestroyWindow(static_cast<HWND>(hwnd_));
}

void WinGameWindow::PostQuit(int exitCode)
{
    PostQuitMessage(exitCode);
}

void WinGameWindow::ShowCaption(std::string_view text)
{
    if (hwnd_ != nullptr)
        SetWindowTextW(static_cast<HWND>(hwnd_), Widen(text).c_str());
}

void WinGameWindow::StartSoon(std::string note, std::wstring file, bool race)
{
    noteAtStart_ = std::move(note);
    fileAtStart_ = std::move(file);
    raceAtStart_ = race;
    if (hwnd_ != nullptr)
        PostMessageW(static_cast<HWND>(hwnd_), kStartMessage, 0, 0);
}

void WinGameWindow::Deliver(const Message& message)
{
    if (!destroyed_)
        MainWndProc(record_, message);
}

std::intptr_t WinGameWindow::Handle(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    HWND hwnd = static_cast<HWND>(hwnd_);
    switch (message) {
    case WM_CREATE:
        MainWndProc(record_, Message{MessageKind::Create, 0, this});
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    case kTickMessage: {
        const auto it = timers_.find(static_cast<std::int32_t>(wParam));
        if (it == timers_.end() || !it->second->Take(lParam) || destroyed_)
            return 0;
        pads_.BeforeTick();
        Deliver(Message{MessageKind::Timer, static_cast<std::uint32_t>(wParam)});
        return 0;
    }
    case WM_TIMER: {
        // The ticks of a timer that fell back on the window's system timer.
        const auto it = timers_.find(static_cast<std::int32_t>(wParam));
        if (it == timers_.end() || !it->second->Running() || destroyed_)
            return 0;
        pads_.BeforeTick();
        Deliver(Message{MessageKind::Timer, static_cast<std::uint32_t>(wParam)});
        return 0;
    }
    case WM_COMMAND: {
        const auto command = static_cast<std::uint16_t>(LOWORD(wParam));
        // A key sends nothing for a greyed item, whatever the system's own
        // accelerator translation does about it.
        if (HIWORD(wParam) == 1 && menu_ != nullptr &&
            (GetMenuState(static_cast<HMENU>(menu_), command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) != 0)
            return 0;
        if (command >= IDM_ZOOMIN && command <= IDM_FULLSCREEN)
            ViewCommand(command);
        else
            Deliver(Message{MessageKind::Command, command});
        return 0;
    }
    case kStartMessage:
        // One box at a time: the file's, if it is refused, after the note.
        if (!destroyed_ && !noteAtStart_.empty() && record_.host.dialogs != nullptr) {
            const OpenDialog open(record_);
            record_.host.dialogs->ShowNote(std::exchange(noteAtStart_, {}));
        }
        if (!destroyed_ && !fileAtStart_.empty())
            PlayReplayFile(record_, std::exchange(fileAtStart_, {}), raceAtStart_, hwnd_);
        return 0;
    case WM_CHAR:
        if (wParam == 27 && std::exchange(escapeTaken_, false))
            return 0;
        Deliver(Message{MessageKind::Char, static_cast<std::uint32_t>(wParam)});
        return 0;
    case WM_LBUTTONDOWN:
        Deliver(Message{MessageKind::LButtonDown});
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && view_.fullScreen) {
            escapeTaken_ = true;
            ViewCommand(IDM_FULLSCREEN);
            return 0;
        }
        break;
    case WM_CLOSE:
        Deliver(Message{MessageKind::Close});
        return 0;
    case WM_ENDSESSION:
        // Windows is shutting down or the user logs off: the game closes as
        // by its close box, saving its settings, before the process ends.
        if (wParam != 0)
            Deliver(Message{MessageKind::Close});
        return 0;
    case WM_DESTROY:
        for (auto& [id, timer] : timers_)
            timer->Stop();
        Deliver(Message{MessageKind::Destroy});
        destroyed_ = true;
        return 0;
    case WM_NCDESTROY:
        hwnd_ = nullptr;
        menu_ = nullptr;
        break;
    case WM_DPICHANGED: {
        // Where the system puts the window at its new scale; the size then
        // follows the field's whole-number zoom at that scale.
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        if (suggested != nullptr && !view_.fullScreen)
            SetWindowPos(hwnd, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        ApplyView();
        return 0;
    }
    case WM_DISPLAYCHANGE:
        ApplyView();
        return 0;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETWORKAREA)
            ApplyView();
        break;
    case WM_EXITSIZEMOVE:
        FollowMonitor();
        break;
    default:
        break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void WinGameWindow::Paint()
{
    HWND hwnd = static_cast<HWND>(hwnd_);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd, &paint);
    // Around the field in full screen: black.
    RECT client{};
    GetClientRect(hwnd, &client);
    const int right = fieldX_ + kFieldWidth * zoom_;
    const int bottom = fieldY_ + kFieldHeight * zoom_;
    if (fieldX_ > 0 || fieldY_ > 0 || right < client.right || bottom < client.bottom) {
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, fieldX_, fieldY_, right, bottom);
        FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        RestoreDC(dc, saved);
    }
    WindowPaint target(dc, paint.rcPaint, zoom_, fieldX_, fieldY_);
    Message message{MessageKind::Paint};
    message.paint = &target;
    Deliver(message);
    EndPaint(hwnd, &paint);
}

void WinGameWindow::PadPress(PadButton button)
{
    HWND hwnd = static_cast<HWND>(hwnd_);
    // As with the keys: nothing reaches the game while a dialog or another
    // program has the keyboard.
    if (hwnd == nullptr || GetForegroundWindow() != hwnd || !IsWindowEnabled(hwnd))
        return;
    if (button == PadButton::Dive) {
        Deliver(Message{MessageKind::Char, kDiveCharacter});
        return;
    }
    for (const MenuId command : kStartButtonCommands) {
        if (menu_ != nullptr &&
            (GetMenuState(static_cast<HMENU>(menu_), command, MF_BYCOMMAND) & (MF_GRAYED | MF_DISABLED)) == 0) {
            Deliver(Message{MessageKind::Command, command});
            return;
        }
    }
}

} // namespace ruvo
