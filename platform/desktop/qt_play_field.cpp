#include "platform/desktop/qt_play_field.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "platform/desktop/qt_game_window.h"
#include "render/surface.h"

namespace ruvo {
namespace {

// A repaint of the play field: the invalid part of the frame buffer is
// copied to the same place on the screen, pixel for pixel.
class FieldPaint final : public PaintTarget {
  public:
    FieldPaint(QPainter& painter, QImage& buffer, const QRect& invalid)
        : painter_(painter), buffer_(buffer), invalid_(invalid)
    {
    }

    Rect InvalidRect() const override { return {invalid_.x(), invalid_.y(), invalid_.width(), invalid_.height()}; }

    void CopyFrom(const Surface& source, Rect area) override
    {
        const QRect part =
            QRect(area.x, area.y, area.width, area.height).intersected(QRect(0, 0, source.Width(), source.Height()));
        if (part.isEmpty())
            return;
        if (buffer_.width() != source.Width() || buffer_.height() != source.Height())
            buffer_ = QImage(source.Width(), source.Height(), QImage::Format_RGB32);
        // Our pixels leave the top byte 0; Qt's RGB32 wants it 0xFF.
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const Pixel* in = source.Row(y) + part.left();
            auto* out = reinterpret_cast<QRgb*>(buffer_.scanLine(y)) + part.left();
            for (int x = 0; x < part.width(); ++x)
                out[x] = 0xFF000000u | in[x];
        }
        // On a high-DPI screen the painter scales by the whole-number device
        // pixel ratio; without smoothing every game pixel stays a sharp square.
        painter_.drawImage(part, buffer_, part);
    }

  private:
    QPainter& painter_;
    QImage& buffer_;
    QRect invalid_;
};

} // namespace

PlayField::PlayField(QtGameWindow& owner, QSize size) : owner_(owner)
{
    setFixedSize(size);
    // The frame buffer covers every pixel: nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PlayField::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    FieldPaint target(painter, buffer_, event->rect());
    owner_.Deliver(Message{MessageKind::Paint, 0, nullptr, &target});
}

void PlayField::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    owner_.Deliver(Message{MessageKind::LButtonDown});
}

GameFrame::GameFrame(QtGameWindow& owner) : owner_(owner) {}

// Closing by the close box, Alt+F4 or the window manager is the game's to
// handle: it saves, cleans up and destroys the window itself.
void GameFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    owner_.Deliver(Message{MessageKind::Close});
}

// The space bar dives, auto-repeat included; every other key is left alone
// (the function keys reach the game as the menu's accelerators). Alt+Space
// belongs to the window manager.
void GameFrame::keyPressEvent(QKeyEvent* event)
{
    if (event->text() == QStringLiteral(" ") && !(event->modifiers() & Qt::AltModifier)) {
        owner_.Deliver(Message{MessageKind::Char, 32});
        return;
    }
    event->ignore();
}

} // namespace ruvo
