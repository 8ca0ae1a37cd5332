// The one audio device that the sound effects and the music share. Each user
// acquires it once and releases it when done; the device opens for the first
// user and closes after the last.
#pragma once

namespace ruvo {

// The mixer channel that carries the sound effects, one at a time.
constexpr int kEffectChannel = 0;

// True when the device is open for the caller. SDL's "dummy" driver counts as
// no device: nothing would be heard, so nothing should be played.
bool AcquireAudioDevice();
void ReleaseAudioDevice();

} // namespace ruvo
