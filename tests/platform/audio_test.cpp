// The sound effects and the music on SDL2_mixer, heard through SDL's "disk"
// driver: whatever the device plays lands in a raw file that the tests read
// back. The driver writes a buffer every millisecond, so the stream runs many
// times faster than real time, and every check is made on positions in the
// stream, never on the clock.
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
#include <thread>
#include <vector>

#include "audio/audio.h"
#include "game/record.h"
#include "platform/data_path.h"
#include "platform/sdl_audio.h"
#include "platform/sdl_sound_files.h"
#include "resources/embedded.h"

namespace ruvo {
namespace {

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

fs::path MakeScratchDir()
{
    std::string pattern = (fs::temp_directory_path() / "ruvo-audio-XXXXXX").string();
    return mkdtemp(pattern.data());
}

// Everything a device opened from now on plays.
class Recording {
public:
    Recording() : dir_(MakeScratchDir()), file_("SDL_DISKAUDIOFILE", (dir_ / "played.raw").c_str()) {}
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
    fs::path dir_;
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_;
    ScopedEnv delay_{"SDL_DISKAUDIODELAY", "1"};
};

// The open device's frame rate; the recording is read as 16-bit stereo.
std::size_t DeviceRate()
{
    int rate = 0, channels = 0;
    Uint16 format = 0;
    EXPECT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1) << "no audio device is open";
    EXPECT_EQ(format, AUDIO_S16SYS);
    EXPECT_EQ(channels, 2);
    return static_cast<std::size_t>(rate);
}

std::size_t FrameCount(const Samples& samples)
{
    return samples.size() / 2;
}
double Seconds(std::size_t frames, std::size_t rate)
{
    return static_cast<double>(frames) / static_cast<double>(rate);
}
int Level(const Samples& samples, std::size_t frame)
{
    return std::max(std::abs(samples[2 * frame]), std::abs(samples[2 * frame + 1]));
}

// FluidSynth dithers, so a playing synthesiser is never quite silent:
// listening for notes takes a threshold.
constexpr int kNoteLevel = 1000;

std::optional<std::size_t> FirstSound(const Samples& samples, std::size_t from = 0, int threshold = 0)
{
    for (std::size_t frame = from; frame < FrameCount(samples); ++frame)
        if (Level(samples, frame) > threshold)
            return frame;
    return std::nullopt;
}

std::optional<std::size_t> LastSound(const Samples& samples)
{
    for (std::size_t frame = FrameCount(samples); frame-- > 0;)
        if (Level(samples, frame) != 0)
            return frame;
    return std::nullopt;
}

bool HeardBetween(const Recording& recording, std::size_t from, std::size_t to, int threshold = 0)
{
    recording.WaitForFrames(to);
    return FirstSound(recording.Read(from), 0, threshold).value_or(to - from) < to - from;
}

std::size_t WaitForSound(const Recording& recording, std::size_t from = 0, int threshold = 0)
{
    std::optional<std::size_t> heard;
    EXPECT_TRUE(Recording::WaitUntil([&] {
        return (heard = FirstSound(recording.Read(from), 0, threshold)).has_value();
    })) << "nothing was heard";
    return from + heard.value_or(0);
}

// Starts a track and tells where the stream stood just before.
std::size_t PlayFrom(MusicLibrary& music, const Recording& recording, std::uint32_t handle, std::int32_t repeat)
{
    const std::size_t before = recording.Frames();
    music.KBGMPlay(handle, repeat);
    return before;
}

// Where notes start in [from, to): a 10 ms block rising above a quarter of the
// loudest block after the sound had died away below a fiftieth of it. A note
// already sounding at `from` is not counted.
std::vector<std::size_t> Onsets(const Samples& samples, std::size_t from, std::size_t to, std::size_t rate)
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

void Put32(Bytes& out, std::uint32_t value, bool bigEndian = false)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (bigEndian ? 24 - 8 * i : 8 * i)));
}
void Put16(Bytes& out, std::uint16_t value, bool bigEndian = false)
{
    out.push_back(static_cast<std::uint8_t>(bigEndian ? value >> 8 : value));
    out.push_back(static_cast<std::uint8_t>(bigEndian ? value : value >> 8));
}
void PutTag(Bytes& out, const char* tag)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(tag[i]));
}

