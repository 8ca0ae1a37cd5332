// Sound in the browser: effects and music through the page.
// SPDX-License-Identifier: MIT
#include "platform/web/web_sound.h"

#include <cstring>
#include <limits>

#include "platform/web/web_imports.h"

namespace ruvo {
namespace {

constexpr std::int32_t kFailed = 1;

std::int32_t ImageSize(std::size_t size)
{
    return size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ? 0
                                                                                     : static_cast<std::int32_t>(size);
}

} // namespace

void WebWavePlayer::Prepare(const std::uint8_t* image, std::size_t size)
{
    if (image != nullptr)
        ruvo_wave_prepare(image, ImageSize(size));
}

// No image at all stops the sound, as a new one would cut it off.
void WebWavePlayer::Play(const std::uint8_t* image, std::size_t size)
{
    ruvo_wave_play(image, image != nullptr ? ImageSize(size) : 0);
}

// The voices and the device matter to a hardware synthesiser; the page's
// plays as many voices as a track asks for.
std::int32_t WebMusicLibrary::KBGMOpen(std::int32_t, std::int32_t)
{
    return ruvo_music_open();
}

std::int32_t WebMusicLibrary::KBGMLoadFile(std::uint32_t* handle, const char* fileName)
{
    if (handle == nullptr)
        return kFailed;
    *handle = 0;
    if (fileName == nullptr)
        return kFailed;
    *handle = ruvo_music_load(fileName, static_cast<std::int32_t>(std::strlen(fileName)));
    return *handle != 0 ? 0 : kFailed;
}

std::int32_t WebMusicLibrary::KBGMPlay(std::uint32_t handle, std::int32_t repeat)
{
    return ruvo_music_play(handle, repeat != 0 ? 1 : 0);
}

std::int32_t WebMusicLibrary::KBGMStop()
{
    ruvo_music_stop();
    return 0;
}

std::int32_t WebMusicLibrary::KBGMFree(std::uint32_t handle)
{
    return ruvo_music_free(handle);
}

std::int32_t WebMusicLibrary::KBGMClose()
{
    return ruvo_music_close();
}

} // namespace ruvo
