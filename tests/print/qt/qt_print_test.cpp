#include "print/qt/preview_sheet.h"
#include "print/qt/qt_app.h"
#include "print/qt/qt_page_canvas.h"
#include "print/qt/qt_printer.h"
#include "qt_test_util.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pigmentaria {
namespace {

using TTempDir = test::TQtTempDir;

const TColor Blue = MakeColor(0, 0, 255);
const TColor Red = MakeColor(255, 0, 0);

// A painting of 400 × 300 with a blue square and a red band, and its number labels.
TShapeList TestShapes() {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(400, 300));
    shapes.Append(MakeShape(Blue, {{50, 50}, {150, 50}, {150, 150}, {50, 150}}));
    shapes.Append(MakeShape(Red, {{200, 100}, {380, 100}, {380, 160}, {200, 160}}));
    return shapes;
}

std::vector<TPrintLabel> TestLabels() {
    return {{"2", 60, 60, 140, 140}, {"3", 210, 110, 370, 150}};
}

TEST(QtPrinter, APdfLetterSheetAt600DpiWithQuarterInchMargins) {
    const auto printer = TQtPrinter::Pdf("unused.pdf", {poPortrait, PaperLetter, 0, 0});
    const TPrinterMetrics m = printer->Metrics();
    EXPECT_EQ(m.DpiX, 600);
    EXPECT_EQ(m.DpiY, 600);
    EXPECT_EQ(m.PhysicalWidth, 5100);
    EXPECT_EQ(m.PhysicalHeight, 6600);
    EXPECT_EQ(m.PhysicalOffsetX, 150);
    EXPECT_EQ(m.PhysicalOffsetY, 150);
    EXPECT_EQ(m.PrintableWidth, 4800);
    EXPECT_EQ(m.PrintableHeight, 6300);
    EXPECT_EQ(printer->Paper(), (TPaperChoice{poPortrait, PaperLetter, 0, 0}));

    printer->ApplyPaper({poLandscape, PaperA4, 0, 0});
    // 297 mm; Qt keeps paper sizes in whole points.
    EXPECT_NEAR(printer->Metrics().PhysicalWidth, 7016, 1);
    EXPECT_EQ(printer->Paper().Orientation, poLandscape);
    printer->ApplyPaper({poPortrait, PaperUser, 2000, 3000});
    EXPECT_EQ(printer->Paper(), (TPaperChoice{poPortrait, PaperUser, 2000, 3000}));
    EXPECT_NEAR(printer->Metrics().PhysicalWidth, 4724, 1); // 200 mm
}

TEST(QtPageCanvas, ArialResolvesToAMetricCompatibleFaceScaledByTheDevice) {
    EnsureQtGui();
    QImage screen(100, 100, QImage::Format_RGB888);
    screen.setDotsPerMeterX(static_cast<int>(96 / 0.0254 + 0.5));
    screen.setDotsPerMeterY(static_cast<int>(96 / 0.0254 + 0.5));
    QPainter painter(&screen);
    TQtPageCanvas canvas(painter, screen);
    canvas.SetFont({"Arial", 12, false, false});
    const int w96 = canvas.TextWidth("1234567890");
    painter.end();
    // Arial's digits are 0.556 em: ten at 12 points on 96 dpi are about 89 pixels.
    EXPECT_NEAR(w96, 89, 3);
    EXPECT_NE(QFontInfo(QFont("Arial")).family().toLower().indexOf("liberation sans"), -1);

    const TTempDir dir("metrics");
    const auto printer = TQtPrinter::Pdf((dir / "m.pdf").string(), {poPortrait, PaperLetter, 0, 0});
    printer->BeginDoc("metrics");
    printer->Canvas().SetFont({"Arial", 12, false, false});
    const int w600 = printer->Canvas().TextWidth("1234567890");
    const int h600 = printer->Canvas().TextHeight("1");
    printer->EndDoc();
    EXPECT_NEAR(w600, 556, 12);
    EXPECT_GT(h600, 100); // 12 points are 100 printer pixels; a line is a little more
    EXPECT_LT(h600, 130);
}

