// Game controllers through SDL.
// SPDX-License-Identifier: MIT
#include "platform/desktop/sdl_gamepad.h"

#include <SDL.h>

namespace ruvo {
namespace {

constexpr int kSlowPollMs = 1000;
// A tick this close to the slow look takes it early. More than the longest
// usual tick, and more than the 5 % early that a coarse timer may fire.
constexpr int kTakeWithTickMs = 150;

} // namespace

SdlGamepads::SdlGamepads(std::function<void(PadButton)> onPress) : onPress_(std::move(onPress))
{
    // SDL would turn Ctrl+C and SIGTERM into quit events that nobody reads.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    if (!ready_)
        return;
    QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
    timer_.setTimerType(Qt::CoarseTimer);
    timer_.start(kSlowPollMs);
    // Controllers already plugged in come as "added" events at the first poll.
    QTimer::singleShot(0, &timer_, [this] { Poll(); });
}

SdlGamepads::~SdlGamepads()
{
    timer_.stop();
    if (!ready_)
        return;
    for (const auto& [id, controller] : open_)
        SDL_GameControllerClose(static_cast<SDL_GameController*>(controller));
    open_.clear();
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void SdlGamepads::BeforeTick()
{
    if (ready_ && (Attached() > 0 || timer_.remainingTime() <= kTakeWithTickMs))
        Poll();
}

void SdlGamepads::Poll()
{
    if (!ready_)
        return;
    timer_.start(); // the slow look is a second after this one
    SDL_PumpEvents();
    SDL_Event events[32];
    int count = 0;
    // Only the controllers' events: whatever else is in SDL's queue (the
    // audio device's) stays out of our way and is dropped.
    while ((count = SDL_PeepEvents(events, 32, SDL_GETEVENT, SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERSENSORUPDATE)) >
           0) {
        for (int k = 0; k < count; ++k) {
            const SDL_Event& event = events[k];
            switch (event.type) {
            case SDL_CONTROLLERDEVICEADDED:
                if (SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which)) {
                    const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
                    if (!open_.emplace(id, controller).second)
                        SDL_GameControllerClose(controller); // opened twice: SDL counts references
                }
                break;
            case SDL_CONTROLLERDEVICEREMOVED: {
                const auto it = open_.find(event.cdevice.which);
                if (it != open_.end()) {
                    SDL_GameControllerClose(static_cast<SDL_GameController*>(it->second));
                    open_.erase(it);
                }
                break;
            }
            case SDL_CONTROLLERBUTTONDOWN:
                if (event.cbutton.button == SDL_CONTROLLER_BUTTON_A || event.cbutton.button == SDL_CONTROLLER_BUTTON_B)
                    onPress_(PadButton::Dive);
                else if (event.cbutton.button == SDL_CONTROLLER_BUTTON_START)
                    onPress_(PadButton::Start);
                break;
            default:
                break;
            }
        }
    }
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
}

} // namespace ruvo
