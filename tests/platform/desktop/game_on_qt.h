// The game started as the program starts it, on the Qt platform the test
// process runs (offscreen, or X11 on a server of its own), with recording
// stand-ins for the settings, the dialogs and the help viewer, its view choice
// kept in a file of its own; and what the field shows set against the frame.
// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <utility>

#include "app/shell.h"
#include "game/drawing.h"
#include "platform/desktop/qt_settings.h"
#include "platform/desktop/qt_window.h"
#include "platform/headless/headless_host.h"
#include "resources/embedded.h"

namespace ruvo::testing {

class GameOnQt : public ::testing::Test {
  protected:
    void SetUp() override
    {
        host.settings = &settings;
        host.dialogs = &dialogs;
        host.help = &help;
        windows.KeepViewIn(&viewStore);
        record = StartUp(windows, host, &resources, 1);
        ASSERT_NE(record, nullptr);
        field = windows.PlayField();
        ASSERT_NE(field, nullptr);
        frame = qobject_cast<QMainWindow*>(field->window());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        // The menu's keys reach the game only in the active window: on a loaded
        // machine the X server's focus may come well after the window shows.
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }
    void TearDown() override
    {
        if (record)
            ShutDown(std::move(record));
    }

    void Ticks(int count)
    {
        for (int tick = 0; tick < count; ++tick)
            MainWndProc(*record, Message{MessageKind::Timer, 1});
    }
    // From F2 (or the controller's Start) through the start banner to play.
    bool TicksUntilPlay()
    {
        for (int tick = 0; tick < 200 && (record->game.state & 0xFF) != StatePlay; ++tick)
            Ticks(1);
        return (record->game.state & 0xFF) == StatePlay;
    }

    // What the window shows of the field: here, the field as it paints itself.
    virtual QImage Shown() const { return field->grab().toImage(); }
    // The number of shown pixels that differ from the game pixel they belong
    // to at `zoom`, in the frame as the window shows it (a race's ghost over
    // it); -1 when the field shown is not the frame at that zoom.
    int Differences(int zoom) const
    {
        const QImage shown = Shown().convertToFormat(QImage::Format_RGB32);
        const Surface& frameBuffer = *ShownFrame(record->drawing);
        if (shown.size() != QSize(frameBuffer.Width(), frameBuffer.Height()) * zoom)
            return -1;
        int differences = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                differences += (shown.pixel(x, y) & 0xFFFFFFu) != frameBuffer.At(x / zoom, y / zoom) ? 1 : 0;
        return differences;
    }

    QTemporaryDir folder;
    QtSettingsStore viewStore{folder.filePath("view.ini").toStdString()};
    EmbeddedResources resources;
    MemorySettings settings;
    ScriptedDialogs dialogs;
    RecordingHelp help;
    Host host;
    QtWindowSystem windows;
    std::unique_ptr<GameRecord> record;
    QWidget* field = nullptr;
    QMainWindow* frame = nullptr;
};

} // namespace ruvo::testing
