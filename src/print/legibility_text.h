#pragma once
// The legibility report of a print in words: one line for the command line, and the lines the
// print dialog shows for its layout. Numbers are written with a full stop in every locale.
#include "model/shape.h"
#include "palette/palette.h"
#include "platform/report.h"
#include "print/print_labels.h"
#include "print/print_layout.h"
#include "print/print_settings.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
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

// The patterns the lines below are made from, for the window to translate.
inline constexpr const char* LegibilityLinePatterns[] = {
    "Narrowest region: %1 mm across",
    "Regions under %1 mm: %2 of %3",
    "Numbers are not printed (\"#'s?\" is unchecked)",
    "Smallest number: no numbers are printed",
    "Regions without a number that fits: %1",
    "Smallest number: %1 pt",
    "Regions without a number that fits: %1 (under %2 pt: %3)",
};
// The print dialog's lines, in this order: the narrowest region, the regions under the minimum,
// the smallest number, the regions without a number that fits. A print without numbers ("#'s?"
// off) says so in one line in place of the last two. Millimetres are written with `decimalPoint`,
// the window's.
std::vector<std::string> LegibilityReportLines(const TLegibilityReport& report,
                                               double minDiameterMm, char decimalPoint = '.');

// Whether the print is comfortable to paint: every region holds the minimum and every region
// has a number of the legible size or more. The dialog offers "Simplify For Printing..." when not.
bool LegibleEnough(const TLegibilityReport& report);

// The painting's regions as the dialog's worker last measured them: another layout of the same
// generation only places them anew. Used by the worker alone (locked all the same).
struct TDialogLegibilityCache {
    std::mutex Lock;
    std::optional<TPrintedLabels> Measured;
    std::uint64_t Generation = 0;
};

// What the print dialog's report is measured on, copied on the GUI thread for a worker: the
// painting as it is, the dialog's layout and settings, and the numbers that would print.
struct TDialogLegibilityInput {
    std::shared_ptr<const TShapeList> Shapes;
    // For numbers placed here.
    TNamedPalette Palette;
    TPrintLayout Layout;
    TPrintSettings Settings;
    // The numbers printing would use when they are placed already (printing places them once a
    // showing); none places them here as printing would. Not read without PrintNumbers.
    std::optional<std::vector<TPrintLabel>> Labels;
    // A template painting's outline scale, when it is one: its numbers are then placed as a
    // template's are, for this layout.
    int TemplateScale = 0;
    double MinDiameterMm = 2.5;
    // The decimal point of the lines.
    char DecimalPoint = '.';
    std::uint64_t Generation = 0;
    // None measures the painting every time.
    std::shared_ptr<TDialogLegibilityCache> Cache;
};

// What decides the report: inputs that agree here give the same report. Numbers given or placed
// here are the same ones, placed for the same generation of the painting.
struct TDialogLegibilityKey {
    TPrintLayout Layout;
    TPlacementFrame Frame;
    bool Numbers = false;
    double MinDiameterMm = 0;
    std::uint64_t Generation = 0;
    friend bool operator==(const TDialogLegibilityKey&, const TDialogLegibilityKey&) = default;
};
TDialogLegibilityKey DialogLegibilityKey(const TDialogLegibilityInput& input);

struct TDialogLegibility {
    TLegibilityReport Report;
    std::vector<std::string> Lines;
    bool Legible = false;
    // The numbers placed for this report, when the input had none: the same painting gives the
    // same ones, so the next report of this generation can take them.
    std::optional<std::vector<TPrintLabel>> PlacedLabels;
    std::uint64_t Generation = 0;
};

// The dialog's report as a worker makes it: numbers placed first when asked and not given
// ("Placing Numbers...", EAborted when stopped), then the report for the layout.
TDialogLegibility DialogLegibility(const TDialogLegibilityInput& input, IProgressSink& progress);

} // namespace pigmentaria
