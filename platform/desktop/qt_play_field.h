// The widgets of the game window: the fixed-size frame with its menu bar,
// and the play field that shows the frame buffer and takes the clicks.
#pragma once

#include <QImage>
#include <QMainWindow>
#include <QWidget>

namespace ruvo {

class QtGameWindow;

class PlayField final : public QWidget {
  public:
    PlayField(QtGameWindow& owner, QSize size);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    QtGameWindow& owner_;
    QImage buffer_; // the frame buffer's pixels as Qt draws them
};

class GameFrame final : public QMainWindow {
  public:
    explicit GameFrame(QtGameWindow& owner);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QtGameWindow& owner_;
};

} // namespace ruvo
