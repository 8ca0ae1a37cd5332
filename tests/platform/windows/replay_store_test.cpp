// The replay store's folder under Wine: made on the first write, under a
// path that only UTF-16 can name; every write whole or not at all; only the
// store's own files listed; in memory where the system names no folder. And
// the replay files' reader: files on a disk only, within the limit.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/windows/win_replay_store.h"
#include "replay/replay_file.h"

namespace ruvo {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

class ReplayStoreTest : public ::testing::Test {
  protected:
    // A folder of this process's own: the tests run side by side in one prefix.
    void SetUp() override { fs::remove_all(top_); }
    void TearDown() override { fs::remove_all(top_); }

    // Every entry of the folder, files and folders alike.
    std::set<std::wstring> Entries() const
    {
        std::set<std::wstring> names;
        std::error_code missing;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder_, missing))
            names.insert(entry.path().filename().wstring());
        return names;
    }

    const std::wstring top_ =
        (fs::temp_directory_path() / (L"ruvo-store-" + std::to_wstring(GetCurrentProcessId()) + L"-\u00fc\u6e2c\u8a66"))
            .wstring();
    const std::wstring folder_ = top_ + L"\\Tolp\\Ruvo\\Replays";
    WinReplayStore store_{folder_};
    std::string text_, why_;
};

TEST_F(ReplayStoreTest, KeepsTextsByNameInAFolderMadeOnTheFirstWrite)
{
    EXPECT_TRUE(store_.List().empty());
    EXPECT_FALSE(store_.Read("last", text_));
    EXPECT_FALSE(fs::exists(top_));

    const std::string first = "ruvo-replay 1\r\nname \xc3\xa9l\xc3\xa8ve\n\0end"s;
    ASSERT_TRUE(store_.Write("last", first));
    ASSERT_TRUE(store_.Write("row-930-1-5f2a11c3-1", "row"));
    EXPECT_EQ(Entries(), (std::set<std::wstring>{L"last.ruvo-replay", L"row-930-1-5f2a11c3-1.ruvo-replay"}));
    ASSERT_TRUE(store_.Read("last", text_));
    EXPECT_EQ(text_, first);

    // A second write replaces the whole text, a shorter one too.
    ASSERT_TRUE(store_.Write("last", "short"));
    ASSERT_TRUE(store_.Read("last", text_));
    EXPECT_EQ(text_, "short");

    // Names that are no store name are neither written nor read.
    for (const char* name : {"", "..\\last", "a.b", "last game", "\xc3\xa9"}) {
        EXPECT_FALSE(store_.Write(name, "x")) << name;
        EXPECT_FALSE(store_.Read(name, text_)) << name;
        EXPECT_FALSE(store_.Remove(name)) << name;
    }

    EXPECT_TRUE(store_.Remove("last"));
    EXPECT_FALSE(store_.Remove("last"));
    EXPECT_EQ(store_.List(), std::vector<std::string>{"row-930-1-5f2a11c3-1"});
}

// Without the local application data folder the replays live in memory: a
// path made of nothing would put them on the current drive's root.
TEST_F(ReplayStoreTest, KeepsReplaysInMemoryWhereTheSystemNamesNoFolder)
{
    ASSERT_TRUE(fs::create_directory(top_));
    const fs::path before = fs::current_path();
    fs::current_path(top_); // a drive of the prefix's
    WinReplayStore store([] { return std::wstring(); });
    EXPECT_TRUE(store.InMemory());
    EXPECT_TRUE(store.Write("last", "kept"));
    EXPECT_FALSE(store.Write("a.b", "x"));
    EXPECT_TRUE(store.Read("last", text_));
    EXPECT_EQ(text_, "kept");
    EXPECT_EQ(store.List(), std::vector<std::string>{"last"});
    EXPECT_FALSE(fs::exists(L"\\Tolp"));
    EXPECT_TRUE(store.Remove("last"));
    EXPECT_FALSE(store.Read("last", text_));
    fs::current_path(before);
    EXPECT_FALSE(WinReplayStore(LocalAppDataFolder).InMemory());
}

// A replay file is read only from a disk and within the limit, its size told
// before a byte is read; a pipe would hold the game for ever. The store reads
// its own files so too.
TEST_F(ReplayStoreTest, ReadsReplayFilesFromADiskWithinTheLimit)
{
    ASSERT_TRUE(store_.Write("last", std::string(kReplayMaxBytes, 'x')));
    EXPECT_TRUE(store_.Read("last", text_));
    EXPECT_EQ(text_.size(), kReplayMaxBytes);
    ASSERT_TRUE(store_.Write("last", std::string(kReplayMaxBytes + 1, 'x')));
    EXPECT_FALSE(store_.Read("last", text_));
    EXPECT_FALSE(ReadReplayFile(folder_ + L"\\last.ruvo-replay", text_, why_));
    EXPECT_EQ(why_, ReplayTooLarge(kReplayMaxBytes + 1));
    EXPECT_TRUE(text_.empty());

    const std::wstring pipeName = L"\\\\.\\pipe\\ruvo-store-" + std::to_wstring(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    for (const std::wstring& other : {pipeName, std::wstring(L"NUL")}) {
        EXPECT_FALSE(ReadReplayFile(other, text_, why_));
        EXPECT_EQ(why_, "not a file on a disk (a pipe, a device or a console)");
    }
    CloseHandle(pipe);
    EXPECT_FALSE(ReadReplayFile(folder_ + L"\\missing.ruvo-replay", text_, why_));
    EXPECT_EQ(why_, "the file cannot be opened");
}

TEST_F(ReplayStoreTest, ListsOnlyItsOwnFilesAndLeavesNothingBehindAFailedWrite)
{
    ASSERT_TRUE(store_.Write("last", "kept"));
    for (const wchar_t* name : {L"notes.txt", L"two words.ruvo-replay", L"last.ruvo-replay.tmp-1-1"})
        std::ofstream(fs::path(folder_) / name);
    ASSERT_TRUE(fs::create_directory(folder_ + L"\\row-1.ruvo-replay"));
    EXPECT_EQ(store_.List(), std::vector<std::string>{"last"});

    // A folder where the file would go: the write fails, and leaves no
    // temporary file beside it.
    const std::set<std::wstring> before = Entries();
    EXPECT_EQ(before.size(), 5u);
    EXPECT_FALSE(store_.Write("row-1", "lost"));
    EXPECT_EQ(Entries(), before);
    // A file where the store's folder would be.
    EXPECT_FALSE(WinReplayStore(folder_ + L"\\notes.txt").Write("last", "lost"));

    // The file held open by another without leave to replace it: the old
    // text stays whole.
    HANDLE held = CreateFileW((folder_ + L"\\last.ruvo-replay").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(store_.Write("last", "a longer text that replaces it"));
    CloseHandle(held);
    ASSERT_TRUE(store_.Read("last", text_));
    EXPECT_EQ(text_, "kept");
    EXPECT_EQ(Entries(), before);
}

} // namespace
} // namespace ruvo
