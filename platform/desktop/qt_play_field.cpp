#include "platform/desktop/qt_play_field.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/desktop/qt_game_window.h"
#include "render/surface.h"

namespace ruvo {
namespace {

// Where the zoomed pixels go: straight into the window's backing store image
// when the painter draws into one at a whole-number scale (no copy on the
// way), otherwise into the field's own image, which the painter then draws.
struct ZoomTarget {
    QImage* image = nullptr;
    QPoint origin; // of the field in the image
    int block = 1; // image pixels per game pixel, each way
    bool direct = false;
};

ZoomTarget BackingStoreTarget(QPainter& painter, int zoom)
{
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine != nullptr ? engine->paintDevice() : nullptr;
    if (device == nullptr || device->devType() != QInternal::Image)
        return {};
    auto* image = static_cast<QImage*>(device);
    const QTransform transform = painter.deviceTransform();
    const qreal scale = transform.m11();
    if (transform.type() > QTransform::TxScale || scale != transform.m22() || scale < 1 || scale != std::floor(scale) ||
        transform.dx() != std::floor(transform.dx()) || transform.dy() != std::floor(transform.dy()) ||
        (image->format() != QImage::Format_RGB32 && image->format() != QImage::Format_ARGB32_Premultiplied &&
         image->format() != QImage::Format_ARGB32))
        return {};
    return {image, QPoint(static_cast<int>(transform.dx()), static_cast<int>(transform.dy())),
            zoom * static_cast<int>(scale), true};
}

// One row of game pixels as a row of blocks. Our pixels leave the top byte 0;
// Qt's RGB32 wants it 0xFF. A fixed block size lets the compiler unroll.
template <int Block> void ExpandRow(const Pixel* in, int count, QRgb* out)
{
    for (int x = 0; x < count; ++x, out += Block) {
        const QRgb pixel = 0xFF000000u | in[x];
        for (int k = 0; k < Block; ++k)
            out[k] = pixel;
    }
}

void ExpandRow(const Pixel* in, int count, QRgb* out, int block)
{
    switch (block) {
    case 1:
        return ExpandRow<1>(in, count, out);
    case 2:
        return ExpandRow<2>(in, count, out);
    case 3:
        return ExpandRow<3>(in, count, out);
    case 4:
        return ExpandRow<4>(in, count, out);
    case 5:
        return ExpandRow<5>(in, count, out);
    default:
        for (int x = 0; x < count; ++x, out += block)
            std::fill_n(out, block, 0xFF000000u | in[x]);
    }
}

// A repaint of the play field: the invalid part of the frame buffer is
// copied to the same place on the screen, each pixel a zoom x zoom block.
class FieldPaint final : public PaintTarget {
  public:
    FieldPaint(QPainter& painter, QImage& buffer, int zoom, const QRect& invalidOnScreen)
        : painter_(painter), buffer_(buffer), zoom_(zoom),
          // The game pixels the invalid part of the screen touches.
          invalid_(QPoint(invalidOnScreen.left() / zoom, invalidOnScreen.top() / zoom),
                   QPoint(invalidOnScreen.right() / zoom, invalidOnScreen.bottom() / zoom)),
          target_(BackingStoreTarget(painter, zoom))
    {
    }

    Rect InvalidRect() const override { return {invalid_.x(), invalid_.y(), invalid_.width(), invalid_.height()}; }

    void CopyFrom(const Surface& source, Rect area) override
    {
        QRect part =
            QRect(area.x, area.y, area.width, area.height).intersected(QRect(0, 0, source.Width(), source.Height()));
        ZoomTarget target = target_;
        if (!target.direct) {
            const QSize zoomed = QSize(source.Width(), source.Height()) * zoom_;
            if (buffer_.size() != zoomed)
                buffer_ = QImage(zoomed, QImage::Format_RGB32);
            target = {&buffer_, QPoint(0, 0), zoom_, false};
        }
        // Only whole game pixels inside the image.
        const QRect inImage = QRect(-target.origin, target.image->size());
        part &= QRect(QPoint((inImage.left() + target.block - 1) / target.block,
                             (inImage.top() + target.block - 1) / target.block),
                      QPoint((inImage.right() + 1) / target.block - 1, (inImage.bottom() + 1) / target.block - 1));
        if (part.isEmpty())
            return;
        // Each game pixel becomes a block, made here rather than by the
        // painter: one row written pixel by pixel and copied down costs a
        // fraction of a general scaling. No smoothing: every game pixel stays
        // a sharp square.
        const int block = target.block;
        const int left = target.origin.x() + part.left() * block;
        const std::size_t rowBytes = static_cast<std::size_t>(part.width() * block) * sizeof(QRgb);
        for (int y = part.top(); y <= part.bottom(); ++y) {
            const Pixel* in = source.Row(y) + part.left();
            const int top = target.origin.y() + y * block;
            auto* first = reinterpret_cast<QRgb*>(target.image->scanLine(top)) + left;
            ExpandRow(in, part.width(), first, block);
            for (int k = 1; k < block; ++k)
                std::memcpy(reinterpret_cast<QRgb*>(target.image->scanLine(top + k)) + left, first, rowBytes);
        }
        if (!target.direct) {
            const QRect zoomed(part.topLeft() * zoom_, part.size() * zoom_);
            painter_.drawImage(zoomed, buffer_, zoomed);
        }
    }

