// The time from starting the game to its first painted frame, seen from the X
// server as a player would see it: the program is started, its window maps,
// and the clock stops when the play field's top row shows the sky. The game
// is then asked to close as the window manager would ask it (WM_DELETE_WINDOW)
// and must end with status 0.
//
// Usage: ruvo-first-frame PROGRAM [ARGUMENT...]   (needs a display)
// Prints first_frame_ms=T exit=S.
// SPDX-License-Identifier: MIT
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "support/delete_window.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <ratio>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFieldWidth = 384;
constexpr int kFieldHeight = 200;
constexpr unsigned long kSky = 0x00FFFF;
// The sun and a cloud may cover part of the row; most of it is sky.
constexpr int kSkyPixelsNeeded = 300;

int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// How many game pixels of the play field's top row show the sky. The field is
// the bottom 200 rows of the window, under the menu bar, zoomed by a whole
// number: the window is that number times 384 wide.
int SkyPixels(Display* display, Window window)
{
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(display, window, &attributes) == 0 || attributes.map_state != IsViewable ||
        attributes.width % kFieldWidth != 0 || attributes.width == 0)
        return 0;
    const int zoom = attributes.width / kFieldWidth;
    if (attributes.height <= kFieldHeight * zoom)
        return 0;
    XImage* image =
        XGetImage(display, window, 0, attributes.height - kFieldHeight * zoom, attributes.width, 1, AllPlanes, ZPixmap);
    if (image == nullptr)
        return 0;
    int sky = 0;
    for (int x = 0; x < kFieldWidth; ++x)
        sky += (XGetPixel(image, x * zoom, 0) & 0xFFFFFF) == kSky ? 1 : 0;
    XDestroyImage(image);
    return sky;
}

bool Exited(pid_t pid, int& status)
{
    return waitpid(pid, &status, WNOHANG) == pid;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: ruvo-first-frame PROGRAM [ARGUMENT...]\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "ruvo-first-frame: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        std::perror("ruvo-first-frame: exec");
        _exit(127);
    }
    if (pid < 0) {
        std::perror("ruvo-first-frame: fork");
        return 2;
    }

    std::vector<Window> mapped;
    Window game = 0;
    int status = 0;
    bool ended = false;
    const Clock::time_point deadline = start + std::chrono::seconds(20);
    while (game == 0 && Clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root)
                mapped.push_back(event.xmap.window);
        }
        for (const Window window : mapped)
            if (SkyPixels(display, window) >= kSkyPixelsNeeded)
                game = window;
        if (game == 0) {
            if (Exited(pid, status)) {
                ended = true;
                break;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
    }
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (game == 0) {
        std::fprintf(stderr, "ruvo-first-frame: %s\n", ended ? "the program ended before a frame" : "no frame in 20 s");
        if (!ended) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
        }
        return 1;
    }

    SendDeleteWindow(display, game);
    const Clock::time_point closeDeadline = Clock::now() + std::chrono::seconds(10);
    while (!(ended = Exited(pid, status)) && Clock::now() < closeDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    const int code = ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::printf("first_frame_ms=%.1f exit=%d\n", ms, code);
    XCloseDisplay(display);
    return code == 0 ? 0 : 1;
}