// The canvas keeps each font's metrics and the widths it measured: switching between fonts and
// measuring a text again must answer as a fresh measure in that font does, and text drawn in a
// font met before must come out as drawn with a font made anew.
TEST(QtPageCanvas, KeptTextMetricsAnswerAsAFreshMeasureDoes) {
    EnsureQtGui();
    QImage page(400, 200, QImage::Format_RGB888);
    page.setDotsPerMeterX(static_cast<int>(600 / 0.0254 + 0.5));
    page.setDotsPerMeterY(static_cast<int>(600 / 0.0254 + 0.5));
    page.fill(Qt::white);
    const auto fresh = [&page](const TPageFont& f) {
        QFont font(QString::fromStdString(f.Name));
        font.setPointSize(f.Size > 0 ? f.Size : 1);
        font.setBold(f.Bold);
        font.setItalic(f.Italic);
        return QFontMetrics(font, &page);
    };
    QPainter painter(&page);
    TQtPageCanvas canvas(painter, page);
    const std::vector<std::string> texts = {"7", "12", "7", "", "Page: 3", "12", "88", "7"};
    int compared = 0;
    for (int round = 0; round < 2; ++round)
        for (int size = 12; size >= 0; --size)
            for (const bool bold : {false, true})
                for (const bool italic : {true, false})
                    for (const std::string& text : texts) {
                        const TPageFont font{"Arial", size, bold, italic, size % 2 ? Red : Blue};
                        canvas.SetFont(font);
                        const QFontMetrics metrics = fresh(font);
                        EXPECT_EQ(canvas.TextWidth(text),
                                  metrics.horizontalAdvance(QString::fromStdString(text)))
                            << text << " at " << size << " bold " << bold << " italic " << italic;
                        EXPECT_EQ(canvas.TextHeight(text), metrics.height()) << size;
                        ++compared;
                    }
    EXPECT_GT(compared, 800);
    // Another face, then back to the first: each keeps its own answers.
    canvas.SetFont({"Courier New", 10, false, false});
    const int courier = canvas.TextWidth("12");
    EXPECT_EQ(courier, fresh({"Courier New", 10, false, false}).horizontalAdvance("12"));
    canvas.SetFont({"Arial", 10, false, false});
    EXPECT_EQ(canvas.TextWidth("12"), fresh({"Arial", 10, false, false}).horizontalAdvance("12"));

    // Text through the canvas, a solid box behind it, against the painter with a new font.
    // The last number is bold, which changes no digit's advance: only the font kept tells it.
    for (int i = 0; i < 3; ++i) {
        canvas.SetFont({"Arial", 9, i == 2, true, Red});
        canvas.SetBrush({Blue, i == 1 ? TBrushStyle::Solid : TBrushStyle::Clear});
        canvas.TextOut(10, 10 + 60 * i, "42");
        canvas.SetFont({"Arial", 12, true, true});
        canvas.TextWidth("42");
    }
    painter.end();
    QImage expected(page.size(), page.format());
    expected.setDotsPerMeterX(page.dotsPerMeterX());
    expected.setDotsPerMeterY(page.dotsPerMeterY());
    expected.fill(Qt::white);
    QPainter direct(&expected);
    for (int i = 0; i < 3; ++i) {
        QFont font("Arial");
        font.setPointSize(9);
        font.setBold(i == 2);
        font.setItalic(true);
        const QFontMetrics metrics(font, &expected);
        if (i == 1)
            direct.fillRect(10, 10 + 60 * i, metrics.horizontalAdvance("42"), metrics.height(),
                            QColor(0, 0, 255));
        direct.setFont(font);
        direct.setPen(QColor(255, 0, 0));
        direct.drawText(10, 10 + 60 * i + metrics.ascent(), "42");
    }
    direct.end();
    EXPECT_TRUE(page == expected);
    int red = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x)
            red += page.pixelColor(x, y).red() > 200 && page.pixelColor(x, y).green() < 80;
    EXPECT_GT(red, 20); // the numbers were drawn at all
}

TEST(QtPreviewSheet, APageAtScreenResolutionShowsShapesMarksAndNumbers) {
    const TShapeList shapes = TestShapes();
    std::vector<TPrintLabel> labels;
    TPrintSettings settings;
    settings.PrintNumbers = true;
    settings.OutlinesOnly = false;
    settings.FillWith = fwColor;
    const auto printer = TQtPrinter::Pdf("unused.pdf", {poPortrait, PaperLetter, 0, 0});
    TPrintLayout layout = ComputePrintLayout(printer->Metrics(), poPortrait, settings, 96, 96);
    settings.Frame = FirstPlacementFrame(layout, 400, 300);
    TPrintSource source;
    source.Shapes = &shapes;
    source.Labels = &labels;
    source.PlaceNumbers = [&labels] { labels = TestLabels(); };
    TPagePrinter pages(settings, layout, source);
    const QImage sheet = RenderPreviewSheet(pages, layout, 1, 1);
    EXPECT_EQ(sheet.width(), 816);
    EXPECT_EQ(sheet.height(), 1056);
    // The first cross is centred half an inch from the paper's corner.
    EXPECT_EQ(sheet.pixelColor(48, 48), QColor(Qt::black));
    EXPECT_EQ(sheet.pixelColor(48, 30), QColor(Qt::black));
    EXPECT_EQ(sheet.pixelColor(40, 40), QColor(Qt::white));
    // The blue square, filled in its colour, round a dark number in its middle.
    const double x0 =
        96 * (settings.Frame.Left - SampleImageLeft - layout.SampleOriginX) / layout.SampleScaleX;
    const double y0 =
        96 * (settings.Frame.Top - SampleImageTop - layout.SampleOriginY) / layout.SampleScaleY;
    const double unit = 96 * FrameWidthIn(layout, settings.Frame) / 400;
    EXPECT_EQ(sheet.pixelColor(int(x0 + 55 * unit), int(y0 + 55 * unit)), QColor(0, 0, 255));
    int dark = 0;
    for (int y = int(y0 + 80 * unit); y < int(y0 + 120 * unit); ++y)
        for (int x = int(x0 + 80 * unit); x < int(x0 + 120 * unit); ++x)
            dark += qGray(sheet.pixel(x, y)) < 40;
    EXPECT_GT(dark, 5);
}

} // namespace
} // namespace pigmentaria
