// The engine's view of the machine it runs on. The engine never touches a
// window system, a sound device or a settings file itself: it calls these
// small interfaces, which each platform layer implements (the desktop's, the
// page's and Windows') and the headless runner and the tests implement in
// memory. The text, painting and resource interfaces belong to the drawing
// layer below.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "render/draw.h"
#include "render/resources.h"
#include "render/text.h"

namespace ruvo {

struct GameRecord;

enum MenuId : std::uint16_t {
    IDM_START = 101,
    IDM_PAUSE = 102,
    IDM_HIGHSCORE = 103,
    IDM_SOUND = 104,
    IDM_MUSIC = 105,
    IDM_OPTION = 106,
    IDM_HELP = 107,
    IDM_ABOUT = 108,
    IDM_EXIT = 109,
    // Past the View items' ids (app/menu_table.h).
    IDM_REPLAYS = 114,
    IDM_DAILY = 115,
    IDM_BOARD = 116,
};

constexpr const char* kClassName = "RuvoWClass";
constexpr const char* kWindowTitle = "Ruvo Zelp! for Windows 95";
constexpr const char* kHelpFile = "RUVO.HLP";

// Every platform's timer fires every 10 ms at the fastest: a shorter period,
// or 0, would only spin the processor.
constexpr std::int32_t kShortestTimerMs = 10;

class GameWindow;

// What the window hands the window procedure.
enum class MessageKind { Create, Paint, Timer, Command, Char, LButtonDown, Close, Destroy };

// The one character the game takes, the space bar's: it dives, as a click does.
constexpr std::uint32_t kDiveCharacter = ' ';

struct Message {
    MessageKind kind = MessageKind::Timer;
    std::uint32_t code = 0;       // timer id, command id or character
    GameWindow* window = nullptr; // Create: the new window
    PaintTarget* paint = nullptr; // Paint: where the repaint lands
};

// The game window as the engine sees it: its timer, its menu and its life.
class GameWindow {
  public:
    virtual ~GameWindow() = default;
    // Whole client area, no erasing; a paint message follows.
    virtual void Invalidate() = 0;
    // Starts (or re-arms) timer id with the period; returns the timer's id.
    virtual std::int32_t SetTimer(std::int32_t id, std::int32_t periodMs) = 0;
    virtual void KillTimer(std::int32_t id) = 0;
    virtual void CheckMenuItem(MenuId item, bool checked) = 0;
    virtual void EnableMenuItem(MenuId item, bool enabled) = 0;
    virtual void DrawMenuBar() = 0;
    virtual void Show(int showCommand) = 0;
    // Destroys the window: timers stop, and a destroy message follows.
    virtual void Destroy() = 0;
    virtual void PostQuit(int exitCode) = 0;
    // The caption: the game's title, with the replay's state while one plays.
    virtual void ShowCaption(std::string_view text) { (void)text; }
};

// The settings store: one key with named values, as a registry key would be.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Reading: false when the store or the value is missing or unreadable.
    virtual bool QueryDword(std::string_view name, std::uint32_t& value) = 0;
    // Fills text; false when missing, unreadable or longer than maxBytes.
    virtual bool QueryString(std::string_view name, std::string& text, std::size_t maxBytes) = 0;
    // Takes in what other windows of the game have stored since: the queries
    // that follow read the store as it is now, not a copy kept from before.
    virtual void Refresh() {}
    // Writing: Create opens the key for writing (creating it), Close commits.
    virtual bool Create() = 0;
    virtual void SetDword(std::string_view name, std::uint32_t value) = 0;
    virtual void SetString(std::string_view name, std::string_view text) = 0;
    virtual void Close() = 0;
};

// Plays a WAVE file image from memory without waiting. One effect at a time:
// a new one cuts off the one still playing. An image it can't play is silent.
class WavePlayer {
  public:
    virtual ~WavePlayer() = default;
    // Called once per effect at start-up, so that playing needs no decoding.
    virtual void Prepare(const std::uint8_t* image, std::size_t size)
    {
        (void)image;
        (void)size;
    }
    virtual void Play(const std::uint8_t* image, std::size_t size) = 0;
};

// The background-music library: open, load by bare file name, play, stop,
// free, close. Handles are 32-bit; 0 means "no track".
class MusicLibrary {
  public:
    virtual ~MusicLibrary() = default;
    virtual std::int32_t KBGMOpen(std::int32_t voices, std::int32_t device) = 0;
    virtual std::int32_t KBGMLoadFile(std::uint32_t* handle, const char* fileName) = 0;
    virtual std::int32_t KBGMPlay(std::uint32_t handle, std::int32_t repeat) = 0;
    virtual std::int32_t KBGMStop() = 0;
    virtual std::int32_t KBGMFree(std::uint32_t handle) = 0;
    virtual std::int32_t KBGMClose() = 0;
};

// The four modal dialogs. Each runs to its end before returning.
class DialogHost {
  public:
    virtual ~DialogHost() = default;
    virtual int RunAbout() = 0;
    virtual int RunOption(GameRecord& record) = 0;
    virtual int RunHighScore(GameRecord& record) = 0;
    virtual int RunInput(GameRecord& record) = 0;
    // The window closes (or the session ends) while dialogs may be open:
    // every open dialog ends at once, the name dialog keeping the name typed
    // so far as OK would. Where a dialog holds the window's closing off until
    // it ends, there is nothing to do.
    virtual void EndDialogs() {}
    // The list of kept replays (app/replay_keep.h), with Watch, Save As,
    // Open and Delete. An edition without it offers nothing.
    virtual int RunReplays(GameRecord& record)
    {
        (void)record;
        return 0;
    }
    // The board dialog (replay/board_client.h): the board's address where the
    // edition keeps one, Play for the Board, and the board's page opened.
    // An edition that talks to no board offers nothing.
    virtual int RunBoard(GameRecord& record)
    {
        (void)record;
        return 0;
    }
    // Tells the player something, once, in a message box or the page's note:
    // what went wrong and was not their doing (a replay that could not be
    // kept), or how a race ended.
    virtual void ShowNote(std::string_view text) { (void)text; }
};

enum class HelpCommand { Finder, Quit };

class HelpViewer {
  public:
    virtual ~HelpViewer() = default;
    virtual void Help(std::string_view fileName, HelpCommand command) = 0;
};

// Where the game keeps replays: the last game's and one for each row of the
// high-score table, each a text under a name of the engine's choosing (letters,
// digits and '-'). The store may be shared with other windows of the game.
class ReplayStore {
  public:
    virtual ~ReplayStore() = default;
    virtual std::vector<std::string> List() = 0;
    // False when there is no such replay or it cannot be read.
    virtual bool Read(std::string_view name, std::string& text) = 0;
    // Replaces the replay of that name whole, or leaves it as it was.
    virtual bool Write(std::string_view name, std::string_view text) = 0;
    virtual bool Remove(std::string_view name) = 0;
};

struct Host {
    TextRenderer* text = nullptr;
    SettingsStore* settings = nullptr;
    WavePlayer* wave = nullptr;
    MusicLibrary* music = nullptr;
    DialogHost* dialogs = nullptr;
    HelpViewer* help = nullptr;
    ReplayStore* replays = nullptr;
    // Whether the Board... item shows: the edition can talk to a board (the
    // page only where a board serves it).
    bool board = false;
    // The edition named in the replays it records: "desktop", "windows" or "web".
    const char* edition = "";
};

} // namespace ruvo
