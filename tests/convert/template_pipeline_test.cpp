#include "convert/template_pipeline.h"

#include "convert/import_session.h"
#include "convert/regions.h"
#include "model/render.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <stdexcept>

namespace pigmentaria {
namespace {

using test::TRecordingMessages;
using test::TRecordingProgress;

// Asks to stop at the first report of a run with the message.
class TStopIn final : public IProgressSink {
public:
    explicit TStopIn(std::string message) : Message_(std::move(message)) {}
    void Start(const std::string& message, int, int) override { Current_ = message; }
    bool Position(int) override { return Stopped = Stopped || Current_ == Message_; }
    void Finish() override {}
    bool Stopped = false;

private:
    std::string Message_, Current_;
};

std::set<TColor> ColoursOf(const TRaster24& r) {
    std::set<TColor> out;
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            out.insert(r.GetPixel(x, y));
    return out;
}

TRaster24 Speckled(int w, int h) {
    std::mt19937 rng(4);
    TRaster24 r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int base = x < w / 2 ? 60 : 190;
            r.SetPixel(x, y,
                       MakeColor(base + static_cast<int>(rng() % 50),
                                 100 + static_cast<int>(rng() % 50), 255 - base));
        }
    return r;
}

TEST(TemplatePipelineTest, DefaultsAreTheImportsOwnReduction) {
    const TRaster24 picture = Speckled(40, 30);
    TNullProgress p;
    TConversionControls controls;
    controls.ColorDepth = 70;
    controls.SimplificationLevel = 2;
    const TReducedPair a = ReduceForTemplate(picture, {2, 3, 30, 25}, controls, {}, p);
    const TReducedPair b = ReduceScaledPicture(picture, {2, 3, 30, 25}, 70, 2, p);
    EXPECT_EQ(a.Reduced, b.Reduced);
    EXPECT_EQ(a.Original, b.Original);
    EXPECT_FALSE(TTemplateControls{}.Active());
}

TEST(TemplatePipelineTest, CountPaintsAndCleanUpTogether) {
    const TRaster24 picture = Speckled(80, 60);
    TNamedPalette paints;
    paints.Add(MakeColor(90, 120, 190), "Blue grey");
    paints.Add(MakeColor(210, 120, 60), "Ochre");
    paints.Add(MakeColor(30, 30, 30), "Black");
    TTemplateControls t;
    t.PaletteSize = 8;
    t.Paints = paints;
    t.MinRegionPixels = 10;
    t.MinWidthPixels = 4;
    EXPECT_TRUE(t.Active());
    TNullProgress p;
    const TReducedPair r = ReduceForTemplate(picture, {0, 0, 80, 60}, {}, t, p);
    std::set<TColor> colours;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x)
            colours.insert(r.Reduced.GetPixel(x, y));
    for (TColor c : colours)
        EXPECT_GT(paints.PositionOf(c), 0);
    const TRegionMap m = LabelRegions(r.Reduced);
    for (const TRegionRoom& room : MeasureRegions(m, RegionDistanceSquared(m))) {
        EXPECT_GE(room.Area, 10);
        EXPECT_GE(InscribedDiameter(room.MaxDistanceSquared), 4.0);
    }
    EXPECT_EQ(r.Original, picture);
}

TEST(TemplatePipelineTest, TheCleanUpOfTheControlsCutsNecksFromThreePixelsOn) {
    TTemplateControls t;
    t.MinRegionPixels = 5;
    t.MinWidthPixels = 2.5;
    EXPECT_EQ(TemplateCleanup(t), (TCleanupSettings{5, 2.5, false}));
    t.MinWidthPixels = MinNeckDiameter;
    EXPECT_EQ(TemplateCleanup(t), (TCleanupSettings{5, 3, true}));
    // A wider neck is an odd square, never wider than the regions kept.
    t.MinWidthPixels = 13.5;
    t.NeckWidthPixels = 4.99;
    EXPECT_EQ(TemplateCleanup(t).NeckDiameter, 5);
    t.NeckWidthPixels = 4.4;
    EXPECT_EQ(TemplateCleanup(t).NeckDiameter, 3);
    t.NeckWidthPixels = 40;
    EXPECT_EQ(TemplateCleanup(t).NeckDiameter, 13);
    t.NeckWidthPixels = 0;
    t.MinWidthPixels = -1;
    t.MinRegionPixels = -4;
    t.PaletteSize = 999;
    t.Clamp();
    EXPECT_EQ(t.MinWidthPixels, 0);
    EXPECT_EQ(t.MinRegionPixels, 0);
    EXPECT_EQ(t.PaletteSize, MaxColorCount);
    EXPECT_FALSE(TemplateCleanup(t).Active());
    // The template's tracing keeps every outline vertex.
    TConversionControls c;
    c.ColorDepth = 33;
    const TConversionControls traced = TemplateTraceControls(c);
    EXPECT_EQ(traced.AbstractionLevel, 1);
    EXPECT_EQ(traced.OutlineMethod, TOutlineMethod::Outline);
    EXPECT_EQ(traced.ColorDepth, 33);
}

