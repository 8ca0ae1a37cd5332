#include "platform/desktop/sdl_audio_device.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstring>

namespace ruvo {
namespace {

// Everything runs on the game's one thread, so a plain counter will do.
int deviceUsers = 0;

constexpr int kFrequency = 44100;
constexpr int kChannels = 2;
// About 23 ms: short enough that a bounce sounds with the landing.
constexpr int kBufferFrames = 1024;

bool OpenDevice()
{
    // SDL would turn Ctrl+C and SIGTERM into quit events that nobody reads
    // in a Qt program, and the game could no longer be stopped that way.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    const char* driver = SDL_GetCurrentAudioDriver();
    if (driver == nullptr || std::strcmp(driver, "dummy") == 0 ||
        Mix_OpenAudioDevice(kFrequency, AUDIO_S16SYS, kChannels, kBufferFrames, nullptr, 0) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(1);
    return true;
}

} // namespace

bool AcquireAudioDevice()
{
    if (deviceUsers == 0 && !OpenDevice())
        return false;
    ++deviceUsers;
    return true;
}

void ReleaseAudioDevice()
{
    if (deviceUsers == 0 || --deviceUsers > 0)
        return;
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

} // namespace ruvo
