// The music library on SDL2_mixer and FluidSynth, heard through SDL's "disk" driver:
// whatever the device plays lands in a raw file that the tests read back.
// The driver writes a buffer every millisecond, so the stream runs many times
// faster than real time, and every check is made on positions in the stream,
// never on the clock.
#include "platform/desktop/sdl_audio_device.h"
#include "support/audio_listening.h"

namespace ruvo {
namespace {

using namespace audio_testing;

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

TEST(SharedDevice, RestsOnlyWhenNothingSoundsAndWakesForTheNextSoundWhole)
{
    const ProgramFile file(OrganTrack());
    const Bytes longEffect = SteadyWave(kLow, 10.0), shortEffect = SteadyWave(kHigh, 0.3);
    // Each look is an hour after the last: long enough for a rest, were the device quiet.
    auto later = std::chrono::steady_clock::now();
    const auto lookAnHourLater = [&] { RestAudioDeviceWhenQuiet(later += std::chrono::hours(1)); };
    const auto awake = [] { return Mix_QuerySpec(nullptr, nullptr, nullptr) == 1; };
    Recording recording;
    SdlMusicLibrary music;
    SdlWavePlayer effects;
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    std::uint32_t handle = 0;
    music.KBGMLoadFile(&handle, file.Name());
    ASSERT_NE(handle, 0u);
    effects.Prepare(shortEffect.data(), shortEffect.size());

    effects.Play(longEffect.data(), longEffect.size());
    lookAnHourLater();
    EXPECT_TRUE(awake()) << "rested under an effect";
    effects.Play(nullptr, 0);
    music.KBGMPlay(handle, 1);
    lookAnHourLater();
    EXPECT_TRUE(awake()) << "rested under the music";
    music.KBGMStop();
    lookAnHourLater();
    ASSERT_FALSE(awake()) << "no rest in the quiet";
    effects.Play(nullptr, 0); // stopping nothing leaves it resting
    EXPECT_FALSE(awake());

    // The device starts a fresh recording each time it opens.
    effects.Play(shortEffect.data(), shortEffect.size());
    ASSERT_TRUE(awake());
    const std::size_t rate = DeviceRate();
    recording.WaitForFrames(WaitForSound(recording) + rate / 2);
    EXPECT_NEAR(Seconds(CountHeard(recording.Read(), Heard::High), rate), 0.3, 0.002) << "cut after a rest";

    lookAnHourLater();
    ASSERT_FALSE(awake());
    music.KBGMPlay(handle, 1);
    ASSERT_TRUE(awake());
    WaitForSound(recording, 0, kNoteLevel); // the music is mixed in again
    music.KBGMClose();
}

} // namespace
} // namespace ruvo
