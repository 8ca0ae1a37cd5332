// The game window in the browser: the canvas, its menu and its timer.
// SPDX-License-Identifier: MIT
#include "platform/web/web_window.h"

#include "platform/web/web_imports.h"

namespace ruvo {

void WebGameWindow::Invalidate()
{
    if (!destroyed_)
        ruvo_window_invalidate();
}

std::int32_t WebGameWindow::SetTimer(std::int32_t id, std::int32_t periodMs)
{
    if (destroyed_)
        return 0;
    ruvo_timer_set(id, periodMs);
    return id;
}

void WebGameWindow::KillTimer(std::int32_t id)
{
    ruvo_timer_kill(id);
}

void WebGameWindow::CheckMenuItem(MenuId item, bool checked)
{
    if (!destroyed_)
        ruvo_menu_check(item, checked ? 1 : 0);
}

void WebGameWindow::EnableMenuItem(MenuId item, bool enabled)
{
    if (!destroyed_)
        ruvo_menu_enable(item, enabled ? 1 : 0);
}

void WebGameWindow::Destroy()
{
    if (destroyed_)
        return;
    destroyed_ = true;
    // The surfaces are gone by now: no tick, paint or input may reach the game again.
    ruvo_timer_kill(record_.timerId);
    MainWndProc(record_, Message{MessageKind::Destroy});
}

void WebGameWindow::PostQuit(int exitCode)
{
    quitCode_ = exitCode;
    ruvo_window_quit(exitCode);
}

void WebGameWindow::ShowCaption(std::string_view text)
{
    if (!destroyed_)
        ruvo_window_caption(text.data(), static_cast<std::int32_t>(text.size()),
                            record_.watch ? 1 : (record_.race ? 2 : 0));
}

void WebGameWindow::Deliver(const Message& message)
{
    if (!destroyed_)
        MainWndProc(record_, message);
}

bool WebWindowSystem::RegisterGameClass(std::string_view className, const ProgramIcons&)
{
    registered_ = !className.empty();
    return registered_;
}

GameWindow* WebWindowSystem::CreateGameWindow(GameRecord& record, std::string_view, std::string_view, std::int32_t,
                                              std::int32_t)
{
    if (!registered_ || window_)
        return nullptr;
    window_ = std::make_unique<WebGameWindow>(record);
    MainWndProc(record, Message{MessageKind::Create, 0, window_.get()});
    return window_.get();
}

} // namespace ruvo