// One level held for a while, 8-bit mono at 11025 Hz like the game's own
// effects: in the recording it is a flat line at offset * 256.
Bytes SteadyWave(int offset, double seconds)
{
    const auto frames = static_cast<std::uint32_t>(seconds * 11025);
    Bytes image;
    PutTag(image, "RIFF");
    Put32(image, 36 + frames);
    PutTag(image, "WAVE");
    PutTag(image, "fmt ");
    Put32(image, 16);
    Put16(image, 1); // PCM
    Put16(image, 1);
    Put32(image, 11025);
    Put32(image, 11025);
    Put16(image, 1);
    Put16(image, 8);
    PutTag(image, "data");
    Put32(image, frames);
    image.insert(image.end(), frames, static_cast<std::uint8_t>(128 + offset));
    return image;
}
constexpr int kHigh = 48, kLow = -96;

enum class Heard { Silence, High, Low, Other };
Heard Classify(const Samples& samples, std::size_t frame)
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

std::size_t CountHeard(const Samples& samples, Heard what)
{
    std::size_t count = 0;
    for (std::size_t frame = 0; frame < FrameCount(samples); ++frame)
        count += Classify(samples, frame) == what;
    return count;
}

Bytes MidiFile(std::uint16_t format, std::uint16_t tracks, std::uint16_t division, const std::vector<Bytes>& chunks)
{
    Bytes file;
    PutTag(file, "MThd");
    Put32(file, 6, true);
    Put16(file, format, true);
    Put16(file, tracks, true);
    Put16(file, division, true);
    for (const Bytes& events : chunks) {
        PutTag(file, "MTrk");
        Put32(file, static_cast<std::uint32_t>(events.size()), true);
        file.insert(file.end(), events.begin(), events.end());
    }
    return file;
}

// Passes of two seconds at 960 ticks a second: an organ note for the first
// 150 ms, then silence. Reverb and chorus are off, so a pass ends clean.
Bytes OrganEvents()
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
Bytes OrganTrack()
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
Bytes BrokenSoundFont()
{
    Bytes bytes = {'R', 'I', 'F', 'F', 200, 0, 0, 0, 's', 'f', 'b', 'k'};
    bytes.resize(208, 0x33);
    return bytes;
}

ResourceData Effect(std::uint32_t id)
{
    return EmbeddedResources().Find("WAVE", id);
}

// ---------------------------------------------------------------------------
// Sound effects

TEST(SoundEffects, EachEffectSoundsForAboutTheLengthItWasMadeTo)
{
    constexpr int kMilliseconds[6] = {74, 216, 251, 170, 34, 912};
    for (std::uint32_t n = 0; n < 6; ++n) {
        SCOPED_TRACE("effect " + std::to_string(601 + n));
        const ResourceData effect = Effect(601 + n);
        ASSERT_NE(effect.data, nullptr);
        Recording recording;
        std::size_t rate = 0, start = 0;
        {
            SdlWavePlayer player;
            player.Prepare(effect.data, effect.size);
            rate = DeviceRate();
            player.Play(effect.data, effect.size);
            start = WaitForSound(recording);
            recording.WaitForFrames(start + rate * (kMilliseconds[n] + 200) / 1000);
        }
        const Samples samples = recording.Read();
        const double heardMs = 1000 * Seconds(LastSound(samples).value_or(0) + 1 - start, rate);
        EXPECT_GT(heardMs, kMilliseconds[n] * 0.85); // the ends fade in and out
        EXPECT_LT(heardMs, kMilliseconds[n] * 1.03 + 2);
    }
}

TEST(SoundEffects, ANewEffectCutsOffTheOneStillPlaying)
{
    const Bytes first = SteadyWave(kHigh, 10.0);
    const Bytes second = SteadyWave(kLow, 0.3);
    Recording recording;
    std::size_t rate = 0;
    {
        SdlWavePlayer player;
        player.Prepare(first.data(), first.size());
        player.Prepare(second.data(), second.size());
        rate = DeviceRate();
        player.Play(first.data(), first.size());
        recording.WaitForFrames(WaitForSound(recording) + rate / 20);
        player.Play(second.data(), second.size());
        recording.WaitForFrames(recording.Frames() + rate);
    }
    const Samples samples = recording.Read();
    struct Span {
        std::size_t first = SIZE_MAX, last = 0;
    } high, low;
    for (std::size_t frame = 0; frame < FrameCount(samples); ++frame) {
        const Heard heard = Classify(samples, frame);
        if (heard == Heard::High || heard == Heard::Low) {
            Span& span = heard == Heard::High ? high : low;
            span.first = std::min(span.first, frame);
            span.last = frame;
        }
    }
    ASSERT_TRUE(high.first != SIZE_MAX && low.first != SIZE_MAX);
    EXPECT_LT(high.last - high.first, rate * 9) << "the first effect was not cut short";
    ASSERT_LT(high.last, low.first) << "the first effect went on under the second";
    EXPECT_LT(low.first - high.last, 16u) << "a gap between the two";
    for (std::size_t frame = high.last + 1; frame < low.first; ++frame)
        EXPECT_NE(Classify(samples, frame), Heard::Silence) << frame;
    EXPECT_NEAR(Seconds(low.last + 1 - low.first, rate), 0.3, 0.003) << "the second plays whole";
    const std::size_t tail = low.last + 16;
    ASSERT_GT(FrameCount(samples), tail + rate / 10);
    for (std::size_t frame = tail; frame < FrameCount(samples); ++frame)
        ASSERT_EQ(Classify(samples, frame), Heard::Silence) << "sound after the second effect, at " << frame;
}

