#pragma once
// The print dialog's settings: how the painting is spread over a grid of pages, which shapes are
// filled, how outlines and numbers look, and where the placement frame sits. Kept with the
// painting in its print layout block.
#include "model/painting_file.h"
#include <cstdint>
#include <optional>
#include <string>

namespace pigmentaria {

// What to print: the code stored with the painting.
enum TWhatToPrint : int { wpAll = 0, wpSelected = 1, wpCurrentColor = 2 };
// Fill colour of the chosen shapes when shapes are filled.
enum TFillWith : int { fwGray = 0, fwColor = 1, fwBlack = 2 };

// The placement frame over the sample, in the coordinates of the panel that holds the sample.
struct TPlacementFrame {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Visible = false;
    friend bool operator==(const TPlacementFrame&, const TPlacementFrame&) = default;
};

constexpr int MinLineWeight = 1;
constexpr int MaxLineWeight = 6;

struct TPrintSettings {
    int PagesAcross = 1;
    int PagesDown = 1;
    // Page overlap in inches; raised by the layout to cover the unprintable margins.
    double Overlap = 1.0;
    bool RegistrationMarks = true;
    // Every shape as an outline on white; otherwise the chosen shapes are filled.
    bool OutlinesOnly = true;
    bool OutlinesBlack = true;
    int LineWeight = 1;
    int FillWith = fwGray;
    bool PrintNumbers = false;
    int WhatToPrint = wpAll;
    bool PageNumbers = false;
    TPlacementFrame Frame;
    friend bool operator==(const TPrintSettings&, const TPrintSettings&) = default;
};

// Choosing what to print: anything but all shapes always fills, so it leaves "outlines only".
void SetWhatToPrint(TPrintSettings& settings, int code);

// Which controls the dialog enables for the current settings.
struct TPrintControlsEnabled {
    bool OutlinesOnly = true;
    bool OutlinesBlack = true;
    bool LineWeight = true;
    bool FillWith = false;
};
TPrintControlsEnabled PrintControlsEnabled(const TPrintSettings& settings);

// The line-weight control's hint for a position 1..6 ("Hairline", "1/64\"" ... "1/8\"").
std::string LineWeightHint(int position);
// Pen width on a device of the given horizontal resolution; at least one device pixel.
int LineWeightPenWidth(int position, int dpiX);

// The print layout block of the painting file, field by field.

// The printer's paper as the block records it.
struct TPaperChoice {
    int Orientation = 0;
    int PaperSize = 0;
    int UserPaperWidth = 0, UserPaperLength = 0;
    friend bool operator==(const TPaperChoice&, const TPaperChoice&) = default;
};

// The block to write: the settings, the printer's paper, and the frame only while it is shown.
TPrintLayoutBlock MakePrintLayoutBlock(const TPrintSettings& settings, const TPaperChoice& paper);

// Hands a read block to the settings. The dialog keeps its own overlap unless `takeOverlap`;
// the frame is shown when its stored width is not 0. Values out of range are brought into it
// (what-to-print and fill-with to their first choice, line weight and page counts clamped).
void ApplyPrintLayoutBlock(const TPrintLayoutBlock& block, TPrintSettings& settings,
                           bool takeOverlap = false);
TPaperChoice PaperOfBlock(const TPrintLayoutBlock& block);

// What a print asks for over the layout stored with the painting: each choice given replaces the
// stored one, the rest keep what the painting says (or the base where it has no layout). The
// command line fills it from its options; the print dialog from what the user changed.
struct TPrintOptions {
    std::optional<int> PagesAcross, PagesDown;
    std::optional<double> Overlap;
    std::optional<int> WhatToPrint;
    std::optional<bool> OutlinesOnly;
    std::optional<int> FillWith;
    std::optional<int> LineWeight;
    std::optional<bool> OutlinesBlack;
    std::optional<bool> PrintNumbers;
    std::optional<bool> RegistrationMarks;
    std::optional<bool> PageNumbers;
    std::optional<TPlacementFrame> Frame;
    // The sheet: paper code and, for a user-defined size, its width and length; the orientation
    // comes from Orientation alone.
    std::optional<TPaperChoice> Paper;
    std::optional<int> Orientation;
};

// The settings and the paper a print goes by.
struct TPrintSetup {
    TPrintSettings Settings;
    TPaperChoice Paper;
    friend bool operator==(const TPrintSetup&, const TPrintSetup&) = default;
};

enum class TPrintSetupProblem {
    None,
    // Outlines only prints every shape; the choice of what to print says otherwise.
    OutlinesNeedAllShapes,
    // No pages across or down: the stored layout has none and the options give none.
    NoPages,
};

// The options over the stored layout over the base. The stored block brings its settings
// (its overlap unless `takeStoredOverlap` is off, as the dialog keeps its own) and its
// orientation, and its paper when it names one. A problem leaves the setup as far as it got.
TPrintSetupProblem MergePrintSetup(TPrintSetup& setup, const TPrintLayoutBlock* stored,
                                   const TPrintOptions& options, bool takeStoredOverlap = true);

} // namespace pigmentaria
