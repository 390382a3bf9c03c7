#include "print/legibility_text.h"

#include "platform/text_parse.h"

namespace pigmentaria {

TLegibilityReport PrintLegibility(const TShapeList& shapes, TPrintLayout layout,
                                  const TPrintSettings& settings,
                                  const std::vector<TPrintLabel>& labels, double minDiameterMm) {
    TPlacementFrame frame = settings.Frame;
    if (!frame.Visible || frame.Width <= 0)
        frame = FirstPlacementFrame(layout, shapes.PaintingWidth(), shapes.PaintingHeight());
    layout.ImageWidthIn = FrameWidthIn(layout, frame);
    layout.ImageHeightIn = FrameHeightIn(layout, frame);
    return TPrintedLabels(shapes, layout, frame).Report(labels, minDiameterMm);
}

std::string LegibilityReportText(const TLegibilityReport& r, double minDiameterMm) {
    return "legibility: " + std::to_string(r.Regions) + " regions; the narrowest " +
           FormatFixed(r.SmallestDiameterMm, 2) + " mm across; " +
           std::to_string(r.RegionsUnderMinimum) + " under " + FormatGeneral(minDiameterMm) +
           " mm; the smallest number " + std::to_string(r.SmallestNumberPt) + " pt; " +
           std::to_string(r.RegionsWithoutFittingNumber) + " regions with no number that fits";
}

std::vector<std::string> LegibilityReportLines(const TLegibilityReport& r, double minDiameterMm) {
    std::vector<std::string> lines;
    lines.push_back("Narrowest region: " + FormatFixed(r.SmallestDiameterMm, 2) + " mm across");
    lines.push_back("Regions under " + FormatGeneral(minDiameterMm) + " mm: " +
                    std::to_string(r.RegionsUnderMinimum) + " of " + std::to_string(r.Regions));
    if (r.Labels == 0) {
        lines.push_back("Smallest number: no numbers are printed");
        lines.push_back("Regions without a number that fits: " + std::to_string(r.Regions));
    } else {
        lines.push_back("Smallest number: " + std::to_string(r.SmallestNumberPt) + " pt");
        lines.push_back(
            "Regions without a number that fits: " + std::to_string(r.RegionsWithoutFittingNumber) +
            " (under " + std::to_string(LegibleLabelSize) +
            " pt: " + std::to_string(r.RegionsWithoutLegibleNumber) + ")");
    }
    return lines;
}

bool LegibleEnough(const TLegibilityReport& r) {
    return r.RegionsUnderMinimum == 0 && r.RegionsWithoutLegibleNumber == 0;
}

} // namespace pigmentaria
