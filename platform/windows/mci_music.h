// Our music library on the system's MIDI sequencer (MCI): the four MIDI
// files beside the program, played from their beginning, once or over and
// over. It opens only where a MIDI output device exists and opens; otherwise
// it stays closed, and the game plays without music.
#pragma once

#include <map>
#include <string>

#include "record/host.h"

namespace ruvo {

class MciMusicLibrary final : public MusicLibrary {
  public:
    MciMusicLibrary() = default;
    ~MciMusicLibrary() override;
    MciMusicLibrary(const MciMusicLibrary&) = delete;
    MciMusicLibrary& operator=(const MciMusicLibrary&) = delete;

    std::int32_t KBGMOpen(std::int32_t voices, std::int32_t device) override;
    std::int32_t KBGMLoadFile(std::uint32_t* handle, const char* fileName) override;
    std::int32_t KBGMPlay(std::uint32_t handle, std::int32_t repeat) override;
    std::int32_t KBGMStop() override;
    std::int32_t KBGMFree(std::uint32_t handle) override;
    std::int32_t KBGMClose() override;

    // The sequencer has reached the end of the track (or was stopped).
    void TrackEnded(bool completed, unsigned deviceId);

  private:
    void* notifyWindow_ = nullptr; // receives the sequencer's notices
    std::map<std::uint32_t, std::wstring> tracks_;
    std::uint32_t nextHandle_ = 1;
    unsigned playingDevice_ = 0; // 0: nothing open
    bool repeat_ = false;
};

// The folder the program lies in, with a trailing backslash.
std::wstring ProgramFolder();

} // namespace ruvo
