#include "print/template_job.h"

#include "convert/regions.h"
#include "image/pixel_graphic.h"
#include "model/render.h"
#include "print/print_scale.h"
#include "quality/outline_roughness.h"
#include "quality/photo_fidelity.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <random>
#include <set>

namespace pigmentaria {
namespace {

// Pixels of the reduction per millimetre where the plan's stored layout prints the painting.
double PixelsPerMm(const TTemplatePlan& plan) {
    const TPrintGeometry p = PdfPrintOfBlock(plan.Layout, plan.PaintingWidth, plan.PaintingHeight);
    return plan.ReducedWidth / (FrameWidthIn(p.Layout, p.Settings.Frame) * MmPerInch);
}

TEST(TemplateJobTest, ThePlanConvertsAtTheSizeThePrintNeeds) {
    TTemplateRequest request;
    // A big wide photo on one A4 page: landscape, scaled down to five pixels a millimetre.
    const TTemplatePlan big = PlanTemplate(4000, 3000, request);
    EXPECT_EQ(big.Layout.Orientation, 1);
    EXPECT_EQ(big.Layout.PaperSize, PaperA4);
    EXPECT_EQ(big.Layout.PagesAcross, 1);
    EXPECT_EQ(big.Layout.PagesDown, 1);
    EXPECT_GT(big.Layout.FrameWidth, 0);
    EXPECT_LT(big.Zoom, 0.5);
    EXPECT_EQ(big.ReducedWidth, ScaleCoord(4000, big.Zoom));
    EXPECT_EQ(big.PaintingWidth, big.ReducedWidth * TemplateOutlineScale);
    EXPECT_NEAR(PixelsPerMm(big), TemplatePixelsPerMm, 0.1);
    // The minimum in painting pixels is the request's millimetres where the frame puts it.
    const TPrintGeometry p = PdfPrintOfBlock(big.Layout, big.PaintingWidth, big.PaintingHeight);
    EXPECT_DOUBLE_EQ(big.MinWidthPixels,
                     MinimumDiameterPixels(p.Layout, p.Settings.Frame, big.ReducedWidth,
                                           big.ReducedHeight,
                                           DefaultTemplateMinMm + TemplateSmoothingMarginMm));
    EXPECT_NEAR(big.MinWidthPixels,
                (DefaultTemplateMinMm + TemplateSmoothingMarginMm) * PixelsPerMm(big), 0.2);

    // A small picture is never enlarged; a tall one is portrait.
    const TTemplatePlan small = PlanTemplate(300, 400, request);
    EXPECT_EQ(small.Zoom, 1.0);
    EXPECT_EQ(small.Layout.Orientation, 0);
    EXPECT_LT(PixelsPerMm(small), TemplatePixelsPerMm);

    // Four pages print twice as wide: twice the pixels, the same pixels per millimetre.
    request.PagesAcross = request.PagesDown = 2;
    request.PaperCode = PaperLetter;
    request.MinMm = 4;
    const TTemplatePlan four = PlanTemplate(4000, 3000, request);
    EXPECT_EQ(four.Layout.PaperSize, PaperLetter);
    EXPECT_EQ(four.Layout.PagesAcross, 2);
    EXPECT_GT(four.Zoom, 1.8 * big.Zoom);
    EXPECT_NEAR(PixelsPerMm(four), TemplatePixelsPerMm, 0.1);
    EXPECT_NEAR(four.MinWidthPixels, (4 + TemplateSmoothingMarginMm) * TemplatePixelsPerMm, 0.5);
}

TEST(TemplateJobTest, ATallPaintingIsPlacedWithinThePages) {
    TPrintSettings settings;
    const TPrintLayout layout =
        ComputePrintLayout(PdfSheetMetrics({poPortrait, PaperA4, 0, 0}), poPortrait, settings);
    const double gridHeight = layout.TotalHeight * layout.SampleScale;
    const TPlacementFrame first = FirstPlacementFrame(layout, 300, 1500);
    EXPECT_GT(first.Height, gridHeight);
    const TPlacementFrame fitting = FittingPlacementFrame(layout, 300, 1500);
    EXPECT_LE(fitting.Height, gridHeight * 0.8 + 1e-9);
    EXPECT_NEAR(static_cast<double>(fitting.Width) / fitting.Height, 0.2, 0.02);
    // A wide one keeps the first placement.
    EXPECT_EQ(FittingPlacementFrame(layout, 800, 500), FirstPlacementFrame(layout, 800, 500));
}

TEST(TemplateJobTest, SharesOfThePaintedAreaInNumberOrder) {
    // The frame (black, covered), a field of 10 x 10 with squares of 4 x 4 (16 %) and 2 x 5
    // (10 %) drawn filled.
    TShapeList shapes;
    shapes.Append(MakeFrameShape(10, 10));
    const TColor field = MakeColor(200, 200, 200), red = MakeColor(200, 0, 0),
                 blue = MakeColor(0, 0, 200);
    shapes.Append(MakeShape(field, {{0, 0}, {9, 0}, {9, 9}, {0, 9}}));
    shapes.Append(MakeShape(red, {{1, 1}, {4, 1}, {4, 4}, {1, 4}}));
    shapes.Append(MakeShape(blue, {{6, 2}, {7, 2}, {7, 6}, {6, 6}}));
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    TNamedPalette paints;
    paints.Add(blue, "Ultramarine");
    paints.Add(red, "Cadmium red");
    paints.Add(field, "Grey");
    const auto byPalette = PaintShares(shapes, palette, NumberByPaintingPalette(palette), &paints);
    ASSERT_EQ(byPalette.size(), 3u) << "the covered frame colour is left out";
    EXPECT_EQ(byPalette[0].Number, 1) << "the covered frame has no number either";
    EXPECT_EQ(byPalette[0].Name, "Grey");
    EXPECT_DOUBLE_EQ(byPalette[0].Percent, 74);
    EXPECT_EQ(byPalette[1].Name, "Cadmium red");
    EXPECT_DOUBLE_EQ(byPalette[1].Percent, 16);
    EXPECT_DOUBLE_EQ(byPalette[2].Percent, 10);
    const auto byPaint = PaintShares(shapes, palette, NumberByPaintPosition(paints), nullptr);
    ASSERT_EQ(byPaint.size(), 3u);
    EXPECT_EQ(byPaint[0].Number, 1);
    EXPECT_EQ(byPaint[0].Color, blue);
    EXPECT_EQ(byPaint[0].Name, "RGB(0, 0, 200)");
    EXPECT_EQ(byPaint[2].Number, 3);
    EXPECT_TRUE(
        PaintShares(TShapeList{}, palette, NumberByPaintingPalette(palette), nullptr).empty());
}

TPixelGraphic PhotoLike(int w, int h) {
    std::mt19937 rng(11);
    TRaster24 r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double d = std::hypot(x - w / 3.0, y - h / 2.0);
            r.SetPixel(
                x, y,
                MakeColor(std::clamp(static_cast<int>(255 - d * 2) + int(rng() % 30), 0, 255),
                          std::clamp(y * 255 / h + int(rng() % 30), 0, 255),
                          d < w / 5.0 ? 40 : 180));
        }
    TPixelGraphic p;
    p.AssignRaster24(r);
    return p;
}

TEST(TemplateJobTest, ATemplateNumbersEveryRegionWithItsPaint) {
    TTemplateRequest request;
    request.PaletteSize = 5;
    request.MinMm = 6;
    request.Paints.Add(MakeColor(250, 240, 220), "Titanium white");
    request.Paints.Add(MakeColor(30, 30, 120), "Prussian blue");
    request.Paints.Add(MakeColor(200, 60, 40), "Vermilion");
    request.Paints.Add(MakeColor(90, 160, 70), "Sap green");
    request.Paints.Add(MakeColor(230, 200, 60), "Yellow ochre");
    request.NumberByPaint = true;
    TNullProgress progress;
    const TTemplateResult t = MakeTemplate(PhotoLike(160, 120), request, progress);
    EXPECT_EQ(t.Trace.Shapes.PaintingWidth(), 160 * TemplateOutlineScale);
    EXPECT_EQ(t.Original.Width(), 160);
    for (const TPaintShape* s = t.Trace.Shapes.First()->Next; s; s = s->Next)
        EXPECT_GT(request.Paints.PositionOf(s->Color), 0);
    // Every region of the print holds a label, numbered by its paint; the gaps where the frame
    // shows between shapes are no regions and carry none.
    const TPrintedLabels& printed = *t.Printed;
    std::set<std::int64_t> labelled;
    for (const TPrintLabel& l : t.Labels) {
        const int number = std::stoi(l.Text);
        EXPECT_GE(number, 1);
        EXPECT_LE(number, 5);
        labelled.insert(printed.RegionHolding(l));
    }
    EXPECT_EQ(t.Report.Regions + t.Report.FrameGaps, static_cast<int>(printed.RegionCount()));
    EXPECT_EQ(t.Report.RegionsWithoutFittingNumber, 0);
    EXPECT_EQ(t.Report.RegionsUnderMinimum, 0);
    EXPECT_EQ(static_cast<int>(labelled.size()), t.Report.Regions);
    EXPECT_EQ(labelled.count(-1), 0u);
    for (std::int64_t r : labelled)
        EXPECT_FALSE(printed.FrameGap(static_cast<std::uint32_t>(r)));
    double total = 0;
    for (const TPaintShare& s : t.Shares) {
        total += s.Percent;
        EXPECT_EQ(s.Name, request.Paints.At(s.Number)->Name);
    }
    EXPECT_NEAR(total, 100, 1e-9);
    // Stopped, it throws.
    test::TRecordingProgress stop;
    stop.AbortAt = 0;
    EXPECT_THROW(MakeTemplate(PhotoLike(160, 120), request, stop), EAborted);
}

TEST(TemplateJobTest, ALongCellCarriesNumbersSixtyMillimetresApart) {
    // Two bands across an A4 page, about 237 mm long, and a disc about 12 mm across in one.
    TRaster24 r(400, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 400; ++x)
            r.SetPixel(x, y,
                       std::hypot(x - 300, y - 25) < 10 ? MakeColor(200, 40, 40)
                       : y < 50                         ? MakeColor(40, 40, 200)
                                                        : MakeColor(230, 220, 200));
    TPixelGraphic picture;
    picture.AssignRaster24(r);
    TTemplateRequest request;
    request.PaletteSize = 3;
    TNullProgress progress;
    const TTemplateResult t = MakeTemplate(picture, request, progress);
    const TPrintedLabels& printed = *t.Printed;
    const TPaintingPixelSize mm = printed.PixelSize();
    std::map<std::int64_t, std::vector<const TPrintLabel*>> byCell;
    for (const TPrintLabel& l : t.Labels)
        byCell[printed.RegionHolding(l)].push_back(&l);
    ASSERT_EQ(byCell.count(-1), 0u);
    ASSERT_EQ(byCell.size(), 3u);
    std::vector<std::size_t> counts;
    for (const auto& [cell, labels] : byCell) {
        counts.push_back(labels.size());
        for (std::size_t i = 0; i < labels.size(); ++i)
            for (std::size_t j = i + 1; j < labels.size(); ++j) {
                const double dx = (labels[i]->Left - labels[j]->Left) * mm.MmX;
                const double dy = (labels[i]->Top - labels[j]->Top) * mm.MmY;
                EXPECT_GE(std::hypot(dx, dy), TemplateLabelSpacingMm);
            }
    }
    std::sort(counts.begin(), counts.end());
    EXPECT_EQ(counts[0], 1u) << "the disc";
    EXPECT_GE(counts[1], 2u) << "each band";
    EXPECT_LE(counts[2], 4u);
}

// A template of each bundled photo as the page shows it: every 4-connected run of one colour of
// the painting drawn at its own size is a cell, measured here without the template's own
// bookkeeping. Each cell is wide enough to paint and holds its number, the numbers run 1 to K in
// the paint sheet's order, and the frame shows nowhere.
TEST(TemplateJobTest, EveryCellOfABundledPhotoCanBePaintedAndCarriesItsNumber) {
    for (const char* name : {"coffee.png", "astronaut.png", "rocket.jpg"}) {
        SCOPED_TRACE(name);
        TPixelGraphic photo;
        photo.LoadFromFile(std::string(PIGMENTARIA_SAMPLES) + "/" + name);
        TNullProgress progress;
        const TTemplateResult t = MakeTemplate(photo, TTemplateRequest{}, progress);
        const TShapeList& shapes = t.Trace.Shapes;
        EXPECT_FALSE(FrameShowsThrough(shapes));

        const TRaster24 drawn = RenderPainting(shapes, 1.0);
        const TRegionMap cells = LabelRegions(drawn);
        const std::vector<TRegionRoom> rooms = MeasureRegions(cells, RegionDistanceSquared(cells));
        const double mm = std::min(t.Printed->PixelSize().MmX, t.Printed->PixelSize().MmY);
        int under = 0;
        for (const TRegionRoom& room : rooms) {
            const double diameterMm = InscribedDiameter(room.MaxDistanceSquared) * mm;
            EXPECT_GE(diameterMm, 1.5);
            under += diameterMm < DefaultTemplateMinMm;
        }
        EXPECT_LE(under, static_cast<int>(cells.Count) / 200);

        // One number in every cell, at its centre; the numbers are the paints' 1 .. K.
        std::set<std::uint32_t> numbered;
        std::set<int> numbers;
        for (const TPrintLabel& l : t.Labels) {
            const int x = (l.Left + l.Right) / 2, y = (l.Top + l.Bottom) / 2;
            ASSERT_TRUE(x >= 0 && y >= 0 && x < cells.Width && y < cells.Height);
            numbered.insert(cells.At(x, y));
            numbers.insert(std::stoi(l.Text));
        }
        EXPECT_EQ(numbered.size(), cells.Count);
        ASSERT_FALSE(t.Shares.empty());
        for (std::size_t i = 0; i < t.Shares.size(); ++i)
            EXPECT_EQ(t.Shares[i].Number, static_cast<int>(i) + 1);
        EXPECT_EQ(*numbers.begin(), 1);
        EXPECT_EQ(*numbers.rbegin(), static_cast<int>(t.Shares.size()));

        // Smooth outlines, true to the photo's colours and to its strong edges.
        const TPaintingPixelSize px = t.Printed->PixelSize();
        EXPECT_LE(bench::OutlineRoughness(shapes, px.MmX, px.MmY).RmsUm, 12);
        const TRaster24 reduced = RenderPainting(shapes, 1.0 / t.Plan.Scale);
        EXPECT_LE(bench::MeanDeltaE(t.Original, reduced), 7);
        EXPECT_GE(bench::EdgesKept(bench::StrongEdges(t.Original), reduced), 1.0 / 3);
    }
}

} // namespace
} // namespace pigmentaria