TEST(SoundEffects, PlaysWhatWasPreparedAndDecodesAnUnpreparedImageOnTheSpot)
{
    Bytes prepared = SteadyWave(kHigh, 0.2);
    const Bytes unprepared = SteadyWave(kLow, 0.2);
    Recording recording;
    std::size_t rate = 0;
    {
        SdlWavePlayer player;
        player.Prepare(prepared.data(), prepared.size());
        rate = DeviceRate();
        // The game never changes an image; were it to, what was prepared plays.
        std::fill(prepared.begin() + 44, prepared.end(), static_cast<std::uint8_t>(128 + kLow));
        player.Play(prepared.data(), prepared.size());
        recording.WaitForFrames(WaitForSound(recording) + rate * 3 / 10);
        const std::size_t mark = recording.Frames();
        player.Play(unprepared.data(), unprepared.size());
        recording.WaitForFrames(WaitForSound(recording, mark) + rate * 3 / 10);
    }
    const Samples samples = recording.Read();
    EXPECT_NEAR(Seconds(CountHeard(samples, Heard::High), rate), 0.2, 0.002);
    EXPECT_NEAR(Seconds(CountHeard(samples, Heard::Low), rate), 0.2, 0.002);
}

TEST(SoundEffects, AnImageThatCannotBePlayedIsSilent)
{
    const ResourceData bounce = Effect(601);
    const Bytes whole(bounce.data, bounce.data + bounce.size);
    Bytes notRiff = whole;
    notRiff[3] = 'X';
    Bytes compressed = whole;
    compressed[20] = 2; // ADPCM
    const Bytes noise(3000, 0x5A);
    Recording recording;
    {
        SdlWavePlayer player;
        player.Prepare(notRiff.data(), notRiff.size());
        const std::size_t rate = DeviceRate();
        const auto playAndListen = [&](const std::uint8_t* image, std::size_t size) {
            const std::size_t mark = recording.Frames();
            player.Play(image, size);
            recording.WaitForFrames(mark + rate / 10);
        };
        playAndListen(nullptr, whole.size());
        playAndListen(notRiff.data(), notRiff.size());
        playAndListen(compressed.data(), compressed.size());
        playAndListen(noise.data(), noise.size());
        for (const std::size_t size :
             {std::size_t{0}, std::size_t{12}, std::size_t{44}, whole.size() / 2, whole.size() - 1})
            playAndListen(whole.data(), size);
        EXPECT_FALSE(FirstSound(recording.Read())) << "an unplayable image sounded";
        // The same bytes in full do play, so the silence above was no accident.
        player.Play(whole.data(), whole.size());
        WaitForSound(recording);
    }
}

TEST(SoundEffects, WithoutAnAudioDeviceNothingPlays)
{
    for (const char* driver : {"dummy", "no-such-driver"}) {
        SCOPED_TRACE(driver);
        ScopedEnv noDevice("SDL_AUDIODRIVER", driver);
        SdlWavePlayer player;
        const ResourceData bounce = Effect(601);
        player.Prepare(bounce.data, bounce.size);
        player.Play(bounce.data, bounce.size);
        player.Play(nullptr, 0);
        EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
    }
}

// ---------------------------------------------------------------------------
// Checks on the files

