// A game's picture drawn into the drawing's stage and frame.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/drawing.h"
#include "record/game.h"

namespace ruvo {

// Draws what the game's picture holds that the surfaces do not show yet:
// while the drawing follows one game, only what is new since it last drew
// it; the whole picture for a game it has not drawn before, or one whose
// picture has moved on further than the surfaces can follow. Either way the
// frame ends as the game's own drawing, step by step, would have left it.
void DrawGame(Drawing& drawing, const Game& game);

// The next game given to DrawGame is drawn whole (it may be this one again,
// changed in place).
void ForgetDrawn(Drawing& drawing);

// A race's ghost, see-through (every other pixel of its jumper) over a copy
// of the frame that the window shows instead; and gone again.
void DrawGhost(Drawing& drawing, const Game& ghost);
void HideGhost(Drawing& drawing);
// The frame the window shows: the game's own, or the copy with the ghost.
const Surface* ShownFrame(const Drawing& drawing);

} // namespace ruvo
