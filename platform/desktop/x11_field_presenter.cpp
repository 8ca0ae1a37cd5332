// The play field on an X server, through shared memory and RENDER.
// SPDX-License-Identifier: MIT
#include "platform/desktop/x11_field_presenter.h"

#include <X11/Xlib.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xcb/render.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h> // xcb_poll_for_reply

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <vector>

namespace ruvo {
namespace {

// A reply, freed when done with.
template <typename Reply> struct Owned {
    explicit Owned(Reply* r) : reply(r) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { std::free(reply); }
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
    Reply* reply;
};

bool HasExtension(xcb_connection_t* connection, xcb_extension_t* extension)
{
    const xcb_query_extension_reply_t* data = xcb_get_extension_data(connection, extension);
    return data != nullptr && data->present != 0;
}

// Whether every request sent so far went through: the server answers a
// request of ours only after the earlier ones, whose errors come first.
bool NoErrorsSoFar(xcb_connection_t* connection)
{
    const Owned done(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
    bool clean = static_cast<bool>(done);
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection)) {
        clean = clean && event->response_type != 0;
        std::free(event);
    }
    return clean;
}

// The RENDER format of depth-24 pixels laid out as ours: 0x00RRGGBB.
xcb_render_pictformat_t FrameFormat(const xcb_render_query_pict_formats_reply_t& formats)
{
    for (auto it = xcb_render_query_pict_formats_formats_iterator(&formats); it.rem != 0;
         xcb_render_pictforminfo_next(&it)) {
        const xcb_render_pictforminfo_t& info = *it.data;
        const xcb_render_directformat_t& direct = info.direct;
        if (info.type == XCB_RENDER_PICT_TYPE_DIRECT && info.depth == 24 && direct.red_shift == 16 &&
            direct.red_mask == 0xFF && direct.green_shift == 8 && direct.green_mask == 0xFF && direct.blue_shift == 0 &&
            direct.blue_mask == 0xFF && direct.alpha_mask == 0)
            return info.id;
    }
    return 0;
}

xcb_render_pictformat_t VisualFormat(const xcb_render_query_pict_formats_reply_t& formats, xcb_visualid_t visual)
{
    for (auto screen = xcb_render_query_pict_formats_screens_iterator(&formats); screen.rem != 0;
         xcb_render_pictscreen_next(&screen))
        for (auto depth = xcb_render_pictscreen_depths_iterator(screen.data); depth.rem != 0;
             xcb_render_pictdepth_next(&depth))
            for (auto it = xcb_render_pictdepth_visuals_iterator(depth.data); it.rem != 0;
                 xcb_render_pictvisual_next(&it))
                if (it.data->visual == visual)
                    return it.data->format;
    return 0;
}

Owned<xcb_render_query_pict_formats_reply_t> QueryFormats(xcb_connection_t* connection)
{
    return Owned(xcb_render_query_pict_formats_reply(connection, xcb_render_query_pict_formats(connection), nullptr));
}

} // namespace

std::unique_ptr<X11FieldPresenter> X11FieldPresenter::Open(_XDisplay* display, int width, int height)
{
    std::unique_ptr<X11FieldPresenter> presenter(new X11FieldPresenter);
    // The display Qt opened, or the usual one.
    const char* name = display != nullptr ? XDisplayString(display) : nullptr;
    if (width <= 0 || height <= 0 || !presenter->Connect(name, width, height))
        return nullptr;
    return presenter;
}

