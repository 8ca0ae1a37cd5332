// Tests of the desktop game window on Qt's offscreen platform.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>

#include <SDL.h>

#include "game_on_qt.h"
#include "platform/desktop/qt_game_window.h"
#include "platform/desktop/qt_menu.h"
#include "platform/desktop/sdl_gamepad.h"

namespace ruvo {
namespace {

using GameWindowOnQt = testing::GameOnQt;

// One window through its life. The title and the icon are the script tests'
// to check, on a real X server. The window opens on the 800 x 600 offscreen
// screen: automatic is 1x, and 2x is the most a window can have. Dragged onto
// the 1920 x 1080 screen, the window takes that screen's sizes: 3x
// automatically, up to 5x by choice. A choice too large for the small screen
// shows there as large as fits, and is kept for the large one. Full screen
// shows the largest field centred on black, and Escape leaves it. SDL's
// virtual controller, plugged in while the game runs, goes the way of the
// keys, through the same greyed commands, and can go again.
TEST_F(GameWindowOnQt, HoldsTheFieldUnderTheMenuTakesKeysClicksAndAControllerZoomsSharplyOnEveryScreenAndCloses)
{
    // A jumper on its way up, which a dive sends down: its speed after `act`.
    const auto speedAfter = [this](const std::function<void()>& act) {
        record->game.jumperRow = 5;
        record->game.jumperVy = -1;
        act();
        return record->game.jumperVy;
    };
    // The view choice as its file keeps it.
    const auto savedView = [this] {
        viewStore.Create();
        viewStore.Close();
        QtSettingsStore reread(folder.filePath("view.ini").toStdString());
        return ReadViewChoice(reread);
    };
    const ViewActions& view = windows.Window()->ViewItems();
    EXPECT_EQ(field->size(), QSize(384, 200));
    EXPECT_EQ(field->mapTo(frame, QPoint(0, 0)), QPoint(0, frame->menuBar()->height()));
    // The size the game computed from the metrics is the window's real size.
    EXPECT_EQ(frame->size(), QSize(record->windowWidth, record->windowHeight));
    EXPECT_EQ(windows.GetSystemMetric(SystemMetric::CyMenu), frame->menuBar()->height());
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
    // A minimize and a close box, no maximize box.
    const Qt::WindowFlags boxes = Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;
    EXPECT_EQ(frame->windowFlags() & (boxes | Qt::WindowMaximizeButtonHint), boxes);

    QStringList layout;
    for (QAction* popup : frame->menuBar()->actions()) {
        layout << popup->text();
        for (QAction* item : popup->menu()->actions())
            layout << (item->isSeparator() ? "-" : "  " + item->text() + " " + item->shortcut().toString());
    }
    EXPECT_EQ(
        layout.join('|').toStdString(),
        "&Game|  &Start F2|  &Daily Challenge |  &Pause F3|-|  &High Score F8|  &Replays... |  &Board... |-|  E&xit |"
        "&Option|  &Sound F4|  &Music F5|-|  &Option |"
        "&View|  Zoom &In Ctrl++|  Zoom &Out Ctrl+-|  &Automatic Size Ctrl+0|  &Full Screen F11|"
        "&Help|  &Help F1|  &About F10");

    SdlGamepads& pads = *windows.Gamepads();
    const int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                                SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    // Noticed by the slow poll.
    ASSERT_TRUE(QTest::qWaitFor([&pads] { return pads.Attached() == 1; }, 3000));
    SDL_Joystick* stick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(stick, nullptr);
    const auto press = [&pads, stick](SDL_GameControllerButton button) {
        SDL_JoystickSetVirtualButton(stick, button, 1);
        pads.Poll();
        SDL_JoystickSetVirtualButton(stick, button, 0);
        pads.Poll();
    };
    // Space, a left click and the controller's A and B dive (the speed turns
    // to 1); nothing else does, and nothing here starts a game. What the
    // commands do is the game's, tested with the engine.
    const std::pair<std::int32_t, std::function<void()>> actions[] = {
        {1, [&] { QTest::keyClick(frame, Qt::Key_Space); }},
        {1, [&] { QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100)); }},
        {1, [&] { press(SDL_CONTROLLER_BUTTON_A); }},
        {1, [&] { press(SDL_CONTROLLER_BUTTON_B); }},
        {-1, [&] { QTest::keyClick(frame, Qt::Key_A); }},
        {-1, [&] { QTest::keyClick(frame, Qt::Key_Return); }},
        {-1, [&] { QTest::keyClick(frame, Qt::Key_Space, Qt::AltModifier); }},
        {-1, [&] { QTest::mouseClick(field, Qt::RightButton, Qt::NoModifier, QPoint(200, 100)); }},
        {-1, [&] { press(SDL_CONTROLLER_BUTTON_BACK); }},
        {-1, [&] { press(SDL_CONTROLLER_BUTTON_X); }}};
    for (std::size_t k = 0; k < std::size(actions); ++k)
        EXPECT_EQ(speedAfter(actions[k].second), actions[k].first) << k;
    EXPECT_EQ(record->game.state, StateTitle);

