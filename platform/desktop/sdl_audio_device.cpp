// The one audio device the effects and the music share.
// SPDX-License-Identifier: MIT
#include "platform/desktop/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>

namespace ruvo {
namespace {

using Clock = std::chrono::steady_clock;

// Everything runs on the game's one thread, so plain variables will do.
int deviceUsers = 0;
bool awake = false;
bool soundedSinceOpen = false;
MusicSource music;
Clock::time_point lastHeard;

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
// About 23 ms: short enough that a bounce sounds with the landing.
constexpr int kBufferFrames = 1024;

bool OpenMixer()
{
    if (Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames, nullptr, 0) != 0)
        return false;
    Mix_AllocateChannels(1);
    if (music.render != nullptr)
        Mix_HookMusic(music.render, music.self);
    awake = true;
    soundedSinceOpen = false;
    lastHeard = Clock::now();
    return true;
}

void CloseMixer()
{
    if (!awake)
        return;
    Mix_HookMusic(nullptr, nullptr);
    Mix_CloseAudio();
    awake = false;
}

bool OpenDevice()
{
    // SDL would turn Ctrl+C and SIGTERM into quit events that nobody reads
    // in a Qt program, and the game could no longer be stopped that way.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "dummy") == 0 || !OpenMixer()) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

} // namespace

bool AcquireAudioDevice()
{
    if (deviceUsers == 0 ? !OpenDevice() : !WakeAudioDeviceToDecode())
        return false;
    ++deviceUsers;
    return true;
}

void ReleaseAudioDevice()
{
    if (deviceUsers == 0 || --deviceUsers > 0)
        return;
    CloseMixer();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool WakeAudioDevice()
{
    if (!WakeAudioDeviceToDecode())
        return false;
    soundedSinceOpen = true;
    lastHeard = Clock::now();
    return true;
}

bool WakeAudioDeviceToDecode()
{
    if (deviceUsers == 0)
        return false;
    if (!awake)
        OpenMixer();
    return awake;
}

bool AudioDeviceAwake()
{
    return awake;
}

void RestAudioDeviceWhenQuiet(Clock::time_point now)
{
    if (!awake)
        return;
    if (Mix_Playing(kEffectChannel) != 0 || (music.sounding != nullptr && music.sounding(music.self))) {
        soundedSinceOpen = true;
        lastHeard = now;
    } else if (!soundedSinceOpen || now - lastHeard >= kQuietBeforeRest) {
        CloseMixer();
    }
}

void SetMusicSource(const MusicSource& source)
{
    music = source.render != nullptr ? source : MusicSource{};
    if (awake)
        Mix_HookMusic(music.render, music.self);
}

} // namespace ruvo
