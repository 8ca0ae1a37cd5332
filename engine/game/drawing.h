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

// A race's ghost, see-through (every other pixel of its jumper), over the
// frame where the window shows it; and gone again.
void DrawGhost(Drawing& drawing, const Game& ghost);
void HideGhost(Drawing& drawing);
// The frame as the window shows it, whole: the game's own, or a copy of it
// with the ghost over it (made when asked for, not every tick).
const Surface* ShownFrame(Drawing& drawing);
// A repaint of the window: the game's frame, and the ghost over it.
void PaintShown(const Drawing& drawing, PaintTarget& paint);

} // namespace ruvo
