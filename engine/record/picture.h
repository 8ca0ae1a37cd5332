// What a game shows, as values: the scenery columns that fill the stage and
// everything drawn on the frame since the stage was last copied into it. The
// game's routines add to it as they decide; the drawing (game/drawing.h)
// turns it into the stage's and the frame's pixels, step by step while it
// follows one game, or whole for a game it has not drawn before (a replay
// watched, the game after it), so that the same surfaces serve every game.
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace ruvo {

// The stage holds the field's twelve columns of 32 pixels and the one that
// scrolls in at its right; a column takes clouds while it is the newest,
// during the four 8-pixel steps before the next one comes (room for more is
// kept, never used).
constexpr std::size_t kStageColumns = 13;
constexpr std::size_t kCloudsPerColumn = 8;

struct SceneryColumn {
    bool made = false; // sky, ground and perhaps a platform; a column not made shows only its clouds
    bool platform = false;
    std::uint8_t theme = 0;
    std::uint8_t clouds = 0;
    std::array<std::int16_t, kCloudsPerColumn> cloudY{};

    bool operator==(const SceneryColumn&) const = default;
};

// The boss's picture of the moment: its round's theme, plain or tinted.
struct BossLook {
    bool set = false;
    std::uint8_t theme = 0;
    bool tinted = false;

    bool operator==(const BossLook&) const = default;
};

enum class MarkKind : std::uint8_t {
    Sun,        // a: frame
    Jumper,     // a: picture; x, y
    Boss,       // x, y: the boss's picture at the boss's place
    Silhouette, // x, y: the stomped boss in the mask's colour
    BossLook,   // a: theme; b: tinted: the boss's picture is made anew
    Status,     // b: best score, c: score, d: round, x: lives
    Title,      // the logo and the credit line
    Banner,     // a: BannerText; d: round (Round Clear); repeat: times drawn
    Stamp,      // a: picture; x, y: the jumper drawn into the stage
    Wipe,       // a: step; x, y: the boss's corner; b: the stage's offset
};

enum class BannerText : std::uint8_t { Start, RoundClear, GameOver, HurryUp, Pause };

struct Mark {
    MarkKind kind = MarkKind::Sun;
    std::uint8_t a = 0;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint32_t b = 0;
    std::uint32_t c = 0;
    std::uint32_t d = 0;
    // A pause shows its banner again on every tick: one mark counts them all,
    // so that a long pause does not grow the picture.
    std::uint32_t repeat = 1;

    bool operator==(const Mark&) const = default;
};

struct Picture {
    // The newest kStageColumns columns, the newest at columnsMade % kStageColumns.
    std::array<SceneryColumn, kStageColumns> columns{};
    std::uint64_t columnsMade = 0;
    // The stage copied into the frame: how often, and at which offset last.
    std::uint64_t composes = 0;
    std::int32_t composeX = 0;
    BossLook look;           // the boss's picture now
    BossLook lookAtCompose;  // and when the stage was last copied
    std::vector<Mark> marks; // since the stage was last copied, in order

    bool operator==(const Picture&) const = default;
};

// The ring's slot of the column made as the count'th (the newest's, for the count of all).
constexpr std::size_t ColumnSlot(std::uint64_t count)
{
    return static_cast<std::size_t>(count % kStageColumns);
}

// The game's routines add to the picture through these.
void AddColumn(Picture& picture, std::uint32_t theme, bool platform);
void AddCloud(Picture& picture, std::int32_t y);
void Compose(Picture& picture, std::int32_t scrollX);
void AddMark(Picture& picture, const Mark& mark);
void SetBossLook(Picture& picture, std::uint32_t theme, bool tinted);

// The column that shows at stage column i (0 the leftmost, kStageColumns - 1
// the newest), or null where none has come yet.
const SceneryColumn* ColumnAt(const Picture& picture, std::size_t i);

} // namespace ruvo
