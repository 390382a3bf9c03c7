#include "print/print_labels.h"

#include "convert/conversion.h"
#include "convert/regions.h"
#include "model/render.h"
#include "print/print_scale.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace pigmentaria {

namespace {

int Trunc(double v) {
    if (!(v > -2147483648.0)) return v != v ? 0 : INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return static_cast<int>(v);
}

// A page canvas that only measures text, with the page font's digit metrics at a resolution.
class TMeasureCanvas final : public TPageCanvas {
public:
    TMeasureCanvas(double advanceEm, int dpi) : AdvanceEm_(advanceEm), Dpi_(dpi) {}
    void Polygon(const TPoint*, std::size_t) override {}
    void LineTo(int, int) override {}
    void Rectangle(int, int, int, int) override {}
    void FillRect(int, int, int, int) override {}
    void TextOut(int, int, const std::string&) override {}
    int TextWidth(const std::string& text) override {
        return static_cast<int>(
            std::lround(static_cast<double>(text.size()) * AdvanceEm_ * Font_.Size * Dpi_ / 72.0));
    }
    int TextHeight(const std::string&) override {
        return static_cast<int>(std::lround(1.15 * Font_.Size * Dpi_ / 72.0));
    }

private:
    double AdvanceEm_;
    int Dpi_;
};

} // namespace

double LabelWorkScale(int paintingWidth, int paintingHeight) {
    const double extent = static_cast<double>(paintingWidth) + paintingHeight;
    return extent > MaxPaintingExtent ? 2.0 * MaxPaintingExtent / extent : 2.0;
}

// What the painting alone decides: its regions on the work raster, their room and colour, and
// which are gaps. Shared by the labels of every layout of the same painting.
struct TPrintedLabels::TRegions {
    // Work-raster pixels per painting pixel.
    double Scale = 2.0;
    TRegionMap Map;
    // Each work pixel's squared distance to the nearest pixel of another region.
    std::vector<std::int32_t> Distance;
    std::vector<TRegionRoom> Rooms;
    std::vector<TColor> Colors;
    std::vector<bool> Gap;
};

struct TPrintedLabels::TData {
    std::shared_ptr<const TRegions> R;
    TLabelTextMetrics Metrics;
    TPaintingPixelSize PixelSize;
    // Painting pixels per inch on paper, and the placement's left edge for the device mapping.
    double UnitsX = 0, UnitsY = 0, LeftIn = 0;
    int DpiX = 600;
    int PaintingWidth = 0, PaintingHeight = 0;
};

TPrintedLabels::TPrintedLabels(const TShapeList& shapes, const TPrintLayout& layout,
                               const TPlacementFrame& frame, TLabelTextMetrics metrics,
                               double workScale) {
    auto r = std::make_shared<TRegions>();
    r->Scale =
        workScale > 0 ? workScale : LabelWorkScale(shapes.PaintingWidth(), shapes.PaintingHeight());
    const double LabelScale = r->Scale;
    const TRaster24 raster = RenderPainting(shapes, LabelScale, false);
    r->Map = LabelRegions(raster);
    r->Distance = RegionDistanceSquared(r->Map);
    r->Rooms = MeasureRegions(r->Map, r->Distance);
    r->Colors.resize(r->Map.Count);
    r->Gap.assign(r->Map.Count, false);
    const TPaintShape* frameShape = shapes.First();
    for (std::uint32_t i = 0; i < r->Map.Count; ++i) {
        const TRegionRoom& room = r->Rooms[i];
        r->Colors[i] = raster.GetPixel(room.PoleX, room.PoleY);
        if (frameShape && r->Colors[i] == frameShape->Color)
            r->Gap[i] =
                ShapeAtPixel(shapes, raster, LabelScale, room.PoleX, room.PoleY) == frameShape;
    }
    Place(std::move(r), layout, frame, shapes.PaintingWidth(), shapes.PaintingHeight(), metrics);
}