bool X11FieldPresenter::Connect(const char* displayName, int width, int height)
{
    width_ = width;
    height_ = height;
    int screenNumber = 0;
    connection_ = xcb_connect(displayName, &screenNumber);
    if (xcb_connection_has_error(connection_) != 0)
        return false;
    xcb_connection_t* c = connection_;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const auto ourOrder =
        std::endian::native == std::endian::little ? XCB_IMAGE_ORDER_LSB_FIRST : XCB_IMAGE_ORDER_MSB_FIRST;
    bool thirtyTwoBits = false;
    for (auto it = xcb_setup_pixmap_formats_iterator(setup); it.rem != 0; xcb_format_next(&it))
        thirtyTwoBits = thirtyTwoBits || (it.data->depth == 24 && it.data->bits_per_pixel == 32);
    auto screen = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber && screen.rem != 0; ++i)
        xcb_screen_next(&screen);
    if (setup->image_byte_order != ourOrder || !thirtyTwoBits || screen.rem == 0 || !HasExtension(c, &xcb_shm_id) ||
        !HasExtension(c, &xcb_render_id))
        return false;
    root_ = screen.data->root;

    // Shared memory handed over as a file (version 1.2); RENDER with
    // transforms and filters (0.6).
    const Owned shm(xcb_shm_query_version_reply(c, xcb_shm_query_version(c), nullptr));
    const Owned render(xcb_render_query_version_reply(c, xcb_render_query_version(c, 0, 11), nullptr));
    if (!shm || !render || (shm->major_version == 1 && shm->minor_version < 2) || shm->major_version < 1 ||
        (render->major_version == 0 && render->minor_version < 6))
        return false;
    const Owned<xcb_render_query_pict_formats_reply_t> formats = QueryFormats(c);
    const xcb_render_pictformat_t format = formats ? FrameFormat(*formats.reply) : 0;
    if (format == 0)
        return false;

    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * sizeof(Pixel);
    const int file = memfd_create("ruvo-field", MFD_CLOEXEC);
    if (file < 0)
        return false;
    void* memory = ftruncate(file, static_cast<off_t>(bytes)) == 0
                       ? mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0)
                       : MAP_FAILED;
    if (memory == MAP_FAILED) {
        close(file);
        return false;
    }
    image_ = static_cast<Pixel*>(memory);
    // The server only reads the image. xcb closes the file once it is sent.
    segment_ = xcb_generate_id(c);
    xcb_shm_attach_fd(c, segment_, file, 1);

    pixmap_ = xcb_generate_id(c);
    xcb_create_pixmap(c, 24, pixmap_, root_, static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height));
    gc_ = xcb_generate_id(c);
    const std::uint32_t noExposures = 0;
    xcb_create_gc(c, gc_, pixmap_, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
    pixmapPicture_ = xcb_generate_id(c);
    xcb_render_create_picture(c, pixmapPicture_, pixmap_, format, 0, nullptr);
    // Every game pixel a sharp block.
    static constexpr char kNearest[] = "nearest";
    xcb_render_set_picture_filter(c, pixmapPicture_, sizeof kNearest - 1, kNearest, 0, nullptr);
    // A display on another machine refuses the memory here.
    return NoErrorsSoFar(c);
}

X11FieldPresenter::~X11FieldPresenter()
{
    // The server frees what the connection made when it closes.
    if (connection_ != nullptr)
        xcb_disconnect(connection_);
    if (image_ != nullptr)
        munmap(image_, static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_) * sizeof(Pixel));
}

