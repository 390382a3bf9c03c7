#pragma once
// The legibility report of a print in words: one line for the command line, and the lines the
// print dialog shows for its layout. Numbers are written with a full stop in every locale.
#include "model/shape.h"
#include "print/print_labels.h"
#include "print/print_layout.h"
#include "print/print_settings.h"

#include <string>
#include <vector>

namespace pigmentaria {

// The report for a print: `layout` as the layout math gives it for `settings` (the placement is
// taken from settings.Frame, or the first frame for the painting when none is placed), `labels`
// the numbers that are printed (none when the print has no numbers).
TLegibilityReport PrintLegibility(const TShapeList& shapes, TPrintLayout layout,
                                  const TPrintSettings& settings,
                                  const std::vector<TPrintLabel>& labels, double minDiameterMm);

// "legibility: 120 regions; the narrowest 0.85 mm across; 14 under 2.5 mm; the smallest number
// 4 pt; 3 regions with no number that fits".
std::string LegibilityReportText(const TLegibilityReport& report, double minDiameterMm);

// The print dialog's lines, in this order: the narrowest region, the regions under the minimum,
// the smallest number, the regions without a number that fits. A print without numbers says so
// in the last two.
std::vector<std::string> LegibilityReportLines(const TLegibilityReport& report,
                                               double minDiameterMm);

// Whether the print is comfortable to paint: every region holds the minimum and every region
// has a number of the legible size or more. The dialog offers "Simplify For Printing..." when not.
bool LegibleEnough(const TLegibilityReport& report);

} // namespace pigmentaria