    // The layout above pairs each item's label with its command's key.
    QAction* start = windows.Window()->Action(IDM_START);
    QAction* pause = windows.Window()->Action(IDM_PAUSE);
    QAction* sound = windows.Window()->Action(IDM_SOUND);
    QAction* option = windows.Window()->Action(IDM_OPTION);
    ASSERT_TRUE(start && pause && sound && option);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(pause->isEnabled());
    EXPECT_FALSE(option->isEnabled()); // the Option value is not set
    EXPECT_FALSE(sound->isChecked());
    QTest::keyClick(frame, Qt::Key_F4);
    EXPECT_EQ(record->soundOn, 1);
    EXPECT_TRUE(sound->isChecked());
    sound->trigger();
    EXPECT_EQ(record->soundOn, 0);

    QTest::keyClick(frame, Qt::Key_F11);
    ASSERT_TRUE(frame->isFullScreen());
    // The offscreen platform leaves the size alone: give the window the whole
    // screen, as a window manager does.
    frame->resize(800, 600);
    EXPECT_TRUE(view.fullScreen->isChecked());
    EXPECT_FALSE(view.zoomIn->isEnabled());
    EXPECT_EQ(savedView(), (ViewChoice{0, true}));
    // 2x under the menu bar, centred in what is left, black around it.
    const int bar = frame->menuBar()->height();
    ASSERT_EQ(field->size(), QSize(768, 400));
    EXPECT_EQ(field->mapTo(frame, QPoint(0, 0)), QPoint(16, bar + (600 - bar - 400) / 2));
    const QImage whole = frame->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(whole.pixel(5, 599) & 0xFFFFFFu, 0u);
    EXPECT_EQ(whole.pixel(795, bar + 1) & 0xFFFFFFu, 0u);
    EXPECT_EQ(Differences(2), 0);

    // Escape leaves full screen, Alt+Return enters and leaves it; Escape in a
    // window is no command of ours.
    for (const auto& [keys, full] : {std::pair{QKeyCombination(Qt::Key_Escape), false},
                                     {Qt::AltModifier | Qt::Key_Return, true},
                                     {Qt::AltModifier | Qt::Key_Return, false},
                                     {QKeyCombination(Qt::Key_Escape), false}}) {
        QTest::keyClick(frame, keys.key(), keys.keyboardModifiers());
        EXPECT_EQ(frame->isFullScreen(), full) << keys.toCombined();
        EXPECT_EQ(view.fullScreen->isChecked(), full) << keys.toCombined();
    }
    EXPECT_EQ(frame->size(), QSize(384, 200 + bar));
    EXPECT_EQ(savedView(), ViewChoice{});
    EXPECT_EQ(record->game.state, StateTitle);
    EXPECT_EQ(Differences(1), 0);
    EXPECT_FALSE(view.zoomOut->isEnabled());

    // A zoom key, then the field's size and the choice kept.
    const auto zoomKey = [&](Qt::Key key, std::uint32_t zoom, ViewChoice kept) {
        QTest::keyClick(frame, key, Qt::ControlModifier);
        EXPECT_EQ(field->size(), QSize(384, 200) * zoom) << zoom;
        EXPECT_EQ(savedView(), kept) << zoom;
    };
    zoomKey(Qt::Key_Plus, 2, {2, false});
    EXPECT_EQ(frame->minimumSize(), QSize(768, 400 + frame->menuBar()->height()));
    EXPECT_EQ(frame->maximumSize(), frame->minimumSize());
    EXPECT_FALSE(view.zoomIn->isEnabled());

