// FluidSynth with a General MIDI soundfont, playing the music.
// SPDX-License-Identifier: MIT
#include "platform/desktop/sdl_midi_synth.h"

#include <SDL_mixer.h>

#include <filesystem>
#include <system_error>

#include "platform/desktop/sdl_audio_device.h"

namespace ruvo {
namespace {

// FluidSynth's default gain of 0.2 leaves our tracks some 20 dB under the
// effects. The two Debian soundfonts differ by about 8 dB, so each gets its
// own: the tracks then sit near -21 dBFS on average, peaking near -4, and
// the effects still cut through. An unknown soundfont gets the safer one.
double GainFor(const std::string& soundFont)
{
    std::error_code error;
    const std::filesystem::path file = std::filesystem::canonical(soundFont, error);
    return !error && file.filename() == "TimGM6mb.sf2" ? 0.6 : 0.25;
}

} // namespace

bool MidiSynth::Open(const std::string& soundFont)
{
    Close();
    int rate = 0, channels = 0;
    Uint16 format = 0;
    if (Mix_QuerySpec(&rate, &format, &channels) == 0 || format != AUDIO_S16SYS || channels != 2)
        return false;
    settings_ = new_fluid_settings();
    if (settings_ == nullptr)
        return false;
    fluid_settings_setnum(settings_, "synth.sample-rate", rate);
    fluid_settings_setnum(settings_, "synth.gain", GainFor(soundFont));
    synth_ = new_fluid_synth(settings_);
    if (synth_ == nullptr || fluid_synth_sfload(synth_, soundFont.c_str(), 1) == FLUID_FAILED) {
        Close();
        return false;
    }
    SetMusicSource({&MidiSynth::Render, &MidiSynth::Sounding, this});
    return true;
}

void MidiSynth::Close()
{
    if (synth_ != nullptr)
        SetMusicSource({});
    DropPlayer();
    if (synth_ != nullptr)
        delete_fluid_synth(synth_);
    if (settings_ != nullptr)
        delete_fluid_settings(settings_);
    synth_ = nullptr;
    settings_ = nullptr;
}

void MidiSynth::Play(const std::vector<std::uint8_t>& file, bool repeat)
{
    if (synth_ == nullptr)
        return;
    // Even making a player touches the synthesiser the mixer thread renders with.
    const std::lock_guard lock(playerLock_);
    DropPlayer();
    // A fresh player for every start: FluidSynth's player resumes where it
    // was stopped, and the game wants the top of the track. The player also
    // resets the synthesiser as the file starts.
    player_ = new_fluid_player(synth_);
    if (player_ == nullptr)
        return;
    if (fluid_player_add_mem(player_, file.data(), file.size()) != FLUID_OK) {
        DropPlayer();
        return;
    }
    fluid_player_set_loop(player_, repeat ? -1 : 1);
    fluid_player_play(player_);
}

void MidiSynth::Stop()
{
    const std::lock_guard lock(playerLock_);
    DropPlayer();
}

void MidiSynth::DropPlayer()
{
    if (player_ == nullptr)
        return;
    fluid_player_stop(player_);
    delete_fluid_player(player_);
    player_ = nullptr;
    fluid_synth_all_sounds_off(synth_, -1);
}

// Only the game's thread replaces the player, so it reads it without the lock.
// A track played once is done at its end-of-track event; what still rings
// after it fades within the device's quiet time before it rests.
bool MidiSynth::Sounding(void* self)
{
    fluid_player_t* player = static_cast<MidiSynth*>(self)->player_;
    return player != nullptr && fluid_player_get_status(player) == FLUID_PLAYER_PLAYING;
}

// Runs on the mixer thread.
void MidiSynth::Render(void* self, Uint8* stream, int bytes)
{
    auto* synth = static_cast<MidiSynth*>(self);
    const std::lock_guard lock(synth->playerLock_);
    if (synth->player_ == nullptr)
        return; // the mixer has already filled the stream with silence
    fluid_synth_write_s16(synth->synth_, bytes / 4, stream, 0, 2, stream, 1, 2);
}

} // namespace ruvo
