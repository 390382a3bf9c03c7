#include "print/print_settings.h"

#include <algorithm>
#include <cmath>

namespace pigmentaria {

namespace {
// The page edits take at most two digits.
constexpr int MaxPages = 99;
} // namespace

void SetWhatToPrint(TPrintSettings& settings, int code) {
    settings.WhatToPrint = code;
    if (code != wpAll) settings.OutlinesOnly = false;
}

TPrintControlsEnabled PrintControlsEnabled(const TPrintSettings& settings) {
    TPrintControlsEnabled e;
    e.OutlinesOnly = settings.WhatToPrint == wpAll;
    e.OutlinesBlack = e.LineWeight = settings.OutlinesOnly;
    e.FillWith = !settings.OutlinesOnly;
    return e;
}

std::string LineWeightHint(int position) {
    static const char* const hints[] = {"Hairline", "1/64\"", "1/32\"",
                                        "1/16\"",   "3/32\"", "1/8\""};
    return hints[std::clamp(position, MinLineWeight, MaxLineWeight) - 1];
}

int LineWeightPenWidth(int position, int dpiX) {
    static const double inches[] = {0, 0.015625, 0.03125, 0.0625, 0.09375, 0.125};
    const int p = std::clamp(position, MinLineWeight, MaxLineWeight);
    if (p == 1) return 1;
    // A low-resolution device would truncate a fine weight to nothing; keep a visible pen.
    return std::max(1, static_cast<int>(inches[p - 1] * dpiX));
}

TPrintLayoutBlock MakePrintLayoutBlock(const TPrintSettings& settings, const TPaperChoice& paper) {
    TPrintLayoutBlock b;
    b.Orientation = paper.Orientation == 1 ? 1 : 0;
    b.PaperSize = paper.PaperSize;
    b.PaperWidth = paper.UserPaperWidth;
    b.PaperLength = paper.UserPaperLength;
    if (settings.Frame.Visible) {
        b.FrameTop = settings.Frame.Top;
        b.FrameLeft = settings.Frame.Left;
        b.FrameWidth = settings.Frame.Width;
        b.FrameHeight = settings.Frame.Height;
    }
    b.WhatToPrint = settings.WhatToPrint;
    b.PagesAcross = settings.PagesAcross;
    b.PagesDown = settings.PagesDown;
    b.Overlap = settings.Overlap;
    b.RegistrationMarks = settings.RegistrationMarks;
    b.OutlinesOnly = settings.OutlinesOnly;
    b.OutlinesInBlack = settings.OutlinesBlack;
    b.LineWeight = settings.LineWeight;
    b.FillWith = settings.FillWith;
    return b;
}

void ApplyPrintLayoutBlock(const TPrintLayoutBlock& block, TPrintSettings& settings,
                           bool takeOverlap) {
    settings.WhatToPrint = block.WhatToPrint >= wpAll && block.WhatToPrint <= wpCurrentColor
                               ? block.WhatToPrint
                               : wpAll;
    settings.PagesAcross = std::clamp<std::int32_t>(block.PagesAcross, 0, MaxPages);
    settings.PagesDown = std::clamp<std::int32_t>(block.PagesDown, 0, MaxPages);
    settings.RegistrationMarks = block.RegistrationMarks != 0;
    settings.LineWeight = std::clamp<std::int32_t>(block.LineWeight, MinLineWeight, MaxLineWeight);
    settings.OutlinesBlack = block.OutlinesInBlack;
    // A choice other than all shapes always fills, whatever the block says.
    settings.OutlinesOnly = block.OutlinesOnly != 0 && settings.WhatToPrint == wpAll;
    settings.FillWith =
        block.FillWith >= fwGray && block.FillWith <= fwBlack ? block.FillWith : fwGray;
    settings.Frame = {block.FrameLeft, block.FrameTop, block.FrameWidth, block.FrameHeight,
                      block.FrameWidth != 0};
    if (takeOverlap && std::isfinite(block.Overlap) && block.Overlap >= 0 && block.Overlap < 1000)
        settings.Overlap = block.Overlap;
}

TPaperChoice PaperOfBlock(const TPrintLayoutBlock& block) {
    return {block.Orientation == 1 ? 1 : 0, block.PaperSize, block.PaperWidth, block.PaperLength};
}

TPrintSetupProblem MergePrintSetup(TPrintSetup& setup, const TPrintLayoutBlock* stored,
                                   const TPrintOptions& o, bool takeStoredOverlap) {
    TPrintSettings& settings = setup.Settings;
    TPaperChoice& paper = setup.Paper;
    if (stored) {
        ApplyPrintLayoutBlock(*stored, settings, takeStoredOverlap);
        const TPaperChoice storedPaper = PaperOfBlock(*stored);
        paper.Orientation = storedPaper.Orientation;
        if (storedPaper.PaperSize != 0) paper = storedPaper;
    }
    if (o.PagesAcross) settings.PagesAcross = *o.PagesAcross;
    if (o.PagesDown) settings.PagesDown = *o.PagesDown;
    if (o.Overlap) settings.Overlap = *o.Overlap;
    if (o.WhatToPrint) SetWhatToPrint(settings, *o.WhatToPrint);
    if (o.OutlinesOnly) {
        if (*o.OutlinesOnly && settings.WhatToPrint != wpAll)
            return TPrintSetupProblem::OutlinesNeedAllShapes;
        settings.OutlinesOnly = *o.OutlinesOnly;
    }
    if (o.FillWith) settings.FillWith = *o.FillWith;
    if (o.LineWeight) settings.LineWeight = *o.LineWeight;
    if (o.OutlinesBlack) settings.OutlinesBlack = *o.OutlinesBlack;
    if (o.PrintNumbers) settings.PrintNumbers = *o.PrintNumbers;
    if (o.RegistrationMarks) settings.RegistrationMarks = *o.RegistrationMarks;
    if (o.PageNumbers) settings.PageNumbers = *o.PageNumbers;
    if (o.Frame) settings.Frame = *o.Frame;
    if (o.Paper) {
        paper.PaperSize = o.Paper->PaperSize;
        paper.UserPaperWidth = o.Paper->UserPaperWidth;
        paper.UserPaperLength = o.Paper->UserPaperLength;
    }
    if (o.Orientation) paper.Orientation = *o.Orientation;
    if (settings.PagesAcross <= 0 || settings.PagesDown <= 0) return TPrintSetupProblem::NoPages;
    return TPrintSetupProblem::None;
}

} // namespace pigmentaria
