// The one audio device that the sound effects and the music share. Each user
// acquires it once and releases it when done; the device opens for the first
// user and closes after the last.
//
// In between, the device rests while nothing sounds: SDL2 wakes its mixing
// thread for every buffer even with the device paused, so resting closes the
// device, and the next sound opens it again, in the same format, before it
// starts. Everything here runs on the game's thread, never the mixer's.
// SPDX-License-Identifier: MIT
#pragma once

#include <SDL_stdinc.h>

#include <chrono>

namespace ruvo {

// The mixer channel that carries the sound effects, one at a time.
constexpr int kEffectChannel = 0;

// How long the device stays awake after the last sound: well beyond the gaps
// between the effects in play (a bounce takes 34 ticks, almost 3 s at the
// slowest usual speed), so that with sound on it never rests between two
// bounces, and it rests in long pauses or when sound and music are off.
constexpr std::chrono::milliseconds kQuietBeforeRest{10000};

// True when the device is open (and awake) for the caller. SDL's "dummy"
// driver counts as no device: nothing would be heard, so nothing should be
// played.
bool AcquireAudioDevice();
void ReleaseAudioDevice();

// Opens a resting device again; true when it is awake. Call before starting
// a sound.
bool WakeAudioDevice();
// The same before decoding a sound into the device's format, which plays
// nothing: a device opened for that alone (as the game opens it at start, to
// decode its effects) rests at the next look.
bool WakeAudioDeviceToDecode();
bool AudioDeviceAwake();

// Rests the device once neither an effect nor the music has sounded for
// kQuietBeforeRest, or at once when nothing has sounded since it opened.
// Cheap enough to call before every tick of the game.
void RestAudioDeviceWhenQuiet(std::chrono::steady_clock::time_point now = std::chrono::steady_clock::now());

// The music, mixed in under the effects whenever the device is awake.
// `render` runs on the mixer thread; `sounding` on the game's thread.
struct MusicSource {
    void (*render)(void* self, Uint8* stream, int bytes) = nullptr;
    bool (*sounding)(void* self) = nullptr;
    void* self = nullptr;
};
void SetMusicSource(const MusicSource& source); // a source with no render removes it

} // namespace ruvo
