// Game controllers through SDL's game-controller API: plugged in and out
// while the game runs, their buttons reported as the game's own few.
// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>

#include <functional>
#include <map>

#include "platform/kit/pad_buttons.h"

namespace ruvo {

class SdlGamepads final {
  public:
    explicit SdlGamepads(std::function<void(PadButton)> onPress);
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Takes in what SDL has seen since the last time: controllers coming and
    // going, and buttons pressed. A slow timer calls it, once a second, to
    // notice a controller arriving.
    void Poll();
    // The game window calls this before each of its ticks. While a controller
    // is there it polls, which is as often as a press can matter; otherwise
    // it takes the slow look along with the tick when that look is nearly
    // due. Either way, while the game ticks, reading the controllers costs
    // no wake-up of its own.
    void BeforeTick();
    int Attached() const { return static_cast<int>(open_.size()); }

    std::function<void(PadButton)> onPress_;
    bool ready_ = false;
    QTimer timer_;
    std::map<int, void*> open_; // SDL_GameController by joystick instance id
};

} // namespace ruvo