TEST(SoundFiles, AWaveImageMustBeWholePlainPcm)
{
    for (std::uint32_t id = 601; id <= 606; ++id) {
        const ResourceData effect = Effect(id);
        EXPECT_TRUE(IsCompleteWaveImage(effect.data, effect.size)) << id;
        std::size_t acceptedCut = 0;
        for (std::size_t size = 0; size < effect.size; ++size)
            acceptedCut += IsCompleteWaveImage(effect.data, size);
        EXPECT_EQ(acceptedCut, 0u) << id;
    }
    const Bytes good = SteadyWave(kHigh, 0.01);
    EXPECT_TRUE(IsCompleteWaveImage(good.data(), good.size()));
    EXPECT_FALSE(IsCompleteWaveImage(nullptr, good.size()));
    const auto changed = [&](std::size_t at, std::uint8_t value) {
        Bytes image = good;
        image[at] = value;
        return IsCompleteWaveImage(image.data(), image.size());
    };
    EXPECT_FALSE(changed(8, 'X'));  // not WAVE
    EXPECT_FALSE(changed(12, 'X')); // no fmt chunk before the data
    EXPECT_FALSE(changed(20, 2));   // compressed
    EXPECT_FALSE(changed(22, 3));   // three channels
    EXPECT_FALSE(changed(34, 24));  // 24-bit samples
    EXPECT_FALSE(changed(41, 1));   // samples run past the end
    EXPECT_FALSE(changed(4, 20));   // the RIFF ends inside the fmt chunk
}

TEST(SoundFiles, AMidiFileMustReadCleanlyToTheEndOfEveryTrack)
{
    const auto accepts = [](const Bytes& file) { return IsCompleteMidiFile(file.data(), file.size()); };
    const Bytes track = OrganTrack();
    EXPECT_TRUE(accepts(track));
    EXPECT_TRUE(accepts(MidiFile(1, 2, 480, {OrganEvents(), OrganEvents()})));
    std::size_t acceptedCut = 0;
    for (std::size_t size = 0; size < track.size(); ++size)
        acceptedCut += IsCompleteMidiFile(track.data(), size);
    EXPECT_EQ(acceptedCut, 0u);
    EXPECT_FALSE(IsCompleteMidiFile(nullptr, track.size()));

    EXPECT_FALSE(accepts(MidiFile(1, 2, 480, {OrganEvents()})));    // a track missing
    EXPECT_FALSE(accepts(MidiFile(2, 1, 480, {OrganEvents()})));    // format 2
    EXPECT_FALSE(accepts(MidiFile(0, 1, 0xE728, {OrganEvents()}))); // SMPTE time
    Bytes events = OrganEvents();
    events.resize(events.size() - 3);
    EXPECT_FALSE(accepts(MidiFile(0, 1, 480, {events}))) << "no end-of-track";
    events = OrganEvents();
    events[8] = 0x40; // a program change without its status byte
    EXPECT_FALSE(accepts(MidiFile(0, 1, 480, {events})));
    events = OrganEvents();
    events[22] = 0xC8; // a note number out of range
    EXPECT_FALSE(accepts(MidiFile(0, 1, 480, {events})));
    events = OrganEvents();
    events[3] = 0x7F; // a tempo event longer than the track
    EXPECT_FALSE(accepts(MidiFile(0, 1, 480, {events})));
}

// ---------------------------------------------------------------------------
// Music

TEST(Music, PlaysATrackFromItsBeginningOnceOrOverAndOverUntilStopped)
{
    const ProgramFile file(OrganTrack());
    Recording recording;
    SdlMusicLibrary music;
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    std::uint32_t handle = 0;
    music.KBGMLoadFile(&handle, file.Name());
    ASSERT_NE(handle, 0u);
    const std::size_t rate = DeviceRate();
    const auto pass = static_cast<std::size_t>(kPassSeconds * static_cast<double>(rate));

    // Each check starts at the first note of a play, wherever the stream
    // had got to when the call was made; it looks from a little before it.
    const std::size_t lead = rate / 20;
    const auto onsetsFrom = [&](std::size_t note, std::size_t length) {
        recording.WaitForFrames(note + length);
        return Onsets(recording.Read(), note - lead, note + length, rate);
    };
    const std::size_t once = WaitForSound(recording, PlayFrom(music, recording, handle, 0), kNoteLevel);
    EXPECT_EQ(onsetsFrom(once, pass * 17 / 10).size(), 1u) << "played once";

    const std::size_t again = WaitForSound(recording, PlayFrom(music, recording, handle, 1), kNoteLevel);
    const std::vector<std::size_t> passes = onsetsFrom(again, pass * 23 / 10);
    ASSERT_EQ(passes.size(), 3u) << "played over and over";
    EXPECT_NEAR(Seconds(passes[2] - passes[1], rate), kPassSeconds, 0.02);

    // Played again in the quiet middle of a pass, the track starts over
    // instead of going on to its next note: wherever the new start lands,
    // it is off the old beat.
    recording.WaitForFrames(passes[2] + pass * 4 / 10);
    const std::size_t restart = WaitForSound(recording, PlayFrom(music, recording, handle, 1), kNoteLevel);
    music.KBGMPlay(0, 0); // no track: nothing changes
    music.KBGMPlay(handle + 1, 0);
    const std::size_t offBeat = (restart - passes[0]) % pass;
    EXPECT_GT(offBeat, pass / 10) << "the track went on instead of starting over";
    EXPECT_LT(offBeat, pass * 9 / 10) << "the track went on instead of starting over";
    EXPECT_EQ(onsetsFrom(restart, pass * 13 / 10).size(), 2u) << "the new start repeats too";

    music.KBGMStop();
    const std::size_t stop = recording.Frames() + rate / 10; // past what was on its way
    recording.WaitForFrames(stop + pass * 3 / 2);
    EXPECT_FALSE(FirstSound(recording.Read(stop))) << "music after the stop";
    music.KBGMClose();
}