    // The controller's Start is read before the title's next tick, with no
    // poll of its own.
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 1);
    ASSERT_TRUE(QTest::qWaitFor([this] { return record->game.state != StateTitle; }, 500));
    SDL_JoystickSetVirtualButton(stick, SDL_CONTROLLER_BUTTON_START, 0);
    pads.Poll();
    ASSERT_EQ(record->game.state & 0xFF00, kStartBannerWord & 0xFF00);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(pause->isEnabled());
    Ticks(1);
    const std::int32_t ticksLeft = record->game.bannerTicks;
    QTest::keyClick(frame, Qt::Key_F2); // greyed: the game must not start over
    EXPECT_EQ(record->game.bannerTicks, ticksLeft);
    QTest::keyClick(frame, Qt::Key_F8);
    QTest::keyClick(frame, Qt::Key_F10); // About, not the menu bar
    QTest::keyClick(frame, Qt::Key_F1);
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"highscore", "about"}));
    EXPECT_EQ(frame->menuBar()->activeAction(), nullptr);

    // A frame drawn at 2x in play, and a click far into the field dives.
    ASSERT_TRUE(TicksUntilPlay());
    Ticks(10);
    EXPECT_EQ(Differences(2), 0);
    EXPECT_EQ(speedAfter([&] { QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(760, 390)); }), 1);
    // Start is greyed in play: the button pauses instead of starting over
    // (and the game stays paused while the window moves).
    record->game.score = 1234;
    press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(record->game.paused, 1);
    EXPECT_EQ(record->game.score, 1234u);

    zoomKey(Qt::Key_Minus, 1, {1, false});
    zoomKey(Qt::Key_Minus, 1, {1, false}); // greyed at 1x
    zoomKey(Qt::Key_Equal, 2, {2, false});
    zoomKey(Qt::Key_0, 1, {});

    // The large screen lies to the right of the small one.
    const QPoint onLarge(840, 30), onSmall(20, 30);
    const QScreen* large = QGuiApplication::screenAt(onLarge);
    ASSERT_TRUE(large && large->size() == QSize(1920, 1080));
    ASSERT_EQ(frame->screen()->size(), QSize(800, 600));
    const auto fieldBecomes = [&](QSize size) { return QTest::qWaitFor([&] { return field->size() == size; }, 2000); };

    frame->move(onLarge);
    ASSERT_TRUE(fieldBecomes(QSize(1152, 600))) << field->size().width();
    EXPECT_EQ(frame->size(), QSize(1152, 600 + frame->menuBar()->height()));
    EXPECT_EQ(Differences(3), 0);
    for (const std::uint32_t zoom : {4u, 5u, 5u, 5u})
        zoomKey(Qt::Key_Plus, zoom, {zoom, false});
    EXPECT_FALSE(view.zoomIn->isEnabled());

    frame->move(onSmall);
    ASSERT_TRUE(fieldBecomes(QSize(768, 400)));
    EXPECT_EQ(frame->pos(), onSmall) << "the new size keeps the window where it was put";
    EXPECT_FALSE(view.zoomIn->isEnabled());
    EXPECT_EQ(savedView(), (ViewChoice{5, false}));
    frame->move(onLarge);
    EXPECT_TRUE(fieldBecomes(QSize(1920, 1000)));

    zoomKey(Qt::Key_0, 3, {});
    frame->move(onSmall);
    EXPECT_TRUE(fieldBecomes(QSize(384, 200)));
    EXPECT_EQ(savedView(), ViewChoice{});

    press(SDL_CONTROLLER_BUTTON_START);
    EXPECT_EQ(record->game.paused, 0);
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    pads.Poll();
    EXPECT_EQ(pads.Attached(), 0);

    // Closed, it saves once, stops the game and ends the loop.
    frame->close();
    EXPECT_EQ(settings.saves, 1);
    EXPECT_EQ(help.calls, (std::vector<std::string>{"finder RUVO.HLP", "quit RUVO.HLP"}));
    EXPECT_FALSE(record->drawing.frameBitmap);
    EXPECT_EQ(windows.PlayField(), nullptr);
    EXPECT_FALSE(frame->isVisible());
    // Nothing reaches the game any more, not even a timer started anew.
    EXPECT_EQ(record->hwndMain->SetTimer(1, 10), 0);
    EXPECT_EQ(windows.RunMessageLoop(), 0);
    // The quit the game posted would end every modal loop of the tests after
    // this one at once: a loop of the application's own takes it.
    QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
}

} // namespace
} // namespace ruvo
