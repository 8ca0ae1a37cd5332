// The music on the system's MIDI sequencer, on a thread of its own.
// SPDX-License-Identifier: MIT
#include "platform/windows/mci_music.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/windows/wide_text.h"

namespace ruvo {
namespace {

constexpr const wchar_t* kNotifyClass = L"RuvoMusicNotify";
constexpr const wchar_t* kAlias = L"ruvo_music";
constexpr UINT kWork = WM_APP + 1;

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

} // namespace

SequencerCalls SystemSequencer()
{
    return {MidiOutputOpens,
            [](const std::wstring& command, void* notify) {
                return mciSendStringW(command.c_str(), nullptr, 0, static_cast<HWND>(notify)) == 0;
            },
            [](const std::wstring& alias) { return static_cast<unsigned>(mciGetDeviceIDW(alias.c_str())); }};
}

// The sequencer's thread: a message-only window that takes the game's
// requests in order and the sequencer's notices.
struct MciMusicLibrary::Player {
    struct Request {
        bool play = false; // else stop
        std::wstring path;
        bool repeat = false;
    };

    const SequencerCalls& calls;
    std::mutex lock;
    std::condition_variable ready;
    std::deque<Request> requests;
    bool quit = false;
    HWND window = nullptr;
    bool started = false;
    unsigned playing = 0; // the open track's device; 0: none
    bool repeat = false;
    std::thread thread;

    explicit Player(const SequencerCalls& sequencer) : calls(sequencer)
    {
        thread = std::thread([this] { Run(); });
        std::unique_lock<std::mutex> guard(lock);
        ready.wait(guard, [this] { return started; });
    }

    ~Player()
    {
        if (window != nullptr) {
            {
                std::lock_guard<std::mutex> guard(lock);
                quit = true;
            }
            PostMessageW(window, kWork, 0, 0);
        }
        thread.join();
    }

    bool Ok() const { return window != nullptr; }

    void Ask(Request request)
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            requests.push_back(std::move(request));
        }
        PostMessageW(window, kWork, 0, 0);
    }

    void Close()
    {
        if (playing == 0)
            return;
        // Closing stops it; the notice it sends names a device no longer ours.
        playing = 0;
        calls.send(std::wstring(L"close ") + kAlias, nullptr);
    }

    void Play(const Request& request)
    {
        Close();
        if (!calls.send(L"open \"" + request.path + L"\" type sequencer alias " + kAlias, nullptr))
            return;
        playing = calls.deviceId(kAlias);
        repeat = request.repeat;
        if (!calls.send(std::wstring(L"play ") + kAlias + L" from 0 notify", window))
            Close();
    }

    // Returns false once asked to end.
    bool Work()
    {
        for (;;) {
            Request request;
            {
                std::lock_guard<std::mutex> guard(lock);
                if (requests.empty())
                    return !quit;
                request = std::move(requests.front());
                requests.pop_front();
            }
            if (request.play)
                Play(request);
            else
                Close();
        }
    }

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        auto* player = reinterpret_cast<Player*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (player != nullptr && message == MM_MCINOTIFY) {
            const auto device = static_cast<unsigned>(lParam);
            if (wParam == MCI_NOTIFY_SUCCESSFUL && device == player->playing && player->playing != 0 && player->repeat)
                player->calls.send(std::wstring(L"play ") + kAlias + L" from 0 notify", window);
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Run()
    {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = Proc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kNotifyClass;
        RegisterClassExW(&windowClass);
        HWND created = CreateWindowExW(0, kNotifyClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        if (created != nullptr)
            SetWindowLongPtrW(created, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        {
            std::lock_guard<std::mutex> guard(lock);
            window = created;
            started = true;
        }
        ready.notify_all();
        if (created == nullptr)
            return;
        MSG message{};
        while (GetMessageW(&message, nullptr, 0, 0) > 0) {
            if (message.hwnd == created && message.message == kWork && !Work())
                break;
            DispatchMessageW(&message);
        }
        Close();
        DestroyWindow(created);
    }
};

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

MciMusicLibrary::MciMusicLibrary(SequencerCalls calls) : calls_(std::move(calls)) {}

MciMusicLibrary::~MciMusicLibrary()
{
    KBGMClose();
}

std::int32_t MciMusicLibrary::KBGMOpen(std::int32_t, std::int32_t)
{
    if (player_)
        return 0;
    if (!calls_.outputOpens())
        return 1;
    player_ = std::make_unique<Player>(calls_);
    if (!player_->Ok()) {
        player_.reset();
        return 1;
    }
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
    if (!player_ || track == tracks_.end())
        return 1;
    player_->Ask({true, track->second, repeat != 0});
    return 0;
}

std::int32_t MciMusicLibrary::KBGMStop()
{
    if (player_)
        player_->Ask({});
    return 0;
}

std::int32_t MciMusicLibrary::KBGMFree(std::uint32_t handle)
{
    tracks_.erase(handle);
    return 0;
}

std::int32_t MciMusicLibrary::KBGMClose()
{
    player_.reset();
    return 0;
}

} // namespace ruvo
