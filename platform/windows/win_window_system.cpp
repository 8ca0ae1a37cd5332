// The Win32 window system: the class, the window and its messages.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_window_system.h"

#include <windows.h>

#include "platform/windows/registry_settings.h"
#include "platform/windows/wide_text.h"
#include "platform/windows/win_game_window.h"
#include "platform/windows/win_menu.h"
#include "render/icon.h"

namespace ruvo {
namespace {

LRESULT CALLBACK GameWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* window = reinterpret_cast<WinGameWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        window = static_cast<WinGameWindow*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
        window->Attach(hwnd);
    }
    if (window == nullptr)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    const LRESULT result = window->Handle(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    return result;
}

} // namespace

WinWindowSystem::WinWindowSystem(RegistrySettingsStore* viewKeeper) : viewKeeper_(viewKeeper) {}

WinWindowSystem::~WinWindowSystem()
{
    window_.reset();
    if (accelerators_ != nullptr)
        DestroyAcceleratorTable(static_cast<HACCEL>(accelerators_));
}

// The program's icon group stands for the window and the taskbar; the
// engine's pictures of it (for the status line) are not needed here.
bool WinWindowSystem::RegisterGameClass(std::string_view className, const ProgramIcons&)
{
    if (className.empty())
        return false;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    className_ = Widen(className);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = 0;
    windowClass.lpfnWndProc = GameWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconGroup), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kProgramIconGroup), IMAGE_ICON,
                                      GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
    windowClass.lpszClassName = className_.c_str();
    return RegisterClassExW(&windowClass) != 0;
}

std::int32_t WinWindowSystem::GetSystemMetric(SystemMetric metric)
{
    switch (metric) {
    case SystemMetric::CxDlgFrame:
        return GetSystemMetrics(SM_CXDLGFRAME);
    case SystemMetric::CyDlgFrame:
        return GetSystemMetrics(SM_CYDLGFRAME);
    case SystemMetric::CyCaption:
        return GetSystemMetrics(SM_CYCAPTION);
    case SystemMetric::CyMenu:
        return GetSystemMetrics(SM_CYMENU);
    }
    return 0;
}

// The game computed the outer size from the old metrics; today's frames are
// wider, so the window is sized from its client area instead (ApplyView),
// which the field fills exactly.
GameWindow* WinWindowSystem::CreateGameWindow(GameRecord& record, std::string_view className, std::string_view title,
                                              std::int32_t width, std::int32_t height)
{
    if (Widen(className) != className_)
        return nullptr;
    const ViewChoice view = viewKeeper_ != nullptr ? ReadViewChoice(*viewKeeper_) : ViewChoice{};
    window_ = std::make_unique<WinGameWindow>(record, view, viewKeeper_);
    HMENU menu = static_cast<HMENU>(BuildMenuBar());
    HWND hwnd = CreateWindowExW(0, className_.c_str(), Widen(title).c_str(),
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
                                width, height, nullptr, menu, GetModuleHandleW(nullptr), window_.get());
    if (hwnd == nullptr) {
        DestroyMenu(menu);
        window_.reset();
        return nullptr;
    }
    window_->ApplyView();
    return window_.get();
}

void WinWindowSystem::LoadAcceleratorTable()
{
    if (accelerators_ == nullptr)
        accelerators_ = BuildAcceleratorTable();
}

int WinWindowSystem::RunMessageLoop()
{
    // The note and the replay named at start, once the loop runs (their
    // boxes, if any, over the game's window).
    if (window_ && !(noteAtStart_.empty() && playAtStart_.empty()))
        window_->StartSoon(std::exchange(noteAtStart_, {}), std::exchange(playAtStart_, {}), raceAtStart_);
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        // The keys act only while the game window has the keyboard, not in
        // the help window beside it.
        HWND game = static_cast<HWND>(GameHwnd());
        if (game != nullptr && accelerators_ != nullptr && (message.hwnd == game || IsChild(game, message.hwnd)) &&
            TranslateAcceleratorW(game, static_cast<HACCEL>(accelerators_), &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void* WinWindowSystem::GameHwnd() const
{
    return window_ ? window_->Hwnd() : nullptr;
}

} // namespace ruvo
