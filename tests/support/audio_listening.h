// Listening to the sound device for the audio tests: SDL's "disk" driver
// writes whatever the device plays to a raw file, which these helpers read
// back; and small sound and music files of our own to play.
#pragma once

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <vector>

#include "audio/audio.h"
#include "platform/desktop/data_path.h"
#include "platform/desktop/sdl_audio.h"
#include "platform/desktop/sdl_sound_files.h"
#include "record/record.h"
#include "resources/embedded.h"

namespace ruvo::audio_testing {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>; // interleaved left, right

// ---------------------------------------------------------------------------
// Listening

class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// Everything a device opened from now on plays.
class Recording {
  public:
    Recording() : dir_(ScratchDir()), file_("SDL_DISKAUDIOFILE", (dir_ / "played.raw").c_str()) {}
    ~Recording() { fs::remove_all(dir_); }

    std::size_t Frames() const
    {
        std::error_code error;
        const auto bytes = fs::file_size(dir_ / "played.raw", error);
        return error ? 0 : bytes / 4;
    }

    // The stream from frame `from` on.
    Samples Read(std::size_t from = 0) const
    {
        std::ifstream file(dir_ / "played.raw", std::ios::binary);
        file.seekg(static_cast<std::streamoff>(from * 4));
        Samples samples(Frames() > from ? (Frames() - from) * 2 : 0);
        file.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
        samples.resize(static_cast<std::size_t>(file.gcount()) / 2);
        return samples;
    }

    // A generous limit only keeps a broken build from hanging.
    static bool WaitUntil(const std::function<bool()>& done)
    {
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (!done()) {
            if (std::chrono::steady_clock::now() > limit)
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        return true;
    }

    void WaitForFrames(std::size_t frames) const
    {
        EXPECT_TRUE(WaitUntil([&] { return Frames() >= frames; })) << "the stream stopped at " << Frames();
    }

  private:
    static fs::path ScratchDir()
    {
        std::string pattern = (fs::temp_directory_path() / "ruvo-audio-XXXXXX").string();
        return mkdtemp(pattern.data());
    }

    fs::path dir_;
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_;
    ScopedEnv delay_{"SDL_DISKAUDIODELAY", "1"};
};

// The open device's frame rate; the recording is read as 16-bit stereo.
inline std::size_t DeviceRate()
{
    int rate = 0, channels = 0;
    Uint16 format = 0;
    EXPECT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1) << "no audio device is open";
    EXPECT_EQ(format, AUDIO_S16SYS);
    EXPECT_EQ(channels, 2);
    return static_cast<std::size_t>(rate);
}

inline std::size_t FrameCount(const Samples& samples)
{
    return samples.size() / 2;
}
inline double Seconds(std::size_t frames, std::size_t rate)
{
    return static_cast<double>(frames) / static_cast<double>(rate);
}
inline int Level(const Samples& samples, std::size_t frame)
{
    return std::max(std::abs(samples[2 * frame]), std::abs(samples[2 * frame + 1]));
}

// FluidSynth dithers, so a playing synthesiser is never quite silent:
// listening for notes takes a threshold.
constexpr int kNoteLevel = 1000;

inline std::optional<std::size_t> FirstSound(const Samples& samples, std::size_t from = 0, int threshold = 0)
{
    for (std::size_t frame = from; frame < FrameCount(samples); ++frame)
        if (Level(samples, frame) > threshold)
            return frame;
    return std::nullopt;
}

inline std::optional<std::size_t> LastSound(const Samples& samples)
{
    for (std::size_t frame = FrameCount(samples); frame-- > 0;)
        if (Level(samples, frame) != 0)
            return frame;
    return std::nullopt;
}

inline bool HeardBetween(const Recording& recording, std::size_t from, std::size_t to, int threshold = 0)
{
    recording.WaitForFrames(to);
    return FirstSound(recording.Read(from), 0, threshold).value_or(to - from) < to - from;
}

inline std::size_t WaitForSound(const Recording& recording, std::size_t from = 0, int threshold = 0)
{
    std::optional<std::size_t> heard;
    EXPECT_TRUE(Recording::WaitUntil([&] {
        return (heard = FirstSound(recording.Read(from), 0, threshold)).has_value();
    })) << "nothing was heard";
    return from + heard.value_or(0);
}

// Starts a track and tells where the stream stood just before.
inline std::size_t PlayFrom(MusicLibrary& music, const Recording& recording, std::uint32_t handle, std::int32_t repeat)
{
    const std::size_t before = recording.Frames();
    music.KBGMPlay(handle, repeat);
    return before;
}

// Where notes start in [from, to): a 10 ms block rising above a quarter of the
// loudest block after the sound had died away below a fiftieth of it. A note
// already sounding at `from` is not counted.
inline std::vector<std::size_t> Onsets(const Samples& samples, std::size_t from, std::size_t to, std::size_t rate)
{
    const std::size_t block = rate / 100;
    std::vector<int> peaks;
    for (std::size_t start = from; start + block <= std::min(to, FrameCount(samples)); start += block) {
        int peak = 0;
        for (std::size_t frame = start; frame < start + block; ++frame)
            peak = std::max(peak, Level(samples, frame));
        peaks.push_back(peak);
    }
    const int loudest = peaks.empty() ? 0 : *std::max_element(peaks.begin(), peaks.end());
    std::vector<std::size_t> onsets;
    bool quiet = false;
    for (std::size_t i = 0; i < peaks.size() && loudest > kNoteLevel; ++i) {
        if (peaks[i] < loudest / 50) {
            quiet = true;
        } else if (quiet && peaks[i] > loudest / 4) {
            onsets.push_back(from + i * block);
            quiet = false;
        }
    }
    return onsets;
}

// ---------------------------------------------------------------------------
// Sounds of our own

// A number of `bytes` bytes, little-endian as in RIFF or big-endian as in MIDI.
inline void Put(Bytes& out, std::uint32_t value, int bytes, bool bigEndian = false)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
}
inline void PutTag(Bytes& out, std::string_view tag)
{
    out.insert(out.end(), tag.begin(), tag.end());
}

