// The sound effects and the music library on SDL2_mixer and FluidSynth, heard
// through SDL's "disk" driver: whatever the device plays lands in a raw file
// that the tests read back. The driver writes a buffer every millisecond, so
// the stream runs many times faster than real time, and every check is made
// on positions in the stream, never on the clock.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/desktop/sdl_audio.h"
#include "platform/desktop/sdl_audio_device.h"
#include "platform/desktop/sdl_sound_files.h"
#include "resources/embedded.h"

namespace ruvo {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using Samples = std::vector<std::int16_t>; // interleaved left, right

// Sets (or, given null, unsets) a variable for as long as it lives.
struct ScopedEnv {
    ScopedEnv(const char* variable, const char* value)
        : name(variable), old(qEnvironmentVariableIsSet(variable), qgetenv(variable))
    {
        value != nullptr ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnv() { old.first ? setenv(name, old.second.constData(), 1) : unsetenv(name); }
    const char* name;
    std::pair<bool, QByteArray> old;
};

// A generous limit on every wait only keeps a broken build from hanging.
constexpr int kPatience = 20000;

// Everything a device opened from now on plays.
class Recording {
  public:
    std::size_t Frames() const { return static_cast<std::size_t>(QFileInfo(path_).size()) / 4; }
    // The stream from frame `from` on.
    Samples Read(std::size_t from = 0) const
    {
        std::ifstream file(path_.toStdString(), std::ios::binary);
        file.seekg(static_cast<std::streamoff>(from * 4));
        Samples samples(Frames() > from ? (Frames() - from) * 2 : 0);
        file.read(reinterpret_cast<char*>(samples.data()), static_cast<std::streamsize>(samples.size() * 2));
        samples.resize(static_cast<std::size_t>(file.gcount()) / 2);
        return samples;
    }
    void WaitForFrames(std::size_t frames) const
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return Frames() >= frames; }, kPatience))
            << "the stream stopped at " << Frames();
    }

  private:
    QTemporaryDir dir_;
    QString path_ = dir_.filePath("played.raw");
    ScopedEnv driver_{"SDL_AUDIODRIVER", "disk"};
    ScopedEnv file_{"SDL_DISKAUDIOFILE", path_.toLocal8Bit().constData()};
    ScopedEnv delay_{"SDL_DISKAUDIODELAY", "1"};
};

bool DeviceOpen()
{
    return Mix_QuerySpec(nullptr, nullptr, nullptr) == 1;
}

double Seconds(std::size_t frames, std::size_t rate)
{
    return static_cast<double>(frames) / static_cast<double>(rate);
}

// FluidSynth dithers, so a playing synthesiser is never quite silent:
// listening for notes takes a threshold.
constexpr int kNoteLevel = 1000;

std::optional<std::size_t> FirstSound(const Samples& samples, int threshold = 0)
{
    const auto loud =
        std::find_if(samples.begin(), samples.end(), [&](int sample) { return std::abs(sample) > threshold; });
    return loud == samples.end() ? std::nullopt : std::optional(static_cast<std::size_t>(loud - samples.begin()) / 2);
}

// Under the device's lock the mixing thread waits, so the stream stands
// still while `where` looks at the frame it has reached, and `act` runs
// there when it holds: what it does is heard from that frame on, give or take
// the one buffer mixed before the lock and not yet written. Returns the frame.
template <class Where, class Act> std::size_t AtAFrameWhere(const Recording& recording, Where where, Act act)
{
    std::size_t frame = 0;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            SDL_AudioDeviceID device = 1; // the open device is the one that plays
            while (device < 32 && SDL_GetAudioDeviceStatus(device) != SDL_AUDIO_PLAYING)
                ++device;
            SDL_LockAudioDevice(device);
            const bool acts = where(frame = recording.Frames());
            if (acts)
                act();
            SDL_UnlockAudioDevice(device);
            return acts;
        },
        kPatience))
        << "the stream never stood where it was waited for";
    return frame;
}

std::size_t WaitForSound(const Recording& recording, std::size_t from = 0, int threshold = 0)
{
    std::optional<std::size_t> heard;
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return (heard = FirstSound(recording.Read(from), threshold)).has_value(); }, kPatience))
        << "nothing was heard";
    return from + heard.value_or(0);
}

// A number of `bytes` bytes, little-endian as in RIFF or big-endian as in MIDI.
void Put(Bytes& out, std::uint32_t value, int bytes, bool bigEndian = false)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> 8 * (bigEndian ? bytes - 1 - i : i)));
}
void PutTag(Bytes& out, std::string_view tag)
{
    out.insert(out.end(), tag.begin(), tag.end());
}