TEST(TemplatePipelineTest, SmoothingTheGrainKeepsTheEdgeAndTheShapesColours) {
    const TRaster24 picture = Speckled(60, 40);
    const TRaster24 smooth = SmoothKeepingEdges(picture, 3, TemplateEdgeColorDistance);
    auto spread = [](const TRaster24& r, int x0, int x1) {
        double sum = 0, sq = 0, n = 0;
        for (int y = 0; y < r.Height(); ++y)
            for (int x = x0; x < x1; ++x) {
                const double v = RedOf(r.GetPixel(x, y));
                sum += v;
                sq += v * v;
                ++n;
            }
        return std::sqrt(sq / n - (sum / n) * (sum / n));
    };
    EXPECT_LT(spread(smooth, 5, 25), spread(picture, 5, 25) / 3);
    for (int y = 0; y < 40; ++y) {
        EXPECT_LT(RedOf(smooth.GetPixel(29, y)), 115) << y;
        EXPECT_GT(RedOf(smooth.GetPixel(30, y)), 185) << y;
    }
    // Reduced on the smoothed picture, the halves come back as two regions; the shapes still
    // take their colours from the picture as it was.
    TTemplateControls t;
    t.PaletteSize = 2;
    t.GrainPixels = 3;
    TNullProgress p;
    const TReducedPair r = ReduceForTemplate(picture, {0, 0, 60, 40}, {}, t, p);
    EXPECT_EQ(LabelRegions(r.Reduced).Count, 2u);
    EXPECT_EQ(r.Original, picture);
}

TEST(TemplatePipelineTest, TheImportSessionConvertsOnTheTemplatePathWhenAsked) {
    TRecordingProgress progress;
    TRecordingMessages messages;
    TImportSession session(progress, messages);
    TPixelGraphic picture;
    picture.AssignRaster24(Speckled(64, 48));
    session.SetPicture(std::move(picture));
    session.SetZoomFactor(0.75);
    session.Template.PaletteSize = 6;
    session.Template.MinWidthPixels = 5;
    const TConversionInput input = session.ConversionInput();
    EXPECT_EQ(input.Template.PaletteSize, 6);
    TNullProgress quiet;
    const TImportResult onWorker = ReduceAndTrace(input, quiet);
    const TTraceResult here = session.ReduceAndTrace();
    EXPECT_EQ(session.Reduced(), onWorker.Reduction.Reduced);
    EXPECT_EQ(RenderPainting(here.Shapes, 1.0), RenderPainting(onWorker.Trace.Shapes, 1.0));
    EXPECT_EQ(session.Reduced().Width(), 48);
    // The reduction is the template path's on the scaled picture.
    const TRaster24 scaled = [&] {
        TPixelGraphic s;
        s.StretchMode = smPrecise;
        s.SetSize(48, 36, ct24Bit);
        s.StretchFromWhole(session.Picture());
        return s.ToRaster24();
    }();
    EXPECT_EQ(session.Reduced(),
              ReduceForTemplate(scaled, {0, 0, 48, 36}, session.Controls, session.Template, quiet)
                  .Reduced);
    EXPECT_LE(ColoursOf(session.Reduced()).size(), 6u);
    // Stopped in the clean-up, the last reduction stays.
    const TRaster24 last = session.Reduced();
    session.Template.PaletteSize = 4;
    TStopIn stop(CleanupMessage);
    TImportSession stopped(stop, messages);
    TPixelGraphic again;
    again.AssignRaster24(Speckled(64, 48));
    stopped.SetPicture(std::move(again));
    stopped.Template = session.Template;
    EXPECT_THROW(stopped.ReduceColors(), EAborted);
    EXPECT_TRUE(stopped.Reduced().Empty());
    EXPECT_TRUE(stop.Stopped);
}

TEST(TemplatePipelineTest, SimplifyingARenderingLeavesFewerWiderShapes) {
    // A painting traced from a speckled picture, simplified for a minimum of 5 pixels.
    const TRaster24 picture = Speckled(60, 40);
    TNullProgress p;
    TNullMessages m;
    const TReducedPair reduced = ReduceScaledPicture(picture, {0, 0, 60, 40}, 40, 0, p);
    TShapeList shapes;
    const int before = TraceRegions(reduced.Reduced, reduced.Original,
                                    {TOutlineMethod::Outline, 1, false}, shapes, p, m);
    const TRaster24 rendered = RenderPainting(shapes, 1.0);
    TConversionControls controls = TemplateTraceControls();
    controls.EliminateLines = false;
    const TSimplifiedPainting simple = SimplifyForPrinting(rendered, picture, controls, {0, 5}, p);
    EXPECT_LT(simple.Trace.ShapeCount, before);
    EXPECT_GT(simple.Cleanup.Merges, 0u);
    EXPECT_EQ(simple.Trace.Shapes.PaintingWidth(), 60);
    EXPECT_EQ(simple.Trace.Shapes.PaintingHeight(), 40);
    // Every shape's colour is one of the rendering's; acquired colours come from the photo.
    std::set<TColor> rendered_colours = ColoursOf(rendered);
    for (const TPaintShape* s = simple.Trace.Shapes.First()->Next; s; s = s->Next)
        EXPECT_TRUE(rendered_colours.count(s->Color));
    EXPECT_THROW(SimplifyForPrinting(rendered, TRaster24(10, 10), controls, {0, 5}, p),
                 std::invalid_argument);
    // Stopped in the tracing: EAborted, nothing to show for it.
    TStopIn stop(TracingMessage);
    EXPECT_THROW(SimplifyForPrinting(rendered, picture, controls, {0, 5}, stop), EAborted);
}

} // namespace
} // namespace pigmentaria
