// The drawing: every resource that turns a game's picture into pixels (the
// sprite pairs, the stage and frame surfaces, the fonts, the sky's colour,
// the small icon drawn per life) and what it has drawn so far. One drawing
// serves the window's game and a replay watched in it alike
// (game/drawing.h draws a game with it).
// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "record/picture.h"
#include "render/draw.h"
#include "render/draw_context.h"
#include "render/resources.h"
#include "render/sprite.h"
#include "render/surface.h"
#include "render/text.h"

namespace ruvo {

struct Game;

struct Drawing {
    const ResourceLibrary* resources = nullptr;
    TextRenderer* text = nullptr;
    std::array<SpritePair, 4> jumperSprites{};
    std::array<SpritePair, 3> sunSprites{};
    SpritePair cloudSprite{};
    std::array<SpritePair, 10> groundSprites{};
    std::array<SpritePair, 10> platformSprites{};
    std::array<SpritePair, 10> bossSprites{};
    SpritePair bossTintSprite{};
    SpritePair bossWork{};
    SpritePair smallIcon{}; // the program's 16 x 16 icon, once per life on the status line
    std::int32_t fieldWidth = 0;
    std::int32_t fieldHeight = 0;
    std::unique_ptr<Surface> frameBitmap;
    std::unique_ptr<Surface> stageBitmap;
    // A race's ghost over the frame, where the window shows it: never in the
    // game's own frame. ghostArea of shownBitmap holds the frame's pixels
    // there with the ghost over them; the rest of shownBitmap is the whole
    // frame only once ShownFrame has been asked for it (a copy a tick would
    // cost more than the ghost itself).
    std::unique_ptr<Surface> shownBitmap;
    Surface ghostPatch{32, 32};
    Rect ghostArea{};
    bool ghostShown = false;
    bool shownWhole = false;
    DrawContext frameDC{};
    DrawContext stageDC{};
    DrawContext spriteDC{};
    std::uint32_t skyBrush = 0; // the sky's COLORREF once the brush exists
    FontId textFont = 0;
    FontId logoFont = 0;

    // What the surfaces show: the game drawn last, and how far into its
    // picture; another game, or a picture that has moved on further than
    // the surfaces can follow, is drawn whole.
    struct Shown {
        const Game* game = nullptr;
        std::uint64_t columnsMade = 0;
        std::uint8_t clouds = 0; // of the newest column
        std::uint64_t composes = 0;
        std::size_t marks = 0;
        std::uint32_t repeat = 0; // of the last mark drawn
        BossLook look;
    } shown;
};

} // namespace ruvo