void TPrintedLabels::Place(std::shared_ptr<const TRegions> regions, const TPrintLayout& layout,
                           const TPlacementFrame& frame, int w, int h, TLabelTextMetrics metrics) {
    auto d = std::make_shared<TData>();
    d->R = std::move(regions);
    d->Metrics = metrics;
    d->PaintingWidth = w;
    d->PaintingHeight = h;
    d->PixelSize = PaintingPixelSize(layout, frame, w, h);
    d->DpiX = std::max(1, layout.PrinterDpiX);
    if (d->PixelSize.Placed()) {
        d->UnitsX = MmPerInch / d->PixelSize.MmX;
        d->UnitsY = MmPerInch / d->PixelSize.MmY;
        d->LeftIn = (frame.Left - SampleImageLeft - layout.SampleOriginX) / layout.SampleScaleX;
    }
    Data_ = std::move(d);
}

TPrintedLabels TPrintedLabels::ForLayout(const TPrintLayout& layout,
                                         const TPlacementFrame& frame) const {
    TPrintedLabels out = *this;
    out.Place(Data_->R, layout, frame, Data_->PaintingWidth, Data_->PaintingHeight, Data_->Metrics);
    return out;
}

std::uint32_t TPrintedLabels::RegionCount() const {
    return Data_->R->Map.Count;
}

TPaintingPixelSize TPrintedLabels::PixelSize() const {
    return Data_->PixelSize;
}

bool TPrintedLabels::FrameGap(std::uint32_t region) const {
    return region < Data_->R->Gap.size() && Data_->R->Gap[region];
}

std::vector<double> TPrintedLabels::RegionDiametersMm() const {
    // At scale 2 a circle can sit on a painting pixel's centre, which is a corner of the work
    // raster's pixels: a region whose most central pixel is d from the outside holds 2d work
    // pixels, d painting pixels (2d / scale at other scales).
    const double mm = std::min(Data_->PixelSize.MmX, Data_->PixelSize.MmY) * 2 / Data_->R->Scale;
    std::vector<double> out;
    out.reserve(Data_->R->Rooms.size());
    for (const TRegionRoom& r : Data_->R->Rooms)
        out.push_back(std::sqrt(static_cast<double>(r.MaxDistanceSquared)) * mm);
    return out;
}

int TPrintedLabels::DeviceTextWidth(const std::string& text, int size) const {
    TMeasureCanvas canvas(Data_->Metrics.DigitAdvanceEm, Data_->DpiX);
    TPageFont font;
    font.Size = size;
    canvas.SetFont(font);
    return canvas.TextWidth(text);
}

int TPrintedLabels::DrawnSize(const TPrintLabel& label) const {
    const TData& d = *Data_;
    if (!(d.UnitsX > 0)) return 3;
    const int a = Trunc(d.DpiX * (label.Left / d.UnitsX + d.LeftIn));
    const int b = Trunc(d.DpiX * (label.Right / d.UnitsX + d.LeftIn));
    TMeasureCanvas canvas(d.Metrics.DigitAdvanceEm, d.DpiX);
    return FitLabelFontSize(canvas, label.Text, b - a);
}

TPrintedLabels::TInk TPrintedLabels::InkOf(const TPrintLabel& label, int size) const {
    const TData& d = *Data_;
    const double inches = static_cast<double>(size) / 72.0;
    return {(label.Left + label.Right) / 2.0, (label.Top + label.Bottom) / 2.0,
            static_cast<double>(label.Text.size()) * d.Metrics.DigitAdvanceEm * inches * d.UnitsX,
            d.Metrics.DigitHeightEm * inches * d.UnitsY};
}

