// Every platform test process starts in the same surroundings, whatever the
// caller's session holds: a UTF-8 locale, no display (Qt draws offscreen, on
// two screens of its own), the silent audio driver (the tests that listen
// switch to the disk driver themselves), and settings, data and runtime
// folders of its own, so that no test reads or writes the player's settings
// or replays. Set before main(), ahead of Qt and SDL; the one Qt application
// is made before the first test and never deleted, as it must outlive every
// widget and static. Built with RUVO_TEST_X_SERVER, the application runs on
// Qt's X11 platform instead, on an Xvfb of the process's own (1920 x 1080),
// for the tests of what an X server shows.
// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

namespace {

namespace fs = std::filesystem;

class ScratchEnvironment : public ::testing::Environment {
  public:
    ScratchEnvironment()
    {
        if (!scratch_.isValid()) {
            std::fprintf(stderr, "ruvo platform tests: scratch folder: %s\n", qPrintable(scratch_.errorString()));
            std::exit(1);
        }
        std::error_code error;
        fs::create_directories(dir_ / "config", error);
        fs::create_directories(dir_ / "run", error);
        fs::permissions(dir_ / "run", fs::perms::owner_all, error);
        // Two screens side by side: the usual 800 x 600 first, a 1920 x 1080
        // one to its right for the tests that take a window across.
        std::ofstream(dir_ / "screens.json")
            << R"({"screens": [)"
            << R"({"name": "small", "x": 0, "y": 0, "width": 800, "height": 600, "logicalDpi": 96},)"
            << R"({"name": "large", "x": 800, "y": 0, "width": 1920, "height": 1080, "logicalDpi": 96}]})";
        setenv("LC_ALL", "C.UTF-8", 1);
        setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + (dir_ / "screens.json").string()).c_str(), 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (dir_ / "data").c_str(), 1);
        setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
        unsetenv("LANGUAGE");
        unsetenv("SESSION_MANAGER");
    }
    void SetUp() override
    {
#ifdef RUVO_TEST_X_SERVER
        // Xvfb picks a free display and names it on the pipe. Its output goes
        // nowhere; -terminate ends it with this process's last connection
        // should the process end before TearDown.
        int pipe[2];
        ASSERT_EQ(::pipe(pipe), 0);
        server_ = fork();
        if (server_ == 0) {
            dup2(pipe[1], 3);
            dup2(open("/dev/null", O_WRONLY), 2);
            execlp("Xvfb", "Xvfb", "-displayfd", "3", "-terminate", "-screen", "0", "1920x1080x24", "-nolisten", "tcp",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(pipe[1]);
        std::string display = ":";
        for (char c = 0; read(pipe[0], &c, 1) == 1 && c != '\n';)
            display += c;
        close(pipe[0]);
        ASSERT_GT(display.size(), 1u) << "Xvfb did not start";
        setenv("DISPLAY", display.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
#endif
        static int argc = 1;
        static char name[] = "ruvo_platform_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }

    // The X server is ended and waited for: the next test may start one of
    // its own, and should find no server of ours still going away.
    void TearDown() override
    {
        if (server_ > 0) {
            kill(server_, SIGTERM);
            waitpid(server_, nullptr, 0);
        }
    }

  private:
    QTemporaryDir scratch_{QDir::tempPath() + "/ruvo-platform-XXXXXX"};
    fs::path dir_ = scratch_.path().toStdString();
    pid_t server_ = -1;
};

// gtest owns and deletes the environment after the last test.
[[maybe_unused]] ::testing::Environment* const scratchEnvironment =
    ::testing::AddGlobalTestEnvironment(new ScratchEnvironment);

} // namespace
