#include "platform/windows/mci_music.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include <cstring>

#include "platform/windows/wide_text.h"

namespace ruvo {
namespace {

constexpr const wchar_t* kNotifyClass = L"RuvoMusicNotify";
constexpr const wchar_t* kAlias = L"ruvo_music";

LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == MM_MCINOTIFY) {
        auto* library = reinterpret_cast<MciMusicLibrary*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (library != nullptr)
            library->TrackEnded(wParam == MCI_NOTIFY_SUCCESSFUL, static_cast<unsigned>(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool MidiOutputOpens()
{
    if (midiOutGetNumDevs() == 0)
        return false;
    HMIDIOUT out = nullptr;
    if (midiOutOpen(&out, MIDI_MAPPER, 0, 0, CALLBACK_NULL) != MMSYSERR_NOERROR)
        return false;
    midiOutClose(out);
    return true;
}

bool IsMidiFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char magic[4] = {};
    DWORD read = 0;
    const bool ok =
        ReadFile(file, magic, sizeof magic, &read, nullptr) && read == 4 && std::memcmp(magic, "MThd", 4) == 0;
    CloseHandle(file);
    return ok;
}

bool Mci(const std::wstring& command, HWND notify = nullptr)
{
    return mciSendStringW(command.c_str(), nullptr, 0, notify) == 0;
}

} // namespace

std::wstring ProgramFolder()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

MciMusicLibrary::~MciMusicLibrary()
{
    KBGMClose();
}

std::int32_t MciMusicLibrary::KBGMOpen(std::int32_t, std::int32_t)
{
    if (notifyWindow_ != nullptr)
        return 0;
    if (!MidiOutputOpens())
        return 1;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = NotifyProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kNotifyClass;
    RegisterClassExW(&windowClass);
    HWND window =
        CreateWindowExW(0, kNotifyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window == nullptr)
        return 1;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    notifyWindow_ = window;
    return 0;
}

// The file is looked for beside the program; it is read when it plays.
std::int32_t MciMusicLibrary::KBGMLoadFile(std::uint32_t* handle, const char* fileName)
{
    if (handle == nullptr || fileName == nullptr)
        return 1;
    const std::wstring name = Widen(fileName);
    if (name.empty() || name.find_first_of(L"\\/:\"") != std::wstring::npos)
        return 1;
    const std::wstring path = ProgramFolder() + name;
    if (!IsMidiFile(path))
        return 1;
    *handle = nextHandle_++;
    tracks_[*handle] = path;
    return 0;
}

std::int32_t MciMusicLibrary::KBGMPlay(std::uint32_t handle, std::int32_t repeat)
{
    const auto track = tracks_.find(handle);
    if (notifyWindow_ == nullptr || track == tracks_.end())
        return 1;
    KBGMStop();
    if (!Mci(L"open \"" + track->second + L"\" type sequencer alias " + kAlias))
        return 1;
    playingDevice_ = mciGetDeviceIDW(kAlias);
    repeat_ = repeat != 0;
    if (!Mci(std::wstring(L"play ") + kAlias + L" from 0 notify", static_cast<HWND>(notifyWindow_))) {
        KBGMStop();
        return 1;
    }
    return 0;
}

std::int32_t MciMusicLibrary::KBGMStop()
{
    if (playingDevice_ != 0) {
        // Closing stops it; the notice it sends names a device no longer ours.
        playingDevice_ = 0;
        Mci(std::wstring(L"close ") + kAlias);
    }
    return 0;
}

std::int32_t MciMusicLibrary::KBGMFree(std::uint32_t handle)
{
    tracks_.erase(handle);
    return 0;
}

std::int32_t MciMusicLibrary::KBGMClose()
{
    KBGMStop();
    if (notifyWindow_ != nullptr) {
        DestroyWindow(static_cast<HWND>(notifyWindow_));
        notifyWindow_ = nullptr;
    }
    return 0;
}

void MciMusicLibrary::TrackEnded(bool completed, unsigned deviceId)
{
    if (!completed || deviceId != playingDevice_ || playingDevice_ == 0)
        return;
    if (repeat_)
        Mci(std::wstring(L"play ") + kAlias + L" from 0 notify", static_cast<HWND>(notifyWindow_));
}

} // namespace ruvo
