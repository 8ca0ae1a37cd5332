// The View menu of the game window: the whole-number zoom of the play field
// and full screen, on the screen the window is on. The frame buffer stays
// 384 x 200; only the widgets change.
// SPDX-License-Identifier: MIT
#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QScreen>

#include <optional>

#include "platform/desktop/qt_game_window.h"
#include "platform/desktop/qt_play_field.h"
#include "platform/desktop/qt_settings.h"

namespace ruvo {
namespace {

struct ScreenAreas {
    QRect whole;
    QRect available; // without the desktop's panels
};

// The screen under the window's top left corner, which stays put while the
// window takes the size of a new zoom: a window that changes size as it comes
// onto another screen cannot be sent back by its own new size. Wayland tells
// no window its place; there Qt's screen is the first one the window entered,
// kept until the window has left it altogether, which is as steady.
QScreen* ScreenUnder(const QWidget& frame)
{
    const bool placeKnown = !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
    QScreen* screen = placeKnown && frame.isVisible() ? QGuiApplication::screenAt(frame.geometry().topLeft()) : nullptr;
    if (screen == nullptr)
        screen = frame.screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

ScreenAreas AreasOf(const QScreen* screen)
{
    if (screen == nullptr)
        return {QRect(0, 0, kFieldWidth, kFieldHeight), QRect(0, 0, kFieldWidth, kFieldHeight)};
    return {screen->geometry(), screen->availableGeometry()};
}

// The largest zoom a window can have on this screen.
int LargestWindowZoom(QMenuBar& bar, const QRect& available)
{
    return WindowZoom(ViewChoice{kLargestZoomChoice, false}, available.width(), available.height(),
                      BarHeight(bar, available.width()));
}

} // namespace

int QtGameWindow::ShownZoom() const
{
    return field_ ? field_->Zoom() : 1;
}

void QtGameWindow::ApplyView()
{
    GameFrame* frame = frame_.data();
    if (destroyed_ || frame == nullptr || !field_)
        return;
    QMenuBar& bar = *frame->menuBar();
    QScreen* screen = ScreenUnder(*frame);
    if (screen != viewScreen_) {
        // The desktop's panels, or the screen's resolution, can change under the window.
        QObject::disconnect(screenWatch_);
        viewScreen_ = screen;
        if (screen != nullptr)
            screenWatch_ = QObject::connect(screen, &QScreen::availableGeometryChanged, frame, [this] { ApplyView(); });
    }
    const ScreenAreas areas = AreasOf(screen);
    const int largest = LargestWindowZoom(bar, areas.available);
    if (view_.fullScreen) {
        // The menu bar at the top as in the window, the field as large as
        // whole pixels allow below it, black around it.
        const int zoom = LargestZoom(areas.whole.width(), areas.whole.height() - BarHeight(bar, areas.whole.width()));
        field_->SetZoom(zoom);
        frame->setMinimumSize(0, 0);
        frame->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        frame->setWindowState(frame->windowState() | Qt::WindowFullScreen);
    } else {
        const int zoom =
            WindowZoom(view_, areas.available.width(), areas.available.height(), BarHeight(bar, kFieldWidth * largest));
        field_->SetZoom(zoom);
        frame->setWindowState(frame->windowState() & ~Qt::WindowFullScreen);
        // Fixed in size: the window manager offers no sizing and no maximise.
        frame->setFixedSize(kFieldWidth * zoom, kFieldHeight * zoom + BarHeight(bar, kFieldWidth * zoom));
    }
    largestZoom_ = largest;
    const ViewMenu menu = ViewMenuFor(view_, ShownZoom(), largest);
    viewActions_.fullScreen->setChecked(menu.fullScreenChecked);
    viewActions_.zoomIn->setEnabled(menu.zoomIn);
    viewActions_.zoomOut->setEnabled(menu.zoomOut);
    viewActions_.automaticSize->setEnabled(menu.automaticSize);
    if (viewKeeper_ != nullptr)
        viewKeeper_->KeepViewChoice(view_);
}

void QtGameWindow::FollowScreen()
{
    GameFrame* frame = frame_.data();
    if (!destroyed_ && frame != nullptr && ScreenUnder(*frame) != viewScreen_)
        ApplyView();
}

void QtGameWindow::StepView(ViewStep step)
{
    if (const std::optional<ViewChoice> next = ViewAfter(view_, step, ShownZoom(), largestZoom_)) {
        view_ = *next;
        ApplyView();
    }
}

} // namespace ruvo