bool X11FieldPresenter::Attach(std::uint32_t window)
{
    xcb_connection_t* c = connection_;
    if (Attached() || xcb_connection_has_error(c) != 0)
        return Attached();
    const Owned attributes(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
    const Owned geometry(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    const Owned<xcb_render_query_pict_formats_reply_t> formats = QueryFormats(c);
    // The pixmap belongs to one screen's root, and only draws there.
    if (!attributes || !geometry || !formats || geometry->root != root_)
        return false;
    const xcb_render_pictformat_t format = VisualFormat(*formats.reply, attributes->visual);
    if (format == 0)
        return false;
    const xcb_render_picture_t picture = xcb_generate_id(c);
    xcb_render_create_picture(c, picture, window, format, 0, nullptr);
    if (!NoErrorsSoFar(c))
        return false;
    windowPicture_ = picture;
    return true;
}

void X11FieldPresenter::SetZoom(int zoom)
{
    if (std::max(1, zoom) == zoom_ && transformSet_)
        return;
    transformSet_ = true;
    zoom_ = std::max(1, zoom);
    // RENDER maps each window pixel back to the frame: a scale of 1 / zoom.
    // Rounded down, the error stays far below half a game pixel across
    // thousands of window pixels, so every block is exactly zoom wide.
    const auto scale = static_cast<xcb_render_fixed_t>(65536 / zoom_);
    const xcb_render_transform_t transform{scale, 0, 0, 0, scale, 0, 0, 0, 65536};
    xcb_render_set_picture_transform(connection_, pixmapPicture_, transform);
    xcb_flush(connection_);
}

// The server answers the request sent after the last frame's puts once it
// has read them out of the image; only then may the image change. The answer
// is almost always there already, a frame later.
void X11FieldPresenter::WaitUntilImageRead()
{
    if (!fencePending_)
        return;
    void* reply = nullptr;
    xcb_generic_error_t* error = nullptr;
    if (xcb_poll_for_reply(connection_, readFence_, &reply, &error) == 0)
        reply = xcb_wait_for_reply(connection_, readFence_, &error);
    std::free(reply);
    std::free(error);
    fencePending_ = false;
    // The errors of drawing into a window that has just gone: nothing to do.
    while (xcb_generic_event_t* event = xcb_poll_for_queued_event(connection_))
        std::free(event);
}

void X11FieldPresenter::ShowChanges(const Surface& frame, std::span<const FieldPatch> patches)
{
    if (!Attached() || xcb_connection_has_error(connection_) != 0 || frame.Width() != width_ ||
        frame.Height() != height_)
        return;
    WaitUntilImageRead();
    std::vector<Rect> bands = TakeChanges(frame, image_, static_cast<std::size_t>(width_), patches);
    // The pixmap starts empty: the first frame goes whole.
    if (!taken_) {
        bands.assign(1, Rect{0, 0, width_, height_});
        taken_ = true;
    }
    if (bands.empty())
        return;
    for (const Rect& band : bands) {
        const auto x = static_cast<std::uint16_t>(band.x);
        const auto y = static_cast<std::uint16_t>(band.y);
        xcb_shm_put_image(connection_, pixmap_, gc_, static_cast<std::uint16_t>(width_),
                          static_cast<std::uint16_t>(height_), x, y, static_cast<std::uint16_t>(band.width),
                          static_cast<std::uint16_t>(band.height), static_cast<std::int16_t>(x),
                          static_cast<std::int16_t>(y), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
    }
    readFence_ = xcb_get_input_focus(connection_).sequence;
    fencePending_ = true;
    for (const Rect& band : bands)
        Composite({band.x * zoom_, band.y * zoom_, band.width * zoom_, band.height * zoom_});
    xcb_flush(connection_);
}

void X11FieldPresenter::Repaint(Rect area)
{
    if (!Attached() || !taken_ || xcb_connection_has_error(connection_) != 0)
        return;
    Composite(area);
    xcb_flush(connection_);
}

void X11FieldPresenter::Composite(Rect area)
{
    const int left = std::max(area.x, 0);
    const int top = std::max(area.y, 0);
    const int right = std::min(area.x + area.width, width_ * zoom_);
    const int bottom = std::min(area.y + area.height, height_ * zoom_);
    if (right <= left || bottom <= top)
        return;
    const auto x = static_cast<std::int16_t>(left);
    const auto y = static_cast<std::int16_t>(top);
    xcb_render_composite(connection_, XCB_RENDER_PICT_OP_SRC, pixmapPicture_, XCB_NONE, windowPicture_, x, y, 0, 0, x,
                         y, static_cast<std::uint16_t>(right - left), static_cast<std::uint16_t>(bottom - top));
}

} // namespace ruvo
