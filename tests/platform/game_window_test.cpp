#include <gtest/gtest.h>

#include <utility>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include "app/shell.h"
#include "headless/headless_host.h"
#include "platform/desktop/qt_menu.h"
#include "platform/desktop/qt_window.h"
#include "resources/embedded.h"
#include "support/qt_application.h"

namespace ruvo {
namespace {

// The game started as the program starts it, on Qt's offscreen platform, with
// recording stand-ins for the settings, the dialogs and the help viewer.
class GameWindowOnQt : public ::testing::Test {
  protected:
    void SetUp() override
    {
        testing::EnsureQtApplication();
        host.settings = &settings;
        host.dialogs = &dialogs;
        host.help = &help;
        record = StartUp(windows, host, &resources, 1);
        ASSERT_NE(record, nullptr);
        field = windows.PlayField();
        ASSERT_NE(field, nullptr);
        frame = qobject_cast<QMainWindow*>(field->window());
        ASSERT_NE(frame, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    }

    void TearDown() override
    {
        if (record)
            ShutDown(std::move(record));
    }

    QAction* ActionTitled(const QString& popup, const QString& item) const
    {
        for (QAction* menuAction : frame->menuBar()->actions())
            if (menuAction->text() == popup)
                for (QAction* action : menuAction->menu()->actions())
                    if (action->text() == item)
                        return action;
        return nullptr;
    }

    // A jumper on its way up, which a dive sends down.
    void Rising()
    {
        record->jumperRow = 5;
        record->jumperVy = -1;
    }

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

TEST_F(GameWindowOnQt, HoldsTheFieldExactlyUnderItsMenuBarAndCannotBeSized)
{
    EXPECT_EQ(field->size(), QSize(384, 200));
    EXPECT_EQ(field->mapTo(frame, QPoint(0, 0)), QPoint(0, frame->menuBar()->height()));
    // The size the game computed from the metrics is the window's real size.
    EXPECT_EQ(frame->size(), QSize(record->windowWidth, record->windowHeight));
    EXPECT_EQ(windows.GetSystemMetric(SystemMetric::CyMenu), frame->menuBar()->height());
    EXPECT_EQ(frame->minimumSize(), frame->maximumSize());
    EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(frame->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(frame->windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(frame->windowTitle(), "Ruvo Zelp! for Windows 95");
    EXPECT_FALSE(frame->windowIcon().isNull());
}

TEST_F(GameWindowOnQt, TheMenuIsTheGameMenuWithEachKeyAtTheRightOfItsItem)
{
    QStringList layout;
    for (QAction* popup : frame->menuBar()->actions()) {
        layout << popup->text();
        for (QAction* item : popup->menu()->actions())
            layout << (item->isSeparator() ? "-" : "  " + item->text() + " " + item->shortcut().toString());
    }
    EXPECT_EQ(layout,
              QStringList({"&Game", "  &Start F2", "  &Pause F3", "-", "  &High Score F8", "-", "  E&xit ", "&Option",
                           "  &Sound F4", "  &Music F5", "-", "  &Option ", "&Help", "  &Help F1", "  &About F10"}));
    for (MenuId id : {IDM_START, IDM_PAUSE, IDM_HIGHSCORE, IDM_SOUND, IDM_MUSIC, IDM_HELP, IDM_ABOUT})
        EXPECT_NE(KeyHint(id), nullptr) << id;
    EXPECT_EQ(KeyHint(IDM_EXIT), nullptr);
    EXPECT_EQ(KeyHint(IDM_OPTION), nullptr);
}

TEST_F(GameWindowOnQt, TheMenuFollowsTheGameAndItsItemsSendTheirCommands)
{
    QAction* start = ActionTitled("&Game", "&Start");
    QAction* pause = ActionTitled("&Game", "&Pause");
    QAction* sound = ActionTitled("&Option", "&Sound");
    QAction* option = ActionTitled("&Option", "&Option");
    ASSERT_TRUE(start && pause && sound && option);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_FALSE(pause->isEnabled());
    EXPECT_FALSE(option->isEnabled()); // the Option value is not set
    EXPECT_TRUE(sound->isCheckable());
    EXPECT_FALSE(sound->isChecked());

    sound->trigger();
    EXPECT_EQ(record->soundOn, 1);
    EXPECT_TRUE(sound->isChecked());

    start->trigger();
    EXPECT_EQ(record->state, kStartBannerWord);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(pause->isEnabled());

    ActionTitled("&Game", "&High Score")->trigger();
    ActionTitled("&Help", "&About")->trigger();
    ActionTitled("&Help", "&Help")->trigger();
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"highscore", "about"}));
    EXPECT_EQ(help.calls, std::vector<std::string>{"finder RUVO.HLP"});
}

TEST_F(GameWindowOnQt, FunctionKeysAreTheAcceleratorsAndAGreyedOneSendsNothing)
{
    QTest::keyClick(frame, Qt::Key_F4);
    EXPECT_EQ(record->soundOn, 1);
    QTest::keyClick(frame, Qt::Key_F2);
    ASSERT_EQ(record->state, kStartBannerWord);
    MainWndProc(*record, Message{MessageKind::Timer, 1});
    MainWndProc(*record, Message{MessageKind::Timer, 1});
    const std::int32_t ticksLeft = record->bannerTicks;
    // Start is greyed now: F2 must not start the game over.
    QTest::keyClick(frame, Qt::Key_F2);
    EXPECT_EQ(record->bannerTicks, ticksLeft);

    QTest::keyClick(frame, Qt::Key_F8);
    QTest::keyClick(frame, Qt::Key_F10); // About, not the menu bar
    QTest::keyClick(frame, Qt::Key_F1);
    EXPECT_EQ(dialogs.opened, (std::vector<std::string>{"highscore", "about"}));
    EXPECT_EQ(help.calls, std::vector<std::string>{"finder RUVO.HLP"});
    EXPECT_EQ(frame->menuBar()->activeAction(), nullptr);
}

TEST_F(GameWindowOnQt, SpaceAndALeftClickDiveAndNothingElseDoes)
{
    Rising();
    QTest::keyClick(frame, Qt::Key_Space, Qt::NoModifier);
    EXPECT_EQ(record->jumperVy, 1);

    Rising();
    QTest::mouseClick(field, Qt::LeftButton, Qt::NoModifier, QPoint(200, 100));
    EXPECT_EQ(record->jumperVy, 1);

    Rising();
    QTest::keyClick(frame, Qt::Key_A);
    QTest::keyClick(frame, Qt::Key_Return);
    QTest::keyClick(frame, Qt::Key_Space, Qt::AltModifier);
    QTest::mouseClick(field, Qt::RightButton, Qt::NoModifier, QPoint(200, 100));
    EXPECT_EQ(record->jumperVy, -1);
    EXPECT_EQ(record->state, StateTitle);
}

TEST_F(GameWindowOnQt, ThePlayFieldShowsTheFrameBufferPixelForPixel)
{
    const Surface& frameBuffer = *record->frameBitmap;
    const QImage shown = field->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), QSize(frameBuffer.Width(), frameBuffer.Height()));
    int differences = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x)
            differences += (shown.pixel(x, y) & 0xFFFFFFu) != frameBuffer.At(x, y) ? 1 : 0;
    EXPECT_EQ(differences, 0);
}

TEST_F(GameWindowOnQt, ClosingTheWindowSavesOnceStopsTheGameAndEndsTheLoop)
{
    frame->close();
    EXPECT_EQ(settings.saves, 1);
    EXPECT_EQ(help.calls, std::vector<std::string>{"quit RUVO.HLP"});
    EXPECT_FALSE(record->frameBitmap);
    EXPECT_EQ(windows.PlayField(), nullptr);
    EXPECT_FALSE(frame->isVisible());
    // Nothing reaches the game any more, not even a timer started anew.
    EXPECT_EQ(record->hwndMain->SetTimer(1, 10), 0);
    EXPECT_EQ(windows.RunMessageLoop(), 0);
}

TEST_F(GameWindowOnQt, ExitDestroysTheWindowFromInside)
{
    ActionTitled("&Game", "E&xit")->trigger();
    EXPECT_EQ(settings.saves, 1);
    EXPECT_EQ(windows.PlayField(), nullptr);
    EXPECT_EQ(windows.RunMessageLoop(), 0);
}

} // namespace
} // namespace ruvo
