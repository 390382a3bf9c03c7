#include "image/qt/pg_image.h"

#include "image/qt/qt_cursors.h"

#include <QApplication>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QScrollBar>
#include <QWheelEvent>

#include <chrono>

namespace pigmentaria {

// ---- The paint thread

TCreatePaintPGThread::TCreatePaintPGThread(TPGImage* viewer, const TPixelGraphic* picture,
                                           TViewSize box, TStretchMode mode,
                                           std::uint64_t generation)
    : Viewer_(viewer), Picture_(picture), Box_(box), Mode_(mode), Generation_(generation) {}

QImage TCreatePaintPGThread::Build(const TPixelGraphic& picture, TViewSize box, TStretchMode mode,
                                   const std::atomic<bool>* terminated,
                                   const std::function<void(int, int)>& progress) {
    if (picture.Empty() || box.Width <= 0 || box.Height <= 0) return {};
    // Stage 1: the picture at the display size, unless it already has it.
    TPixelGraphic sized;
    const TPixelGraphic* source = &picture;
    if (box.Width != picture.Width() || box.Height != picture.Height()) {
        if (progress) progress(1, 0);
        sized.StretchMode = mode;
        sized.SetSize(box.Width, box.Height, ct24Bit);
        sized.StretchFrom(0, 0, box.Width, box.Height, picture, 0, 0, picture.Width(),
                          picture.Height());
        source = &sized;
        if (progress) progress(1, 100);
    }
    if (terminated && *terminated) return {};
    // Stage 2: the copy the window draws, row by row, reporting at most every 50 ms.
    QImage image(box.Width, box.Height, QImage::Format_RGB32);
    if (image.isNull()) return {};
    using TClock = std::chrono::steady_clock;
    TClock::time_point last = TClock::now();
    int lastPercent = -1;
    const int rows = box.Height;
    const bool direct = source->ColorType() == ct24Bit;
    for (int y = 0; y < rows; ++y) {
        if (terminated && *terminated) return {};
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        if (direct) {
            const std::uint8_t* in = source->ScanLine(y);
            for (int x = 0; x < box.Width; ++x, in += 3)
                out[x] = qRgb(in[2], in[1], in[0]);
        } else {
            for (int x = 0; x < box.Width; ++x) {
                const TColor c = source->GetPixelColor(x, y);
                out[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
            }
        }
        if (progress && rows > 1) {
            const int percent = y * 100 / (rows - 1);
            const TClock::time_point now = TClock::now();
            if (percent != lastPercent && now - last >= std::chrono::milliseconds(50)) {
                lastPercent = percent;
                last = now;
                progress(2, percent);
            }
        }
    }
    return image;
}

void TCreatePaintPGThread::run() {
    TPGImage* viewer = Viewer_;
    const std::uint64_t generation = Generation_;
    QImage image = Build(*Picture_, Box_, Mode_, &Terminated_, [&](int stage, int percent) {
        QMetaObject::invokeMethod(
            viewer,
            [viewer, generation, stage, percent] {
                viewer->ProgressArrived(generation, stage, percent);
            },
            Qt::QueuedConnection);
    });
    if (Terminated_) return;
    // The copy crosses to the window's thread whole; the viewer drops it if it is stale by then.
    QMetaObject::invokeMethod(
        viewer, [viewer, generation, image] { viewer->HandOver(generation, image); },
        Qt::QueuedConnection);
}

// ---- The viewer

TPGImage::TPGImage(QWidget* parent) : QAbstractScrollArea(parent) {
    viewport()->setMouseTracking(true);
    viewport()->setAutoFillBackground(false);
    for (int i = 0; i < SelectionPatternCount; ++i)
        Patterns_[i] = QBrush();
    SetSelectionColors(SelColor1_, SelColor2_);
    SelectionTimer_.setInterval(SelectionTimerMs);
    connect(&SelectionTimer_, &QTimer::timeout, this, &TPGImage::AnimateSelection);
    AutoScroll_.setInterval(30);
    connect(&AutoScroll_, &QTimer::timeout, this, &TPGImage::AutoScrollTick);
    PicBoxCursor_ = QCursor(Qt::ArrowCursor);
    for (int i = 0; i < 9; ++i)
        Cursors_[i] = ViewerCursor(static_cast<TViewerCursor>(i));
}

TPGImage::~TPGImage() {
    StopThread();
}

void TPGImage::StopThread() {
    if (!Thread_) return;
    Thread_->Terminate();
    Thread_->wait();
    Thread_.reset();
}

void TPGImage::WaitForPaintThread() {
    if (Thread_) Thread_->wait();
}

const TPixelGraphic* TPGImage::PixelGraphic() {
    WaitForPaintThread();
    return Picture_.get();
}

void TPGImage::SetPixelGraphic(std::unique_ptr<TPixelGraphic> graphic) {
    StopThread();
    Picture_ = std::move(graphic);
    Rebuild();
    emit PixelGraphicChange();
}

void TPGImage::SetFileName(const QString& name) {
    FileName_.clear();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    StopThread();
    Picture_.reset();
    const QFileInfo info(name);
    try {
        if (!info.fileName().isEmpty() && !info.isDir()) {
            auto graphic = std::make_unique<TPixelGraphic>();
            graphic->SetFillColor(BackGround_);
            graphic->LoadFromFile(name.toStdString());
            Picture_ = std::move(graphic);
        }
    } catch (...) {
        QApplication::restoreOverrideCursor();
        Rebuild();
        throw;
    }
    FileName_ = name;
    QApplication::restoreOverrideCursor();
    Rebuild();
    emit PixelGraphicChange();
}

TViewSize TPGImage::PictureSize() const {
    if (!Picture_ || Picture_->Empty()) return {};
    return {Picture_->Width(), Picture_->Height()};
}

void TPGImage::UpdateLayout() {
    const QSize vp = viewport()->size();
    Box_ = DisplaySize(PictureSize(), Zoom_, Stretch_, {vp.width(), vp.height()});
    horizontalScrollBar()->setRange(0, ScrollRange(Box_.Width, vp.width()));
    verticalScrollBar()->setRange(0, ScrollRange(Box_.Height, vp.height()));
    horizontalScrollBar()->setPageStep(std::max(1, vp.width()));
    verticalScrollBar()->setPageStep(std::max(1, vp.height()));
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setSingleStep(20);
}

void TPGImage::Rebuild() {
    StopThread();
    ++Generation_;
    UpdateLayout();
    ClockPercent_ = -1;
    if (!KeepOld_) Display_ = QImage();
    if (!Picture_ || Picture_->Empty()) {
        Display_ = QImage();
        DisplayGeneration_ = Generation_;
        viewport()->update();
        return;
    }
    emit Painting();
    if (UseThread_) {
        Thread_ = std::make_unique<TCreatePaintPGThread>(this, Picture_.get(), Box_, StretchMode_,
                                                         Generation_);
        Thread_->start();
    } else {
        Display_ = TCreatePaintPGThread::Build(*Picture_, Box_, StretchMode_, nullptr, nullptr);
        DisplayGeneration_ = Generation_;
        emit Paint();
    }
    viewport()->update();
}

void TPGImage::HandOver(std::uint64_t generation, QImage image) {
    if (generation != Generation_) return;
    if (Thread_) {
        Thread_->wait();
        Thread_.reset();
    }
    Display_ = std::move(image);
    DisplayGeneration_ = generation;
    ClockPercent_ = -1;
    viewport()->update();
    emit Paint();
}

void TPGImage::ProgressArrived(std::uint64_t generation, int stage, int percent) {
    if (generation != Generation_) return;
    ClockPercent_ = percent;
    if (ClockVisible_) viewport()->update(QRect(4, 4, 26, 26));
    emit PixelGraphicProgress(stage, percent);
}

// ---- Properties

void TPGImage::SetActionMode(TActionMode mode) {
    if (mode == ActionMode_) return;
    ActionMode_ = mode;
    viewport()->update();
}

void TPGImage::SetCenter(bool on) {
    if (on == Center_) return;
    Center_ = on;
    viewport()->update();
}

void TPGImage::SetStretch(TStretch stretch) {
    if (stretch == Stretch_) return;
    Stretch_ = stretch;
    Rebuild();
}

void TPGImage::SetStretchMode(TStretchMode mode) {
    if (mode == StretchMode_) return;
    StretchMode_ = mode;
    Rebuild();
}

void TPGImage::SetZoomFactor(double zoom) {
    if (!(zoom > 0) || zoom == Zoom_) return;
    Zoom_ = zoom;
    Rebuild();
    emit ZoomFactorChange();
}

void TPGImage::SetFlipHorizontal(bool on) {
    if (on == FlipH_) return;
    FlipH_ = on;
    viewport()->update();
}

void TPGImage::SetFlipVertical(bool on) {
    if (on == FlipV_) return;
    FlipV_ = on;
    viewport()->update();
}

void TPGImage::SetUseThread(bool on) {
    StopThread();
    UseThread_ = on;
    // The copy in hand may have been given up half-way: build it again.
    Rebuild();
}

void TPGImage::SetSelectionColors(QColor first, QColor second) {
    SelColor1_ = first;
    SelColor2_ = second;
    for (int i = 0; i < SelectionPatternCount; ++i) {
        const auto rows = SelectionPattern(i);
        QImage tile(8, 8, QImage::Format_RGB32);
        for (int j = 0; j < 8; ++j)
            for (int k = 0; k < 8; ++k)
                tile.setPixel(k, j,
                              (rows[static_cast<std::size_t>(j)] >> k) & 1 ? second.rgb()
                                                                           : first.rgb());
        Patterns_[i] = QBrush(tile);
    }
}

void TPGImage::SetPicBoxCursor(const QCursor& cursor) {
    PicBoxCursor_ = cursor;
    UpdateCursor(viewport()->mapFromGlobal(QCursor::pos()));
}

// ---- Selection

void TPGImage::SetSelection(bool on) {
    if (on == Selection_) return;
    Selection_ = on;
    if (on)
        SelectionTimer_.start();
    else
        SelectionTimer_.stop();
    viewport()->update();
    emit SelectionChange();
}

void TPGImage::SetSelectionRect(const TViewRect& r) {
    const TViewRect old = SelRect_;
    SelRect_ = r;
    if (SelRect_.Right <= SelRect_.Left) SelRect_.Right = SelRect_.Left + 1;
    if (SelRect_.Bottom <= SelRect_.Top) SelRect_.Bottom = SelRect_.Top + 1;
    InvalidateFrame(old);
    InvalidateFrame(SelRect_);
    emit SelectionChange();
}

QRect TPGImage::FrameRectInViewport() const {
    const TViewRect b = PictureToBox(SelRect_, Box_, PictureSize());
    const QPoint o = PictureOffset();
    return QRect(QPoint(b.Left + o.x(), b.Top + o.y()),
                 QSize(std::max(1, b.Width()), std::max(1, b.Height())));
}

void TPGImage::InvalidateFrame(const TViewRect& r) {
    if (!Selection_) return;
    const TViewRect b = PictureToBox(r, Box_, PictureSize());
    const QPoint o = PictureOffset();
    const QRect f(QPoint(b.Left + o.x(), b.Top + o.y()),
                  QSize(std::max(1, b.Width()), std::max(1, b.Height())));
    const int w = SelectionStripWidth(ActionMode_) + 1;
    QRegion strips;
    strips += QRect(f.left() - w, f.top() - w, f.width() + 2 * w, 2 * w);
    strips += QRect(f.left() - w, f.bottom() - w + 1, f.width() + 2 * w, 2 * w);
    strips += QRect(f.left() - w, f.top() - w, 2 * w, f.height() + 2 * w);
    strips += QRect(f.right() - w + 1, f.top() - w, 2 * w, f.height() + 2 * w);
    viewport()->update(strips);
}

void TPGImage::AnimateSelection() {
    PatternIndex_ = (PatternIndex_ + 1) % SelectionPatternCount;
    InvalidateFrame(SelRect_);
}

// ---- Layout

QPoint TPGImage::PictureOffset() const {
    const QSize vp = viewport()->size();
    const TViewPoint o =
        pigmentaria::PictureOffset(Box_, {vp.width(), vp.height()}, ScrollPosition(), Center_);
    return {o.X, o.Y};
}

TViewPoint TPGImage::ScrollPosition() const {
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void TPGImage::SetScrollPosition(TViewPoint p) {
    horizontalScrollBar()->setValue(p.X);
    verticalScrollBar()->setValue(p.Y);
}

QPoint TPGImage::ViewportToBox(QPoint p) const {
    return p - PictureOffset();
}
QPoint TPGImage::BoxToViewport(QPoint p) const {
    return p + PictureOffset();
}

TViewPoint TPGImage::BoxToPicturePixel(QPoint box) const {
    return BoxToPicture({box.x(), box.y()}, Box_, PictureSize());
}

void TPGImage::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    const TViewSize old = Box_;
    UpdateLayout();
    if (!(Box_ == old) && Picture_) Rebuild();
}

void TPGImage::scrollContentsBy(int, int) {
    viewport()->update();
}

// ---- Painting

void TPGImage::paintEvent(QPaintEvent*) {
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), palette().color(QPalette::Dark));
    const QPoint o = PictureOffset();
    const QRect box(o, QSize(Box_.Width, Box_.Height));
    const bool current = DisplayGeneration_ == Generation_;
    if (!Display_.isNull() && (current || KeepOld_)) {
        p.save();
        // Mirrored about the picture box's own centre.
        p.translate(box.center().x() + 0.5, box.center().y() + 0.5);
        p.scale(FlipH_ ? -1 : 1, FlipV_ ? -1 : 1);
        p.translate(-(box.center().x() + 0.5), -(box.center().y() + 0.5));
        p.drawImage(box.topLeft(), Display_);
        p.restore();
    }
    if (Picture_ && (current || KeepOld_)) emit PicBoxPaint(p, box);
    if (Selection_) DrawFrame(p);
    if (!current && ClockVisible_ && ClockPercent_ >= 0) DrawProgressClock(p);
}

