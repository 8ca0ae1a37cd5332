// A game on the in-memory machine with the built-in art, started the way the
// program starts it but without the shell, for the tests of the game's
// routines: the game's steps are called as the shell calls them.
// SPDX-License-Identifier: MIT
#pragma once

#include "audio/audio.h"
#include "game/banners.h"
#include "game/flow.h"
#include "game/fonts.h"
#include "game/graphics.h"
#include "game/jumper.h"
#include "game/surfaces.h"
#include "game/title.h"
#include "game/window.h"
#include "render/icon.h"
#include "resources/embedded.h"
#include "settings/defaults.h"
#include "support/record_fixture.h"

namespace ruvo::testing {

class GameFixture : public RecordFixture {
  protected:
    // Up to the title: icons, fonts, art and sounds, music, the defaults and
    // saved settings, surfaces and grid, and the timer.
    void Start()
    {
        LoadIconPair(&resources, Icons().largeIcon, kProgramIconGroup, 32);
        LoadIconPair(&resources, Icons().smallIcon, kProgramIconGroup, 16);
        record.hInstance = &resources;
        record.fieldWidth = 384;
        record.fieldHeight = 200;
        record.stageWidth = record.fieldWidth + 64;
        record.stageHeight = record.fieldHeight + 64;
        CreateFonts(record);
        LoadGraphics(record);
        OpenMusic(record);
        LoadMusic(record);
        record.hwndMain = &window;
        InitDefaults(record);
        CreateSurfaces(record);
        InitTitle(record);
        record.timerId = window.SetTimer(1, record.tickInterval);
    }
    // What the Start command does on the title: a new game under its banner.
    void StartGame()
    {
        NewGame(record);
        DrawStatusLine(record);
        ShowStartBanner(record);
        InvalidateWindow(record);
    }
    // Started and past the start banner: a round in play.
    void Play()
    {
        Start();
        StartGame();
        Ticks(20);
    }
    void Ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            GameTick(record);
    }

    EmbeddedResources resources;
};

} // namespace ruvo::testing
