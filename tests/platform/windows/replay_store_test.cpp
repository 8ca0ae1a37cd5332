// The replay store's folder under Wine: made on the first write, under a
// path that only UTF-16 can name; every write whole or not at all; only the
// store's own files listed; in memory where the system names no folder. And
// the replay files' reader: files on a disk only, within the limit.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/windows/win_replay_store.h"
#include "replay/replay_file.h"

namespace ruvo {
namespace {

using namespace std::string_literals;

class ReplayStoreTest : public ::testing::Test {
  protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
        // A folder of this process's own: the tests run side by side in one prefix.
        top_ = std::wstring(temp) + L"ruvo-store-" + std::to_wstring(GetCurrentProcessId()) + L"-\u00fc\u6e2c\u8a66";
        folder_ = top_ + L"\\Tolp\\Ruvo\\Replays";
        Clear();
    }
    void TearDown() override { Clear(); }

    // Every entry of the folder, files and folders alike.
    std::vector<std::wstring> Entries() const
    {
        std::vector<std::wstring> names;
        WIN32_FIND_DATAW found{};
        HANDLE search = FindFirstFileW((folder_ + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (std::wstring(found.cFileName) != L"." && std::wstring(found.cFileName) != L"..")
                names.push_back(found.cFileName);
        } while (FindNextFileW(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }
    void Clear()
    {
        for (const std::wstring& name : Entries()) {
            const std::wstring path = folder_ + L"\\" + name;
            if (!DeleteFileW(path.c_str()))
                RemoveDirectoryW(path.c_str());
        }
        for (std::wstring path = folder_; path.size() >= top_.size(); path.resize(path.rfind(L'\\')))
            RemoveDirectoryW(path.c_str());
    }
    void Put(const std::wstring& name)
    {
        HANDLE file =
            CreateFileW((folder_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }

    std::wstring top_, folder_;
};

TEST_F(ReplayStoreTest, KeepsTextsByNameInAFolderMadeOnTheFirstWrite)
{
    WinReplayStore store(folder_);
    EXPECT_TRUE(store.List().empty());
    std::string text;
    EXPECT_FALSE(store.Read("last", text));
    EXPECT_EQ(GetFileAttributesW(top_.c_str()), INVALID_FILE_ATTRIBUTES);

    const std::string first = "ruvo-replay 1\r\nname \xc3\xa9l\xc3\xa8ve\n\0end"s;
    ASSERT_TRUE(store.Write("last", first));
    ASSERT_TRUE(store.Write("row-930-1-5f2a11c3-1", "row"));
    EXPECT_EQ(Entries(), (std::vector<std::wstring>{L"last.ruvo-replay", L"row-930-1-5f2a11c3-1.ruvo-replay"}));
    ASSERT_TRUE(store.Read("last", text));
    EXPECT_EQ(text, first);

    // A second write replaces the whole text, a shorter one too.
    ASSERT_TRUE(store.Write("last", "short"));
    ASSERT_TRUE(store.Read("last", text));
    EXPECT_EQ(text, "short");

    // Names that are no store name are neither written nor read.
    for (const char* name : {"", "..\\last", "a.b", "last game", "\xc3\xa9"}) {
        EXPECT_FALSE(store.Write(name, "x")) << name;
        EXPECT_FALSE(store.Read(name, text)) << name;
        EXPECT_FALSE(store.Remove(name)) << name;
    }

    EXPECT_TRUE(store.Remove("last"));
    EXPECT_FALSE(store.Remove("last"));
    EXPECT_EQ(store.List(), std::vector<std::string>{"row-930-1-5f2a11c3-1"});

    // A replay larger than any reader takes is not read back.
    ASSERT_TRUE(store.Write("last", std::string(kReplayMaxBytes + 1, 'x')));
    EXPECT_FALSE(store.Read("last", text));
}

// Without the local application data folder the replays live in memory: a
// path made of nothing would put them on the current drive's root.
TEST_F(ReplayStoreTest, KeepsReplaysInMemoryWhereTheSystemNamesNoFolder)
{
    ASSERT_TRUE(CreateDirectoryW(top_.c_str(), nullptr));
    wchar_t before[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(SetCurrentDirectoryW(top_.c_str())); // a drive of the prefix's
    WinReplayStore store([] { return std::wstring(); });
    EXPECT_TRUE(store.InMemory());
    EXPECT_TRUE(store.Write("last", "kept"));
    EXPECT_FALSE(store.Write("a.b", "x"));
    std::string text;
    EXPECT_TRUE(store.Read("last", text));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(store.List(), std::vector<std::string>{"last"});
    EXPECT_EQ(GetFileAttributesW(L"\\Tolp"), INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(store.Remove("last"));
    EXPECT_FALSE(store.Read("last", text));
    SetCurrentDirectoryW(before);
    EXPECT_FALSE(WinReplayStore(LocalAppDataFolder).InMemory());
}

// A replay file is read only from a disk and within the limit, its size told
// before a byte is read; a pipe would hold the game for ever.
TEST_F(ReplayStoreTest, ReadsReplayFilesFromADiskWithinTheLimit)
{
    WinReplayStore store(folder_);
    const std::wstring path = folder_ + L"\\last.ruvo-replay";
    std::string text, why;
    ASSERT_TRUE(store.Write("last", std::string(kReplayMaxBytes, 'x')));
    EXPECT_TRUE(ReadReplayFile(path, text, why));
    EXPECT_EQ(text.size(), kReplayMaxBytes);
    ASSERT_TRUE(store.Write("last", std::string(kReplayMaxBytes + 1, 'x')));
    EXPECT_FALSE(ReadReplayFile(path, text, why));
    EXPECT_EQ(why, ReplayTooLarge(kReplayMaxBytes + 1));
    EXPECT_TRUE(text.empty());

    const std::wstring pipeName = L"\\\\.\\pipe\\ruvo-store-" + std::to_wstring(GetCurrentProcessId());
    HANDLE pipe = CreateNamedPipeW(pipeName.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr);
    ASSERT_NE(pipe, INVALID_HANDLE_VALUE);
    for (const std::wstring& other : {pipeName, std::wstring(L"NUL")}) {
        EXPECT_FALSE(ReadReplayFile(other, text, why));
        EXPECT_EQ(why, "not a file on a disk (a pipe, a device or a console)");
    }
    CloseHandle(pipe);
    EXPECT_FALSE(ReadReplayFile(folder_ + L"\\missing.ruvo-replay", text, why));
    EXPECT_EQ(why, "the file cannot be opened");
}

TEST_F(ReplayStoreTest, ListsOnlyItsOwnFilesAndLeavesNothingBehindAFailedWrite)
{
    WinReplayStore store(folder_);
    ASSERT_TRUE(store.Write("last", "kept"));
    Put(L"notes.txt");
    Put(L"two words.ruvo-replay");
    Put(L"last.ruvo-replay.tmp-1-1");
    ASSERT_TRUE(CreateDirectoryW((folder_ + L"\\row-1.ruvo-replay").c_str(), nullptr));
    EXPECT_EQ(store.List(), std::vector<std::string>{"last"});

    // A folder where the file would go: the write fails, and leaves no
    // temporary file beside it.
    const std::vector<std::wstring> before = Entries();
    EXPECT_FALSE(store.Write("row-1", "lost"));
    EXPECT_EQ(Entries(), before);
    // A file where the store's folder would be.
    EXPECT_FALSE(WinReplayStore(folder_ + L"\\notes.txt").Write("last", "lost"));

    // The file held open by another without leave to replace it: the old
    // text stays whole.
    HANDLE held = CreateFileW((folder_ + L"\\last.ruvo-replay").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(store.Write("last", "a longer text that replaces it"));
    CloseHandle(held);
    std::string text;
    ASSERT_TRUE(store.Read("last", text));
    EXPECT_EQ(text, "kept");
    EXPECT_EQ(Entries(), before);
}

} // namespace
} // namespace ruvo
