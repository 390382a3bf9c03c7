#include "image/qt/pg_image.h"

#include "../../app/qt/widget_test_util.h"
#include "test_util.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::WaitFor;

std::unique_ptr<TPixelGraphic> Plain(int w, int h, TColor c) {
    TRaster24 r(w, h, c);
    auto g = std::make_unique<TPixelGraphic>();
    g->AssignRaster24(r);
    return g;
}

void Mouse(TPGImage& v, QEvent::Type type, QPoint p, Qt::MouseButton button,
           Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(p), v.viewport()->mapToGlobal(QPointF(p)), button, buttons, mods);
    QCoreApplication::sendEvent(v.viewport(), &e);
}

struct ViewerTest : ::testing::Test {
    void SetUp() override {
        View.resize(300, 200);
        View.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&View));
    }
    TPGImage View;
};

TEST_F(ViewerTest, ZoomChangesFireOnceAndResizeThePictureBox) {
    View.SetPixelGraphic(Plain(100, 80, clWhite));
    QSignalSpy zoom(&View, &TPGImage::ZoomFactorChange);
    View.SetZoomFactor(2.5);
    EXPECT_EQ(zoom.count(), 1);
    EXPECT_EQ(View.PicBoxWidth(), 250);
    EXPECT_EQ(View.PicBoxHeight(), 200);
    // The same value again changes nothing.
    View.SetZoomFactor(2.5);
    EXPECT_EQ(zoom.count(), 1);
    View.SetZoomFactor(0.25);
    EXPECT_EQ(zoom.count(), 2);
    EXPECT_EQ(View.PicBoxWidth(), 25);
    ASSERT_TRUE(WaitFor([&] { return View.DisplayReady(); }));
    EXPECT_EQ(View.DisplayImage().size(), QSize(25, 20));
    // Ctrl + wheel zooms in by a notch about the pointer; the wheel alone scrolls.
    QWheelEvent in(QPointF(10, 10), View.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                   QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(View.viewport(), &in);
    EXPECT_EQ(zoom.count(), 3);
    EXPECT_DOUBLE_EQ(View.ZoomFactor(), 0.3125);
    View.SetZoomFactor(4);
    QWheelEvent down(QPointF(10, 10), View.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                     QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(View.viewport(), &down);
    EXPECT_EQ(zoom.count(), 4);
    EXPECT_GT(View.ScrollPosition().Y, 0);
}

TEST_F(ViewerTest, AWheelZoomCanBeLeftToTheOwner) {
    View.SetPixelGraphic(Plain(100, 80, clWhite));
    View.SetWheelZooms(false);
    QSignalSpy asked(&View, &TPGImage::WheelZoomRequest);
    QWheelEvent in(QPointF(30, 40), View.viewport()->mapToGlobal(QPointF(30, 40)), QPoint(),
                   QPoint(0, 240), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(View.viewport(), &in);
    ASSERT_EQ(asked.count(), 1);
    EXPECT_EQ(asked.at(0).at(0).toInt(), 2);
    EXPECT_EQ(asked.at(0).at(1).toPoint(), QPoint(30, 40));
    EXPECT_DOUBLE_EQ(View.ZoomFactor(), 1.0);
}

TEST_F(ViewerTest, DraggingASelectionReportsItAndTheTimerAnimatesTheFrame) {
    View.SetPixelGraphic(Plain(100, 80, clWhite));
    View.SetActionMode(amCreateSelection);
    QSignalSpy made(&View, &TPGImage::SelectionMade);
    QSignalSpy changed(&View, &TPGImage::SelectionChange);
    const QPoint o = View.PictureOffset();
    Mouse(View, QEvent::MouseButtonPress, o + QPoint(10, 20), Qt::LeftButton, Qt::LeftButton);
    Mouse(View, QEvent::MouseMove, o + QPoint(30, 25), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(made.count(), 0);
    Mouse(View, QEvent::MouseMove, o + QPoint(40, 50), Qt::NoButton, Qt::LeftButton);
    Mouse(View, QEvent::MouseButtonRelease, o + QPoint(40, 50), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(made.count(), 1);
    EXPECT_GE(changed.count(), 3);
    EXPECT_TRUE(View.Selection());
    EXPECT_EQ(View.SelectionRect(), (TViewRect{10, 20, 41, 51}));
    // The frame's pattern moves on every 50 ms.
    const int before = View.SelectionPatternIndex();
    ASSERT_TRUE(WaitFor([&] { return View.SelectionPatternIndex() != before; }, 1000));
    View.SetSelection(false);
    const int stopped = View.SelectionPatternIndex();
    QTest::qWait(150);
    EXPECT_EQ(View.SelectionPatternIndex(), stopped);
    // In a mode that does not select, a press leaves the selection alone.
    View.SetActionMode(amNone);
    Mouse(View, QEvent::MouseButtonPress, o + QPoint(5, 5), Qt::LeftButton, Qt::LeftButton);
    Mouse(View, QEvent::MouseButtonRelease, o + QPoint(9, 9), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(made.count(), 1);
}

TEST_F(ViewerTest, ASelectionDragPastTheEdgeScrollsTheView) {
    View.SetPixelGraphic(Plain(1000, 800, clWhite));
    View.SetActionMode(amCreateSelection);
    Mouse(View, QEvent::MouseButtonPress, QPoint(100, 100), Qt::LeftButton, Qt::LeftButton);
    const QPoint outside(View.viewport()->width() + 20, 100);
    Mouse(View, QEvent::MouseMove, outside, Qt::NoButton, Qt::LeftButton);
    ASSERT_TRUE(WaitFor([&] { return View.ScrollPosition().X >= 25; }, 2000));
    // The selection follows the picture under the pointer.
    EXPECT_GT(View.SelectionRect().Right, View.viewport()->width());
    Mouse(View, QEvent::MouseButtonRelease, outside, Qt::LeftButton, Qt::NoButton);
    const int x = View.ScrollPosition().X;
    QTest::qWait(100);
    EXPECT_EQ(View.ScrollPosition().X, x);
}

TEST_F(ViewerTest, MoveImageModeDragsThePictureWithTheHand) {
    View.SetPixelGraphic(Plain(1000, 800, clWhite));
    View.SetActionMode(amMoveImage);
    // The scroll bars appear once the layout has run.
    QTest::qWait(20);
    Mouse(View, QEvent::MouseMove, QPoint(50, 50), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(View.viewport()->cursor().shape(), Qt::BitmapCursor);
    Mouse(View, QEvent::MouseButtonPress, QPoint(150, 150), Qt::LeftButton, Qt::LeftButton);
    Mouse(View, QEvent::MouseMove, QPoint(100, 120), Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(View.ScrollPosition(), (TViewPoint{50, 30}));
    Mouse(View, QEvent::MouseButtonRelease, QPoint(100, 120), Qt::LeftButton, Qt::NoButton);
    // Nothing to scroll: the ordinary cursor.
    View.SetPixelGraphic(Plain(10, 10, clWhite));
    QTest::qWait(20);
    Mouse(View, QEvent::MouseMove, QPoint(2, 2), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(View.viewport()->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ViewerTest, NeverShowsAStaleOrHalfBuiltCopy) {
    QSignalSpy painted(&View, &TPGImage::Paint);
    // Paints of earlier pictures must never be handed over once a newer one is set.
    std::vector<std::uint64_t> shownGenerations;
    QObject::connect(&View, &TPGImage::Paint,
                     [&] { shownGenerations.push_back(View.DisplayGeneration()); });
    const TColor colors[] = {clRed, 0x00FF00, 0xFF0000, 0x808080, 0x123456};
    for (TColor c : colors)
        View.SetPixelGraphic(Plain(1200, 900, c));
    const std::uint64_t last = View.Generation();
    // Before the new copy arrives nothing of an older picture is on screen.
    EXPECT_FALSE(View.DisplayReady());
    const QImage early = View.viewport()->grab().toImage();
    const QRgb stale = qRgb(0x80, 0x80, 0x80);
    for (int y = 0; y < early.height(); y += 7)
        for (int x = 0; x < early.width(); x += 7)
            ASSERT_NE(early.pixel(x, y), stale);
    ASSERT_TRUE(WaitFor([&] { return View.DisplayReady(); }));
    QTest::qWait(50);
    for (std::uint64_t g : shownGenerations)
        EXPECT_EQ(g, last);
    // The copy shown is whole: every pixel is the last picture's colour.
    const QImage& shown = View.DisplayImage();
    ASSERT_EQ(shown.size(), QSize(1200, 900));
    const QRgb want = qRgb(0x56, 0x34, 0x12);
    for (int y = 0; y < shown.height(); y += 13)
        for (int x = 0; x < shown.width(); x += 13)
            ASSERT_EQ(shown.pixel(x, y), want);
    EXPECT_EQ(shown.pixel(1199, 899), want);
    // Handing the picture out waits for the thread; the picture is the last one set.
    View.SetPixelGraphic(Plain(50, 50, clWhite));
    const TPixelGraphic* p = View.PixelGraphic();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->GetPixelColor(0, 0), clWhite);
}

TEST_F(ViewerTest, WithoutThreadTheCopyIsReadyAtOnce) {
    View.SetUseThread(false);
    View.SetPixelGraphic(Plain(64, 32, clRed));
    EXPECT_TRUE(View.DisplayReady());
    EXPECT_EQ(View.DisplayImage().pixel(5, 5), qRgb(255, 0, 0));
    View.SetStretch(sAlways);
    EXPECT_EQ(View.DisplayImage().size(), View.viewport()->size());
}

// On a screen scaled to 200 % each picture pixel is a square of 2 × 2 device pixels of its own
// colour: nothing blends neighbours.
TEST_F(ViewerTest, OnADoubleDensityScreenEachPixelIsATwoByTwoSquare) {
    View.SetUseThread(false);
    TRaster24 r(12, 9);
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            r.SetPixel(x, y, MakeColor(20 * x, 25 * y, (x + y) % 2 ? 250 : 10));
    auto g = std::make_unique<TPixelGraphic>();
    g->AssignRaster24(r);
    View.SetPixelGraphic(std::move(g));
    QPixmap shown(View.viewport()->size() * 2);
    shown.setDevicePixelRatio(2);
    View.viewport()->render(&shown);
    const QImage device = shown.toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb first = qRgb(0, 0, 10);
    QPoint origin(-1, -1);
    for (int y = 0; y < device.height() && origin.x() < 0; ++y)
        for (int x = 0; x < device.width(); ++x)
            if (device.pixel(x, y) == first) {
                origin = {x, y};
                break;
            }
    ASSERT_GE(origin.x(), 0);
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const TColor c = r.GetPixel(x, y);
            const QRgb want = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
            for (int dy = 0; dy < 2; ++dy)
                for (int dx = 0; dx < 2; ++dx)
                    ASSERT_EQ(device.pixel(origin.x() + 2 * x + dx, origin.y() + 2 * y + dy), want)
                        << x << "," << y;
        }
}

TEST_F(ViewerTest, AFolderNameEmptiesTheViewerAndABadFilePassesTheErrorOn) {
    test::TTempDir dir;
    View.SetPixelGraphic(Plain(10, 10, clRed));
    View.SetFileName(QString::fromStdString(dir.Path().string()) + "/");
    EXPECT_EQ(View.PixelGraphic(), nullptr);
    test::WriteText(dir / "junk.png", "not a picture");
    EXPECT_THROW(View.SetFileName(QString::fromStdString((dir / "junk.png").string())),
                 std::exception);
    EXPECT_EQ(View.PixelGraphic(), nullptr);
    EXPECT_TRUE(View.FileName().isEmpty());
}

} // namespace
} // namespace pigmentaria
