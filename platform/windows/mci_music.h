// Our music library on the system's MIDI sequencer (MCI): the four MIDI
// files beside the program, played from their beginning, once or over and
// over. It opens only where a MIDI output device exists and opens; otherwise
// it stays closed, and the game plays without music. The sequencer is driven
// from a thread of its own, since opening a track can take tens of
// milliseconds: a tick that changes the track only hands the change over.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "record/host.h"

namespace ruvo {

// How the library reaches the sequencer: MCI itself, or a test's stand-in.
struct SequencerCalls {
    std::function<bool()> outputOpens;
    // An MCI command string; the notice of a "notify" goes to the window.
    std::function<bool(const std::wstring& command, void* notifyWindow)> send;
    std::function<unsigned(const std::wstring& alias)> deviceId;
};
SequencerCalls SystemSequencer();

class MciMusicLibrary final : public MusicLibrary {
  public:
    explicit MciMusicLibrary(SequencerCalls calls = SystemSequencer());
    ~MciMusicLibrary() override;
    MciMusicLibrary(const MciMusicLibrary&) = delete;
    MciMusicLibrary& operator=(const MciMusicLibrary&) = delete;

    std::int32_t KBGMOpen(std::int32_t voices, std::int32_t device) override;
    std::int32_t KBGMLoadFile(std::uint32_t* handle, const char* fileName) override;
    // Hands the track to the sequencer's thread and returns at once.
    std::int32_t KBGMPlay(std::uint32_t handle, std::int32_t repeat) override;
    std::int32_t KBGMStop() override;
    std::int32_t KBGMFree(std::uint32_t handle) override;
    // Waits for the sequencer's thread to close the sequencer and end.
    std::int32_t KBGMClose() override;

  private:
    struct Player;
    SequencerCalls calls_;
    std::unique_ptr<Player> player_;
    std::map<std::uint32_t, std::wstring> tracks_;
    std::uint32_t nextHandle_ = 1;
};

// The folder the program lies in, with a trailing backslash.
std::wstring ProgramFolder();

} // namespace ruvo
