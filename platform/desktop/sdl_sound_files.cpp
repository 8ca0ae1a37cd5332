// Checks on the sound files handed to SDL_mixer.
// SPDX-License-Identifier: MIT
#include "platform/desktop/sdl_sound_files.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

namespace ruvo {
namespace {

std::uint32_t LittleEndian32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::uint16_t LittleEndian16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t BigEndian32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}

std::uint16_t BigEndian16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}

bool IsTag(const std::uint8_t* p, const char* tag)
{
    return std::memcmp(p, tag, 4) == 0;
}

bool IsPlainPcm(const std::uint8_t* fmt)
{
    const std::uint16_t formatTag = LittleEndian16(fmt);
    const std::uint16_t channels = LittleEndian16(fmt + 2);
    const std::uint32_t rate = LittleEndian32(fmt + 4);
    const std::uint16_t blockAlign = LittleEndian16(fmt + 12);
    const std::uint16_t bits = LittleEndian16(fmt + 14);
    return formatTag == 1 && (channels == 1 || channels == 2) && rate >= 1000 && rate <= 192000 &&
           (bits == 8 || bits == 16) && blockAlign == channels * bits / 8;
}

// MIDI's variable-length quantity: at most four bytes, seven bits each.
bool ReadVariableLength(const std::uint8_t* data, std::size_t end, std::size_t& pos, std::uint32_t& value)
{
    value = 0;
    for (int i = 0; i < 4; ++i) {
        if (pos >= end)
            return false;
        const std::uint8_t byte = data[pos++];
        value = value << 7 | (byte & 0x7Fu);
        if ((byte & 0x80) == 0)
            return true;
    }
    return false;
}

// Walks every event of one track chunk; a track must end with its
// end-of-track meta event, not merely run out of bytes.
bool IsCompleteTrack(const std::uint8_t* data, std::size_t end)
{
    std::size_t pos = 0;
    std::uint8_t runningStatus = 0;
    while (pos < end) {
        std::uint32_t delta = 0;
        if (!ReadVariableLength(data, end, pos, delta) || pos >= end)
            return false;
        const std::uint8_t first = data[pos];
        if (first == 0xFF || first == 0xF0 || first == 0xF7) {
            const bool meta = first == 0xFF;
            if (meta && pos + 2 > end)
                return false;
            const std::uint8_t metaType = meta ? data[pos + 1] : 0;
            pos += meta ? 2 : 1;
            std::uint32_t length = 0;
            if (!ReadVariableLength(data, end, pos, length) || length > end - pos)
                return false;
            pos += length;
            runningStatus = 0; // meta and system-exclusive events cancel running status
            if (meta && metaType == 0x2F)
                return true;
            continue;
        }
        if (first & 0x80) {
            if (first >= 0xF0)
                return false; // system common and real-time messages don't belong in a file
            runningStatus = first;
            ++pos;
        } else if (runningStatus == 0) {
            return false;
        }
        const std::size_t dataBytes = (runningStatus & 0xE0) == 0xC0 ? 1 : 2; // program and pressure: one
        if (dataBytes > end - pos)
            return false;
        for (std::size_t i = 0; i < dataBytes; ++i)
            if (data[pos + i] & 0x80)
                return false;
        pos += dataBytes;
    }
    return false;
}

// The soundfont's samples are loaded only when the music first plays, so
// its shape is looked at beforehand, from the chunk headers alone: a RIFF
// "sfbk" form as long as the file, holding its three lists (information,
// samples, presets), each within the form.
bool IsSoundFontFile(const char* path)
{
    std::ifstream file(path, std::ios::binary | std::ios::ate);
    const std::streamoff size = file.tellg();
    std::uint8_t header[12] = {};
    if (size < 12 || !file.seekg(0) || !file.read(reinterpret_cast<char*>(header), sizeof header))
        return false;
    const std::uint64_t formEnd = 8 + static_cast<std::uint64_t>(LittleEndian32(header + 4));
    if (!IsTag(header, "RIFF") || !IsTag(header + 8, "sfbk") || formEnd > static_cast<std::uint64_t>(size))
        return false;
    int lists = 0;
    for (std::uint64_t pos = 12; pos + 12 <= formEnd;) {
        if (!file.seekg(static_cast<std::streamoff>(pos)) || !file.read(reinterpret_cast<char*>(header), 12))
            return false;
        const std::uint64_t length = LittleEndian32(header + 4);
        if (8 + length > formEnd - pos)
            return false;
        if (IsTag(header, "LIST"))
            for (const char* kind : {"INFO", "sdta", "pdta"})
                if (IsTag(header + 8, kind))
                    ++lists;
        pos += 8 + length + (length & 1); // chunks are padded to an even length
    }
    return lists == 3;
}

} // namespace

bool IsCompleteWaveImage(const std::uint8_t* image, std::size_t size)
{
    if (image == nullptr || size < 12 || !IsTag(image, "RIFF") || !IsTag(image + 8, "WAVE"))
        return false;
    const std::uint64_t riffEnd = 8 + static_cast<std::uint64_t>(LittleEndian32(image + 4));
    if (riffEnd > size)
        return false; // cut short
    bool plainPcm = false;
    std::uint16_t frameSize = 0;
    std::uint64_t pos = 12;
    while (riffEnd - pos >= 8) {
        const std::uint8_t* chunk = image + pos;
        const std::uint64_t length = LittleEndian32(chunk + 4);
        const std::uint64_t body = pos + 8;
        if (length > riffEnd - body)
            return false;
        if (IsTag(chunk, "fmt ")) {
            if (length < 16)
                return false;
            plainPcm = IsPlainPcm(chunk + 8);
            frameSize = LittleEndian16(chunk + 8 + 12);
        } else if (IsTag(chunk, "data")) {
            return plainPcm && length >= frameSize;
        }
        pos = body + length + (length & 1); // chunks of odd length carry a pad byte
    }
    return false;
}

bool IsCompleteMidiFile(const std::uint8_t* data, std::size_t size)
{
    if (data == nullptr || size < 14 || !IsTag(data, "MThd"))
        return false;
    const std::uint32_t headerLength = BigEndian32(data + 4);
    const std::uint16_t format = BigEndian16(data + 8);
    const std::uint16_t tracks = BigEndian16(data + 10);
    const std::uint16_t division = BigEndian16(data + 12);
    // FluidSynth plays neither format 2 nor SMPTE time.
    if (headerLength < 6 || headerLength > size - 8 || format > 1 || tracks == 0 || (format == 0 && tracks != 1) ||
        division == 0 || (division & 0x8000) != 0)
        return false;
    std::size_t pos = 8 + headerLength;
    for (int found = 0; found < tracks;) {
        if (size - pos < 8)
            return false;
        const std::uint32_t length = BigEndian32(data + pos + 4);
        if (length > size - pos - 8)
            return false;
        if (IsTag(data + pos, "MTrk")) {
            if (!IsCompleteTrack(data + pos + 8, length))
                return false;
            ++found;
        }
        pos += 8 + length;
    }
    return true;
}

std::string FindSoundFont()
{
    if (const char* chosen = std::getenv("RUVO_SOUNDFONT"))
        return IsSoundFontFile(chosen) ? chosen : "";
    // Every track gets a synthesiser of its own with the whole soundfont in
    // memory, so the 6 MB TimGM6mb is much kinder than the 140 MB FluidR3.
    for (const char* path : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
                             "/usr/share/sounds/sf2/FluidR3_GM.sf2"})
        if (IsSoundFontFile(path))
            return path;
    return {};
}

} // namespace ruvo
