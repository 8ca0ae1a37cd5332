// The play field on an X server, drawn by the game itself rather than through
// Qt's backing store. The frame's changed rows go into an image in memory
// shared with the server, which copies them into a pixmap of its own and
// scales that onto the window with RENDER. So, whatever the zoom, the game
// writes no more than the 384 x 200 frame's changed rows, and its thread
// waits for no reply: the presenter has a connection of its own, where the
// server's answer to "done reading the image" waits until the next frame
// looks for it. Through Qt, each frame cost a round trip to the server before
// painting, and at 3x nine times the pixels written by the game.
// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "platform/desktop/field_changes.h"
#include "render/draw.h"
#include "render/surface.h"

struct _XDisplay;
struct xcb_connection_t;

namespace ruvo {

class X11FieldPresenter {
  public:
    // A presenter for a field of that size on the display Qt has open (null:
    // the usual display), or null where the server cannot take it this way:
    // no shared memory (a display on another machine), no RENDER, or an image
    // layout other than 32-bit pixels in this machine's byte order.
    static std::unique_ptr<X11FieldPresenter> Open(_XDisplay* display, int width, int height);
    ~X11FieldPresenter();
    X11FieldPresenter(const X11FieldPresenter&) = delete;
    X11FieldPresenter& operator=(const X11FieldPresenter&) = delete;

    // The window to draw into, once it exists; false when the server cannot
    // draw into it (nothing is drawn then).
    bool Attach(std::uint32_t window);
    bool Attached() const { return windowPicture_ != 0; }
    // Window pixels per game pixel, each way.
    void SetZoom(int zoom);

    // Takes the changed rows of the frame, with the patches over it (a
    // race's ghost), and shows them.
    void ShowChanges(const Surface& frame, std::span<const FieldPatch> patches = {});
    // Draws a part of the window (in window pixels) again from the server's
    // copy of the frame, as after an expose.
    void Repaint(Rect area);

  private:
    X11FieldPresenter() = default;
    bool Connect(const char* displayName, int width, int height);
    void WaitUntilImageRead();
    void Composite(Rect area);

    xcb_connection_t* connection_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    int zoom_ = 1;
    std::uint32_t root_ = 0;
    std::uint32_t segment_ = 0;
    Pixel* image_ = nullptr; // the shared image: the frame as last shown
    std::uint32_t pixmap_ = 0;
    std::uint32_t gc_ = 0;
    std::uint32_t pixmapPicture_ = 0;
    std::uint32_t windowPicture_ = 0;
    bool transformSet_ = false;
    bool taken_ = false;          // the pixmap holds a frame
    std::uint32_t readFence_ = 0; // a request whose reply says the image has been read
    bool fencePending_ = false;
};

} // namespace ruvo
