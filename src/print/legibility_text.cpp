#include "print/legibility_text.h"

#include "platform/text_parse.h"
#include "print/numbers.h"

namespace pigmentaria {

TLegibilityReport PrintLegibility(const TShapeList& shapes, TPrintLayout layout,
                                  const TPrintSettings& settings,
                                  const std::vector<TPrintLabel>& labels, double minDiameterMm) {
    const TPlacementFrame frame = PrintedFrame(shapes, layout, settings.Frame);
    return TPrintedLabels(shapes, layout, frame).Report(labels, minDiameterMm);
}

std::string LegibilityReportText(const TLegibilityReport& r, double minDiameterMm) {
    return "legibility: " + std::to_string(r.Regions) + " regions; the narrowest " +
           FormatFixed(r.SmallestDiameterMm, 2) + " mm across; " +
           std::to_string(r.RegionsUnderMinimum) + " under " + FormatGeneral(minDiameterMm) +
           " mm; the smallest number " + std::to_string(r.SmallestNumberPt) + " pt; " +
           std::to_string(r.RegionsWithoutFittingNumber) + " regions with no number that fits";
}

std::vector<std::string> LegibilityReportLines(const TLegibilityReport& r, double minDiameterMm,
                                               char point) {
    std::vector<std::string> lines;
    const auto& p = LegibilityLinePatterns;
    lines.push_back(FillParts(p[0], {FormatFixed(r.SmallestDiameterMm, 2, point)}));
    lines.push_back(
        FillParts(p[1], {FormatGeneral(minDiameterMm, 15, point),
                         std::to_string(r.RegionsUnderMinimum), std::to_string(r.Regions)}));
    if (!r.NumbersPrinted) {
        lines.push_back(p[2]);
    } else if (r.Labels == 0) {
        lines.push_back(p[3]);
        lines.push_back(FillParts(p[4], {std::to_string(r.Regions)}));
    } else {
        lines.push_back(FillParts(p[5], {std::to_string(r.SmallestNumberPt)}));
        lines.push_back(FillParts(p[6], {std::to_string(r.RegionsWithoutFittingNumber),
                                         std::to_string(LegibleLabelSize),
                                         std::to_string(r.RegionsWithoutLegibleNumber)}));
    }
    return lines;
}

bool LegibleEnough(const TLegibilityReport& r) {
    return r.RegionsUnderMinimum == 0 && (!r.NumbersPrinted || r.RegionsWithoutLegibleNumber == 0);
}

TDialogLegibilityKey DialogLegibilityKey(const TDialogLegibilityInput& in) {
    TDialogLegibilityKey k;
    k.Layout = in.Layout;
    k.Frame = in.Settings.Frame;
    k.Numbers = in.Settings.PrintNumbers;
    k.MinDiameterMm = in.MinDiameterMm;
    k.Generation = in.Generation;
    return k;
}

TDialogLegibility DialogLegibility(const TDialogLegibilityInput& in, IProgressSink& progress) {
    TDialogLegibility out;
    out.Generation = in.Generation;
    static const std::vector<TPrintLabel> none;
    const std::vector<TPrintLabel>* labels = &none;
    if (in.Settings.PrintNumbers) {
        if (in.Labels) {
            labels = &*in.Labels;
        } else {
            // What placement says about a pixel no shape explains shows when printing places
            // the numbers; the report keeps quiet.
            TCollectedMessages quiet;
            if (in.TemplateScale > 0)
                out.PlacedLabels = PlaceTemplateNumbers(
                    *in.Shapes, in.Palette, {in.TemplateScale, in.Layout, in.Settings.Frame});
            else
                out.PlacedLabels = PlaceNumbers(*in.Shapes, in.Palette, progress, quiet);
            labels = &*out.PlacedLabels;
        }
    }
    TPrintLayout layout = in.Layout;
    const TPlacementFrame frame = PrintedFrame(*in.Shapes, layout, in.Settings.Frame);
    std::optional<TPrintedLabels> printed;
    if (in.Cache) {
        std::lock_guard lock(in.Cache->Lock);
        if (in.Cache->Measured && in.Cache->Generation == in.Generation)
            printed = in.Cache->Measured->ForLayout(layout, frame);
    }
    if (!printed) {
        printed.emplace(*in.Shapes, layout, frame);
        if (in.Cache) {
            std::lock_guard lock(in.Cache->Lock);
            in.Cache->Measured = printed;
            in.Cache->Generation = in.Generation;
        }
    }
    out.Report = printed->Report(*labels, in.MinDiameterMm);
    if (!in.Settings.PrintNumbers) {
        // Nothing is missing a number on a print that has none.
        out.Report.NumbersPrinted = false;
        out.Report.RegionsWithoutFittingNumber = out.Report.RegionsWithoutLegibleNumber = 0;
    }
    out.Lines = LegibilityReportLines(out.Report, in.MinDiameterMm, in.DecimalPoint);
    out.Legible = LegibleEnough(out.Report);
    return out;
}

} // namespace pigmentaria
