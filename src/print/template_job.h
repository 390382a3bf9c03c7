#pragma once
// A paint-by-number template in one step: the picture converted on the template path at the size
// its print needs, the print layout it is made for stored with it, its numbers as printed (number
// placement's labels and a central label for every region left without one), the legibility
// report, and the share of the painted area each colour covers, so that the user knows how much
// of each paint to buy. Pure work over inputs it owns; the command line and the windows write the
// files and print.
#include "convert/conversion.h"
#include "model/shape.h"
#include "palette/color_numbering.h"
#include "palette/palette.h"
#include "palette/recipes.h"
#include "platform/raster.h"
#include "platform/report.h"
#include "print/palette_printout.h"
#include "print/print_labels.h"
#include "print/print_layout.h"
#include "print/print_settings.h"
#include "print/printer.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

constexpr int DefaultTemplatePaletteSize = 24;
// The narrowest region a brush and a number fit in, on paper.
constexpr double DefaultTemplateMinMm = 2.5;
// The finest a template is converted at, in painting pixels per millimetre on paper: finer detail
// cannot be painted, and a smaller painting is quicker to make and to print.
constexpr double TemplatePixelsPerMm = 5.0;
// The template painting's own pixels per region pixel: its smooth outlines are fitted with
// whole-pixel vertices on this finer grid (20 per millimetre, near a 600-dpi print's dots).
constexpr int TemplateOutlineScale = 4;
// How much narrower, at most, smoothing the outlines leaves a region, in millimetres on paper.
constexpr double TemplateSmoothingMarginMm = 0.2;
// Tongues and necks of a template's regions narrower than this on paper go to their neighbours:
// too thin to paint, they would print as spikes and wiggles on the smooth outlines.
constexpr double TemplateNeckMm = 1.0;
// The grain of the photo, in pixels of the reduction, smoothed away before its colours are
// reduced: noise and the fine grain of a gradient would otherwise make every border wiggle.
constexpr double TemplateGrainPixels = 3.0;

struct TTemplateRequest {
    // The sheet; its orientation follows the picture (landscape when wider than high).
    int PaperCode = PaperA4;
    // With PaperUser: the sheet's portrait width and length in tenths of a millimetre.
    int UserPaperWidth = 0, UserPaperLength = 0;
    int PagesAcross = 1, PagesDown = 1;
    int PaletteSize = DefaultTemplatePaletteSize;
    double MinMm = DefaultTemplateMinMm;
    // Real paints the colours become; none when empty.
    TNamedPalette Paints;
    // Numbers by the paint's position in Paints, so that one paint keeps its number across
    // paintings; otherwise by the painting palette.
    bool NumberByPaint = false;
    // Tubes every paint is mixed from, with its recipe and amount on the paint sheet; none when
    // null. With Mixable the colours are picked from what the tubes mix, so every recipe is exact.
    std::shared_ptr<const TMixTable> Tubes;
    bool Mixable = false;
    // The painted canvas in centimetres; the print's painted area when not given.
    double CanvasWidthCm = 0, CanvasHeightCm = 0;
    double CoverageM2PerL = DefaultCoverageM2PerL;
    int Coats = DefaultCoats;
};

// What the request makes of a picture of W × H: the zoom it is converted at, the print layout the
// painting is stored with (paper, pages and a placement frame fitting the pages) and the minimum
// region diameter in pixels of the reduction. The painting is Scale times the reduction's size.
struct TTemplatePlan {
    double Zoom = 1.0;
    int Scale = TemplateOutlineScale;
    int ReducedWidth = 0, ReducedHeight = 0;
    // Millimetres a pixel of the reduction covers on paper.
    double PixelMm = 0.2;
    int PaintingWidth = 0, PaintingHeight = 0;
    TPrintLayoutBlock Layout;
    double MinWidthPixels = 0;
    double NeckWidthPixels = 0;
};
TTemplatePlan PlanTemplate(int pictureWidth, int pictureHeight, const TTemplateRequest& request);

// The first placement frame, made smaller when the painting would run past the pages' bottom.
TPlacementFrame FittingPlacementFrame(const TPrintLayout& layout, int paintingWidth,
                                      int paintingHeight);

// The conversion input of a template: the template path's reduction and tracing at the plan's
// zoom.
TConversionInput TemplateConversionInput(const TPixelGraphic& picture,
                                         const TTemplateRequest& request,
                                         const TTemplatePlan& plan);

// The print a painting's stored layout gives on a PDF sheet of its paper (A4 when it names
// none), with the placement frame it stores or the first one.
struct TPrintGeometry {
    TPrintSettings Settings;
    TPrintLayout Layout;
};
TPrintGeometry PdfPrintOfBlock(const TPrintLayoutBlock& block, int paintingWidth,
                               int paintingHeight);

// Every colour of the painting palette that covers any pixel of the painting drawn at `zoom`, in
// the order of their numbers (then of the palette); the shares add up to 100.
std::vector<TPaintShare> PaintShares(const TShapeList& shapes, const TNamedPalette& paintingPalette,
                                     const TColorNumbering& numbering, const TNamedPalette* names,
                                     double zoom = 1.0);

struct TTemplateResult {
    // What it was made for: the paints it names and the tubes its recipes mix from.
    TTemplateRequest Request;
    TTemplatePlan Plan;
    // The painting, traced with smooth shared outlines at the plan's scale.
    TTraceResult Trace;
    TNamedPalette Palette;
    // The print the template is made for, its cells and their numbers.
    TPrintGeometry Print;
    std::optional<TPrintedLabels> Printed;
    std::vector<TPrintLabel> Labels;
    TLegibilityReport Report;
    std::vector<TPaintShare> Shares;
    // The picture at the reduction's size before colour reduction.
    TRaster24 Original;
    // With tubes: the recipes, amounts and tubes to buy.
    std::optional<TRecipeSheet> Recipes;
};

// The recipe of every paint of the shares from the tubes, each paint's millilitres for its share
// of a canvas of W × H cm (with the request's coverage and coats), and the tubes' millilitres.
// `photoDeltaE` is recorded as it is.
TRecipeSheet MakeRecipeSheet(const std::vector<TPaintShare>& shares, const TMixTable& tubes,
                             double canvasWidthCm, double canvasHeightCm,
                             const TTemplateRequest& request, double photoDeltaE);

// The paint sheet of a template painting as it stands, after any edits: each paint's share of the
// painted area, and with the request's tubes every paint's recipe and the amounts for the canvas
// (the request's, else the painted area of the print the layout block describes).
struct TTemplatePaintSheet {
    std::vector<TPaintShare> Shares;
    std::optional<TRecipeSheet> Recipes;
};
TTemplatePaintSheet TemplatePaintSheet(const TShapeList& shapes,
                                       const TNamedPalette& paintingPalette,
                                       const TTemplateRequest& request, int outlineScale,
                                       const TPrintLayoutBlock& layout);

// The whole template of a picture. Throws EAborted when stopped, std::runtime_error when the
// picture cannot be converted.
TTemplateResult MakeTemplate(const TPixelGraphic& picture, const TTemplateRequest& request,
                             IProgressSink& progress);

} // namespace pigmentaria
