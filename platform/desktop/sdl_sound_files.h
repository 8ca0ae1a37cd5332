// Checks on the sound files we hand to SDL_mixer. Its decoders are forgiving:
// they play the readable part of a cut-off WAVE image and accept any MIDI
// file that starts with "MThd", failing only once it plays. The game wants a
// clean answer up front: play it whole, or stay silent.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace ruvo {

// A complete RIFF WAVE image of uncompressed PCM: every chunk up to the
// samples lies inside the image, and there is at least one sample frame.
bool IsCompleteWaveImage(const std::uint8_t* image, std::size_t size);

// A Standard MIDI File (format 0 or 1, ticks per quarter note) whose tracks
// are all present and read cleanly up to their end-of-track events.
bool IsCompleteMidiFile(const std::uint8_t* data, std::size_t size);

// The General MIDI soundfont to play music with, or empty when there is
// none. RUVO_SOUNDFONT, when set, names the only file to consider;
// otherwise the usual Debian soundfonts are tried, smallest first.
std::string FindSoundFont();

} // namespace ruvo
