// The music on the sequencer's own thread, against a stand-in sequencer:
// a tick that changes the track returns while the sequencer is still busy
// opening the last one, the requests reach it in order, and a repeating
// track starts again when the sequencer reports its end (only its own).
// SPDX-License-Identifier: MIT
#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "platform/windows/mci_music.h"

namespace ruvo {
namespace {

constexpr unsigned kDevice = 7;

class StandInSequencer {
  public:
    StandInSequencer()
        : opening_(CreateEventW(nullptr, TRUE, FALSE, nullptr)), gate_(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~StandInSequencer()
    {
        SetEvent(gate_);
        CloseHandle(opening_);
        CloseHandle(gate_);
    }

    SequencerCalls Calls()
    {
        return {[] { return true; },
                [this](const std::wstring& command, void* notify) {
                    if (command.rfind(L"open", 0) == 0) {
                        SetEvent(opening_);
                        // As slow as the test wants; a game that waited for it would go on after half a minute.
                        WaitForSingleObject(gate_, 30'000);
                    }
                    std::lock_guard<std::mutex> guard(lock_);
                    // The track's file name, or the command alone.
                    const std::size_t slash = command.find_last_of(L'\\');
                    commands_.push_back(command.substr(0, command.find(L' ')) +
                                        (slash == std::wstring::npos ? L"" : L" " + command.substr(slash + 1, 12)));
                    if (notify != nullptr && notices_ > 0) {
                        --notices_;
                        PostMessageW(static_cast<HWND>(notify), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, noticeDevice_);
                    }
                    return true;
                },
                [](const std::wstring&) { return kDevice; }};
    }

    bool Opening() { return WaitForSingleObject(opening_, 60'000) == WAIT_OBJECT_0; }
    void Release() { SetEvent(gate_); }
    void NoticeAfterPlays(int count, unsigned device)
    {
        std::lock_guard<std::mutex> guard(lock_);
        notices_ = count;
        noticeDevice_ = device;
    }
    std::vector<std::wstring> Commands()
    {
        std::lock_guard<std::mutex> guard(lock_);
        return commands_;
    }
    // Waits until the sequencer has been sent count commands.
    std::vector<std::wstring> AwaitCommands(std::size_t count)
    {
        for (int wait = 0; wait < 600 && Commands().size() < count; ++wait)
            Sleep(100);
        return Commands();
    }

  private:
    HANDLE opening_;
    HANDLE gate_;
    std::mutex lock_;
    std::vector<std::wstring> commands_;
    int notices_ = 0;
    unsigned noticeDevice_ = 0;
};

TEST(MciMusic, ATrackChangeReturnsWhileTheSequencerIsBusyAndArrivesInOrder)
{
    StandInSequencer sequencer;
    MciMusicLibrary music(sequencer.Calls());
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    std::uint32_t title = 0, boss = 0;
    ASSERT_EQ(music.KBGMLoadFile(&title, "A_013GMW.MID"), 0);
    ASSERT_EQ(music.KBGMLoadFile(&boss, "A_114GMW.MID"), 0);
    EXPECT_NE(music.KBGMLoadFile(&boss, "..\\A_114GMW.MID"), 0);

    EXPECT_EQ(music.KBGMPlay(title, 1), 0);
    ASSERT_TRUE(sequencer.Opening());
    // The sequencer is held inside "open": the game's calls do not wait for it.
    EXPECT_EQ(music.KBGMStop(), 0);
    EXPECT_EQ(music.KBGMPlay(boss, 0), 0);
    EXPECT_TRUE(sequencer.Commands().empty());
    sequencer.Release();
    EXPECT_EQ(sequencer.AwaitCommands(5),
              (std::vector<std::wstring>{L"open A_013GMW.MID", L"play", L"close", L"open A_114GMW.MID", L"play"}));
}

TEST(MciMusic, ARepeatingTrackStartsAgainAtItsOwnEndOnly)
{
    StandInSequencer sequencer;
    sequencer.Release();
    MciMusicLibrary music(sequencer.Calls());
    ASSERT_EQ(music.KBGMOpen(10, -1), 0);
    std::uint32_t track = 0;
    ASSERT_EQ(music.KBGMLoadFile(&track, "A_002GMW.MID"), 0);
    sequencer.NoticeAfterPlays(2, kDevice);
    music.KBGMPlay(track, 1);
    EXPECT_EQ(sequencer.AwaitCommands(4).size(), 4u) << "open, play and two plays again";
    // The end of a device no longer ours (a track closed since) starts nothing.
    sequencer.NoticeAfterPlays(1, kDevice + 1);
    music.KBGMPlay(track, 1);
    music.KBGMClose();
    EXPECT_EQ(sequencer.Commands(), (std::vector<std::wstring>{L"open A_002GMW.MID", L"play", L"play", L"play",
                                                               L"close", L"open A_002GMW.MID", L"play", L"close"}));
}

} // namespace
} // namespace ruvo
