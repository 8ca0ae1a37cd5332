// The replay store as a folder of files, written whole or not at all.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_replay_store.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <utility>

#include "platform/windows/wide_text.h"
#include "replay/replay_file.h"

namespace ruvo {
namespace {

const std::wstring kExtension = Widen(kReplayExtension);

bool TakenName(std::string_view name)
{
    if (name.empty())
        return false;
    for (const char ch : name)
        if (!((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '-'))
            return false;
    return true;
}

// Makes the folder and those above it that are missing; true when the
// folder is there afterwards (a file of its name is no folder).
bool MakeFolders(const std::wstring& folder)
{
    for (std::size_t at = folder.find_first_of(L"\\/", 3); at != std::wstring::npos;
         at = folder.find_first_of(L"\\/", at + 1))
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(folder.c_str(), nullptr);
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace

std::wstring LocalAppDataFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)) || path[0] == L'\0')
        return {};
    return path;
}

bool ReadReplayFile(const std::wstring& path, std::string& text, std::string& why)
{
    text.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        why = "the file cannot be opened";
        return false;
    }
    LARGE_INTEGER size{};
    bool read = false;
    // A pipe or a device could be read for ever, a console waits for a
    // player: only a file on a disk is read.
    if (GetFileType(file) != FILE_TYPE_DISK)
        why = "not a file on a disk (a pipe, a device or a console)";
    else if (!GetFileSizeEx(file, &size))
        why = "the file cannot be read";
    else if (static_cast<std::uint64_t>(size.QuadPart) > kReplayMaxBytes)
        why = ReplayTooLarge(static_cast<std::uint64_t>(size.QuadPart));
    else {
        // A file that grows while it is read is still read no further than the limit.
        char buffer[16384];
        DWORD got = 0;
        read = true;
        while (read && (read = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0) {
            text.append(buffer, got);
            if (text.size() > kReplayMaxBytes) {
                why = "too large: it grew past " + std::to_string(kReplayMaxBytes) + " bytes while it was read";
                read = false;
            }
        }
        if (!read && why.empty())
            why = "the file cannot be read";
    }
    CloseHandle(file);
    if (!read)
        text.clear();
    return read;
}

bool WriteWholeFile(const std::wstring& path, std::string_view text)
{
    // A name of its own for every write, so two windows never share one.
    static std::atomic<unsigned> writes{0};
    const std::wstring temporary =
        path + L".tmp-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++writes);
    HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    bool ok = true;
    for (std::size_t at = 0; ok && at < text.size();) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size() - at, 1u << 20));
        DWORD put = 0;
        ok = WriteFile(file, text.data() + at, chunk, &put, nullptr) != 0 && put == chunk;
        at += put;
    }
    ok = FlushFileBuffers(file) != 0 && ok;
    ok = CloseHandle(file) != 0 && ok;
    if (ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

// Without the folder, a path of its own would name the current drive's root
// (\Tolp\Ruvo\Replays): the replays stay in memory instead.
WinReplayStore::WinReplayStore(std::wstring (*localAppData)())
{
    const std::wstring top = localAppData();
    if (!top.empty())
        folder_ = top + L"\\Tolp\\Ruvo\\Replays";
}

WinReplayStore::WinReplayStore(std::wstring folder) : folder_(std::move(folder)) {}

std::wstring WinReplayStore::PathOf(std::string_view name) const
{
    if (!TakenName(name))
        return {};
    return folder_ + L"\\" + Widen(name) + kExtension;
}

std::vector<std::string> WinReplayStore::List()
{
    std::vector<std::string> names;
    if (InMemory()) {
        for (const auto& [name, text] : memory_)
            names.push_back(name);
        return names;
    }
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((folder_ + L"\\*" + kExtension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring file = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || file.size() <= kExtension.size() ||
            file.compare(file.size() - kExtension.size(), kExtension.size(), kExtension) != 0)
            continue;
        const std::string name = Narrow(file.substr(0, file.size() - kExtension.size()));
        if (TakenName(name))
            names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

bool WinReplayStore::Read(std::string_view name, std::string& text)
{
    if (InMemory()) {
        const auto kept = memory_.find(name);
        if (!TakenName(name) || kept == memory_.end())
            return false;
        text = kept->second;
        return true;
    }
    const std::wstring path = PathOf(name);
    std::string why;
    return !path.empty() && ReadReplayFile(path, text, why);
}

bool WinReplayStore::Write(std::string_view name, std::string_view text)
{
    if (InMemory()) {
        if (TakenName(name))
            memory_[std::string(name)] = std::string(text);
        return TakenName(name);
    }
    const std::wstring path = PathOf(name);
    return !path.empty() && MakeFolders(folder_) && WriteWholeFile(path, text);
}

bool WinReplayStore::Remove(std::string_view name)
{
    if (InMemory())
        return TakenName(name) && memory_.erase(std::string(name)) > 0;
    const std::wstring path = PathOf(name);
    return !path.empty() && DeleteFileW(path.c_str());
}

} // namespace ruvo
