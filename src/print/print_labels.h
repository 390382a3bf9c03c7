#pragma once
// Number labels as they come out on paper for one print layout: which labels a region's number
// really fits in, one more label at the most central point of every region left without one, and
// the legibility report of a template (smallest region, smallest number, regions without a
// number that can be read).
//
// Regions are those number placement sees: the 4-connected areas of one colour of the painting
// drawn filled at scale 2 (less for a very large painting). Where the tracer left a gap between
// shapes the frame shape shows through: such a region is no part of the picture, gets no number and
// is not reported. Font sizes are those the page renderer picks (12 .. 3 points, one below the
// largest whose text fits the label's width); text is measured with the metrics of the page font,
// whose digits all share one advance.
#include "model/shape.h"
#include "palette/color_numbering.h"
#include "palette/palette.h"
#include "print/page_render.h"
#include "print/print_layout.h"
#include "print/print_scale.h"
#include "print/print_settings.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pigmentaria {

// The smallest number size people read comfortably on a template, in points.
constexpr int LegibleLabelSize = 6;

// Text metrics of the page font as fractions of its size. Arial and its metric twin Liberation
// Sans give every digit an advance of 0.556 em; a digit's ink is 0.716 em high.
struct TLabelTextMetrics {
    double DigitAdvanceEm = 0.556;
    double DigitHeightEm = 0.716;
};

struct TLegibilityReport {
    // Regions to paint; gaps where the frame shows between shapes are left out everywhere.
    int Regions = 0;
    int FrameGaps = 0;
    // The narrowest region: the widest circle its pixels hold, in millimetres on paper.
    double SmallestDiameterMm = 0;
    // Regions that cannot hold a circle of the minimum diameter.
    int RegionsUnderMinimum = 0;
    int Labels = 0;
    // The smallest size any number is printed at, in points (0 without labels).
    int SmallestNumberPt = 0;
    // Regions with no number that fits inside them at any size, and at the legible size or more.
    int RegionsWithoutFittingNumber = 0;
    int RegionsWithoutLegibleNumber = 0;
    // False for a print without numbers ("#'s?" off): no region is missing one then.
    bool NumbersPrinted = true;
};

// The work raster's pixels per painting pixel: 2, or fewer for a painting larger than an import
// makes (a template's, on its finer grid), so that the raster stays the size it has at most.
double LabelWorkScale(int paintingWidth, int paintingHeight);

class TPrintedLabels {
public:
    // `layout` must hold the placement (ImageWidthIn and ImageHeightIn); `frame` is the placement
    // frame it was computed with. The regions are measured on the painting drawn at `workScale`
    // (LabelWorkScale's when 0).
    TPrintedLabels(const TShapeList& shapes, const TPrintLayout& layout,
                   const TPlacementFrame& frame, TLabelTextMetrics metrics = {},
                   double workScale = 0);

    // The size the page renderer draws a label's text at, in points.
    int DrawnSize(const TPrintLabel& label) const;
    // The region the label's text lies in entirely when printed, or -1.
    std::int64_t RegionHolding(const TPrintLabel& label) const;

    // The labels for this print: the placed labels whose number fits inside a region, and for
    // every region without one a label at its most central point (the pixel farthest from the
    // region's edge, the first in raster order of equals) sized to the largest number that fits
    // there. A region whose placed labels fit only below the legible size takes the central label
    // instead when it prints larger. Central labels follow the placed ones, in region order.
    std::vector<TPrintLabel> CompleteLabels(const std::vector<TPrintLabel>& placed,
                                            const TColorNumbering& numbering) const;

    // More labels for large regions: each further one at the point of its region farthest from
    // the region's edge that lies at least `spacingMm` on paper from every label of the region,
    // where a number fits at the legible size or more. Returns `labels` with them after.
    std::vector<TPrintLabel> SpreadLabels(const std::vector<TPrintLabel>& labels,
                                          const TColorNumbering& numbering, double spacingMm) const;

    TLegibilityReport Report(const std::vector<TPrintLabel>& labels, double minDiameterMm) const;

    // The same painting's labels for another layout: the regions are the painting's and are not
    // measured again, so this is quick where the constructor is not.
    TPrintedLabels ForLayout(const TPrintLayout& layout, const TPlacementFrame& frame) const;

    // Millimetres a painting pixel covers on paper in this print.
    TPaintingPixelSize PixelSize() const;
    std::uint32_t RegionCount() const;
    // Whether the region is a gap where the frame shape shows.
    bool FrameGap(std::uint32_t region) const;
    // The widest circle each region holds, in millimetres on paper, in region order.
    std::vector<double> RegionDiametersMm() const;

private:
    struct TInk {
        double CenterX, CenterY, Width, Height; // painting pixels
    };
    TInk InkOf(const TPrintLabel& label, int size) const;
    std::int64_t RegionOfInk(const TInk& ink) const;
    // The central label of a region; `size` receives its printed size.
    TPrintLabel CentralLabel(std::uint32_t region, const std::string& text, int& size) const;
    // The largest label of the region's number centred on a work-raster pixel that fits inside
    // it; `size` receives its printed size, 0 when none fits.
    TPrintLabel LabelAt(std::uint32_t region, const std::string& text, int poleX, int poleY,
                        int& size) const;
    int DeviceTextWidth(const std::string& text, int size) const;

    struct TRegions;
    struct TData;
    void Place(std::shared_ptr<const TRegions> regions, const TPrintLayout& layout,
               const TPlacementFrame& frame, int paintingWidth, int paintingHeight,
               TLabelTextMetrics metrics);
    std::shared_ptr<const TData> Data_;
};

// The work raster a template's cells are measured on: two pixels per pixel of the reduction, as
// a painting traced at the reduction's own size is measured.
constexpr double TemplateLabelScale(int outlineScale) {
    return 2.0 / (outlineScale < 1 ? 1 : outlineScale);
}

// How far apart the numbers of one large cell are, on paper.
constexpr double TemplateLabelSpacingMm = 60;

// The labels a template prints: one for every cell, at the point of the cell farthest from its
// border (its pole of inaccessibility on the work raster), at the largest size that fits there;
// a large cell carries more, TemplateLabelSpacingMm apart.
std::vector<TPrintLabel> TemplateLabels(const TPrintedLabels& printed,
                                        const TColorNumbering& numbering);

// The placement frame a print puts the painting in: the frame placed, or the first frame for the
// painting; `layout` takes the placement's image size from it.
TPlacementFrame PrintedFrame(const TShapeList& shapes, TPrintLayout& layout,
                             const TPlacementFrame& placed);

// How a template painting's numbers are placed for a print: on its cells as they print, at its
// outline scale (TTemplatePlan::Scale), for the layout and placement frame of that print.
struct TTemplateNumbering {
    int OutlineScale = 4;
    TPrintLayout Layout;
    TPlacementFrame Frame;
};
std::vector<TPrintLabel> PlaceTemplateNumbers(const TShapeList& shapes,
                                              const TNamedPalette& paintingPalette,
                                              const TTemplateNumbering& numbering);

} // namespace pigmentaria
