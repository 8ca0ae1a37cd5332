// The play field as an X server shows it, where the field draws itself: the
// game started as the program starts it, on Qt's X11 platform and an Xvfb of
// this process's own (scratch_environment.cpp), and the window's pixels read
// back from the server.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>

#include "game_on_qt.h"
#include "platform/desktop/qt_game_window.h"
#include "platform/desktop/qt_play_field.h"
#include "replay/replay_race.h"
#include "support/game_run.h"

namespace ruvo {
namespace {

class FieldOnX : public testing::GameOnQt {
  protected:
    PlayField& Field() const { return *static_cast<PlayField*>(field); }

    // The field's window as the server has it.
    QImage Shown() const override { return field->screen()->grabWindow(field->winId()).toImage(); }

    // The server draws what the presenter sends in its own time.
    bool ShowsTheFrame() const
    {
        return QTest::qWaitFor([this] { return Differences(Field().Zoom()) == 0; }, 5000);
    }
};

// A race's ghost is a square of its own over the frame: the server shows it
// where it is, in every tick the check looks at, and the frame again where
// it was, once it has moved on or gone. Then play at every zoom: the
// automatic size on 1920 x 1080 is 3x; the largest window there is 5x.
TEST_F(FieldOnX, ARacesGhostShowsOverTheFrameAndEveryGamePixelIsASharpBlockAtEveryZoomAndAfterAnExpose)
{
    // The ghost's game: short, a dive every ninth tick.
    ASSERT_EQ(RaceReplay(*record, testing::RecordedGame(9, "Bea")), "");
    dialogs.nextName = "Cy";
    // The ticks are the test's own: the game's timer would move the ghost on
    // while the server is awaited.
    const auto showsTheFrame = [this] {
        windows.Window()->KillTimer(1);
        return ShowsTheFrame();
    };
    int overFrame = 0, goneFrom = 0;
    bool shownBefore = false;
    for (int k = 1; record->race && k < 100000; ++k) {
        if (k % 5 == 0)
            MainWndProc(*record, Message{MessageKind::LButtonDown});
        Ticks(1);
        const bool shown = record->drawing.ghostShown;
        if (shown && overFrame < 4 && k % 3 == 0 &&
            ShownFrame(record->drawing)->Pixels() != record->drawing.frameBitmap->Pixels()) {
            EXPECT_TRUE(showsTheFrame()) << "the ghost over the frame at tick " << k;
            ++overFrame;
        }
        if (!shown && shownBefore && goneFrom < 2) {
            EXPECT_TRUE(showsTheFrame()) << "the ghost gone at tick " << k;
            ++goneFrom;
        }
        shownBefore = shown;
    }
    EXPECT_EQ(overFrame, 4);
    EXPECT_GE(goneFrom, 1);
    EXPECT_FALSE(record->race) << "the race ends";
    EXPECT_TRUE(ShowsTheFrame()) << "after the race";

    ASSERT_TRUE(Field().DrawsItself());
    ASSERT_EQ(Field().Zoom(), 3);
    EXPECT_TRUE(ShowsTheFrame()) << "3x at the start";
    QTest::keyClick(frame, Qt::Key_F2);
    ASSERT_TRUE(TicksUntilPlay());
    for (const int zoom : {3, 2, 1, 2, 3, 4, 5}) {
        if (zoom != Field().Zoom())
            QTest::keyClick(frame, zoom > Field().Zoom() ? Qt::Key_Plus : Qt::Key_Minus, Qt::ControlModifier);
        ASSERT_EQ(Field().Zoom(), zoom);
        // Play scrolls the landscape and moves the jumper; the pause banner
        // changes a block in the middle only.
        Ticks(7);
        EXPECT_TRUE(ShowsTheFrame()) << zoom << "x in play";
        QTest::keyClick(frame, Qt::Key_F3);
        Ticks(1);
        EXPECT_TRUE(ShowsTheFrame()) << zoom << "x paused";
        QTest::keyClick(frame, Qt::Key_F3);
    }

    // Another window covers the field and goes; the server asks for it again.
    QWidget cover(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    cover.setGeometry(QRect(field->mapToGlobal(QPoint(0, 0)), field->size()));
    cover.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&cover));
    ASSERT_TRUE(QTest::qWaitFor([this] { return Differences(Field().Zoom()) > 0; }, 5000));
    cover.hide();
    EXPECT_TRUE(ShowsTheFrame()) << "after an expose";
}

} // namespace
} // namespace ruvo
