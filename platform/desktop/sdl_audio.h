// Sound on SDL2_mixer: the wave player for the effects, and our music
// library, which plays MIDI files through FluidSynth and a General MIDI
// soundfont.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "record/host.h"

namespace ruvo {

class SdlWavePlayer final : public WavePlayer {
  public:
    SdlWavePlayer();
    ~SdlWavePlayer() override;
    void Prepare(const std::uint8_t* image, std::size_t size) override;
    void Play(const std::uint8_t* image, std::size_t size) override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

class SdlMusicLibrary final : public MusicLibrary {
  public:
    SdlMusicLibrary();
    ~SdlMusicLibrary() override;
    std::int32_t KBGMOpen(std::int32_t voices, std::int32_t device) override;
    std::int32_t KBGMLoadFile(std::uint32_t* handle, const char* fileName) override;
    std::int32_t KBGMPlay(std::uint32_t handle, std::int32_t repeat) override;
    std::int32_t KBGMStop() override;
    std::int32_t KBGMFree(std::uint32_t handle) override;
    std::int32_t KBGMClose() override;

  private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace ruvo