std::int64_t TPrintedLabels::RegionOfInk(const TInk& ink) const {
    const TRegionMap& m = Data_->R->Map;
    const double LabelScale = Data_->R->Scale;
    if (m.Count == 0) return -1;
    // Every work-raster pixel the text's box touches.
    const int x0 = static_cast<int>(std::floor(LabelScale * (ink.CenterX - ink.Width / 2)));
    const int y0 = static_cast<int>(std::floor(LabelScale * (ink.CenterY - ink.Height / 2)));
    const int x1 =
        std::max(x0, static_cast<int>(std::ceil(LabelScale * (ink.CenterX + ink.Width / 2))) - 1);
    const int y1 =
        std::max(y0, static_cast<int>(std::ceil(LabelScale * (ink.CenterY + ink.Height / 2))) - 1);
    if (x0 < 0 || y0 < 0 || x1 >= m.Width || y1 >= m.Height) return -1;
    const std::uint32_t region = m.At(x0, y0);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (m.At(x, y) != region) return -1;
    return region;
}

std::int64_t TPrintedLabels::RegionHolding(const TPrintLabel& label) const {
    if (!Data_->PixelSize.Placed()) return -1;
    return RegionOfInk(InkOf(label, DrawnSize(label)));
}

TPrintLabel TPrintedLabels::CentralLabel(std::uint32_t region, const std::string& text,
                                         int& size) const {
    const TRegionRoom& room = Data_->R->Rooms[region];
    TPrintLabel l = LabelAt(region, text, room.PoleX, room.PoleY, size);
    // Nothing fits: the smallest number, centred, so that the region is numbered all the same.
    if (size == 0) size = DrawnSize(l);
    return l;
}

TPrintLabel TPrintedLabels::LabelAt(std::uint32_t region, const std::string& text, int poleX,
                                    int poleY, int& size) const {
    const TData& d = *Data_;
    const double LabelScale = d.R->Scale;
    const double cx = (poleX + 0.5) / LabelScale, cy = (poleY + 0.5) / LabelScale;
    auto boxAround = [&](int width, int height) {
        TPrintLabel l;
        l.Text = text;
        l.Left = static_cast<std::int32_t>(std::lround(cx - width / 2.0));
        l.Right = l.Left + width;
        l.Top = static_cast<std::int32_t>(std::lround(cy - height / 2.0));
        l.Bottom = l.Top + height;
        return l;
    };
    if (d.PixelSize.Placed()) {
        // The widest box the renderer could want: the text at 12 points, plus a pixel.
        const int widest =
            static_cast<int>(
                std::ceil(static_cast<double>(DeviceTextWidth(text, 12)) / d.DpiX * d.UnitsX)) +
            2;
        for (int s = 11; s >= 3; --s) {
            const TInk ink = InkOf({text, 0, 0, 0, 0}, s);
            if (RegionOfInk({cx, cy, ink.Width, ink.Height}) != region) continue;
            const int height = std::max(1, static_cast<int>(std::lround(ink.Height)));
            // The narrowest box the renderer draws this size in.
            for (int width = 1; width <= widest; ++width) {
                const TPrintLabel l = boxAround(width, height);
                const int drawn = DrawnSize(l);
                if (drawn < s) continue;
                if (drawn > s) break;
                if (RegionOfInk(InkOf(l, drawn)) == static_cast<std::int64_t>(region)) {
                    size = drawn;
                    return l;
                }
                break;
            }
        }
    }
    size = 0;
    return boxAround(1, 1);
}

