// The wave player and the music library on SDL2_mixer.
// SPDX-License-Identifier: MIT
#include "platform/desktop/sdl_audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/desktop/data_path.h"
#include "platform/desktop/sdl_audio_device.h"
#include "platform/desktop/sdl_midi_synth.h"
#include "platform/desktop/sdl_sound_files.h"

namespace ruvo {

// ---------------------------------------------------------------------------
// Sound effects

struct SdlWavePlayer::State {
    enum class Device { Untried, Open, Missing };
    Device device = Device::Untried;

    struct Decoded {
        std::size_t size = 0;
        Mix_Chunk* chunk = nullptr; // null: the image can't be played
    };
    // The game keeps its six images in place for its whole run, so the
    // address names an image.
    std::map<const std::uint8_t*, Decoded> decoded;

    // Opening a device can take a while; a machine without one is asked once.
    bool HasDevice()
    {
        if (device == Device::Untried)
            device = AcquireAudioDevice() ? Device::Open : Device::Missing;
        return device == Device::Open;
    }

    // The sound of an image, decoded the first time it is asked for.
    Mix_Chunk* Chunk(const std::uint8_t* image, std::size_t size)
    {
        auto [found, fresh] = decoded.try_emplace(image);
        Decoded& entry = found->second;
        if (!fresh && entry.size == size)
            return entry.chunk;
        if (entry.chunk != nullptr)
            Mix_FreeChunk(entry.chunk);
        entry.size = size;
        entry.chunk = nullptr;
        if (size <= INT_MAX && IsCompleteWaveImage(image, size))
            entry.chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(image, static_cast<int>(size)), 1);
        return entry.chunk;
    }
};

SdlWavePlayer::SdlWavePlayer() : state_(std::make_unique<State>()) {}

SdlWavePlayer::~SdlWavePlayer()
{
    if (state_->device != State::Device::Open)
        return;
    if (AudioDeviceAwake())
        Mix_HaltChannel(kEffectChannel);
    for (auto& [image, entry] : state_->decoded)
        if (entry.chunk != nullptr)
            Mix_FreeChunk(entry.chunk);
    ReleaseAudioDevice();
}

void SdlWavePlayer::Prepare(const std::uint8_t* image, std::size_t size)
{
    // Decoding converts to the device's format, so it needs the device awake.
    if (image != nullptr && state_->HasDevice() && WakeAudioDeviceToDecode())
        state_->Chunk(image, size);
}

void SdlWavePlayer::Play(const std::uint8_t* image, std::size_t size)
{
    if (!state_->HasDevice())
        return;
    // No image stops the sound, which a resting device has done already.
    if (image == nullptr ? !AudioDeviceAwake() : !WakeAudioDevice())
        return;
    // Like the system's wave player, a new sound cuts off the old one, even
    // when the new one turns out to be unplayable (no image at all stops the
    // sound too). Playing on the busy channel swaps the sounds in one step,
    // with no gap between them.
    if (Mix_Chunk* chunk = image != nullptr ? state_->Chunk(image, size) : nullptr)
        Mix_PlayChannel(kEffectChannel, chunk, 0);
    else
        Mix_HaltChannel(kEffectChannel);
}

// ---------------------------------------------------------------------------
// Music

namespace {

constexpr std::int32_t kDone = 0;
constexpr std::int32_t kFailed = 1;

// Our tracks are a few kilobytes; anything far larger is not one of them.
constexpr std::uintmax_t kLargestTrack = 4 << 20;

std::vector<std::uint8_t> ReadTrackFile(const std::string& path)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kLargestTrack)
        return {};
    std::vector<std::uint8_t> bytes(size);
    std::ifstream file(path, std::ios::binary);
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return {};
    return bytes;
}

} // namespace

struct SdlMusicLibrary::State {
    bool open = false;
    // The synthesiser and its soundfont (some 16 MB of samples) are loaded
    // when the music first plays, so that a game with the music off never
    // holds them.
    std::string soundFont;
    enum class Synth { Unloaded, Loaded, Failed } synthState = Synth::Unloaded;
    MidiSynth synth;
    // Handles count up for the life of the program, so that one left over
    // from before a close never names a track loaded after it.
    std::uint32_t lastHandle = 0;
    std::uint32_t playing = 0;
    std::map<std::uint32_t, std::vector<std::uint8_t>> tracks;

    void Stop()
    {
        synth.Stop();
        playing = 0;
    }

    void Close()
    {
        if (!open)
            return;
        synth.Close();
        synthState = Synth::Unloaded;
        tracks.clear();
        playing = 0;
        ReleaseAudioDevice();
        open = false;
    }
};

SdlMusicLibrary::SdlMusicLibrary() : state_(std::make_unique<State>()) {}

SdlMusicLibrary::~SdlMusicLibrary()
{
    state_->Close();
}

// The two arguments (voices, device) matter to a hardware synthesiser; ours
// plays as many voices as a track asks for, on the shared audio device.
std::int32_t SdlMusicLibrary::KBGMOpen(std::int32_t, std::int32_t)
{
    if (state_->open)
        return kDone;
    std::string soundFont = FindSoundFont();
    if (soundFont.empty() || !AcquireAudioDevice())
        return kFailed;
    state_->soundFont = std::move(soundFont);
    state_->open = true;
    return kDone;
}

// Loading reads and checks the file; the synthesiser takes it from memory
// each time the track starts.
std::int32_t SdlMusicLibrary::KBGMLoadFile(std::uint32_t* handle, const char* fileName)
{
    if (handle == nullptr)
        return kFailed;
    *handle = 0;
    if (!state_->open || fileName == nullptr)
        return kFailed;
    const std::string path = FindDataFile(fileName);
    if (path.empty())
        return kFailed;
    std::vector<std::uint8_t> bytes = ReadTrackFile(path);
    if (!IsCompleteMidiFile(bytes.data(), bytes.size()))
        return kFailed;
    *handle = ++state_->lastHandle;
    state_->tracks[*handle] = std::move(bytes);
    return kDone;
}

std::int32_t SdlMusicLibrary::KBGMPlay(std::uint32_t handle, std::int32_t repeat)
{
    const auto track = state_->tracks.find(handle);
    if (!state_->open || track == state_->tracks.end())
        return kFailed;
    WakeAudioDevice();
    using Synth = State::Synth;
    if (state_->synthState == Synth::Unloaded)
        state_->synthState = state_->synth.Open(state_->soundFont) ? Synth::Loaded : Synth::Failed;
    // A soundfont that looked whole but does not load leaves the game silent.
    if (state_->synthState != Synth::Loaded)
        return kFailed;
    state_->synth.Play(track->second, repeat != 0);
    state_->playing = handle;
    return kDone;
}

std::int32_t SdlMusicLibrary::KBGMStop()
{
    if (state_->open)
        state_->Stop();
    return kDone;
}

std::int32_t SdlMusicLibrary::KBGMFree(std::uint32_t handle)
{
    if (state_->tracks.erase(handle) == 0)
        return kFailed;
    if (handle == state_->playing)
        state_->Stop();
    return kDone;
}

// Closing frees the tracks too: they belong to the device that goes. The
// game's later KBGMFree calls then find nothing left to do.
std::int32_t SdlMusicLibrary::KBGMClose()
{
    if (!state_->open)
        return kFailed;
    state_->Close();
    return kDone;
}

} // namespace ruvo
