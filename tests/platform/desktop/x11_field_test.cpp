// The play field as an X server shows it, where the field draws itself: the
// game started as the program starts it, on Qt's X11 platform and an Xvfb of
// this process's own, and the window's pixels read back from the server.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QMainWindow>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <system_error>
#include <unistd.h>
#include <xcb/xcb.h>

#include "app/shell.h"
#include "platform/desktop/qt_game_window.h"
#include "platform/desktop/qt_play_field.h"
#include "platform/desktop/qt_settings.h"
#include "platform/desktop/qt_window.h"
#include "platform/headless/headless_host.h"
#include "resources/embedded.h"

namespace ruvo {
namespace {

// An X server on a display it picks itself, and the one Qt application on it.
class XServer : public ::testing::Environment {
  public:
    void SetUp() override
    {
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        server_ = fork();
        ASSERT_GE(server_, 0);
        if (server_ == 0) {
            dup2(pipe[1], 3);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", "1920x1080x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipe[1]);
        std::string display;
        char c = 0;
        while (read(pipe[0], &c, 1) == 1 && c != '\n')
            display += c;
        close(pipe[0]);
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", (":" + display).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        runtime_ = (std::filesystem::temp_directory_path() / "ruvo-x11-XXXXXX").string();
        if (mkdtemp(runtime_.data()) != nullptr)
            setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
        static int argc = 1;
        static char name[] = "ruvo_x11_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }

    void TearDown() override
    {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
        std::error_code error;
        std::filesystem::remove_all(runtime_, error);
    }

  private:
    pid_t server_ = -1;
    std::string runtime_;
};

[[maybe_unused]] ::testing::Environment* const xServer = ::testing::AddGlobalTestEnvironment(new XServer);

class FieldOnX : public ::testing::Test {
  protected:
    void SetUp() override
    {
        host.settings = &settings;
        host.dialogs = &dialogs;
        host.help = &help;
        ASSERT_TRUE(folder.isValid());
        viewStore = std::make_unique<QtSettingsStore>(folder.filePath("view.ini").toStdString());
        windows.KeepViewIn(viewStore.get());
        record = StartUp(windows, host, &resources, 1);
        ASSERT_NE(record, nullptr);
        field = static_cast<PlayField*>(windows.PlayField());
        ASSERT_NE(field, nullptr);
        frame = qobject_cast<QMainWindow*>(field->window());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        // The menu's keys reach the game only in the active window: on a loaded
        // machine the X server's focus may come well after the window shows.
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
        connection = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    }

    void TearDown() override
    {
        if (record)
            ShutDown(std::move(record));
    }

    // The number of window pixels that differ from the game pixel they show,
    // as the server has them; -1 when the window cannot be read.
    int DifferencesOnTheServer() const
    {
        const Surface& frameBuffer = *record->drawing.frameBitmap;
        const int zoom = field->Zoom();
        const int width = frameBuffer.Width() * zoom;
        const int height = frameBuffer.Height() * zoom;
        xcb_get_image_reply_t* image = xcb_get_image_reply(
            connection,
            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, static_cast<xcb_drawable_t>(field->winId()), 0, 0,
                          static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), ~0u),
            nullptr);
        if (image == nullptr)
            return -1;
        int differences = -1;
        if (xcb_get_image_data_length(image) == width * height * 4) {
            const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image));
            differences = 0;
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    differences += (pixels[y * width + x] & 0xFFFFFFu) != frameBuffer.At(x / zoom, y / zoom) ? 1 : 0;
        }
        std::free(image);
        return differences;
    }

    // The server draws what the presenter sends in its own time.
    bool ShowsTheFrame() const
    {
        return QTest::qWaitFor([this] { return DifferencesOnTheServer() == 0; }, 5000);
    }

    void Ticks(int count)
    {
        for (int tick = 0; tick < count; ++tick)
            MainWndProc(*record, Message{MessageKind::Timer, 1});
    }

    QTemporaryDir folder;
    std::unique_ptr<QtSettingsStore> viewStore;
    EmbeddedResources resources;
    MemorySettings settings;
    ScriptedDialogs dialogs;
    RecordingHelp help;
    Host host;
    QtWindowSystem windows;
    std::unique_ptr<GameRecord> record;
    PlayField* field = nullptr;
    QMainWindow* frame = nullptr;
    xcb_connection_t* connection = nullptr;
};

// The automatic size on 1920 x 1080 is 3x; the largest window there is 5x.
TEST_F(FieldOnX, EveryGamePixelIsASharpBlockAtEveryZoomAndAnExposeDrawsItAgain)
{
    ASSERT_TRUE(field->DrawsItself());
    ASSERT_EQ(field->Zoom(), 3);
    EXPECT_TRUE(ShowsTheFrame()) << "3x at the start";
    QTest::keyClick(frame, Qt::Key_F2);
    for (int tick = 0; tick < 200 && (record->game.state & 0xFF) != StatePlay; ++tick)
        Ticks(1);
    ASSERT_EQ(record->game.state & 0xFF, StatePlay);
    for (const int zoom : {3, 2, 1, 2, 3, 4, 5}) {
        if (zoom != field->Zoom())
            QTest::keyClick(frame, zoom > field->Zoom() ? Qt::Key_Plus : Qt::Key_Minus, Qt::ControlModifier);
        ASSERT_EQ(field->Zoom(), zoom);
        // Play scrolls the landscape and moves the jumper; the pause banner
        // changes a block in the middle only.
        Ticks(7);
        EXPECT_TRUE(ShowsTheFrame()) << zoom << "x in play";
        QTest::keyClick(frame, Qt::Key_F3);
        Ticks(1);
        EXPECT_TRUE(ShowsTheFrame()) << zoom << "x paused";
        QTest::keyClick(frame, Qt::Key_F3);
    }

    // Something else draws over the field; the server asks for it again.
    const auto window = static_cast<xcb_window_t>(field->winId());
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    const std::uint32_t black = 0;
    xcb_create_gc(connection, gc, window, XCB_GC_FOREGROUND, &black);
    const xcb_rectangle_t whole{0, 0, static_cast<std::uint16_t>(field->width()),
                                static_cast<std::uint16_t>(field->height())};
    xcb_poly_fill_rectangle(connection, window, gc, 1, &whole);
    xcb_free_gc(connection, gc);
    xcb_flush(connection);
    ASSERT_TRUE(QTest::qWaitFor([this] { return DifferencesOnTheServer() > 0; }, 5000));
    xcb_clear_area(connection, 1, window, 0, 0, 0, 0);
    xcb_flush(connection);
    EXPECT_TRUE(ShowsTheFrame()) << "after an expose";
}

} // namespace
} // namespace ruvo