TEST(Music, OnlyAWholeMidiFileFoundBesideTheGameGetsAHandle)
{
    const Bytes track = OrganTrack();
    const ProgramFile good(track), noise(Bytes(300, 0x4D)), cut(Bytes(track.begin(), track.end() - 2)),
        headerOnly(Bytes(track.begin(), track.begin() + 14));
    Recording recording;
    SdlMusicLibrary music;
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    const auto load = [&](const char* name) {
        std::uint32_t handle = 0xDEAD;
        music.KBGMLoadFile(&handle, name);
        return handle;
    };
    EXPECT_EQ(load("NO_SUCH.MID"), 0u);
    EXPECT_EQ(load(nullptr), 0u);
    EXPECT_EQ(load(noise.Name()), 0u);
    EXPECT_EQ(load(cut.Name()), 0u);
    EXPECT_EQ(load(headerOnly.Name()), 0u);
    EXPECT_EQ(load(("../bin/" + std::string(good.Name())).c_str()), 0u) << "only bare names are looked up";
    const std::uint32_t first = load(good.Name()), second = load(good.Name());
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(music.KBGMLoadFile(nullptr, good.Name()), 1);
}

TEST(Music, FreeingSilencesOnlyTheTrackFreedAndIsHarmlessTwice)
{
    const ProgramFile file(OrganTrack());
    Recording recording;
    SdlMusicLibrary music;
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    std::uint32_t playing = 0, other = 0;
    music.KBGMLoadFile(&playing, file.Name());
    music.KBGMLoadFile(&other, file.Name());
    const std::size_t rate = DeviceRate();
    // Longer than a pass: a track that plays sounds a note in it.
    const auto heardFromNow = [&](int threshold) {
        const std::size_t mark = recording.Frames() + rate / 10; // past what was on its way
        return HeardBetween(recording, mark, mark + rate * 5 / 2, threshold);
    };
    music.KBGMPlay(playing, 1);
    music.KBGMFree(other);
    EXPECT_TRUE(heardFromNow(kNoteLevel)) << "freeing another track stopped the music";
    music.KBGMFree(playing);
    EXPECT_FALSE(heardFromNow(0)) << "a freed track plays on";
    music.KBGMFree(playing);
    music.KBGMFree(0);
    music.KBGMPlay(playing, 1);
    EXPECT_FALSE(heardFromNow(0)) << "a freed track played";
}

