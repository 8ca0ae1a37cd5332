// The sound effects through the system's wave player.
// SPDX-License-Identifier: MIT
#include "platform/windows/wave_player.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

namespace ruvo {

// With SND_MEMORY the name argument is the image itself. No default sound
// stands in for an image that cannot be played, and a missing sound device
// makes the call return at once, silently.
void SystemWavePlayer::Play(const std::uint8_t* image, std::size_t size)
{
    if (image == nullptr || size == 0)
        return;
    sndPlaySoundW(reinterpret_cast<LPCWSTR>(image), SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

} // namespace ruvo