std::vector<TPrintLabel> TPrintedLabels::SpreadLabels(const std::vector<TPrintLabel>& labels,
                                                      const TColorNumbering& numbering,
                                                      double spacingMm) const {
    std::vector<TPrintLabel> out = labels;
    const TData& d = *Data_;
    const TRegions& r = *d.R;
    if (!d.PixelSize.Placed() || !(spacingMm > 0) || r.Map.Count == 0) return out;
    // Work pixels per millimetre on paper, across and down.
    const double perMmX = r.Scale / d.PixelSize.MmX, perMmY = r.Scale / d.PixelSize.MmY;
    // Only a region that reaches farther than the spacing can take another label.
    struct TBox {
        int Left = INT_MAX, Top = INT_MAX, Right = -1, Bottom = -1;
    };
    std::vector<TBox> boxes(r.Map.Count);
    for (int y = 0; y < r.Map.Height; ++y)
        for (int x = 0; x < r.Map.Width; ++x) {
            TBox& b = boxes[r.Map.At(x, y)];
            b.Left = std::min(b.Left, x);
            b.Right = std::max(b.Right, x);
            b.Top = std::min(b.Top, y);
            b.Bottom = y;
        }
    std::vector<bool> wide(r.Map.Count, false);
    bool any = false;
    for (std::uint32_t i = 0; i < r.Map.Count; ++i) {
        const TBox& b = boxes[i];
        wide[i] = !r.Gap[i] && b.Right >= 0 &&
                  std::hypot((b.Right - b.Left) / perMmX, (b.Bottom - b.Top) / perMmY) > spacingMm;
        any = any || wide[i];
    }
    if (!any) return out;
    // Each wide region's labels so far, as centres in millimetres.
    struct TCentre {
        double X, Y;
    };
    std::vector<std::vector<TCentre>> centres(r.Map.Count);
    for (const TPrintLabel& l : out) {
        const std::int64_t at = RegionHolding(l);
        if (at >= 0 && wide[static_cast<std::size_t>(at)])
            centres[static_cast<std::size_t>(at)].push_back(
                {(l.Left + l.Right) / 2.0 * r.Scale / perMmX,
                 (l.Top + l.Bottom) / 2.0 * r.Scale / perMmY});
    }
    const std::vector<std::int32_t>& distance = r.Distance;
    // Candidates: the pixels of wide regions, most room first, then raster order; sampled every
    // few pixels, which is far finer than the spacing.
    struct TCandidate {
        std::int32_t Room;
        int X, Y;
    };
    std::vector<TCandidate> candidates;
    const int step = std::max(1, static_cast<int>(std::min(perMmX, perMmY)));
    for (int y = 0; y < r.Map.Height; y += step)
        for (int x = 0; x < r.Map.Width; x += step) {
            const std::uint32_t region = r.Map.At(x, y);
            const std::int32_t room =
                distance[static_cast<std::size_t>(y) * r.Map.Width + static_cast<std::size_t>(x)];
            if (wide[region] && room * 4 >= r.Rooms[region].MaxDistanceSquared)
                candidates.push_back({room, x, y});
        }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const TCandidate& a, const TCandidate& b) { return a.Room > b.Room; });
    for (const TCandidate& c : candidates) {
        const std::uint32_t region = r.Map.At(c.X, c.Y);
        const double mx = (c.X + 0.5) / perMmX, my = (c.Y + 0.5) / perMmY;
        bool apart = true;
        for (const TCentre& o : centres[region])
            apart = apart && std::hypot(o.X - mx, o.Y - my) >= spacingMm;
        if (!apart) continue;
        int size = 0;
        TPrintLabel l =
            LabelAt(region, std::to_string(numbering(r.Colors[region])), c.X, c.Y, size);
        if (size < LegibleLabelSize) continue;
        centres[region].push_back({mx, my});
        out.push_back(std::move(l));
    }
    return out;
}

