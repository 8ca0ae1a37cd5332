// The game record: nearly all state of the running game lives here, from the
// drawing surfaces to the options and the high-score table. One record is
// created at start-up, zero-filled, and handed to every routine.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "record/host.h"
#include "record/replay_state.h"
#include "render/draw_context.h"
#include "render/resources.h"
#include "render/sprite.h"
#include "render/surface.h"

namespace ruvo {

// The 16-bit state word: the low byte is the game state, the high byte the
// follow-up of a banner wait.
enum GameState : std::uint16_t {
    StateTitle = 0x01,
    StatePlay = 0x02,
    StatePause = 0x04,
    StateBanner = 0x08,
    StateDissolve = 0x10,
};

enum FollowUp : std::uint16_t {
    AfterStart = 0x01,
    AfterGameOver = 0x02,
    AfterHurry = 0x04,
    AfterClear = 0x10,
};

constexpr std::uint16_t MakeStateWord(std::uint16_t followUp, std::uint16_t state)
{
    return static_cast<std::uint16_t>((followUp << 8) | state);
}

constexpr std::uint16_t kStartBannerWord = MakeStateWord(AfterStart, StateBanner);       // 0x0108
constexpr std::uint16_t kGameOverBannerWord = MakeStateWord(AfterGameOver, StateBanner); // 0x0208
constexpr std::uint16_t kHurryBannerWord = MakeStateWord(AfterHurry, StateBanner);       // 0x0408
constexpr std::uint16_t kClearBannerWord = MakeStateWord(AfterClear, StateBanner);       // 0x1008

// Collision grid cell codes. Writers overwrite; readers test bits.
enum CellCode : std::uint8_t {
    CellEmpty = 0,
    CellFloor = 1,
    CellPlatform = 2,
    CellBoss = 4,
};

using NameBuffer = std::array<char, 32>;

// The play field in game pixels, as start-up gives it to the record; every
// platform shows it enlarged by a whole number.
constexpr int kFieldWidth = 384;
constexpr int kFieldHeight = 200;

struct GameRecord {
    GameWindow* hwndMain = nullptr;
    const ResourceLibrary* hInstance = nullptr;
    std::array<SpritePair, 4> jumperSprites{};
    std::array<SpritePair, 3> sunSprites{};
    SpritePair cloudSprite{};
    std::array<SpritePair, 10> groundSprites{};
    std::array<SpritePair, 10> platformSprites{};
    std::array<SpritePair, 10> bossSprites{};
    SpritePair bossTintSprite{};
    SpritePair bossWork{};
    std::int32_t windowWidth = 0;
    std::int32_t windowHeight = 0;
    std::int32_t fieldWidth = 0;
    std::int32_t fieldHeight = 0;
    std::int32_t stageWidth = 0;
    std::int32_t stageHeight = 0;
    std::int32_t gridCols = 0;
    std::int32_t gridRows = 0;
    std::unique_ptr<Surface> frameBitmap;
    std::unique_ptr<Surface> stageBitmap;
    DrawContext frameDC{};
    DrawContext stageDC{};
    DrawContext spriteDC{};
    std::uint32_t skyBrush = 0; // the sky's COLORREF once the brush exists
    FontId textFont = 0;
    FontId logoFont = 0;
    std::unique_ptr<std::uint8_t[]> gridHandle;
    std::int32_t scrollX = 0;
    std::int32_t jumperCol = 0;
    std::int32_t jumperRow = 0;
    std::int32_t jumperVy = 0;
    std::int32_t jumperLook = 0;
    std::int32_t bossCol = 0;
    std::int32_t bossRow = 0;
    std::int32_t bossDx = 0;
    std::int32_t bossDy = 0;
    std::uint16_t state = 0;
    std::int32_t lives = 0;
    std::int32_t tickInterval = 0;
    std::int32_t hurryInterval = 0;
    std::uint32_t score = 0;
    std::uint32_t round = 0;
    std::uint32_t roundTicks = 0;
    std::int32_t bossHits = 0;
    std::array<std::uint32_t, 5> hiScores{};
    std::array<std::uint16_t, 5> hiRounds{};
    std::array<NameBuffer, 5> hiNames{};
    NameBuffer entryName{};
    // Bit k: row k holds an entry made in this run that the settings store
    // does not hold yet. A save inserts exactly these into the stored table,
    // so that another window's new entries, stored meanwhile, are kept.
    std::uint8_t hiUnsavedRows = 0;
    // A score that enters the table waits for its name (the name dialog is open).
    std::int32_t entryPending = 0;
    std::int32_t soundOn = 0;
    std::int32_t musicOn = 0;
    std::int32_t optionEnabled = 0;
    std::array<ResourceData, 6> waveResources{};
    std::array<const std::uint8_t*, 6> waveData{};
    std::int32_t musicReady = 0;
    std::array<std::uint32_t, 4> musicHandles{};
    std::uint32_t optRound = 0;
    std::uint32_t optDistance = 0;
    std::uint32_t optGameLevel = 0;
    std::uint32_t optBossLevel = 0;
    std::uint32_t optSpeed = 0;
    std::uint32_t optHarrySpeed = 0;
    std::uint32_t optHarryLevel = 0;
    std::int32_t optDamage = 0;
    std::int32_t timerId = 0;
    std::int32_t gapRun = 0;
    std::int32_t maxGap = 0;
    std::int32_t bannerTicks = 0;
    std::int32_t bossColMax = 0;
    std::int32_t bossRowMax = 0;
    std::int32_t bossColMin = 0;
    std::int32_t bossRowMin = 0;
    std::int32_t bossActive = 0;
    std::int32_t stompArmed = 0;
    std::int32_t paused = 0;
    std::int32_t hurryActive = 0;
    std::int32_t musicTrack = 0;

    // The platform services the routines talk to (text, settings, sound,
    // music, dialogs, help, replays). Not part of the game's state.
    Host host{};

    // Replays: the game under way as it is recorded, and the replay being
    // watched in the window, if any (app/replay_record.h, app/replay_watch.h).
    ReplayLog replayLog;
    std::unique_ptr<ReplayWatch> watch;
    // A replay asked for while a dialog was open: it starts once every
    // dialog has closed, so that none of them acts on the replay's game.
    std::unique_ptr<Replay> pendingWatch;
    // The dialogs open now, one inside another (settings/dialog_logic.h).
    std::int32_t dialogsOpen = 0;
    // What the last replay watched came to, when it played to its end (for
    // a platform to show or check); empty while none has.
    ReplayResult lastWatched;
};

// Round theme index (round - 1) mod 10 on the unsigned round: round 0 wraps to 5.
constexpr std::uint32_t RoundTheme(std::uint32_t round)
{
    return (round - 1u) % 10u;
}

// The game's only source of chance: seeded with 1 at program start and never
// reseeded by the game, so every run plays out the same way for the same
// inputs. Its seed is one of the program-wide values (record/program_state.h).
std::int32_t NextRandom();
std::uint32_t RandomSeed();

} // namespace ruvo