TEST(Music, WithoutADeviceOrASoundFontOpenFailsAndTheRestDoesNothing)
{
    const ProgramFile file(OrganTrack());
    const ProgramFile wave(SteadyWave(kHigh, 0.01), ".sf2"), broken(BrokenSoundFont(), ".sf2");
    const std::string missing = file.Path() + ".sf2", wavePath = wave.Path(), brokenPath = broken.Path();
    const std::string found = [] {
        ScopedEnv usual("RUVO_SOUNDFONT", nullptr);
        return FindSoundFont();
    }();
    ASSERT_FALSE(found.empty()) << "no General MIDI soundfont in /usr/share/sounds/sf2";
    struct Case {
        const char* driver;
        const char* soundFont;
        bool opens;
    };
    for (const Case& c :
         {Case{"dummy", nullptr, false}, Case{"no-such-driver", nullptr, false}, Case{"disk", missing.c_str(), false},
          Case{"disk", wavePath.c_str(), false}, Case{"disk", brokenPath.c_str(), false}, Case{"disk", "", false},
          Case{"disk", found.c_str(), true}}) {
        SCOPED_TRACE(std::string(c.driver) + " " + (c.soundFont ? c.soundFont : "(usual soundfont)"));
        Recording recording;
        ScopedEnv driver("SDL_AUDIODRIVER", c.driver), soundFont("RUVO_SOUNDFONT", c.soundFont);
        SdlMusicLibrary music;
        EXPECT_EQ(music.KBGMOpen(10, -1) == 0, c.opens);
        std::uint32_t handle = 0xDEAD;
        music.KBGMLoadFile(&handle, file.Name());
        EXPECT_EQ(handle != 0, c.opens);
        music.KBGMPlay(handle, 1);
        music.KBGMPlay(1, 1);
        music.KBGMStop();
        music.KBGMClose();
        music.KBGMStop();
        music.KBGMFree(handle);
        music.KBGMFree(handle);
        music.KBGMClose();
        EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the device was left open";
    }
}

TEST(Music, TheGamesOwnRoutinesShutDownHarmlessly)
{
    const ProgramFile file(OrganTrack());
    Recording recording;
    SdlMusicLibrary music;
    GameRecord record;
    record.host.music = &music;
    OpenMusic(record);
    ASSERT_EQ(record.musicReady, 1);
    LoadMusic(record);
    for (std::size_t i = 0; i < 4; ++i) {
        if (FindDataFile(kMusicFiles[i]).empty()) {
            EXPECT_EQ(record.musicHandles[i], 0u) << kMusicFiles[i];
        }
    }
    // Whatever the build left beside the tests, the round plays our track.
    music.KBGMFree(record.musicHandles[MusicRound]);
    music.KBGMLoadFile(&record.musicHandles[MusicRound], file.Name());
    ASSERT_NE(record.musicHandles[MusicRound], 0u);
    record.musicOn = 1;
    SelectMusic(record, MusicRound);
    WaitForSound(recording);

    CloseMusic(record);
    FreeMusic(record);
    FreeMusic(record);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the device was left open";

    // A closed library opens again, and old handles never name new tracks.
    const auto oldHandles = record.musicHandles;
    OpenMusic(record);
    ASSERT_EQ(record.musicReady, 1);
    std::uint32_t fresh = 0;
    music.KBGMLoadFile(&fresh, file.Name());
    EXPECT_NE(fresh, 0u);
    EXPECT_EQ(std::count(oldHandles.begin(), oldHandles.end(), fresh), 0);
    CloseMusic(record);
    FreeMusic(record);
}

// ---------------------------------------------------------------------------
// Effects and music together

TEST(SharedDevice, EffectsAndMusicShareOneDeviceAndLeaveEachOtherAlone)
{
    const ProgramFile file(OrganTrack()), broken(BrokenSoundFont(), ".sf2");
    const Bytes longEffect = SteadyWave(kHigh, 10.0), shortEffect = SteadyWave(kLow, 0.05);
    Recording recording;
    SdlMusicLibrary music;
    std::uint32_t handle = 0;
    {
        SdlWavePlayer effects;
        effects.Prepare(longEffect.data(), longEffect.size());
        {
            ScopedEnv noSoundFont("RUVO_SOUNDFONT", broken.Path().c_str());
            EXPECT_NE(SdlMusicLibrary().KBGMOpen(10, -1), 0);
            EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 1) << "a failed open closed the effects' device";
        }
        ASSERT_EQ(music.KBGMOpen(10, -1), 0);
        music.KBGMLoadFile(&handle, file.Name());
        ASSERT_NE(handle, 0u);

        effects.Play(longEffect.data(), longEffect.size());
        music.KBGMPlay(handle, 1);
        music.KBGMStop();
        music.KBGMPlay(handle, 1);
        EXPECT_EQ(Mix_Playing(-1), 1) << "the music stopped the effect";
        effects.Play(shortEffect.data(), shortEffect.size());
    }
    // The music went on through the effect, and goes on without the wave player.
    const std::size_t rate = DeviceRate();
    const std::size_t mark = recording.Frames() + rate / 10; // past what was on its way
    recording.WaitForFrames(mark + 3 * rate);
    EXPECT_GE(Onsets(recording.Read(), mark, mark + 3 * rate, rate).size(), 1u);
    music.KBGMClose();
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
}

} // namespace
} // namespace ruvo