void TPGImage::DrawFrame(QPainter& p) {
    const QRect f = FrameRectInViewport();
    const QPoint o = PictureOffset();
    QBrush brush = Patterns_[PatternIndex_];
    p.setBrushOrigin(o);
    p.fillRect(QRect(f.left(), f.top(), f.width(), 1), brush);
    p.fillRect(QRect(f.left(), f.bottom(), f.width(), 1), brush);
    p.fillRect(QRect(f.left(), f.top(), 1, f.height()), brush);
    p.fillRect(QRect(f.right(), f.top(), 1, f.height()), brush);
    if (ActionMode_ != amMoveResizeCreateSelection) return;
    const TViewRect frame{f.left() - o.x(), f.top() - o.y(), f.right() + 1 - o.x(),
                          f.bottom() + 1 - o.y()};
    for (int i = static_cast<int>(TSizeHandle::TopLeft); i <= static_cast<int>(TSizeHandle::Left);
         ++i) {
        const TViewRect h = HandleRect(frame, static_cast<TSizeHandle>(i));
        const QRect r(h.Left + o.x(), h.Top + o.y(), h.Width(), h.Height());
        p.fillRect(r, SelColor2_);
        p.setPen(SelColor1_);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

void TPGImage::DrawProgressClock(QPainter& p) {
    const QRect r(6, 6, 22, 22);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(palette().color(QPalette::Button));
    p.setPen(palette().color(QPalette::Mid));
    p.drawEllipse(r);
    p.setBrush(palette().color(QPalette::Mid));
    p.drawPie(r, 90 * 16, -ClockPercent_ * 360 * 16 / 100);
    p.restore();
}

// ---- Mouse

void TPGImage::UpdateCursor(QPoint vp) {
    const QPoint b = ViewportToBox(vp);
    const bool inBox = b.x() >= 0 && b.y() >= 0 && b.x() < Box_.Width && b.y() < Box_.Height;
    if (!inBox && Drag_ == TDragKind::None) {
        viewport()->setCursor(Qt::ArrowCursor);
        return;
    }
    const QSize v = viewport()->size();
    TCursorQuery q;
    q.Mode = ActionMode_;
    q.Scrollable = (Box_.Width > v.width() && horizontalScrollBar()->isVisible()) ||
                   (Box_.Height > v.height() && verticalScrollBar()->isVisible());
    q.Dragging = Drag_ == TDragKind::ScrollPicture;
    q.SelectionShown = Selection_;
    q.Pointer = {b.x(), b.y()};
    q.Frame = PictureToBox(SelRect_, Box_, PictureSize());
    const TViewerCursor c = ChooseViewerCursor(q);
    viewport()->setCursor(c == TViewerCursor::Default ? PicBoxCursor_
                                                      : Cursors_[static_cast<int>(c)]);
}

void TPGImage::mousePressEvent(QMouseEvent* event) {
    const QPoint vp = event->position().toPoint();
    const QPoint b = ViewportToBox(vp);
    const bool inBox = b.x() >= 0 && b.y() >= 0 && b.x() < Box_.Width && b.y() < Box_.Height;
    if (event->button() == Qt::LeftButton && Picture_) {
        const TViewRect frame = PictureToBox(SelRect_, Box_, PictureSize());
        const TSizeHandle handle = ActionMode_ == amMoveResizeCreateSelection && Selection_
                                       ? HandleAt(frame, {b.x(), b.y()})
                                       : TSizeHandle::None;
        Drag_ = DragKindForPress(ActionMode_, Selection_, frame.Contains({b.x(), b.y()}), handle);
        if (Drag_ == TDragKind::CreateSelection && !inBox) Drag_ = TDragKind::None;
        DragStart_ = vp;
        DragScroll_ = ScrollPosition();
        DragAnchor_ = BoxToPicturePixel(b);
        DragRect_ = SelRect_;
        DragHandle_ = handle;
        LastPointer_ = vp;
        if (Drag_ == TDragKind::CreateSelection) {
            SetSelectionRect(DragRectangle(DragAnchor_, DragAnchor_));
            SetSelection(true);
        }
        UpdateCursor(vp);
    }
    if (inBox) emit PicBoxMouseDown(event, b);
}

void TPGImage::DragTo(QPoint vp) {
    const QPoint b = ViewportToBox(vp);
    const TViewPoint pic = BoxToPicturePixel(b);
    switch (Drag_) {
    case TDragKind::ScrollPicture: {
        const QPoint d = vp - DragStart_;
        SetScrollPosition({DragScroll_.X - d.x(), DragScroll_.Y - d.y()});
        break;
    }
    case TDragKind::CreateSelection:
        SetSelectionRect(DragRectangle(DragAnchor_, pic));
        break;
    case TDragKind::MoveSelection:
        SetSelectionRect(
            MoveSelection(DragRect_, pic.X - DragAnchor_.X, pic.Y - DragAnchor_.Y, PictureSize()));
        break;
    case TDragKind::Resize:
        SetSelectionRect(ResizeSelection(DragRect_, DragHandle_, pic));
        break;
    case TDragKind::None:
        break;
    }
}

void TPGImage::mouseMoveEvent(QMouseEvent* event) {
    const QPoint vp = event->position().toPoint();
    LastPointer_ = vp;
    if (Drag_ != TDragKind::None) {
        DragTo(vp);
        const TViewPoint d =
            AutoScrollDelta({vp.x(), vp.y()}, {viewport()->width(), viewport()->height()});
        const bool outside = d.X != 0 || d.Y != 0;
        if (outside && Drag_ != TDragKind::ScrollPicture && !AutoScroll_.isActive())
            AutoScroll_.start();
        if (!outside) AutoScroll_.stop();
    }
    UpdateCursor(vp);
    const QPoint b = ViewportToBox(vp);
    if (Drag_ != TDragKind::None ||
        (b.x() >= 0 && b.y() >= 0 && b.x() < Box_.Width && b.y() < Box_.Height))
        emit PicBoxMouseMove(event, b);
}

void TPGImage::AutoScrollTick() {
    if (Drag_ == TDragKind::None) {
        AutoScroll_.stop();
        return;
    }
    const TViewPoint d = AutoScrollDelta({LastPointer_.x(), LastPointer_.y()},
                                         {viewport()->width(), viewport()->height()});
    if (d.X == 0 && d.Y == 0) {
        AutoScroll_.stop();
        return;
    }
    const TViewPoint s = ScrollPosition();
    SetScrollPosition({s.X + d.X, s.Y + d.Y});
    DragTo(LastPointer_);
}

void TPGImage::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint vp = event->position().toPoint();
    const TDragKind finished = Drag_;
    if (finished != TDragKind::None && event->button() == Qt::LeftButton) {
        DragTo(vp);
        Drag_ = TDragKind::None;
        AutoScroll_.stop();
        if (finished == TDragKind::CreateSelection) emit SelectionMade();
    }
    UpdateCursor(vp);
    const QPoint b = ViewportToBox(vp);
    emit PicBoxMouseUp(event, b);
}

void TPGImage::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPoint b = ViewportToBox(event->position().toPoint());
    if (b.x() >= 0 && b.y() >= 0 && b.x() < Box_.Width && b.y() < Box_.Height)
        emit PicBoxDblClick(event, b);
}

void TPGImage::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QAbstractScrollArea::wheelEvent(event);
        return;
    }
    event->accept();
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    const QPoint pointer = event->position().toPoint();
    if (!WheelZooms_) {
        emit WheelZoomRequest(steps, pointer);
        return;
    }
    const TViewSize oldBox = Box_;
    const TViewPoint oldScroll = ScrollPosition();
    SetZoomFactor(WheelZoom(Zoom_, steps, 0.05, 16.0));
    const QSize v = viewport()->size();
    SetScrollPosition(ScrollForZoomAbout({pointer.x(), pointer.y()}, oldScroll, oldBox, Box_,
                                         {v.width(), v.height()}, Center_));
}

} // namespace pigmentaria
