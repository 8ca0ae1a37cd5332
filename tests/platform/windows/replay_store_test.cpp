// The replay store's folder under Wine, over its life: made on the first
// write, under a path that only UTF-16 can name; every write whole or not at
// all; only the store's own files listed; the replay files' reader taking
// files on a disk only, within the limit. In memory where the system names
// no folder.
// SPDX-License-Identifier: MIT
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/windows/win_replay_store.h"
#include "replay/replay_file.h"

namespace ruvo {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;

// What the store reads under name: its text, or "(none)".
std::string ReadBack(ReplayStore& store, std::string_view name)
{
    std::string text;
    return store.Read(name, text) ? text : "(none)";
}

TEST(ReplayStore, KeepsWholeTextsInAFolderMadeOnTheFirstWriteReadsWithinTheLimitAndKeepsInMemoryWithoutAFolder)
{
    // A folder of this process's own (the tests run side by side in one prefix).
    const std::wstring top =
        (fs::temp_directory_path() / (L"ruvo-store-" + std::to_wstring(GetCurrentProcessId()) + L"-\u00fc\u6e2c\u8a66"))
            .wstring();
    const std::wstring folder = top + L"\\Tolp\\Ruvo\\Replays";
    fs::remove_all(top);
    // Without the local application data folder the replays live in memory:
    // a path made of nothing would put them on the current drive's root, here
    // a drive of the prefix's.
    const fs::path cwd = fs::current_path();
    fs::current_path(fs::temp_directory_path());
    WinReplayStore memory([] { return std::wstring(); }), store{folder};
    EXPECT_TRUE(memory.InMemory());
    EXPECT_FALSE(store.InMemory());
    EXPECT_FALSE(WinReplayStore(LocalAppDataFolder).InMemory());
    const std::string first = "ruvo-replay 1\r\nname \xc3\xa9l\xc3\xa8ve\n\0end"s;
    for (WinReplayStore* kept : {&memory, &store}) {
        SCOPED_TRACE(kept->InMemory() ? "in memory" : "in a folder");
        EXPECT_TRUE(kept->List().empty());
        EXPECT_EQ(ReadBack(*kept, "last"), "(none)");
        EXPECT_FALSE(fs::exists(top));
        ASSERT_TRUE(kept->Write("last", first));
        ASSERT_TRUE(kept->Write("row-930-1-5f2a11c3-1", "row"));
        EXPECT_EQ(ReadBack(*kept, "last"), first);
        // A second write replaces the whole text, a shorter one too.
        ASSERT_TRUE(kept->Write("last", "short"));
        EXPECT_EQ(ReadBack(*kept, "last"), "short");
        // Names that are no store name are neither written nor read.
        for (const char* name : {"", "..\\last", "a.b", "last game", "\xc3\xa9"}) {
            EXPECT_FALSE(kept->Write(name, "x")) << name;
            EXPECT_EQ(ReadBack(*kept, name), "(none)") << name;
            EXPECT_FALSE(kept->Remove(name)) << name;
        }
        EXPECT_TRUE(kept->Remove("last"));
        EXPECT_FALSE(kept->Remove("last"));
        EXPECT_EQ(ReadBack(*kept, "last"), "(none)");
        EXPECT_EQ(kept->List(), std::vector<std::string>{"row-930-1-5f2a11c3-1"});
        EXPECT_TRUE(kept->Remove("row-930-1-5f2a11c3-1"));
    }
    EXPECT_FALSE(fs::exists(L"\\Tolp"));
    fs::current_path(cwd);

    const auto entries = [&] { // every entry of the folder, files and folders alike
        std::set<std::wstring> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(folder))
            names.insert(entry.path().filename().wstring());
        return names;
    };
    // Only its own files listed.
    ASSERT_TRUE(store.Write("last", "kept"));
    EXPECT_EQ(entries(), std::set<std::wstring>{L"last.ruvo-replay"});
    for (const wchar_t* name : {L"notes.txt", L"two words.ruvo-replay", L"last.ruvo-replay.tmp-1-1"})
        std::ofstream(fs::path(folder) / name);
    ASSERT_TRUE(fs::create_directory(folder + L"\\row-1.ruvo-replay"));
    EXPECT_EQ(store.List(), std::vector<std::string>{"last"});

    // A folder where the file would go: the write fails, and leaves no
    // temporary file beside it.
    const std::set<std::wstring> before = entries();
    EXPECT_EQ(before.size(), 5u);
    EXPECT_FALSE(store.Write("row-1", "lost"));
    EXPECT_EQ(entries(), before);
    // A file where the store's folder would be.
    EXPECT_FALSE(WinReplayStore(folder + L"\\notes.txt").Write("last", "lost"));

    // The file held open by another without leave to replace it: the old
    // text stays whole.
    HANDLE held = CreateFileW((folder + L"\\last.ruvo-replay").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(store.Write("last", "a longer text that replaces it"));
    CloseHandle(held);
    EXPECT_EQ(ReadBack(store, "last"), "kept");
    EXPECT_EQ(entries(), before);

    // A replay file is read only from a disk and within the limit, its size
    // told before a byte is read; a pipe would hold the game for ever. The
    // store reads its own files so too.
    std::string text, why;
    ASSERT_TRUE(store.Write("last", std::string(kReplayMaxBytes, 'x')));
    EXPECT_EQ(ReadBack(store, "last").size(), kReplayMaxBytes);
    ASSERT_TRUE(store.Write("last", std::string(kReplayMaxBytes + 1, 'x')));
    EXPECT_EQ(ReadBack(store, "last"), "(none)");
    EXPECT_FALSE(ReadReplayFile(folder + L"\\last.ruvo-replay", text, why));
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
    EXPECT_FALSE(ReadReplayFile(folder + L"\\missing.ruvo-replay", text, why));
    EXPECT_EQ(why, "the file cannot be opened");
    fs::remove_all(top);
}

} // namespace
} // namespace ruvo
