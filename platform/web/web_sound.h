// Sound in the browser: the effects through Web Audio, the music through the
// page's SoundFont synthesizer. The page keeps the voices and the tracks.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/host.h"

namespace ruvo {

class WebWavePlayer final : public WavePlayer {
  public:
    void Prepare(const std::uint8_t* image, std::size_t size) override;
    void Play(const std::uint8_t* image, std::size_t size) override;
};

class WebMusicLibrary final : public MusicLibrary {
  public:
    std::int32_t KBGMOpen(std::int32_t voices, std::int32_t device) override;
    std::int32_t KBGMLoadFile(std::uint32_t* handle, const char* fileName) override;
    std::int32_t KBGMPlay(std::uint32_t handle, std::int32_t repeat) override;
    std::int32_t KBGMStop() override;
    std::int32_t KBGMFree(std::uint32_t handle) override;
    std::int32_t KBGMClose() override;
};

} // namespace ruvo
