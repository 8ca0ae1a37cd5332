// Game controllers through XInput.
// SPDX-License-Identifier: MIT
#include "platform/windows/xinput_pads.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <xinput.h>

namespace ruvo {

XInputPads::XInputPads(std::function<void(PadButton)> onPress) : onPress_(std::move(onPress))
{
    for (const wchar_t* name : {L"xinput1_4.dll", L"xinput1_3.dll", L"xinput9_1_0.dll"}) {
        if (HMODULE module = LoadLibraryW(name)) {
            getState_ = reinterpret_cast<GetState>(reinterpret_cast<void*>(GetProcAddress(module, "XInputGetState")));
            if (getState_ != nullptr)
                break;
        }
    }
}

void XInputPads::BeforeTick()
{
    if (getState_ == nullptr)
        return;
    const std::uint64_t now = GetTickCount64();
    const bool look = now - lastLook_ >= 1000;
    if (look)
        lastLook_ = now;
    for (DWORD slot = 0; slot < 4; ++slot) {
        if (!connected_[slot] && !look)
            continue;
        XINPUT_STATE state{};
        connected_[slot] = getState_(slot, &state) == ERROR_SUCCESS;
        if (!connected_[slot]) {
            buttons_[slot] = 0;
            continue;
        }
        const std::uint16_t down = state.Gamepad.wButtons;
        const std::uint16_t pressed = static_cast<std::uint16_t>(down & ~buttons_[slot]);
        buttons_[slot] = down;
        if (pressed & (XINPUT_GAMEPAD_A | XINPUT_GAMEPAD_B))
            onPress_(PadButton::Dive);
        if (pressed & XINPUT_GAMEPAD_START)
            onPress_(PadButton::Start);
    }
}

} // namespace ruvo