// One level held for a while, 8-bit mono at 11025 Hz like the game's own
// effects: in the recording it is a flat line at offset * 256.
inline Bytes SteadyWave(int offset, double seconds)
{
    const auto frames = static_cast<std::uint32_t>(seconds * 11025);
    Bytes image;
    PutTag(image, "RIFF");
    Put(image, 36 + frames, 4);
    PutTag(image, "WAVEfmt ");
    Put(image, 16, 4);
    Put(image, 1, 2); // PCM
    Put(image, 1, 2);
    Put(image, 11025, 4);
    Put(image, 11025, 4);
    Put(image, 1, 2);
    Put(image, 8, 2);
    PutTag(image, "data");
    Put(image, frames, 4);
    image.insert(image.end(), frames, static_cast<std::uint8_t>(128 + offset));
    return image;
}
constexpr int kHigh = 48, kLow = -96;

enum class Heard { Silence, High, Low, Other };
inline Heard Classify(const Samples& samples, std::size_t frame)
{
    const int left = samples[2 * frame];
    if (left == 0 && samples[2 * frame + 1] == 0)
        return Heard::Silence;
    if (std::abs(left - kHigh * 256) < 1500)
        return Heard::High;
    if (std::abs(left - kLow * 256) < 2500)
        return Heard::Low;
    return Heard::Other;
}

inline std::size_t CountHeard(const Samples& samples, Heard what)
{
    std::size_t count = 0;
    for (std::size_t frame = 0; frame < FrameCount(samples); ++frame)
        count += Classify(samples, frame) == what;
    return count;
}

inline Bytes MidiFile(std::uint16_t format, std::uint16_t tracks, std::uint16_t division,
                      const std::vector<Bytes>& chunks)
{
    Bytes file;
    PutTag(file, "MThd");
    Put(file, 6, 4, true);
    Put(file, format, 2, true);
    Put(file, tracks, 2, true);
    Put(file, division, 2, true);
    for (const Bytes& events : chunks) {
        PutTag(file, "MTrk");
        Put(file, static_cast<std::uint32_t>(events.size()), 4, true);
        file.insert(file.end(), events.begin(), events.end());
    }
    return file;
}

// Passes of two seconds at 960 ticks a second: an organ note for the first
// 150 ms, then silence. Reverb and chorus are off, so a pass ends clean.
inline Bytes OrganEvents()
{
    return {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, // 120 beats a minute
            0x00, 0xC0, 0x10,                         // drawbar organ
            0x00, 0xB0, 0x5B, 0x00,                   // no reverb
            0x00, 0x5D, 0x00,                         // no chorus (running status)
            0x00, 0x07, 0x7F,                         // full volume
            0x00, 0x90, 0x48, 0x7F,                   // C5 on
            0x81, 0x10, 0x80, 0x48, 0x40,             // off after 144 ticks
            0x8D, 0x70, 0xFF, 0x2F, 0x00};            // end of track after 1776 more
}
inline Bytes OrganTrack()
{
    return MidiFile(0, 1, 480, {OrganEvents()});
}
constexpr double kPassSeconds = 2.0;

// A file beside the test program, where the library looks for the game's
// music, for as long as the test runs.
class ProgramFile {
  public:
    explicit ProgramFile(const Bytes& bytes, const char* extension = ".MID")
    {
        static int count = 0;
        name_ = "ruvo-audio-test-" + std::to_string(getpid()) + "-" + std::to_string(++count) + extension;
        char* base = SDL_GetBasePath();
        path_ = fs::path(base) / name_;
        SDL_free(base);
        std::ofstream(path_, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    ~ProgramFile() { fs::remove(path_); }
    const char* Name() const { return name_.c_str(); }
    std::string Path() const { return path_.string(); }

  private:
    std::string name_;
    fs::path path_;
};

// Has the soundfont's RIFF header, but FluidSynth turns it down.
inline Bytes BrokenSoundFont()
{
    Bytes bytes = {'R', 'I', 'F', 'F', 200, 0, 0, 0, 's', 'f', 'b', 'k'};
    bytes.resize(208, 0x33);
    return bytes;
}

inline ResourceData Effect(std::uint32_t id)
{
    return EmbeddedResources().Find("WAVE", id);
}

} // namespace ruvo::audio_testing
