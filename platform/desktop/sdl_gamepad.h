// Game controllers through SDL's game-controller API: plugged in and out
// while the game runs, their buttons reported as the game's own few.
#pragma once

#include <QTimer>

#include <functional>
#include <map>

namespace ruvo {

enum class GamepadButton {
    Dive,  // the south and east face buttons
    Start, // start, or pause and resume
};

class SdlGamepads final {
  public:
    explicit SdlGamepads(std::function<void(GamepadButton)> onPress);
    ~SdlGamepads();
    SdlGamepads(const SdlGamepads&) = delete;
    SdlGamepads& operator=(const SdlGamepads&) = delete;

    // Takes in what SDL has seen since the last time: controllers coming and
    // going, and buttons pressed. A slow timer calls it, once a second, to
    // notice a controller arriving; while one is there the game window calls
    // it before each of its ticks, which is as often as a press can matter,
    // and costs no wake-up of its own.
    void Poll();
    int Attached() const { return static_cast<int>(open_.size()); }

    std::function<void(GamepadButton)> onPress_;
    bool ready_ = false;
    QTimer timer_;
    std::map<int, void*> open_; // SDL_GameController by joystick instance id
};

} // namespace ruvo
