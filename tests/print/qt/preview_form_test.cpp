// The print preview's window: stepping through the pages by column and by row, the page label,
// the zoom buttons and menu, and the sheets it is handed.
#include "print/qt/preview_form.h"

#include "image/qt/pg_image.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace pigmentaria {
namespace {

struct TPageSeen {
    int Row, Column;
    friend bool operator==(const TPageSeen&, const TPageSeen&) = default;
};

class PreviewFormTest : public ::testing::Test {
protected:
    // Opens a grid; every sheet drawn is recorded, and each is a small image of its own size.
    void Open(int across, int down) {
        Drawn.clear();
        Form.Open(across, down, [this](int row, int column) {
            Drawn.push_back({row, column});
            QImage sheet(80 + column, 100 + row, QImage::Format_RGB888);
            sheet.fill(QColor(255, 255, 255));
            return sheet;
        });
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    std::string Label() const { return Form.PageInfo()->text().toStdString(); }
    double Zoom() const { return Form.Viewer()->ZoomFactor(); }

    TPreviewForm Form;
    std::vector<TPageSeen> Drawn;
};

TEST_F(PreviewFormTest, OpensOnPageOneAtHalfSize) {
    Open(2, 2);
    EXPECT_EQ(Form.windowTitle(), "Print Preview");
    EXPECT_EQ(Drawn, (std::vector<TPageSeen>{{1, 1}}));
    EXPECT_EQ(Label(), "   Page: 1   (Row 1  Col 1)");
    EXPECT_DOUBLE_EQ(Zoom(), 0.5);
    EXPECT_TRUE(Form.ZoomLevel(1)->isChecked()); // "50%"
    // The viewer holds the whole sheet.
    ASSERT_NE(Form.Viewer()->PixelGraphicRaw(), nullptr);
    EXPECT_EQ(Form.Viewer()->PixelGraphicRaw()->Width(), 81);
    EXPECT_EQ(Form.Viewer()->PixelGraphicRaw()->Height(), 101);
    // The label is on the bar, not folded away behind its extension button.
    EXPECT_TRUE(Form.PageInfo()->isVisible());
    EXPECT_GE(Form.PageInfo()->width(),
              Form.PageInfo()->fontMetrics().horizontalAdvance("   Page: 10   (Row 10  Col 10)"));
    EXPECT_EQ(Form.PageInfo()->accessibleName(), Form.PageInfo()->text().replace('\n', ' '));
}

TEST_F(PreviewFormTest, OnOneSheetEveryButtonStaysOnPageOneAndRewritesTheLabel) {
    Open(1, 1);
    for (QAction* a : {Form.NextPage(), Form.PreviousPage(), Form.DownOneRow(), Form.UpOneRow()}) {
        Form.PageInfo()->setText("");
        a->trigger();
        EXPECT_EQ(Label(), "   Page: 1   (Row 1  Col 1)") << a->text().toStdString();
    }
    EXPECT_EQ(Drawn.size(), 1u);
}

// The keys of a document viewer, with the page itself holding the focus (it scrolls on the
// arrow keys, not on these).
TEST_F(PreviewFormTest, PageKeysStepThePagesAndCtrlPlusZooms) {
    Open(3, 2);
    Form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form));
    Form.Viewer()->setFocus();
    QTest::keyClick(Form.Viewer(), Qt::Key_PageDown);
    EXPECT_EQ(Form.Pages().Page(), 2);
    QTest::keyClick(Form.Viewer(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(Form.Pages().Page(), 5);
    QTest::keyClick(Form.Viewer(), Qt::Key_PageUp);
    EXPECT_EQ(Form.Pages().Page(), 4);
    const double before = Zoom();
    QTest::keyClick(Form.Viewer(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_GT(Zoom(), before);
    QTest::keyClick(Form.Viewer(), Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_DOUBLE_EQ(Zoom(), before);
}

TEST_F(PreviewFormTest, SteppingThroughAThreeByTwoGridByColumnAndRow) {
    Open(3, 2);
    Form.NextPage()->trigger();
    EXPECT_EQ(Label(), "   Page: 2   (Row 1  Col 2)");
    Form.DownOneRow()->trigger();
    EXPECT_EQ(Form.Pages().Page(), 5);
    EXPECT_EQ(Label(), "   Page: 5   (Row 2  Col 2)");
    Form.DownOneRow()->trigger();
    EXPECT_EQ(Form.Pages().Page(), 5);
    Form.UpOneRow()->trigger();
    EXPECT_EQ(Form.Pages().Page(), 2);
    Form.NextPage()->trigger();
    Form.NextPage()->trigger();
    EXPECT_EQ(Label(), "   Page: 4   (Row 2  Col 1)");
    Form.NextPage()->trigger();
    Form.NextPage()->trigger();
    Form.NextPage()->trigger();
    EXPECT_EQ(Label(), "   Page: 6   (Row 2  Col 3)");
    Form.UpOneRow()->trigger();
    EXPECT_EQ(Label(), "   Page: 3   (Row 1  Col 3)");
    // A page is drawn anew each time it is reached, and only then.
    EXPECT_EQ(Drawn, (std::vector<TPageSeen>{
                         {1, 1}, {1, 2}, {2, 2}, {1, 2}, {1, 3}, {2, 1}, {2, 2}, {2, 3}, {1, 3}}));
    EXPECT_EQ(Form.Viewer()->PixelGraphicRaw()->Width(), 83);
    // Opening again starts on page 1.
    Open(3, 2);
    EXPECT_EQ(Form.Pages().Page(), 1);
}

TEST_F(PreviewFormTest, ZoomInStopsOnceAboveThreeAndZoomOutStaysPositive) {
    Open(1, 1);
    Form.SetZoom(2.95);
    Form.ZoomIn()->trigger();
    EXPECT_NEAR(Zoom(), 3.05, 1e-9);
    Form.ZoomIn()->trigger();
    EXPECT_NEAR(Zoom(), 3.05, 1e-9);
    Form.SetZoom(3);
    Form.ZoomIn()->trigger();
    EXPECT_DOUBLE_EQ(Zoom(), 3);
    Form.SetZoom(0.25);
    for (int i = 0; i < 5; ++i)
        Form.ZoomOut()->trigger();
    EXPECT_GT(Zoom(), 0);
    EXPECT_NEAR(Zoom(), 0.05, 1e-9);
}

TEST_F(PreviewFormTest, TheZoomMenuChecksItsLevelAndCustomAsksTheZoomDialog) {
    Open(1, 1);
    ASSERT_EQ(Form.ZoomMenu()->actions().size(), 10);
    EXPECT_EQ(Form.ZoomMenu()->actions()[0]->text(), "Custom...");
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(Form.ZoomLevel(i)->text(), PreviewZoomCaptions[i]);
    Form.ZoomLevel(6)->trigger(); // "200%"
    EXPECT_DOUBLE_EQ(Zoom(), 2.0);
    EXPECT_TRUE(Form.ZoomLevel(6)->isChecked());
    Form.ZoomIn()->trigger();
    for (QAction* a : Form.ZoomMenu()->actions())
        EXPECT_FALSE(a->isChecked()) << a->text().toStdString();

    std::vector<int> asked;
    std::optional<double> answer = 1.8;
    Form.SetCustomZoom([&](int boxH, int boxW, double zoom, int w, int h) {
        asked = {boxH, boxW, static_cast<int>(zoom * 100 + 0.5), w, h};
        return answer;
    });
    Form.CustomZoom()->trigger();
    EXPECT_EQ(asked[2], 210);
    EXPECT_EQ(asked[3], 81);
    EXPECT_EQ(asked[4], 101);
    EXPECT_DOUBLE_EQ(Zoom(), 1.8);
    EXPECT_TRUE(Form.CustomZoom()->isChecked());
    // Cancel changes nothing, the check included.
    answer.reset();
    Form.CustomZoom()->trigger();
    EXPECT_DOUBLE_EQ(Zoom(), 1.8);
    EXPECT_TRUE(Form.CustomZoom()->isChecked());
}

TEST_F(PreviewFormTest, PrintClosesThePreviewAndSaysSoCloseDoesNot) {
    Open(2, 1);
    Form.PrintAction()->trigger();
    EXPECT_FALSE(Form.isVisible());
    EXPECT_TRUE(Form.PrintAsked());
    Open(2, 1);
    EXPECT_FALSE(Form.PrintAsked());
    Form.CloseAction()->trigger();
    EXPECT_FALSE(Form.isVisible());
    EXPECT_FALSE(Form.PrintAsked());
}

} // namespace
} // namespace pigmentaria
