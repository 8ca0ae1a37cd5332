// One game as a value: everything its course depends on, from the grid, the
// jumper and the boss to the options in force, the high-score table it plays
// against and the values the program keeps from game to game (the random
// generator's seed among them). It holds no surface, font, store or host: a
// game is copied, run without a window, watched beside another or verified on
// any thread. What it shows is kept as its picture (record/picture.h), which
// the drawing turns into pixels; what it asks of the machine (a sound, a
// track, the timer, the menu, a repaint) waits in its requests until the
// session that plays it serves them.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "record/picture.h"
#include "record/program_state.h"

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

// The play field in game pixels; every platform shows it enlarged by a whole
// number. The stage is the field with a margin of 64 pixels, and the grid
// has a cell for every 8 x 8 pixels of the stage.
constexpr int kFieldWidth = 384;
constexpr int kFieldHeight = 200;
constexpr std::size_t kGridCells = static_cast<std::size_t>((kFieldWidth + 64) / 8) * ((kFieldHeight + 64) / 8);

// What a game asks of the session that plays it, in the order it asks.
enum class AskFor : std::uint8_t {
    Sound,      // value: the effect (audio/audio.h), played when sound is on
    Music,      // value: the track now selected, played when music is on
    Timer,      // value: the tick period to re-arm the timer with
    Menu,       // the menu follows the state
    Invalidate, // the window shows the new frame
};

struct Request {
    AskFor what = AskFor::Invalidate;
    std::int32_t value = 0;

    bool operator==(const Request&) const = default;
};

struct Game {
    std::int32_t fieldWidth = 0;
    std::int32_t fieldHeight = 0;
    std::int32_t stageWidth = 0;
    std::int32_t stageHeight = 0;
    std::int32_t gridCols = 0;
    std::int32_t gridRows = 0;
    std::array<std::uint8_t, kGridCells> grid{};
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
    // The high-score table the game plays against: its best score is on the
    // status line, its fifth decides whether a game enters it.
    std::array<std::uint32_t, 5> hiScores{};
    std::array<std::uint16_t, 5> hiRounds{};
    std::array<NameBuffer, 5> hiNames{};
    NameBuffer entryName{};
    std::uint32_t optRound = 0;
    std::uint32_t optDistance = 0;
    std::uint32_t optGameLevel = 0;
    std::uint32_t optBossLevel = 0;
    std::uint32_t optSpeed = 0;
    std::uint32_t optHarrySpeed = 0;
    std::uint32_t optHarryLevel = 0;
    std::int32_t optDamage = 0;
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
    // The values kept from game to game: seed, sun's frame, boss counters.
    ProgramState program;

    Picture picture;
    std::vector<Request> requests;
};

// Round theme index (round - 1) mod 10 on the unsigned round: round 0 wraps to 5.
constexpr std::uint32_t RoundTheme(std::uint32_t round)
{
    return (round - 1u) % 10u;
}

// The game's only source of chance, the game's own generator: seeded with 1
// when the program starts and never reseeded by the game, so that a game
// plays out the same way for the same inputs.
std::int32_t NextRandom(Game& game);

// A request of the game's, after those it made before.
void Ask(Game& game, AskFor what, std::int32_t value = 0);

} // namespace ruvo
