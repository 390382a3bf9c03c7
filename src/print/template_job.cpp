#include "print/template_job.h"

#include "convert/shared_borders.h"
#include "convert/template_pipeline.h"
#include "model/render.h"
#include "print/palette_printout.h"
#include "print/print_scale.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>
#include <utility>

namespace pigmentaria {

namespace {

int Trunc(double v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return static_cast<int>(v);
}

} // namespace

TPlacementFrame FittingPlacementFrame(const TPrintLayout& layout, int paintingWidth,
                                      int paintingHeight) {
    TPlacementFrame frame = FirstPlacementFrame(layout, paintingWidth, paintingHeight);
    const double gridHeight = layout.TotalHeight * layout.SampleScale;
    if (paintingHeight > 0 && frame.Height > gridHeight * 0.8) {
        const double f = gridHeight / paintingHeight * 0.8;
        frame.Width = Trunc(paintingWidth * f);
        frame.Height = Trunc(paintingHeight * f);
        frame.Left = Trunc((SamplePanelWidth - frame.Width) * 0.5);
        frame.Top = Trunc((SamplePanelHeight - frame.Height) * 0.5);
    }
    return frame;
}

TTemplatePlan PlanTemplate(int pictureWidth, int pictureHeight, const TTemplateRequest& request) {
    TTemplatePlan plan;
    const TPaperChoice paper{pictureWidth > pictureHeight ? poLandscape : poPortrait,
                             request.PaperCode, request.UserPaperWidth, request.UserPaperLength};
    TPrintSettings settings;
    settings.PagesAcross = std::max(1, request.PagesAcross);
    settings.PagesDown = std::max(1, request.PagesDown);
    settings.PrintNumbers = true;
    const TPrinterMetrics printer = PdfSheetMetrics(paper);
    TPrintLayout layout = ComputePrintLayout(printer, paper.Orientation, settings);

    // The zoom that gives the template its pixels per millimetre where the frame puts it, never
    // above 1 and within the painting size limit.
    double zoom = 1.0;
    if (pictureWidth > 0 && pictureHeight > 0) {
        const TPlacementFrame first = FittingPlacementFrame(layout, pictureWidth, pictureHeight);
        const double widthMm = FrameWidthIn(layout, first) * MmPerInch;
        if (widthMm > 0) zoom = std::min(zoom, TemplatePixelsPerMm * widthMm / pictureWidth);
        const double extent = static_cast<double>(pictureWidth) + pictureHeight;
        if (extent > MaxPaintingExtent) zoom = std::min(zoom, MaxPaintingExtent / extent);
    }
    plan.Zoom = zoom;
    plan.ReducedWidth = ScaleCoord(pictureWidth, zoom);
    plan.ReducedHeight = ScaleCoord(pictureHeight, zoom);
    plan.PaintingWidth = plan.ReducedWidth * plan.Scale;
    plan.PaintingHeight = plan.ReducedHeight * plan.Scale;
    settings.Frame = FittingPlacementFrame(layout, plan.PaintingWidth, plan.PaintingHeight);
    layout.ImageWidthIn = FrameWidthIn(layout, settings.Frame);
    layout.ImageHeightIn = FrameHeightIn(layout, settings.Frame);
    if (plan.ReducedWidth > 0 && layout.ImageWidthIn > 0)
        plan.PixelMm = layout.ImageWidthIn * MmPerInch / plan.ReducedWidth;
    plan.Layout = MakePrintLayoutBlock(settings, paper);
    // Smoothing the outlines may narrow a region a little: the clean-up leaves room for it.
    plan.MinWidthPixels =
        MinimumDiameterPixels(layout, settings.Frame, plan.ReducedWidth, plan.ReducedHeight,
                              request.MinMm > 0 ? request.MinMm + TemplateSmoothingMarginMm : 0);
    plan.NeckWidthPixels = TemplateNeckMm / plan.PixelMm;
    return plan;
}

TConversionInput TemplateConversionInput(const TPixelGraphic& picture,
                                         const TTemplateRequest& request,
                                         const TTemplatePlan& plan) {
    TConversionInput input;
    input.Picture.Assign(&picture);
    input.Zoom = plan.Zoom;
    input.Controls = TemplateTraceControls();
    input.Template.PaletteSize = request.PaletteSize;
    input.Template.MinWidthPixels = plan.MinWidthPixels;
    input.Template.NeckWidthPixels = plan.NeckWidthPixels;
    input.Template.GrainPixels = TemplateGrainPixels;
    input.Template.Paints = request.Paints;
    if (request.Mixable) input.Template.Mixtures = request.Tubes;
    return input;
}

TPrintGeometry PdfPrintOfBlock(const TPrintLayoutBlock& block, int paintingWidth,
                               int paintingHeight) {
    const TBlockPrint p =
        PrintOfBlock(block, PdfSheetMetrics(PaperOfBlock(block)), paintingWidth, paintingHeight);
    return {p.Settings, p.Layout};
}

std::vector<TPaintShare> PaintShares(const TShapeList& shapes, const TNamedPalette& paintingPalette,
                                     const TColorNumbering& numbering, const TNamedPalette* names,
                                     double zoom) {
    std::vector<TPaintShare> out;
    if (shapes.Empty()) return out;
    const TRaster24 drawn = RenderPainting(shapes, zoom, false);
    std::unordered_map<TColor, std::int64_t> pixels;
    std::int64_t total = 0;
    for (int y = 0; y < drawn.Height(); ++y) {
        const std::uint8_t* p = drawn.Row(y);
        for (int x = 0; x < drawn.Width(); ++x, p += 3)
            ++pixels[p[2] | (TColor(p[1]) << 8) | (TColor(p[0]) << 16)];
    }
    for (const auto& [color, count] : pixels)
        if (paintingPalette.Has(color)) total += count;
    std::vector<TNamedColor> named;
    if (names)
        for (const TPaletteEntry& e : names->Entries())
            named.push_back({e.Color, e.Name});
    for (const TPaletteEntry& e : paintingPalette.Entries()) {
        const auto found = pixels.find(e.Color);
        if (found == pixels.end()) continue;
        out.push_back({numbering(e.Color), e.Color, PaletteColorName(e.Color, named),
                       100.0 * static_cast<double>(found->second) / static_cast<double>(total)});
    }
    std::stable_sort(out.begin(), out.end(), [](const TPaintShare& a, const TPaintShare& b) {
        return a.Number < b.Number;
    });
    return out;
}

namespace {

// The canvas the paint is measured for: the request's, else the print's painted area.
std::pair<double, double> CanvasCm(const TTemplateRequest& request, const TPrintGeometry& print) {
    if (request.CanvasWidthCm > 0 && request.CanvasHeightCm > 0)
        return {request.CanvasWidthCm, request.CanvasHeightCm};
    return {FrameWidthIn(print.Layout, print.Settings.Frame) * MmPerInch / 10,
            FrameHeightIn(print.Layout, print.Settings.Frame) * MmPerInch / 10};
}

TColorNumbering TemplateNumbering(const TTemplateRequest& request,
                                  const TNamedPalette& paintingPalette) {
    return request.NumberByPaint && !request.Paints.Empty()
               ? NumberByPaintPosition(request.Paints)
               : NumberByPaintingPalette(paintingPalette);
}

} // namespace

TTemplatePaintSheet TemplatePaintSheet(const TShapeList& shapes,
                                       const TNamedPalette& paintingPalette,
                                       const TTemplateRequest& request, int outlineScale,
                                       const TPrintLayoutBlock& layout) {
    TTemplatePaintSheet out;
    const double reducedZoom = 1.0 / (outlineScale < 1 ? 1 : outlineScale);
    out.Shares = PaintShares(shapes, paintingPalette, TemplateNumbering(request, paintingPalette),
                             request.Paints.Empty() ? nullptr : &request.Paints, reducedZoom);
    if (request.Tubes) {
        const TPrintGeometry print =
            PdfPrintOfBlock(layout, shapes.PaintingWidth(), shapes.PaintingHeight());
        const auto [widthCm, heightCm] = CanvasCm(request, print);
        out.Recipes = MakeRecipeSheet(out.Shares, *request.Tubes, widthCm, heightCm, request, 0);
    }
    return out;
}

TTemplateResult MakeTemplate(const TPixelGraphic& picture, const TTemplateRequest& request,
                             IProgressSink& progress) {
    TTemplateResult out;
    out.Request = request;
    out.Plan = PlanTemplate(picture.Width(), picture.Height(), request);
    const TConversionInput input = TemplateConversionInput(picture, request, out.Plan);
    TReducedPair reduced = ReducePicture(input.Picture, input.Zoom, input.Selection, input.Controls,
                                         input.Template, progress);
    TBorderSmoothing smoothing;
    smoothing.Scale = out.Plan.Scale;
    smoothing.PixelMm = out.Plan.PixelMm;
    out.Trace = TraceSharedBorders(reduced.Reduced, reduced.Original, smoothing, progress);
    out.Original = std::move(reduced.Original);
    const TShapeList& shapes = out.Trace.Shapes;
    RebuildPaintingPalette(out.Palette, shapes);
    const TColorNumbering numbering = TemplateNumbering(request, out.Palette);
    out.Print = PdfPrintOfBlock(out.Plan.Layout, shapes.PaintingWidth(), shapes.PaintingHeight());
    const TPrintGeometry& print = out.Print;
    const TPrintedLabels& printed =
        out.Printed.emplace(shapes, print.Layout, print.Settings.Frame, TLabelTextMetrics{},
                            TemplateLabelScale(out.Plan.Scale));
    out.Labels = TemplateLabels(printed, numbering);
    out.Report = printed.Report(out.Labels, request.MinMm);
    // At the reduction's size the shares are the regions' own, and quick to count.
    const double reducedZoom = 1.0 / out.Plan.Scale;
    out.Shares = PaintShares(shapes, out.Palette, numbering,
                             request.Paints.Empty() ? nullptr : &request.Paints, reducedZoom);
    if (request.Tubes) {
        const auto [widthCm, heightCm] = CanvasCm(request, print);
        const TRaster24 drawn = RenderPainting(shapes, reducedZoom, false);
        const double photo =
            drawn.Width() == out.Original.Width() && drawn.Height() == out.Original.Height()
                ? MeanDeltaE2000(drawn, out.Original)
                : 0;
        out.Recipes =
            MakeRecipeSheet(out.Shares, *request.Tubes, widthCm, heightCm, request, photo);
    }
    return out;
}

TRecipeSheet MakeRecipeSheet(const std::vector<TPaintShare>& shares, const TMixTable& tubes,
                             double canvasWidthCm, double canvasHeightCm,
                             const TTemplateRequest& request, double photoDeltaE) {
    TRecipeSheet sheet;
    sheet.CanvasWidthCm = canvasWidthCm;
    sheet.CanvasHeightCm = canvasHeightCm;
    sheet.CoverageM2PerL = request.CoverageM2PerL;
    sheet.Coats = request.Coats;
    sheet.MaxTubes = tubes.MaxTubes();
    sheet.Mixable = request.Mixable;
    sheet.PhotoDeltaE = photoDeltaE;
    TQuantitySettings q;
    q.CanvasAreaCm2 = canvasWidthCm * canvasHeightCm;
    q.CoverageM2PerL = request.CoverageM2PerL;
    q.Coats = request.Coats;
    std::vector<TRecipe> recipes;
    std::vector<double> measured;
    double weighted = 0, percent = 0;
    for (const TPaintShare& share : shares) {
        TRecipe r = tubes.Best(share.Color);
        TPaintRecipeLine line;
        line.Number = share.Number;
        line.Color = share.Color;
        line.Name = share.Name;
        line.Recipe = RecipeText(r, tubes.Tubes());
        line.DeltaE = r.DeltaE;
        line.Percent = share.Percent;
        line.AreaCm2 = q.CanvasAreaCm2 * share.Percent / 100;
        line.Ml = PaintMl(line.AreaCm2, q);
        line.MeasuredMl = MeasurableAmount(line.Ml);
        weighted += r.DeltaE * share.Percent;
        percent += share.Percent;
        measured.push_back(line.MeasuredMl);
        recipes.push_back(std::move(r));
        sheet.Paints.push_back(std::move(line));
    }
    sheet.MeanRecipeDeltaE = percent > 0 ? weighted / percent : 0;
    const std::vector<double> ml = TubeMl(recipes, measured, tubes.Tubes().Tubes.size());
    for (std::size_t i = 0; i < ml.size(); ++i)
        if (ml[i] > 0)
            sheet.Tubes.push_back(
                {tubes.Tubes().Tubes[i].Name, tubes.Tubes().Tubes[i].Color, ml[i]});
    return sheet;
}

} // namespace pigmentaria
