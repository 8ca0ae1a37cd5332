// The game record: the shell around one game. It holds the game itself (a
// value, record/game.h), the drawing that shows it (record/drawing.h), and
// what belongs to the machine and the player rather than to the game: the
// window and its timer, the host's services, the sound and music switches,
// the audio resources, and the replays recorded, kept and watched. One
// record is created at start-up and handed to every routine of the shell.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "record/drawing.h"
#include "record/game.h"
#include "record/host.h"
#include "record/replay_state.h"
#include "render/icon.h"
#include "render/resources.h"

namespace ruvo {

struct GameRecord {
    Game game;
    Drawing drawing;

    GameWindow* hwndMain = nullptr;
    const ResourceLibrary* hInstance = nullptr;
    // The window class's icons, also the About box's.
    ProgramIcons icons;
    // The platform services the shell talks to (text, settings, sound,
    // music, dialogs, help, replays).
    Host host{};
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
    std::int32_t soundOn = 0;
    std::int32_t musicOn = 0;
    std::int32_t optionEnabled = 0;
    std::array<ResourceData, 6> waveResources{};
    std::array<const std::uint8_t*, 6> waveData{};
    std::int32_t musicReady = 0;
    std::array<std::uint32_t, 4> musicHandles{};
    std::int32_t timerId = 0;
    // Bit k: row k holds an entry made in this run that the settings store
    // does not hold yet. A save inserts exactly these into the stored table,
    // so that another window's new entries, stored meanwhile, are kept.
    std::uint8_t hiUnsavedRows = 0;
    // A score that enters the table waits for its name (the name dialog is open).
    std::int32_t entryPending = 0;

    // Replays: the game under way as it is recorded, the replay being
    // watched in the window or raced against, if any (engine/replay).
    ReplayLog replayLog;
    std::unique_ptr<ReplayWatch> watch;
    std::unique_ptr<ReplayRace> race;
    // What the last replay watched came to, when it played to its end (for
    // a platform to show or check); empty while none has.
    ReplayResult lastWatched;
    // A replay asked for while a dialog was open: it starts once every
    // dialog has closed, so that none of them acts on the replay's game.
    std::unique_ptr<PendingReplay> pendingReplay;
    // The dialogs open now, one inside another (settings/dialog_logic.h).
    std::int32_t dialogsOpen = 0;
    // The player's own options, while the window's game plays from another
    // start's (a daily game, a race, a board's game); put back when the game
    // is over, before the title returns.
    std::optional<std::array<std::uint32_t, 8>> ownOptions;
};

} // namespace ruvo
