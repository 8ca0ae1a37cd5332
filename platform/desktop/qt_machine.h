// The real machine under the game: Qt's window system, text, settings,
// dialogs and help, and SDL's sound, gathered into the host the engine sees.
// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/desktop/help_viewer.h"
#include "platform/desktop/qt_dialogs.h"
#include "platform/desktop/qt_settings.h"
#include "platform/desktop/qt_text.h"
#include "platform/desktop/qt_window.h"
#include "platform/desktop/sdl_audio.h"
#include "record/host.h"

namespace ruvo {

// Before the QApplication exists: a high-DPI screen scales the 384 x 200
// field by whole pixels only, so that every game pixel stays a sharp square.
void PrepareQtApplication();
// After it exists: the names the settings store and the desktop go by.
void NameQtApplication();

// Needs the QApplication. The settings default to the user's own store.
struct QtMachine {
    explicit QtMachine(std::unique_ptr<QtSettingsStore> store = std::make_unique<QtSettingsStore>());
    Host MakeHost();

    QtTextRenderer text;
    std::unique_ptr<QtSettingsStore> settings;
    SdlWavePlayer wave;
    SdlMusicLibrary music;
    QtWindowSystem windows;
    QtDialogHost dialogs{windows};
    QtHelpViewer help;
};

} // namespace ruvo
