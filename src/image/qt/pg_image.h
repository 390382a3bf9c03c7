#pragma once
// TPGImage: the scrolling picture viewer. It owns one picture, shows it zoomed, stretched or
// flipped inside its picture box, keeps a rubber-band selection with an animated frame, lets the
// user drag the picture or the selection as its action mode says, and builds the display copy of
// the picture on a paint thread so that large pictures never hold up the window.
#include "image/pixel_graphic.h"
#include "image/viewer_layout.h"

#include <QAbstractScrollArea>
#include <QBrush>
#include <QColor>
#include <QCursor>
#include <QImage>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

namespace pigmentaria {

class TPGImage;

// Builds one display copy: the picture resampled to the picture box's size, as a QImage. It reads
// the viewer's picture and writes only its own copies; the viewer never changes the picture while
// it runs, because every writer waits for it first.
class TCreatePaintPGThread final : public QThread {
    Q_OBJECT
public:
    TCreatePaintPGThread(TPGImage* viewer, const TPixelGraphic* picture, TViewSize box,
                         TStretchMode mode, std::uint64_t generation);
    void Terminate() { Terminated_ = true; }
    // Builds the copy on the calling thread; an empty image when terminated meanwhile.
    static QImage Build(const TPixelGraphic& picture, TViewSize box, TStretchMode mode,
                        const std::atomic<bool>* terminated,
                        const std::function<void(int stage, int percent)>& progress);

protected:
    void run() override;

private:
    TPGImage* Viewer_;
    const TPixelGraphic* Picture_;
    TViewSize Box_;
    TStretchMode Mode_;
    std::uint64_t Generation_;
    std::atomic<bool> Terminated_{false};
};

class TPGImage : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit TPGImage(QWidget* parent = nullptr);
    ~TPGImage() override;

    // ---- The picture
    // Waits for the paint thread, then hands out the picture (null when empty).
    const TPixelGraphic* PixelGraphic();
    // Without waiting: for painting code that knows the thread only reads it.
    const TPixelGraphic* PixelGraphicRaw() const { return Picture_.get(); }
    // Waits for the paint thread, takes the new picture (null empties the viewer) and rebuilds.
    void SetPixelGraphic(std::unique_ptr<TPixelGraphic> graphic);
    // Loads a picture file; a name without a file part empties the viewer. A failed load leaves
    // the viewer empty and passes the library's exception on.
    void SetFileName(const QString& name);
    const QString& FileName() const { return FileName_; }
    // Blocks until the display copy being built (if any) is finished or given up.
    void WaitForPaintThread();

    // ---- Properties
    TActionMode ActionMode() const { return ActionMode_; }
    void SetActionMode(TActionMode mode);
    bool Center() const { return Center_; }
    void SetCenter(bool on);
    TStretch Stretch() const { return Stretch_; }
    void SetStretch(TStretch stretch);
    TStretchMode StretchMode() const { return StretchMode_; }
    void SetStretchMode(TStretchMode mode);
    double ZoomFactor() const { return Zoom_; }
    void SetZoomFactor(double zoom);
    bool FlipHorizontal() const { return FlipH_; }
    void SetFlipHorizontal(bool on);
    bool FlipVertical() const { return FlipV_; }
    void SetFlipVertical(bool on);
    bool UseThread() const { return UseThread_; }
    void SetUseThread(bool on);
    bool KeepOldPaintPixelGraphic() const { return KeepOld_; }
    void SetKeepOldPaintPixelGraphic(bool on) { KeepOld_ = on; }
    TColor BackGroundColor() const { return BackGround_; }
    void SetBackGroundColor(TColor c) { BackGround_ = c; }
    QColor SelectionColor1() const { return SelColor1_; }
    QColor SelectionColor2() const { return SelColor2_; }
    void SetSelectionColors(QColor first, QColor second);
    bool ProgressClockVisible() const { return ClockVisible_; }
    void SetProgressClockVisible(bool on) { ClockVisible_ = on; }
    // Ctrl + wheel zooms the viewer itself; when off it only asks (WheelZoomRequest).
    bool WheelZooms() const { return WheelZooms_; }
    void SetWheelZooms(bool on) { WheelZooms_ = on; }
    // The cursor over the picture box when the action mode asks for none of its own.
    void SetPicBoxCursor(const QCursor& cursor);

    // ---- Selection, in picture pixels
    bool Selection() const { return Selection_; }
    void SetSelection(bool on);
    TViewRect SelectionRect() const { return SelRect_; }
    void SetSelectionRect(const TViewRect& r);

