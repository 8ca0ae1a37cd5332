// Asks an X window to close the way a window manager does when its close box
// is clicked: a WM_DELETE_WINDOW message of the WM_PROTOCOLS kind.
// SPDX-License-Identifier: MIT
#pragma once

#include <X11/Xlib.h>

// Returns the XSendEvent status (non-zero when sent).
inline Status SendDeleteWindow(Display* display, Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    const Status sent = XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
    return sent;
}