// One level held for a while, 8-bit mono at 11025 Hz like the game's own
// effects: in the recording it is a flat line at offset * 256.
Bytes SteadyWave(int offset, double seconds)
{
    const auto frames = static_cast<std::uint32_t>(seconds * 11025);
    Bytes image;
    PutTag(image, "RIFF");
    Put(image, 36 + frames, 4);
    PutTag(image, "WAVEfmt ");
    for (const auto& [value, bytes] : {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {11025u, 4}, {11025u, 4}, {1u, 2}, {8u, 2}})
        Put(image, value, bytes); // PCM, mono, 11025 frames and bytes a second, 8 bits
    PutTag(image, "data");
    Put(image, frames, 4);
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
    return std::abs(left - kLow * 256) < 2500 ? Heard::Low : Heard::Other;
}
double SecondsHeard(const Samples& samples, Heard what, std::size_t rate)
{
    std::size_t count = 0;
    for (std::size_t frame = 0; frame < samples.size() / 2; ++frame)
        count += Classify(samples, frame) == what;
    return Seconds(count, rate);
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
// A MIDI file of these chunks, whatever its header says; by default the
// organ track alone.
Bytes MidiFile(std::uint16_t format = 0, std::uint16_t tracks = 1, std::uint16_t division = 480,
               const std::vector<Bytes>& chunks = {OrganEvents()})
{
    Bytes file;
    PutTag(file, "MThd");
    for (const auto& [value, bytes] : {std::pair{6u, 4}, {format, 2}, {tracks, 2}, {division, 2}})
        Put(file, value, bytes, true);
    for (const Bytes& events : chunks) {
        PutTag(file, "MTrk");
        Put(file, static_cast<std::uint32_t>(events.size()), 4, true);
        file.insert(file.end(), events.begin(), events.end());
    }
    return file;
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
        path_ = fs::read_symlink("/proc/self/exe").parent_path() / name_;
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

// ---------------------------------------------------------------------------
// Checks on the files

// A whole file passes; no cut of it, no null pointer and none of the damaged
// copies does.
TEST(SoundFiles, WaveImagesMustBeWholePlainPcmAndMidiFilesReadCleanlyToTheEndOfEveryTrack)
{
    const auto expectOnlyWhole = [](auto check, const std::uint8_t* data, std::size_t size, const auto& damaged) {
        EXPECT_TRUE(check(data, size));
        EXPECT_FALSE(check(nullptr, size));
        std::size_t acceptedCut = 0;
        for (std::size_t cut = 0; cut < size; ++cut)
            acceptedCut += check(data, cut);
        EXPECT_EQ(acceptedCut, 0u);
        for (const Bytes& bytes : damaged)
            EXPECT_FALSE(check(bytes.data(), bytes.size())) << &bytes - damaged.data();
    };
    const auto changed = [](Bytes bytes, int at, int value) {
        bytes[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
        return bytes;
    };
    for (std::uint32_t id = 601; id <= 606; ++id) {
        const ResourceData effect = EmbeddedResources().Find("WAVE", id);
        SCOPED_TRACE(id);
        expectOnlyWhole(IsCompleteWaveImage, effect.data, effect.size, std::vector<Bytes>{});
    }
    // Not RIFF, not WAVE, no fmt chunk before the data, compressed, three
    // channels, 24-bit samples, samples past the end, the RIFF ending inside
    // the fmt chunk.
    const Bytes wave = SteadyWave(kHigh, 0.01);
    std::vector<Bytes> damaged;
    for (const auto& [at, value] :
         {std::pair{3, 'X'}, {8, 'X'}, {12, 'X'}, {20, 2}, {22, 3}, {34, 24}, {41, 1}, {4, 20}})
        damaged.push_back(changed(wave, at, value));
    expectOnlyWhole(IsCompleteWaveImage, wave.data(), wave.size(), damaged);

    // A track missing, two in format 0, format 2, SMPTE time, no end-of-track;
    // a program change without its status byte, a note number out of range, a
    // tempo event longer than the track.
    Bytes unended = OrganEvents();
    unended.resize(unended.size() - 3);
    const std::vector<Bytes> two = {OrganEvents(), OrganEvents()};
    damaged = {MidiFile(1, 2), MidiFile(0, 2, 480, two), MidiFile(2), MidiFile(0, 1, 0xE728),
               MidiFile(0, 1, 480, {unended})};
    for (const auto& [at, value] : {std::pair{8, 0x40}, {22, 0xC8}, {3, 0x7F}})
        damaged.push_back(MidiFile(0, 1, 480, {changed(OrganEvents(), at, value)}));
    const Bytes track = MidiFile(), twoTracks = MidiFile(1, 2, 480, two);
    expectOnlyWhole(IsCompleteMidiFile, track.data(), track.size(), damaged);
    EXPECT_TRUE(IsCompleteMidiFile(twoTracks.data(), twoTracks.size()));
}

// ---------------------------------------------------------------------------
// Effects and music, heard

// Nothing sounds without a device or a soundfont; then the effects, the music,
// and both on the device they share.
TEST(EffectsAndMusic, DoNothingWithoutADevicePlayAsToldWhatCannotBePlayedIsSilentAndShareADeviceThatRestsInTheQuiet)
{
    {
        ScopedEnv usual("RUVO_SOUNDFONT", nullptr);
        ASSERT_FALSE(FindSoundFont().empty()) << "no General MIDI soundfont in /usr/share/sounds/sf2";
    }
    // The disk driver plays a minute in a few seconds: the first effect must
    // outlast a loaded machine's pauses until the second is played.
    const Bytes first = SteadyWave(kHigh, 60.0), second = SteadyWave(kLow, 0.3);
    // The broken soundfont has the RIFF header, but FluidSynth turns it down.
    Bytes brokenFont = {'R', 'I', 'F', 'F', 200, 0, 0, 0, 's', 'f', 'b', 'k'};
    brokenFont.resize(208, 0x33);
    const ProgramFile file(MidiFile()), noise(Bytes(300, 0x4D)), broken(brokenFont, ".sf2");
    const auto load = [](SdlMusicLibrary& music, const char* name) {
        std::uint32_t handle = 0xDEAD;
        music.KBGMLoadFile(&handle, name);
        return handle;
    };

    // Without a device, or a soundfont, open fails and the rest does nothing.
    const std::string missing = file.Path() + ".sf2", brokenPath = broken.Path();
    for (const auto& [driver, soundFont] : {std::pair{"dummy", static_cast<const char*>(nullptr)},
                                            {"no-such-driver", nullptr},
                                            {"disk", missing.c_str()},
                                            {"disk", brokenPath.c_str()},
                                            {"disk", ""}}) {
        SCOPED_TRACE(std::string(driver) + " " + (soundFont ? soundFont : "(usual soundfont)"));
        Recording recording;
        ScopedEnv driverEnv("SDL_AUDIODRIVER", driver), soundFontEnv("RUVO_SOUNDFONT", soundFont);
        if (soundFont == nullptr) { // no device: the effects play nothing either
            SdlWavePlayer effects;
            effects.Prepare(second.data(), second.size());
            effects.Play(second.data(), second.size());
            effects.Play(nullptr, 0);
            EXPECT_FALSE(DeviceOpen());
        }
        SdlMusicLibrary music;
        EXPECT_NE(music.KBGMOpen(10, -1), 0);
        EXPECT_EQ(load(music, file.Name()), 0u);
        music.KBGMPlay(0, 1);
        music.KBGMPlay(1, 1);
        music.KBGMStop();
        music.KBGMClose();
        music.KBGMFree(1);
        music.KBGMClose();
        EXPECT_FALSE(DeviceOpen()) << "the device was left open";
    }

    Bytes compressed = first;
    compressed[20] = 2; // ADPCM
    Recording recording;
    std::size_t rate = 0, cut = 0;
    // Which images are whole is the file check's to say (above); here the
    // player keeps quiet on what it turns down, and plays the same bytes whole
    // after a cut of them was turned down. The long effect is prepared, the
    // short one decoded on the spot; it cuts the long one short with no gap,
    // plays whole, and leaves silence behind it.
    {
        SdlWavePlayer player;
        player.Prepare(first.data(), first.size());
        player.Prepare(compressed.data(), compressed.size());
        // The open device's frame rate; the recording is read as 16-bit stereo.
        int deviceRate = 0, channels = 0;
        Uint16 format = 0;
        ASSERT_EQ(Mix_QuerySpec(&deviceRate, &format, &channels), 1) << "no audio device is open";
        EXPECT_TRUE(format == AUDIO_S16SYS && channels == 2) << format << " " << channels;
        rate = static_cast<std::size_t>(deviceRate);
        for (const auto& [image, size] : {std::pair{first.data(), first.size() / 2},
                                          {nullptr, first.size()},
                                          {compressed.data(), compressed.size()}}) {
            const std::size_t mark = recording.Frames();
            player.Play(image, size);
            recording.WaitForFrames(mark + rate / 10);
        }
        ASSERT_FALSE(FirstSound(recording.Read())) << "an unplayable image sounded";
        player.Play(first.data(), first.size());
        cut = AtAFrameWhere(
            recording, [&](std::size_t) { return FirstSound(recording.Read()).has_value(); },
            [&] { player.Play(second.data(), second.size()); });
        recording.WaitForFrames(recording.Frames() + rate);
    }
    const Samples samples = recording.Read();
    const std::size_t frames = samples.size() / 2;
    std::size_t lastHigh = 0, firstLow = frames, lastLow = 0;
    for (std::size_t frame = 0; frame < frames; ++frame) {
        const Heard heard = Classify(samples, frame);
        lastHigh = heard == Heard::High ? frame : lastHigh;
        if (heard == Heard::Low)
            firstLow = std::min(firstLow, lastLow = frame);
    }
    EXPECT_LT(lastHigh, cut + rate / 20) << "the first effect was not cut short";
    ASSERT_LT(lastHigh, firstLow) << "the first effect went on under the second";
    EXPECT_LT(firstLow - lastHigh, 16u) << "a gap between the two";
    EXPECT_NEAR(Seconds(lastLow + 1 - firstLow, rate), 0.3, 0.003) << "the second plays whole";
    EXPECT_NEAR(SecondsHeard(samples, Heard::Low, rate), 0.3, 0.003);
    ASSERT_GT(frames, lastLow + 16 + rate / 10);
    for (std::size_t frame = lastLow + 16; frame < frames; ++frame)
        ASSERT_EQ(Classify(samples, frame), Heard::Silence) << "sound after the second effect, at " << frame;

    // The music: where files are looked for, what comes of a bad one, and how
    // a track plays (what a whole file is, is the file check's).
    SdlMusicLibrary music;
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    const std::string elsewhere = "../bin/" + std::string(file.Name()); // only bare names are looked up
    for (const char* bad : {"NO_SUCH.MID", static_cast<const char*>(nullptr), noise.Name(), elsewhere.c_str()})
        EXPECT_EQ(load(music, bad), 0u) << (bad ? bad : "(null)");
    EXPECT_EQ(music.KBGMLoadFile(nullptr, file.Name()), 1);
    const std::uint32_t handle = load(music, file.Name()), other = load(music, file.Name());
    ASSERT_NE(handle, 0u);
    EXPECT_TRUE(other != 0 && other != handle);
    const auto pass = static_cast<std::size_t>(kPassSeconds * static_cast<double>(rate));

    // Each check starts at the first note of a play, made where `where` finds
    // the stream; it looks from a little before it.
    const auto playFrom = [&](std::int32_t repeat, auto where) {
        return WaitForSound(recording, AtAFrameWhere(recording, where, [&] { music.KBGMPlay(handle, repeat); }),
                            kNoteLevel);
    };
    const auto anywhere = [&](std::size_t at) { return at > rate / 20; }; // with room to look back
    // Where notes start in [note - 50 ms, note + length): a frame above the
    // note level after 20 ms below it. A note already sounding at the start
    // is not counted.
    const auto onsetsFrom = [&](std::size_t note, std::size_t length) {
        recording.WaitForFrames(note + length);
        const Samples played = recording.Read();
        std::vector<std::size_t> onsets;
        std::size_t quiet = 0;
        for (std::size_t frame = note - rate / 20; frame < std::min(note + length, played.size() / 2); ++frame) {
            const bool loud = std::max(std::abs(played[2 * frame]), std::abs(played[2 * frame + 1])) > kNoteLevel;
            if (loud && quiet >= rate / 50)
                onsets.push_back(frame);
            quiet = loud ? 0 : quiet + 1;
        }
        return onsets;
    };
    EXPECT_EQ(onsetsFrom(playFrom(0, anywhere), pass * 17 / 10).size(), 1u) << "played once";

    const std::vector<std::size_t> passes = onsetsFrom(playFrom(1, anywhere), pass * 23 / 10);
    ASSERT_EQ(passes.size(), 3u) << "played over and over";
    EXPECT_NEAR(Seconds(passes[2] - passes[1], rate), kPassSeconds, 0.02);

    // Played again in the quiet middle of a pass, the track starts over
    // instead of going on to its next note: the new start is off the old
    // beat. No track, or another one freed, changes nothing.
    const std::size_t restart = playFrom(1, [&](std::size_t at) {
        const std::size_t phase = (at - passes[2]) % pass;
        return phase >= pass * 3 / 10 && phase <= pass * 6 / 10;
    });
    music.KBGMPlay(0, 0);
    music.KBGMPlay(other + 1, 0);
    music.KBGMFree(other);
    const std::size_t offBeat = (restart - passes[0]) % pass;
    EXPECT_NEAR(Seconds(offBeat, rate), kPassSeconds / 2, kPassSeconds * 0.4) << "the track went on, not starting over";
    EXPECT_EQ(onsetsFrom(restart, pass * 13 / 10).size(), 2u) << "the new start repeats too";

    // Freed, the track falls silent, and is harmless to free or play again.
    const auto silentFromNow = [&] {
        const std::size_t mark = recording.Frames() + rate / 10; // past what was on its way
        recording.WaitForFrames(mark + pass * 3 / 2);
        return !FirstSound(recording.Read(mark));
    };
    music.KBGMFree(handle);
    EXPECT_TRUE(silentFromNow()) << "a freed track plays on";
    music.KBGMFree(handle);
    music.KBGMFree(0);
    music.KBGMPlay(handle, 1);
    EXPECT_TRUE(silentFromNow()) << "a freed track played";
    music.KBGMClose();
    EXPECT_FALSE(DeviceOpen()) << "the device was left open";

    // Effects and music on one device: neither stops the other, a failed open
    // of the music leaves the effects' device alone, and the device rests only
    // when nothing sounds and wakes for the next sound whole; opened with
    // nothing to play, it rests at once.
    // The disk driver plays a minute in a few seconds: the long effect must
    // outlast a loaded machine's pauses between its start and the checks.
    const Bytes longEffect = SteadyWave(kLow, 60.0), shortEffect = SteadyWave(kHigh, 0.3);
    // Each look is an hour after the last: long enough for a rest, were the
    // device quiet. Gives whether the device stays open.
    auto later = std::chrono::steady_clock::now();
    const auto openAnHourLater = [&] {
        RestAudioDeviceWhenQuiet(later += std::chrono::hours(1));
        return DeviceOpen();
    };
    std::optional<SdlWavePlayer> effects(std::in_place);
    effects->Prepare(shortEffect.data(), shortEffect.size());
    {
        ScopedEnv noSoundFont("RUVO_SOUNDFONT", broken.Path().c_str());
        EXPECT_NE(SdlMusicLibrary().KBGMOpen(10, -1), 0);
        EXPECT_TRUE(DeviceOpen()) << "a failed open closed the effects' device";
    }
    // Closed and opened again, the library never hands out an old handle.
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    const std::uint32_t fresh = load(music, file.Name());
    ASSERT_NE(fresh, 0u);
    EXPECT_TRUE(fresh != handle && fresh != other);

    effects->Play(longEffect.data(), longEffect.size());
    music.KBGMPlay(fresh, 1);
    music.KBGMStop();
    EXPECT_EQ(Mix_Playing(-1), 1) << "the music stopped the effect";
    EXPECT_TRUE(openAnHourLater()) << "rested under an effect";
    effects->Play(nullptr, 0);
    music.KBGMPlay(fresh, 1);
    EXPECT_TRUE(openAnHourLater()) << "rested under the music";
    music.KBGMStop();
    ASSERT_FALSE(openAnHourLater()) << "no rest in the quiet";
    effects->Play(nullptr, 0); // stopping nothing leaves it resting
    EXPECT_FALSE(DeviceOpen());

    // The device starts a fresh recording each time it opens.
    effects->Play(shortEffect.data(), shortEffect.size());
    ASSERT_TRUE(DeviceOpen());
    recording.WaitForFrames(WaitForSound(recording) + rate / 2);
    EXPECT_NEAR(SecondsHeard(recording.Read(), Heard::High, rate), 0.3, 0.002) << "cut after a rest";

    // The music wakes it too, and goes on without the wave player.
    ASSERT_FALSE(openAnHourLater());
    music.KBGMPlay(fresh, 1);
    ASSERT_TRUE(DeviceOpen());
    effects.reset();
    WaitForSound(recording, recording.Frames() + rate / 10, kNoteLevel);
    music.KBGMClose();
    EXPECT_FALSE(DeviceOpen());

    // Opened only to decode, as at the game's start, it rests at the first
    // look; once something has sounded, only after the quiet time.
    SdlWavePlayer decoder;
    decoder.Prepare(shortEffect.data(), shortEffect.size());
    ASSERT_TRUE(DeviceOpen());
    RestAudioDeviceWhenQuiet();
    EXPECT_FALSE(DeviceOpen()) << "kept awake with nothing to play";
    decoder.Play(shortEffect.data(), shortEffect.size());
    decoder.Play(nullptr, 0);
    RestAudioDeviceWhenQuiet();
    EXPECT_TRUE(DeviceOpen()) << "rested straight after a sound";
}

} // namespace
} // namespace ruvo