    // ---- Layout, in viewport pixels
    TViewSize PicBoxSize() const { return Box_; }
    int PicBoxWidth() const { return Box_.Width; }
    int PicBoxHeight() const { return Box_.Height; }
    // The picture box's top-left inside the viewport.
    QPoint PictureOffset() const;
    TViewPoint ScrollPosition() const;
    void SetScrollPosition(TViewPoint p);
    // A viewport point in picture-box pixels (may lie outside the box).
    QPoint ViewportToBox(QPoint p) const;
    QPoint BoxToViewport(QPoint p) const;
    TViewPoint BoxToPicturePixel(QPoint box) const;

    // ---- The display copy
    bool DisplayReady() const { return !Display_.isNull() && DisplayGeneration_ == Generation_; }
    const QImage& DisplayImage() const { return Display_; }
    std::uint64_t Generation() const { return Generation_; }
    std::uint64_t DisplayGeneration() const { return DisplayGeneration_; }
    int SelectionPatternIndex() const { return PatternIndex_; }

signals:
    void SelectionMade();
    void SelectionChange();
    void ZoomFactorChange();
    // A new display copy is being built (Painting) and was shown (Paint).
    void Painting();
    void Paint();
    void PixelGraphicChange();
    // Stage 1 resamples, stage 2 prepares the copy; percent 0..100.
    void PixelGraphicProgress(int stage, int percent);
    // After the picture is drawn and before the selection frame: `box` is the picture box in
    // viewport pixels. Painting marks over the picture here.
    void PicBoxPaint(QPainter& painter, const QRect& box);
    // Mouse over the picture box: the event and the picture-box position.
    void PicBoxMouseDown(QMouseEvent* event, QPoint box);
    void PicBoxMouseMove(QMouseEvent* event, QPoint box);
    void PicBoxMouseUp(QMouseEvent* event, QPoint box);
    void PicBoxDblClick(QMouseEvent* event, QPoint box);
    // Ctrl + wheel while WheelZooms is off: notches (positive zooms in) at a viewport point.
    void WheelZoomRequest(int steps, QPoint viewport);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TCreatePaintPGThread;
    void HandOver(std::uint64_t generation, QImage image);
    void ProgressArrived(std::uint64_t generation, int stage, int percent);
    void Rebuild();
    void UpdateLayout();
    void StopThread();
    void UpdateCursor(QPoint viewport);
    void DragTo(QPoint viewport);
    void AutoScrollTick();
    void AnimateSelection();
    QRect FrameRectInViewport() const;
    void InvalidateFrame(const TViewRect& r);
    void DrawFrame(QPainter& p);
    void DrawProgressClock(QPainter& p);
    TViewSize PictureSize() const;

    std::unique_ptr<TPixelGraphic> Picture_;
    QString FileName_;
    std::unique_ptr<TCreatePaintPGThread> Thread_;
    std::uint64_t Generation_ = 0;
    std::uint64_t DisplayGeneration_ = 0;
    QImage Display_;
    int ClockPercent_ = -1;

    TActionMode ActionMode_ = amMoveImage;
    bool Center_ = false;
    TStretch Stretch_ = sNeverKAR;
    TStretchMode StretchMode_ = smFast;
    double Zoom_ = 1.0;
    bool FlipH_ = false;
    bool FlipV_ = false;
    bool UseThread_ = true;
    bool KeepOld_ = false;
    TColor BackGround_ = 0;
    QColor SelColor1_{255, 255, 255};
    QColor SelColor2_{255, 0, 0};
    bool ClockVisible_ = true;
    bool WheelZooms_ = true;
    QCursor PicBoxCursor_;
    // The library cursors, made once per viewer (Qt cursors must not outlive the application).
    QCursor Cursors_[9];

    bool Selection_ = false;
    TViewRect SelRect_{0, 0, 1, 1};
    QTimer SelectionTimer_;
    int PatternIndex_ = 0;
    QBrush Patterns_[SelectionPatternCount];

    TViewSize Box_;

    // The drag under way.
    TDragKind Drag_ = TDragKind::None;
    QPoint DragStart_;
    TViewPoint DragScroll_;
    TViewPoint DragAnchor_;
    TViewRect DragRect_;
    TSizeHandle DragHandle_ = TSizeHandle::None;
    QPoint LastPointer_;
    QTimer AutoScroll_;
};

} // namespace pigmentaria
