// The replay store as a folder of files, written whole or not at all.
// SPDX-License-Identifier: MIT
#include "platform/windows/win_replay_store.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shlobj.h>

#include <algorithm>
#include <atomic>
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

std::wstring LocalAppDataFolder()
{
    wchar_t path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return {};
    return path;
}

// Makes the folder and those above it that are missing.
bool MakeFolders(const std::wstring& folder)
{
    for (std::size_t at = folder.find_first_of(L"\\/", 3); at != std::wstring::npos;
         at = folder.find_first_of(L"\\/", at + 1))
        CreateDirectoryW(folder.substr(0, at).c_str(), nullptr);
    return CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

} // namespace

bool ReadWholeFile(const std::wstring& path, std::string& text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    text.clear();
    char buffer[16384];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ReadFile(file, buffer, sizeof buffer, &got, nullptr) != 0) && got > 0)
        text.append(buffer, got);
    CloseHandle(file);
    return ok;
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

WinReplayStore::WinReplayStore() : WinReplayStore(LocalAppDataFolder() + L"\\Tolp\\Ruvo\\Replays") {}

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
    const std::wstring path = PathOf(name);
    return !path.empty() && ReadWholeFile(path, text);
}

bool WinReplayStore::Write(std::string_view name, std::string_view text)
{
    const std::wstring path = PathOf(name);
    return !path.empty() && MakeFolders(folder_) && WriteWholeFile(path, text);
}

bool WinReplayStore::Remove(std::string_view name)
{
    const std::wstring path = PathOf(name);
    return !path.empty() && DeleteFileW(path.c_str());
}

} // namespace ruvo
