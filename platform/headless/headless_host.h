// An in-memory machine for the engine: a window that only records what is
// asked of it, a settings store and a replay store in memory, a wave player
// and a music library that log their calls, and dialogs answered from a script. The headless
// runner and the tests run the real engine on it.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "record/record.h"

namespace ruvo {

class HeadlessWindow final : public GameWindow {
  public:
    void Invalidate() override { ++invalidations; }
    std::int32_t SetTimer(std::int32_t id, std::int32_t periodMs) override;
    void KillTimer(std::int32_t id) override;
    void CheckMenuItem(MenuId, bool) override {}
    void EnableMenuItem(MenuId item, bool enabled) override { enabledItems[item] = enabled; }
    void DrawMenuBar() override {}
    void Show(int) override {}
    void Destroy() override;
    void PostQuit(int exitCode) override { quitCode = exitCode; }
    void ShowCaption(std::string_view text) override { caption = text; }

    // A greyed item (or one never set) sends no command.
    bool IsEnabled(MenuId item) const;

    int invalidations = 0;
    bool destroyed = false;
    std::optional<int> quitCode;
    std::optional<std::int32_t> timerPeriod; // the running timer's period, if any
    std::map<MenuId, bool> enabledItems;
    std::string caption;                  // as last shown; empty before any
    std::function<void()> destroyMessage; // set by whoever handles the window's messages
};

// Values are kept as their stored text, as a settings file would hold them.
class MemorySettings final : public SettingsStore {
  public:
    bool QueryDword(std::string_view name, std::uint32_t& value) override;
    bool QueryString(std::string_view name, std::string& text, std::size_t maxBytes) override;
    bool Create() override;
    void SetDword(std::string_view name, std::uint32_t value) override;
    void SetString(std::string_view name, std::string_view text) override;
    void Close() override;

    std::map<std::string, std::string, std::less<>> values;
    int saves = 0;
    bool writable = true;
    std::vector<std::string> written; // the names of the values set, in order
};

class RecordingWavePlayer final : public WavePlayer {
  public:
    void Play(const std::uint8_t* image, std::size_t size) override { played.push_back({image, size}); }
    struct Call {
        const std::uint8_t* image;
        std::size_t size;
    };
    std::vector<Call> played;
};

// Stands in for the music library: opens, and gives the four tracks the
// handles 1 to 4 in load order.
class StandInMusic final : public MusicLibrary {
  public:
    std::int32_t KBGMOpen(std::int32_t, std::int32_t) override { return 0; }
    std::int32_t KBGMLoadFile(std::uint32_t* handle, const char* fileName) override;
    std::int32_t KBGMPlay(std::uint32_t handle, std::int32_t repeat) override;
    std::int32_t KBGMStop() override { return 0; }
    std::int32_t KBGMFree(std::uint32_t) override { return 0; }
    std::int32_t KBGMClose() override { return 0; }

    struct Play {
        std::uint32_t handle;
        std::int32_t repeat;
    };
    std::vector<Play> plays;

  private:
    std::uint32_t nextHandle_ = 1;
};

// Dialogs answered at once: the name dialog returns the scripted name, once;
// after that it returns an empty name until another is scripted.
class ScriptedDialogs final : public DialogHost {
  public:
    int RunAbout() override;
    int RunOption(GameRecord& record) override;
    int RunHighScore(GameRecord& record) override;
    int RunInput(GameRecord& record) override;
    void ShowNote(std::string_view text) override { notes.emplace_back(text); }

    std::string nextName;
    // Run while the name dialog is open, once its name is typed (a close,
    // say), and while the Option dialog is open, before it answers.
    std::function<void()> whileInputOpen;
    std::function<void()> whileOptionOpen;
    std::vector<std::string> notes;
    std::optional<std::vector<std::string>> optionAnswer; // the eight edits' texts; none means Cancel
    std::vector<std::string> opened;
};

// The replays kept, by name; writes can be refused.
class MemoryReplays final : public ReplayStore {
  public:
    std::vector<std::string> List() override;
    bool Read(std::string_view name, std::string& text) override;
    bool Write(std::string_view name, std::string_view text) override;
    bool Remove(std::string_view name) override;

    std::map<std::string, std::string, std::less<>> replays;
    bool writable = true;
};

class RecordingHelp final : public HelpViewer {
  public:
    void Help(std::string_view fileName, HelpCommand command) override;
    std::vector<std::string> calls;
};

} // namespace ruvo