  private:
    QPainter& painter_;
    QImage& buffer_;
    int zoom_;
    QRect invalid_;
    ZoomTarget target_;
};

} // namespace

PlayField::PlayField(QtGameWindow& owner, QSize size, QWidget* parent) : QWidget(parent), owner_(owner), gameSize_(size)
{
    setFixedSize(size);
    // The frame buffer covers every pixel: nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void PlayField::SetZoom(int zoom)
{
    zoom_ = std::max(1, zoom);
    setFixedSize(gameSize_ * zoom_);
    update();
}

void PlayField::ShowChanges(const Surface* frame)
{
    if (frame == nullptr || shown_.size() != frame->Pixels().size()) {
        shown_ = frame != nullptr ? frame->Pixels() : std::vector<Pixel>();
        update();
        return;
    }
    // Bands of changed rows, each as wide as its changes; a few unchanged
    // rows inside a band cost less than another rectangle.
    constexpr int kLargestGap = 8;
    const int width = frame->Width();
    QRegion changed;
    int top = -1;
    int bottom = -1;
    int left = width;
    int right = -1;
    const auto closeBand = [&] {
        if (top >= 0)
            changed += QRect(left * zoom_, top * zoom_, (right - left + 1) * zoom_, (bottom - top + 1) * zoom_);
        top = -1;
        left = width;
        right = -1;
    };
    for (int y = 0; y < frame->Height(); ++y) {
        const Pixel* now = frame->Row(y);
        Pixel* was = shown_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        if (std::memcmp(now, was, static_cast<std::size_t>(width) * sizeof(Pixel)) == 0) {
            if (top >= 0 && y - bottom > kLargestGap)
                closeBand();
            continue;
        }
        int first = 0;
        while (now[first] == was[first])
            ++first;
        int last = width - 1;
        while (now[last] == was[last])
            --last;
        if (top < 0)
            top = y;
        bottom = y;
        left = std::min(left, first);
        right = std::max(right, last);
        std::memcpy(was, now, static_cast<std::size_t>(width) * sizeof(Pixel));
    }
    closeBand();
    if (!changed.isEmpty())
        update(changed);
}

void PlayField::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& part : event->region()) {
        FieldPaint target(painter, buffer_, zoom_, part);
        owner_.Deliver(Message{MessageKind::Paint, 0, nullptr, &target});
    }
}

void PlayField::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    owner_.Deliver(Message{MessageKind::LButtonDown});
}

FieldBackdrop::FieldBackdrop()
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FieldBackdrop::resizeEvent(QResizeEvent*)
{
    CentreField();
}

void FieldBackdrop::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->type() == QEvent::ChildAdded || event->type() == QEvent::ChildPolished)
        CentreField();
}

// The field covers the backdrop in a window; only full screen leaves a border.
void FieldBackdrop::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), Qt::black);
}

void FieldBackdrop::CentreField()
{
    for (QWidget* field : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        field->move((width() - field->width()) / 2, (height() - field->height()) / 2);
}

GameFrame::GameFrame(QtGameWindow& owner) : owner_(owner) {}

// Closing by the close box, Alt+F4 or the window manager is the game's to
// handle: it saves, cleans up and destroys the window itself.
void GameFrame::closeEvent(QCloseEvent* event)
{
    event->ignore();
    owner_.Deliver(Message{MessageKind::Close});
}

// The space bar dives, auto-repeat included; while a replay plays, + and -
// change its speed and Escape ends it, which otherwise leaves full screen;
// every other key is left alone (the function keys reach the game as the
// menu's accelerators). Alt+Space belongs to the window manager.
void GameFrame::keyPressEvent(QKeyEvent* event)
{
    const QString text = event->text();
    const bool plain = !(event->modifiers() & (Qt::AltModifier | Qt::ControlModifier | Qt::MetaModifier));
    if (text == QStringLiteral(" ") && !(event->modifiers() & Qt::AltModifier)) {
        owner_.Deliver(Message{MessageKind::Char, 32});
        return;
    }
    if (plain && text.size() == 1 && QStringLiteral("+=-").contains(text) && owner_.Watching()) {
        owner_.Deliver(Message{MessageKind::Char, static_cast<std::uint32_t>(text.at(0).unicode())});
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && owner_.Watching()) {
        owner_.Deliver(Message{MessageKind::Char, 27});
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && owner_.View().fullScreen) {
        owner_.LeaveFullScreen();
        return;
    }
    event->ignore();
}

// A window dragged onto another screen takes the size that screen gives it.
void GameFrame::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    owner_.FollowScreen();
}

} // namespace ruvo
