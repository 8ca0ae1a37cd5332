// The program's entry: the Qt and SDL machine under the game's own WinMain.
#include <QApplication>

#include "app/shell.h"
#include "platform/help_viewer.h"
#include "platform/qt_dialogs.h"
#include "platform/qt_settings.h"
#include "platform/qt_text.h"
#include "platform/qt_window.h"
#include "platform/sdl_audio.h"
#include "resources/embedded.h"

int main(int argc, char** argv)
{
    // A high-DPI screen scales the 384 x 200 field by whole pixels only, so
    // that every game pixel stays a sharp square.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication application(argc, argv);
    QApplication::setOrganizationName("Tolp");
    QApplication::setApplicationName("Ruvo");
    // Ties the window to its desktop entry and icon where the window class
    // does not (Wayland's app id).
    QGuiApplication::setDesktopFileName("org.tolp.Ruvo");

    ruvo::EmbeddedResources resources;
    ruvo::QtTextRenderer text;
    ruvo::QtSettingsStore settings;
    ruvo::SdlWavePlayer wave;
    ruvo::SdlMusicLibrary music;
    ruvo::QtWindowSystem windows;
    ruvo::QtDialogHost dialogs(windows);
    ruvo::QtHelpViewer help;

    ruvo::Host host;
    host.text = &text;
    host.settings = &settings;
    host.wave = &wave;
    host.music = &music;
    host.dialogs = &dialogs;
    host.help = &help;
    return ruvo::WinMain(windows, host, &resources, 1);
}
