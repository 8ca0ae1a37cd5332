// Game controllers through XInput: the south and east face buttons dive,
// Start starts a game or pauses and resumes it. The XInput DLL is loaded
// when there is one; without it there are no controllers.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>

#include "platform/kit/pad_buttons.h"

namespace ruvo {

class XInputPads {
  public:
    explicit XInputPads(std::function<void(PadButton)> onPress);

    // Called before every tick: reads the controllers that are there, and
    // once a second looks for new ones (reading an empty slot is slow).
    void BeforeTick();

  private:
    using GetState = unsigned long(__stdcall*)(unsigned long, void*);
    std::function<void(PadButton)> onPress_;
    GetState getState_ = nullptr;
    std::array<bool, 4> connected_{};
    std::array<std::uint16_t, 4> buttons_{};
    std::uint64_t lastLook_ = 0;
};

} // namespace ruvo
