// Closes an X window as a window manager would.
// Usage: xclose WINDOW-ID
// SPDX-License-Identifier: MIT
#include "support/delete_window.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    char* end = nullptr;
    const unsigned long window = argc == 2 ? std::strtoul(argv[1], &end, 0) : 0;
    Display* display = window != 0 && *end == '\0' ? XOpenDisplay(nullptr) : nullptr;
    if (display == nullptr) {
        std::fprintf(stderr, "usage: %s WINDOW-ID, on the display that DISPLAY names\n", argv[0]);
        return 2;
    }
    const Status sent = SendDeleteWindow(display, window);
    XCloseDisplay(display);
    return sent != 0 ? 0 : 1;
}
