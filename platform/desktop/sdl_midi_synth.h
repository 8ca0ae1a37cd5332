// FluidSynth with a General MIDI soundfont, playing one Standard MIDI File at
// a time into SDL_mixer's music stream. SDL_mixer's own MIDI music can't be
// played again from its beginning once it has been stopped part way (it
// carries on where it stopped) and loads the whole soundfont once per track;
// here the soundfont is loaded once and a track starts over on every Play.
// SPDX-License-Identifier: MIT
#pragma once

#include <SDL_stdinc.h>
#include <fluidsynth.h>

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace ruvo {

class MidiSynth {
  public:
    MidiSynth() = default;
    MidiSynth(const MidiSynth&) = delete;
    MidiSynth& operator=(const MidiSynth&) = delete;
    ~MidiSynth() { Close(); }

    // Needs the open audio device; false when the soundfont won't load.
    bool Open(const std::string& soundFont);
    void Close();

    // Starts the file from its beginning, once or over and over.
    void Play(const std::vector<std::uint8_t>& file, bool repeat);
    // Silences the music at once.
    void Stop();

  private:
    static void Render(void* self, Uint8* stream, int bytes);
    static bool Sounding(void* self);
    void DropPlayer();

    fluid_settings_t* settings_ = nullptr;
    fluid_synth_t* synth_ = nullptr;
    // The mixer thread renders with the player that Play and Stop replace.
    std::mutex playerLock_;
    fluid_player_t* player_ = nullptr;
};

} // namespace ruvo
