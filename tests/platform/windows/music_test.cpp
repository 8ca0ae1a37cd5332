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
using Commands = std::vector<std::wstring>;

// Keeps the commands it is sent ("open" with the track's file name), is held
// inside "open" until Release, and reports the end of notices plays of device.
class StandInSequencer {
  public:
    ~StandInSequencer()
    {
        Release();
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
                    const std::size_t slash = command.find_last_of(L'\\');
                    commands_.push_back(command.substr(0, command.find(L' ')) +
                                        (slash == std::wstring::npos ? L"" : L" " + command.substr(slash + 1, 12)));
                    if (notify != nullptr && notices_ > 0 && notices_--)
                        PostMessageW(static_cast<HWND>(notify), MM_MCINOTIFY, MCI_NOTIFY_SUCCESSFUL, device_);
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
        device_ = device;
    }
    // The commands sent so far, once there are count of them (or after a minute).
    Commands Sent(std::size_t count = 0)
    {
        for (int wait = 0;; ++wait) {
            {
                std::lock_guard<std::mutex> guard(lock_);
                if (commands_.size() >= count || wait == 600)
                    return commands_;
            }
            Sleep(100);
        }
    }

  private:
    HANDLE opening_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE gate_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::mutex lock_;
    Commands commands_;
    int notices_ = 0;
    unsigned device_ = 0;
};

TEST(MciMusic, TrackChangesReturnWhileTheSequencerIsBusyArriveInOrderAndRepeatAtTheirOwnEndOnly)
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
    EXPECT_TRUE(sequencer.Sent().empty());
    sequencer.Release();
    const Commands changes{L"open A_013GMW.MID", L"play", L"close", L"open A_114GMW.MID", L"play"};
    EXPECT_EQ(sequencer.Sent(5), changes);

    // A repeating track starts again at its end, twice here; the end of a
    // device no longer ours (a track closed since) starts nothing: the Stop
    // asked once it has been reported is taken after it.
    sequencer.NoticeAfterPlays(2, kDevice);
    music.KBGMPlay(title, 1);
    EXPECT_EQ(sequencer.Sent(10).size(), 10u) << "close, open, play and two plays again";
    sequencer.NoticeAfterPlays(1, kDevice + 1);
    music.KBGMPlay(title, 1);
    EXPECT_EQ(sequencer.Sent(13).size(), 13u);
    music.KBGMStop();
    music.KBGMClose();
    Commands all = changes;
    all.insert(all.end(), {L"close", L"open A_013GMW.MID", L"play", L"play", L"play", L"close", L"open A_013GMW.MID",
                           L"play", L"close"});
    EXPECT_EQ(sequencer.Sent(), all);
}

} // namespace
} // namespace ruvo
