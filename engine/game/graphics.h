// The game's art and sounds from the program's resources.
// SPDX-License-Identifier: MIT
#pragma once

#include "record/record.h"

namespace ruvo {

// The drawing's sprite pairs and the small icon it draws per life.
int LoadSprites(Drawing& drawing, const ResourceLibrary* resources);
int FreeSprites(Drawing& drawing);

// The record's: its drawing's art, and the sound effects' WAVE images,
// prepared by the host's wave player.
int LoadGraphics(GameRecord& record);
int FreeGraphics(GameRecord& record);

} // namespace ruvo
