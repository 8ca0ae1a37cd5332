// The play field widget and the frame around it.
// SPDX-License-Identifier: MIT
#include "platform/desktop/qt_play_field.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMoveEvent>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "platform/desktop/field_changes.h"
#include "platform/desktop/qt_game_window.h"
#include "platform/desktop/x11_field_presenter.h"
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

// A repaint of a field that draws itself. The game paints the whole frame
// first, then any square over it (a race's ghost) from a surface of its own:
// each is noted here, and Present sends the server what the picture, so
// layered, changed, and draws an exposed part of the window again from the
// server's copy.
class FieldPresent final : public PaintTarget {
  public:
    FieldPresent(X11FieldPresenter& presenter, QSize field, const QRect& exposed)
        : presenter_(presenter), field_(field), exposed_(exposed)
    {
    }

    Rect InvalidRect() const override { return {0, 0, field_.width(), field_.height()}; }

    void CopyFrom(const Surface& source, Rect area) override
    {
        if (frame_ == nullptr)
            frame_ = &source;
        else
            patches_.push_back({&source, area});
    }

    void Present()
    {
        if (frame_ != nullptr)
            presenter_.ShowChanges(*frame_, patches_);
        if (!exposed_.isEmpty())
            presenter_.Repaint({exposed_.x(), exposed_.y(), exposed_.width(), exposed_.height()});
    }

  private:
    X11FieldPresenter& presenter_;
    QSize field_;
    QRect exposed_;
    const Surface* frame_ = nullptr;
    std::vector<FieldPatch> patches_;
};

} // namespace

PlayField::PlayField(QtGameWindow& owner, QSize size, QWidget* parent) : QWidget(parent), owner_(owner), gameSize_(size)
{
    setFixedSize(size);
    // The frame buffer covers every pixel: nothing needs erasing first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        if (auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>())
            presenter_ = X11FieldPresenter::Open(x11->display(), size.width(), size.height());
    if (presenter_) {
        // A window of its own, which the presenter draws into and Qt leaves alone.
        setAttribute(Qt::WA_NativeWindow);
        setAttribute(Qt::WA_PaintOnScreen);
    }
}

PlayField::~PlayField() = default;

void PlayField::SetZoom(int zoom)
{
    zoom_ = std::max(1, zoom);
    setFixedSize(gameSize_ * zoom_);
    update();
}

QPaintEngine* PlayField::paintEngine() const
{
    return presenter_ ? nullptr : QWidget::paintEngine();
}

void PlayField::ShowChanges(const Surface* frame, std::span<const FieldPatch> patches, bool atPresent)
{
    if (presenter_) {
        // The presenter finds the changes itself when the game paints.
        changesWaiting_ = true;
        if (!atPresent && !presentPosted_) {
            presentPosted_ = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    presentPosted_ = false;
                    PresentChanges();
                },
                Qt::QueuedConnection);
        }
        return;
    }
    QRegion changed;
    if (frame == nullptr || shown_.size() != frame->Pixels().size()) {
        shown_ = frame != nullptr ? frame->Pixels() : std::vector<Pixel>();
        changed = rect();
    } else {
        for (const Rect& band : TakeChanges(*frame, shown_.data(), static_cast<std::size_t>(frame->Width()), patches))
            changed += QRect(band.x * zoom_, band.y * zoom_, band.width * zoom_, band.height * zoom_);
    }
    if (atPresent)
        unpresented_ += changed;
    else if (!changed.isEmpty())
        update(changed);
}

void PlayField::PresentChanges()
{
    if (presenter_) {
        // A field not shown yet is drawn whole when it is.
        if (changesWaiting_ && isVisible())
            PaintItself(QRect());
        return;
    }
    if (!unpresented_.isEmpty())
        repaint(std::exchange(unpresented_, QRegion()));
}

void PlayField::paintEvent(QPaintEvent* event)
{
    if (presenter_)
        PaintItself(event->rect());
    else
        PaintThroughQt(event->region());
}

void PlayField::PaintItself(const QRect& exposed)
{
    // The window counts in the screen's pixels, which a scaled desktop
    // makes two or more to each of Qt's.
    const qreal ratio = devicePixelRatioF();
    if (ratio < 1 || ratio != std::floor(ratio) ||
        (!presenter_->Attached() && !presenter_->Attach(static_cast<std::uint32_t>(winId())))) {
        // The server cannot draw into this window after all: Qt paints it.
        presenter_.reset();
        setAttribute(Qt::WA_PaintOnScreen, false);
        update();
        return;
    }
    const int scale = static_cast<int>(ratio);
    presenter_->SetZoom(zoom_ * scale);
    changesWaiting_ = false;
    FieldPresent target(*presenter_, gameSize_, QRect(exposed.topLeft() * scale, exposed.size() * scale));
    owner_.Deliver(Message{MessageKind::Paint, 0, nullptr, &target});
    target.Present();
}

void PlayField::PaintThroughQt(const QRegion& region)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& part : region) {
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
        owner_.Deliver(Message{MessageKind::Char, kDiveCharacter});
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
        owner_.StepView(ViewStep::LeaveFullScreen);
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
