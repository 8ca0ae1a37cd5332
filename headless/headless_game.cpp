#include "headless/headless_game.h"

#include <utility>

namespace ruvo {

HeadlessGame::HeadlessGame(TextRenderer* text, const ResourceLibrary* resources)
    : text_(text), resources_(resources)
{
}

HeadlessGame::~HeadlessGame()
{
    if (record_)
        ShutDown(std::move(record_));
}

void HeadlessGame::Start()
{
    Host host;
    host.text = text_;
    host.settings = &settings;
    host.wave = &wave;
    host.music = &music;
    host.dialogs = &dialogs;
    host.help = &help;
    record_ = StartUp(system, host, resources_, 1);
}

void HeadlessGame::Command(MenuId id)
{
    // Items the menu never greys are always enabled.
    const bool greyable = id == IDM_START || id == IDM_PAUSE || id == IDM_OPTION;
    if (greyable && !system.window.IsEnabled(id))
        return;
    Send({MessageKind::Command, id});
}

void HeadlessGame::Send(const Message& message)
{
    if (record_ && !system.window.destroyed)
        MainWndProc(*record_, message);
}

} // namespace ruvo
