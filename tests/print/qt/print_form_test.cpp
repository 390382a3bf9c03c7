// The print dialog's window: the frame dragged and sized with the mouse, the outline, fill and
// what-to-print controls enabling each other, the edits' rules, the overlap raised into its edit,
// and which changes are changes of the painting.
#include "print/qt/print_form.h"

#include "print/qt/printer_choice.h"

#include "../print_fakes.h"
#include "test_util.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>

#include <gtest/gtest.h>

#include <cmath>

namespace pigmentaria {
namespace {

// A mouse event on `widget` at a point of the sample panel, as the user's hand makes it.
void Mouse(QWidget* widget, QEvent::Type type, QPoint panel) {
    const QPointF local = widget->mapFromParent(panel);
    const QPointF global = widget->mapToGlobal(local);
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(widget, &e);
}

// Drags `widget` from `from` through each point of `path`, all in panel coordinates.
void Drag(QWidget* widget, QPoint from, std::initializer_list<QPoint> path) {
    Mouse(widget, QEvent::MouseButtonPress, from);
    QPoint last = from;
    for (const QPoint p : path) {
        Mouse(widget, QEvent::MouseMove, p);
        last = p;
    }
    Mouse(widget, QEvent::MouseButtonRelease, last);
}

class PrintFormTest : public ::testing::Test {
protected:
    // Letter at 600 dpi with quarter-inch margins, for a painting of `w` × `h`.
    void Show(int w = 400, int h = 300) {
        TPrintDialogState& s = Form.State();
        s.SetPrinter(test::LetterAt600(0.25), poPortrait);
        s.SetPaintingSize(w, h);
        ASSERT_FALSE(s.Show());
        Form.UpdateControls();
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    QRect Frame() const { return Form.ImageSizer()->geometry(); }

    TPrintForm Form;
    QSignalSpy Changes{&Form, &TPrintForm::PaintingChanged};
    test::TRecordingMessages Messages;
};

TEST_F(PrintFormTest, TheCaptionAndAFrameOfThePaintingsProportionsOverTheSample) {
    Show(400, 300);
    EXPECT_EQ(Form.windowTitle(), "Print Setup");
    ASSERT_TRUE(Form.ImageSizer()->isVisible());
    const TPlacementFrame f = Form.State().Frame();
    EXPECT_EQ(Frame(), QRect(f.Left, f.Top, f.Width, f.Height));
    EXPECT_EQ(Form.SizeControl()->pos(), QPoint(f.Left + f.Width - 7, f.Top + f.Height - 7));
    EXPECT_EQ(Form.SampleImage()->geometry(),
              QRect(SampleImageLeft, SampleImageTop, SampleSize, SampleSize));
    EXPECT_EQ(Form.SampleBitmap().size(), QSize(SampleSize, SampleSize));
    EXPECT_EQ(Form.ImageSizer()->toolTip(), "Drag the green box to place the image.");
    EXPECT_EQ(Form.SizeControl()->toolTip(), "Click and drag to size the image.");
    EXPECT_EQ(Form.PaperSize()->text(), "8.5\" x 11\"");
    EXPECT_EQ(Form.OrientationLabel()->text(), "Portrait");
    EXPECT_EQ(Form.PrintSize()->text(), "Total Print Size: 8.5\" x 11\"");
    EXPECT_EQ(Form.ImageSize()->text().toStdString(), Form.State().ImageSizeLabel());
    // A screen reader reads the values, not only the captions.
    for (QLabel* value :
         {Form.PaperSize(), Form.OrientationLabel(), Form.PrintSize(), Form.ImageSize()})
        EXPECT_EQ(value->accessibleName(), value->text());
    // The sample shows the sheet's grey margin around its white printable area.
    const QImage& sample = Form.SampleBitmap();
    const TPrintLayout& l = Form.State().Layout();
    EXPECT_EQ(sample.pixelColor(l.SampleOriginX + 2, l.SampleOriginY + 2), QColor(192, 192, 192));
    EXPECT_EQ(sample.pixelColor(SampleSize / 2, SampleSize / 2), QColor(255, 255, 255));
}

TEST_F(PrintFormTest, DraggingTheFrameKeepsTenPixelsInThePanelAndItsSize) {
    Show(400, 300);
    const QRect start = Frame();
    Drag(Form.ImageSizer(), start.center(), {start.center() + QPoint(-3, 2), {-4000, -4000}});
    EXPECT_EQ(Frame().size(), start.size());
    EXPECT_EQ(Frame().left() + Frame().width(), 10);
    EXPECT_EQ(Frame().top() + Frame().height(), 10);
    EXPECT_EQ(Form.SizeControl()->pos(), Frame().bottomRight() + QPoint(1 - 7, 1 - 7));
    EXPECT_GT(Changes.count(), 0);

    // From the far corner: the frame's left and top stop 10 pixels inside the panel.
    const QPoint grip = Frame().topLeft() + QPoint(Frame().width() - 2, Frame().height() - 2);
    Drag(Form.ImageSizer(), grip, {{grip.x() + 9000, grip.y() + 9000}});
    EXPECT_EQ(Frame().left(), SamplePanelWidth - 10);
    EXPECT_EQ(Frame().top(), SamplePanelHeight - 10);
    EXPECT_EQ(Frame().size(), start.size());
    EXPECT_EQ(Form.State().ImageSizeLabel(),
              ImageSizeText(Form.State().Layout(), Form.State().Frame()));

    // Without the button held, moving does nothing.
    const QRect rest = Frame();
    Mouse(Form.ImageSizer(), QEvent::MouseMove, {20, 20});
    EXPECT_EQ(Frame(), rest);
}

TEST_F(PrintFormTest, SizingTheFrameNeverChangesItsProportions) {
    Show(300, 700);
    const double ratio = 700.0 / 300.0;
    for (const QPoint to : {QPoint(-40, -10), QPoint(25, 60), QPoint(900, 900), QPoint(-500, 3)}) {
        const QPoint from = Form.SizeControl()->geometry().center();
        Drag(Form.SizeControl(), from, {from + to / 2, from + to});
        const QRect f = Frame();
        EXPECT_LE(std::fabs(f.height() - f.width() * ratio), ratio + 1e-9)
            << f.width() << " x " << f.height();
        // The handle is back at the frame's corner, never past the panel's last 10 pixels.
        EXPECT_EQ(Form.SizeControl()->pos(), f.topLeft() + QPoint(f.width() - 7, f.height() - 7));
        EXPECT_LE(Form.SizeControl()->x(), SamplePanelWidth - 10);
        EXPECT_LE(Form.SizeControl()->y(), SamplePanelHeight - 10);
    }
    EXPECT_GT(Changes.count(), 0);
}

TEST_F(PrintFormTest, WhatToPrintAndTheOutlineChoiceEnableEachOther) {
    Show();
    EXPECT_TRUE(Form.OutlinesOnly()->isChecked());
    EXPECT_TRUE(Form.OutlineBlack()->isEnabled());
    EXPECT_TRUE(Form.LineWeight()->isEnabled());
    EXPECT_TRUE(Form.LineWeightLabel()->isEnabled());
    EXPECT_FALSE(Form.FillWith()->isEnabled());

    QTest::mouseClick(Form.PrintSelected(), Qt::LeftButton);
    EXPECT_TRUE(Form.PrintSelected()->isChecked());
    EXPECT_TRUE(Form.FillShapes()->isChecked());
    EXPECT_FALSE(Form.OutlinesOnly()->isEnabled());
    EXPECT_FALSE(Form.OutlineBlack()->isEnabled());
    EXPECT_FALSE(Form.LineWeight()->isEnabled());
    EXPECT_FALSE(Form.LineWeightLabel()->isEnabled());
    EXPECT_TRUE(Form.FillWith()->isEnabled());
    EXPECT_EQ(Form.State().Settings().WhatToPrint, wpSelected);

    QTest::mouseClick(Form.PrintCurrentColor(), Qt::LeftButton);
    EXPECT_FALSE(Form.OutlinesOnly()->isEnabled());
    QTest::mouseClick(Form.FillWithButton(fwBlack), Qt::LeftButton);
    EXPECT_EQ(Form.State().Settings().FillWith, fwBlack);

    QTest::mouseClick(Form.PrintAll(), Qt::LeftButton);
    EXPECT_TRUE(Form.OutlinesOnly()->isEnabled());
    EXPECT_TRUE(Form.FillShapes()->isChecked());
    EXPECT_TRUE(Form.FillWith()->isEnabled());
    QTest::mouseClick(Form.OutlinesOnly(), Qt::LeftButton);
    EXPECT_TRUE(Form.OutlinesOnly()->isChecked());
    EXPECT_TRUE(Form.OutlineBlack()->isEnabled());
    EXPECT_FALSE(Form.FillWith()->isEnabled());
    EXPECT_EQ(Changes.count(), 5);
}

TEST_F(PrintFormTest, NumbersAndPageNumbersAreNoChangeOfThePaintingTheRestAre) {
    Show();
    QTest::mouseClick(Form.PrintNumbers(), Qt::LeftButton);
    QTest::mouseClick(Form.PrintPageNumbers(), Qt::LeftButton);
    EXPECT_EQ(Changes.count(), 0);
    EXPECT_TRUE(Form.State().Settings().PrintNumbers);
    EXPECT_TRUE(Form.State().Settings().PageNumbers);

    QTest::mouseClick(Form.PrintRegistrationMarks(), Qt::LeftButton);
    EXPECT_EQ(Changes.count(), 1);
    EXPECT_FALSE(Form.State().Settings().RegistrationMarks);
    QTest::mouseClick(Form.OutlineBlack(), Qt::LeftButton);
    EXPECT_EQ(Changes.count(), 2);
    Form.LineWeight()->setFocus();
    QTest::keyClick(Form.LineWeight(), Qt::Key_Right);
    QTest::keyClick(Form.LineWeight(), Qt::Key_Right);
    EXPECT_EQ(Form.State().Settings().LineWeight, 3);
    EXPECT_EQ(Form.LineWeight()->toolTip(), "1/32\"");
    EXPECT_EQ(Changes.count(), 4);
    QTest::keyClicks(Form.PagesAcross(), "2");
    EXPECT_EQ(Changes.count(), 5);
}

TEST_F(PrintFormTest, TheEditsTakeAnyTextAndKeepTheLastNumberRead) {
    Show();
    Form.PagesAcross()->selectAll();
    QTest::keyClicks(Form.PagesAcross(), "1a2");
    EXPECT_EQ(Form.PagesAcross()->text(), "1a") << "two characters at most";
    Form.OverLap()->selectAll();
    QTest::keyClicks(Form.OverLap(), "1.25x");
    EXPECT_EQ(Form.OverLap()->text(), "1.25x");
    EXPECT_EQ(Form.State().Settings().PagesAcross, 1);
    EXPECT_EQ(Form.State().Settings().Overlap, 1.25);
}

TEST_F(PrintFormTest, ARaisedOverlapIsWrittenIntoTheEditWhenItLosesTheFocus) {
    TPrinterMetrics m = test::LetterAt600();
    m.PhysicalOffsetX = 90;
    m.PhysicalOffsetY = 120;
    m.PrintableWidth = 5100 - 180;
    m.PrintableHeight = 6600 - 240;
    Form.State().SetPrinter(m, poPortrait);
    Form.State().SetPaintingSize(100, 100);
    ASSERT_FALSE(Form.State().Show());
    Form.UpdateControls();
    Form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    QSignalSpy recomputed(&Form, &TPrintForm::LayoutRecomputed);
    Form.OverLap()->setFocus();
    Form.OverLap()->selectAll();
    QTest::keyClicks(Form.OverLap(), "0.5");
    EXPECT_EQ(Form.OverLap()->text(), "0.5");
    QTest::keyClick(Form.OverLap(), Qt::Key_Return);
    EXPECT_EQ(Form.OverLap()->text(), "0.9");
    EXPECT_EQ(Form.State().Layout().OverlapIn, 0.9);
    EXPECT_EQ(recomputed.count(), 1);
}

TEST_F(PrintFormTest, AnEditThatIsNotANumberIsToldOnceAndKeepsTheLayout) {
    Show();
    Form.SetMessages(&Messages);
    const int total = Form.State().Layout().TotalHeight;
    Form.PagesDown()->setFocus();
    Form.PagesDown()->selectAll();
    QTest::keyClick(Form.PagesDown(), Qt::Key_Delete);
    EXPECT_EQ(Form.PagesDown()->text(), "");
    QTest::keyClick(Form.PagesDown(), Qt::Key_Return);
    QTest::keyClick(Form.PagesDown(), Qt::Key_Return);
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0], NotANumberMessage(""));
    EXPECT_EQ(Form.State().Layout().TotalHeight, total);
    // Print asks again: it cannot go on without the page count.
    EXPECT_FALSE(Form.RecomputeForPrint());
    EXPECT_EQ(Messages.Errors.size(), 2u);
    // No pages, no printing.
    QTest::keyClicks(Form.PagesDown(), "0");
    EXPECT_FALSE(Form.PrintButton()->isEnabled());
    EXPECT_FALSE(Form.PreviewButton()->isEnabled());
    QTest::keyClick(Form.PagesDown(), Qt::Key_Backspace);
    QTest::keyClicks(Form.PagesDown(), "2");
    EXPECT_TRUE(Form.PrintButton()->isEnabled());
    EXPECT_TRUE(Form.RecomputeForPrint());
    EXPECT_EQ(Form.State().Layout().PagesDown, 2);
}

TEST_F(PrintFormTest, EveryControlHasAnAccessibleName) {
    Show();
    Form.SetPrinterLabels(PdfPrinterName, NoPrinterNote);
    for (QWidget* w : Form.findChildren<QWidget*>()) {
        if (qobject_cast<QLabel*>(w) && !w->accessibleName().isEmpty()) continue;
        if (qobject_cast<QLabel*>(w)) continue; // captions of other controls
        if (w->focusPolicy() == Qt::NoFocus && !qobject_cast<QGroupBox*>(w) &&
            w != Form.ImageSizer() && w != Form.SizeControl())
            continue;
        EXPECT_FALSE(w->accessibleName().isEmpty())
            << w->metaObject()->className() << " " << w->objectName().toStdString();
    }
}

} // namespace
} // namespace pigmentaria
