// The sound effects on SDL2_mixer, heard through SDL's "disk" driver:
// whatever the device plays lands in a raw file that the tests read back.
// The driver writes a buffer every millisecond, so the stream runs many times
// faster than real time, and every check is made on positions in the stream,
// never on the clock.
#include "support/audio_listening.h"

namespace ruvo {
namespace {

using namespace audio_testing;

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
    // A program change without its status byte, a note number out of range,
    // a tempo event longer than the track.
    for (auto [at, value] : {std::pair{8, 0x40}, std::pair{22, 0xC8}, std::pair{3, 0x7F}}) {
        events = OrganEvents();
        events[at] = static_cast<std::uint8_t>(value);
        EXPECT_FALSE(accepts(MidiFile(0, 1, 480, {events}))) << at;
    }
}

} // namespace
} // namespace ruvo
