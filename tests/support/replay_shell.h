// A replay played on a machine of its own, heard and drawn as the window's
// game would be: its own switches, sounds, music and drawing, so that its
// trace lines and frames can be set beside the game it was recorded from.
// SPDX-License-Identifier: MIT
#pragma once

#include "audio/audio.h"
#include "game/drawing.h"
#include "game/fonts.h"
#include "game/graphics.h"
#include "game/surfaces.h"
#include "game/window.h"
#include "platform/headless/headless_host.h"
#include "replay/replay_play.h"
#include "resources/embedded.h"
#include "support/fixed_text.h"

namespace ruvo::testing {

class ReplayShell {
  public:
    explicit ReplayShell(Replay replay)
    {
        shell.host.text = &text;
        shell.host.wave = &wave;
        shell.host.music = &music;
        shell.hInstance = &resources;
        shell.hwndMain = &window;
        CreateFonts(shell.drawing, &text);
        LoadGraphics(shell);
        OpenMusic(shell);
        LoadMusic(shell);
        CreateSurfaces(shell.drawing, kFieldWidth, kFieldHeight);
        shell.soundOn = replay.start.soundOn;
        shell.musicOn = replay.start.musicOn;
        BeginReplayPlay(play, std::move(replay));
        Show();
    }
    // One tick of the replay, shown; false once it has ended.
    bool Step()
    {
        const bool going = StepReplayPlay(play, &shell);
        Show();
        return going;
    }
    const Surface& Frame() const { return *shell.drawing.frameBitmap; }

    FixedText text;
    EmbeddedResources resources;
    HeadlessWindow window;
    RecordingWavePlayer wave;
    StandInMusic music;
    GameRecord shell;
    ReplayPlay play;

  private:
    void Show()
    {
        DrawGame(shell.drawing, play.game);
        ServeRequests(shell, play.game);
    }
};

} // namespace ruvo::testing
