// The widgets of the game window: the fixed-size frame with its menu bar, the
// black backdrop under it that holds the field centred (it shows only in full
// screen), and the play field that shows the frame buffer zoomed and takes the
// clicks.
// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QWidget>

#include <memory>
#include <span>
#include <vector>

#include "platform/desktop/field_changes.h"
#include "render/surface.h"

namespace ruvo {

class QtGameWindow;
class X11FieldPresenter;

// On an X server the field draws itself (x11_field_presenter.h); elsewhere,
// or where the server cannot take that, Qt paints it into the window's
// backing store like any widget.
class PlayField final : public QWidget {
  public:
    PlayField(QtGameWindow& owner, QSize size, QWidget* parent);
    ~PlayField() override;

    // Every game pixel becomes a zoom x zoom block; the widget takes that size.
    void SetZoom(int zoom);
    int Zoom() const { return zoom_; }
    bool DrawsItself() const { return presenter_ != nullptr; }

    // Shows what differs between the frame, with the patches over it (a
    // race's ghost), and what the field last showed: at the next turn of the
    // event loop, or with `atPresent` at the next PresentChanges, which the
    // game window calls after each tick, so that a tick's drawing reaches the
    // screen straight away, with no event on the way.
    void ShowChanges(const Surface* frame, std::span<const FieldPatch> patches, bool atPresent);
    void PresentChanges();

  protected:
    QPaintEngine* paintEngine() const override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void PaintThroughQt(const QRegion& region);
    void PaintItself(const QRect& exposed);

    QtGameWindow& owner_;
    QSize gameSize_;
    int zoom_ = 1;
    std::unique_ptr<X11FieldPresenter> presenter_;
    bool changesWaiting_ = false; // for the presenter to take
    bool presentPosted_ = false;
    QImage buffer_;            // the frame buffer's pixels zoomed, as Qt draws them
    std::vector<Pixel> shown_; // the frame as of the last repaint asked for
    QRegion unpresented_;      // asked for, to be repainted at PresentChanges
};

class FieldBackdrop final : public QWidget {
  public:
    FieldBackdrop();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    void CentreField();
};

class GameFrame final : public QMainWindow {
  public:
    explicit GameFrame(QtGameWindow& owner);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

  private:
    QtGameWindow& owner_;
};

} // namespace ruvo
