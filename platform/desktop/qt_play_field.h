// The widgets of the game window: the fixed-size frame with its menu bar, the
// black backdrop under it that holds the field centred (it shows only in full
// screen), and the play field that shows the frame buffer zoomed and takes the
// clicks.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QWidget>

#include <vector>

#include "render/surface.h"

namespace ruvo {

class QtGameWindow;

class PlayField final : public QWidget {
  public:
    PlayField(QtGameWindow& owner, QSize size, QWidget* parent);

    // Every game pixel becomes a zoom x zoom block; the widget takes that size.
    void SetZoom(int zoom);
    int Zoom() const { return zoom_; }

    // Asks for a repaint of what differs between the frame and what the field
    // last asked to show: a scrolling landscape changes only part of the
    // field, and every pixel less is zoom x zoom pixels less to send.
    void ShowChanges(const Surface* frame);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QtGameWindow& owner_;
    QSize gameSize_;
    int zoom_ = 1;
    QImage buffer_;            // the frame buffer's pixels zoomed, as Qt draws them
    std::vector<Pixel> shown_; // the frame as of the last repaint asked for
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
