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
    // going, and buttons pressed. The timer calls it; tests may too.
    void Poll();
    int Attached() const { return static_cast<int>(open_.size()); }
    // How often SDL is asked: rarely while no controller is there (only to
    // notice one arriving), often enough for a button press while one is.
    int PollIntervalMs() const { return timer_.interval(); }

  private:
    void Retime();

    std::function<void(GamepadButton)> onPress_;
    bool ready_ = false;
    QTimer timer_;
    std::map<int, void*> open_; // SDL_GameController by joystick instance id
};

} // namespace ruvo