std::vector<TPrintLabel> TPrintedLabels::CompleteLabels(const std::vector<TPrintLabel>& placed,
                                                        const TColorNumbering& numbering) const {
    const std::uint32_t n = Data_->R->Map.Count;
    std::vector<std::int64_t> holder(placed.size());
    std::vector<int> best(n, 0);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        holder[i] = RegionHolding(placed[i]);
        if (holder[i] >= 0) {
            const std::size_t r = static_cast<std::size_t>(holder[i]);
            best[r] = std::max(best[r], DrawnSize(placed[i]));
        }
    }
    std::vector<TPrintLabel> central;
    std::vector<bool> replaced(n, false);
    for (std::uint32_t r = 0; r < n; ++r) {
        if (best[r] >= LegibleLabelSize || Data_->R->Gap[r]) continue;
        int size = 0;
        TPrintLabel l = CentralLabel(r, std::to_string(numbering(Data_->R->Colors[r])), size);
        if (best[r] > 0 && size <= best[r]) continue;
        replaced[r] = best[r] > 0;
        central.push_back(std::move(l));
    }
    std::vector<TPrintLabel> out;
    out.reserve(placed.size() + central.size());
    for (std::size_t i = 0; i < placed.size(); ++i)
        if (holder[i] >= 0 && !replaced[static_cast<std::size_t>(holder[i])] &&
            !Data_->R->Gap[static_cast<std::size_t>(holder[i])])
            out.push_back(placed[i]);
    for (TPrintLabel& l : central)
        out.push_back(std::move(l));
    return out;
}

TLegibilityReport TPrintedLabels::Report(const std::vector<TPrintLabel>& labels,
                                         double minDiameterMm) const {
    TLegibilityReport rep;
    const std::uint32_t n = Data_->R->Map.Count;
    const std::vector<double> diameters = RegionDiametersMm();
    bool first = true;
    for (std::uint32_t r = 0; r < n; ++r) {
        if (Data_->R->Gap[r]) {
            ++rep.FrameGaps;
            continue;
        }
        ++rep.Regions;
        if (first || diameters[r] < rep.SmallestDiameterMm) rep.SmallestDiameterMm = diameters[r];
        first = false;
        // A hair below the minimum is rounding of the millimetre conversion, not a narrower region.
        if (diameters[r] < minDiameterMm - 1e-9) ++rep.RegionsUnderMinimum;
    }
    rep.Labels = static_cast<int>(labels.size());
    std::vector<int> best(n, 0);
    for (const TPrintLabel& l : labels) {
        const int size = DrawnSize(l);
        rep.SmallestNumberPt =
            rep.SmallestNumberPt == 0 ? size : std::min(rep.SmallestNumberPt, size);
        const std::int64_t r = RegionOfInk(InkOf(l, size));
        if (r >= 0 && Data_->PixelSize.Placed())
            best[static_cast<std::size_t>(r)] = std::max(best[static_cast<std::size_t>(r)], size);
    }
    for (std::uint32_t r = 0; r < n; ++r) {
        if (Data_->R->Gap[r]) continue;
        rep.RegionsWithoutFittingNumber += best[r] == 0;
        rep.RegionsWithoutLegibleNumber += best[r] < LegibleLabelSize;
    }
    return rep;
}

TPlacementFrame PrintedFrame(const TShapeList& shapes, TPrintLayout& layout,
                             const TPlacementFrame& placed) {
    TPlacementFrame frame = placed;
    if (!frame.Visible || frame.Width <= 0)
        frame = FirstPlacementFrame(layout, shapes.PaintingWidth(), shapes.PaintingHeight());
    layout.ImageWidthIn = FrameWidthIn(layout, frame);
    layout.ImageHeightIn = FrameHeightIn(layout, frame);
    return frame;
}

std::vector<TPrintLabel> TemplateLabels(const TPrintedLabels& printed,
                                        const TColorNumbering& numbering) {
    return printed.SpreadLabels(printed.CompleteLabels({}, numbering), numbering,
                                TemplateLabelSpacingMm);
}

std::vector<TPrintLabel> PlaceTemplateNumbers(const TShapeList& shapes,
                                              const TNamedPalette& paintingPalette,
                                              const TTemplateNumbering& numbering) {
    TPrintLayout layout = numbering.Layout;
    const TPlacementFrame frame = PrintedFrame(shapes, layout, numbering.Frame);
    const TPrintedLabels printed(shapes, layout, frame, TLabelTextMetrics{},
                                 TemplateLabelScale(numbering.OutlineScale));
    return TemplateLabels(printed, NumberByPaintingPalette(paintingPalette));
}

} // namespace pigmentaria
