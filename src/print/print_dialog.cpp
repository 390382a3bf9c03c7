#include "print/print_dialog.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <cmath>

namespace pigmentaria {

namespace {

constexpr int MaxPageCount = 99;

template <class T> bool Change(T& value, T to) {
    if (value == to) return false;
    value = to;
    return true;
}

} // namespace

std::optional<int> ReadPageEdit(std::string_view text) {
    const std::optional<long long> n = ParseWhole(TrimBlanks(text));
    if (!n || *n < 0 || *n > MaxPageCount) return std::nullopt;
    return static_cast<int>(*n);
}

std::optional<double> ReadOverlapEdit(std::string_view text, char decimalPoint) {
    const std::string_view t = TrimBlanks(text);
    std::optional<double> v = ParseReal(t, decimalPoint);
    if (!v && decimalPoint != '.') v = ParseReal(t, '.');
    // Overlaps that large would push the page grid beyond what printer pixels can count.
    if (!v || !std::isfinite(*v) || std::fabs(*v) >= 1000) return std::nullopt;
    return v;
}

std::string OverlapEditText(double inches, char decimalPoint) {
    return FormatGeneral(inches, 15, decimalPoint);
}

std::string NotANumberMessage(std::string_view text) {
    return "'" + std::string(text) + "' is not a valid number.";
}

// --- what the layout is computed for

void TPrintDialogState::SetPrinter(const TPrinterMetrics& metrics, int orientation) {
    Printer_ = metrics;
    Orientation_ = orientation;
}

void TPrintDialogState::SetScreenDpi(int dpiX, int dpiY) {
    ScreenDpiX_ = dpiX > 0 ? dpiX : DefaultScreenDpi;
    ScreenDpiY_ = dpiY > 0 ? dpiY : DefaultScreenDpi;
}

void TPrintDialogState::SetPaintingSize(int width, int height) {
    PaintingWidth_ = width;
    PaintingHeight_ = height;
}

// --- the dialog's life

std::optional<std::string> TPrintDialogState::Show() {
    NumbersAdded_ = false;
    Dragging_ = Sizing_ = false;
    std::optional<std::string> problem = Recompute();
    if (!Settings_.Frame.Visible) PlaceFrameAfresh();
    Handle_ = SizeHandleAt(Settings_.Frame);
    return problem;
}

std::optional<std::string> TPrintDialogState::Recompute() {
    const std::optional<int> across = ReadPageEdit(Texts_.PagesAcross);
    if (!across) return NotANumberMessage(Texts_.PagesAcross);
    const std::optional<int> down = ReadPageEdit(Texts_.PagesDown);
    if (!down) return NotANumberMessage(Texts_.PagesDown);
    const std::optional<double> overlap = ReadOverlapEdit(Texts_.Overlap, DecimalPoint_);
    if (!overlap) return NotANumberMessage(Texts_.Overlap);
    Settings_.PagesAcross = *across;
    Settings_.PagesDown = *down;
    Settings_.Overlap = *overlap;
    Layout_ = ComputePrintLayout(Printer_, Orientation_, Settings_, ScreenDpiX_, ScreenDpiY_);
    if (Settings_.Overlap != *overlap)
        Texts_.Overlap = OverlapEditText(Settings_.Overlap, DecimalPoint_);
    return std::nullopt;
}

std::optional<std::string> TPrintDialogState::PrinterChanged() {
    std::optional<std::string> problem = Recompute();
    PlaceFrameAfresh();
    return problem;
}

void TPrintDialogState::HideFrame() {
    Settings_.Frame.Visible = false;
}

void TPrintDialogState::PlaceFrameAfresh() {
    Settings_.Frame = FirstPlacementFrame(Layout_, PaintingWidth_, PaintingHeight_);
    Handle_ = SizeHandleAt(Settings_.Frame);
    FrameChanged();
}

void TPrintDialogState::FrameChanged() {
    Layout_.ImageWidthIn = FrameWidthIn(Layout_, Settings_.Frame);
    Layout_.ImageHeightIn = FrameHeightIn(Layout_, Settings_.Frame);
}

// --- the layout block

void TPrintDialogState::ApplyBlock(const TPrintLayoutBlock& block) {
    ApplyPrintLayoutBlock(block, Settings_, true);
    Texts_.PagesAcross = std::to_string(Settings_.PagesAcross);
    Texts_.PagesDown = std::to_string(Settings_.PagesDown);
    Texts_.Overlap = OverlapEditText(Settings_.Overlap, DecimalPoint_);
    Handle_ = SizeHandleAt(Settings_.Frame);
    Dragging_ = Sizing_ = false;
    FrameChanged();
}

TPrintLayoutBlock TPrintDialogState::Block(const TPaperChoice& paper) const {
    TPrintSettings s = Settings_;
    // The edits as they read now, also before the layout has followed them.
    if (const auto across = ReadPageEdit(Texts_.PagesAcross)) s.PagesAcross = *across;
    if (const auto down = ReadPageEdit(Texts_.PagesDown)) s.PagesDown = *down;
    if (const auto overlap = ReadOverlapEdit(Texts_.Overlap, DecimalPoint_)) s.Overlap = *overlap;
    return MakePrintLayoutBlock(s, paper);
}

// --- the edits

bool TPrintDialogState::EditPagesAcross(std::string text) {
    if (const auto n = ReadPageEdit(text)) Settings_.PagesAcross = *n;
    return Change(Texts_.PagesAcross, std::move(text));
}

bool TPrintDialogState::EditPagesDown(std::string text) {
    if (const auto n = ReadPageEdit(text)) Settings_.PagesDown = *n;
    return Change(Texts_.PagesDown, std::move(text));
}

bool TPrintDialogState::EditOverlap(std::string text) {
    if (const auto v = ReadOverlapEdit(text, DecimalPoint_)) Settings_.Overlap = *v;
    return Change(Texts_.Overlap, std::move(text));
}

// --- the choices

bool TPrintDialogState::SetRegistrationMarks(bool on) {
    return Change(Settings_.RegistrationMarks, on);
}

bool TPrintDialogState::SetOutlinesOnly(bool on) {
    if (on && Settings_.WhatToPrint != wpAll) return false;
    return Change(Settings_.OutlinesOnly, on);
}

bool TPrintDialogState::SetOutlinesBlack(bool on) {
    return Change(Settings_.OutlinesBlack, on);
}

bool TPrintDialogState::SetLineWeight(int position) {
    return Change(Settings_.LineWeight, std::clamp(position, MinLineWeight, MaxLineWeight));
}

bool TPrintDialogState::SetFillWith(int fill) {
    if (fill < fwGray || fill > fwBlack) return false;
    return Change(Settings_.FillWith, fill);
}

bool TPrintDialogState::SetWhatToPrint(int code) {
    if (code < wpAll || code > wpCurrentColor) return false;
    const TPrintSettings before = Settings_;
    pigmentaria::SetWhatToPrint(Settings_, code);
    return !(Settings_ == before);
}

// --- the frame

void TPrintDialogState::FrameMouseDown(TPoint at) {
    Mouse_ = at;
    Dragging_ = true;
}

bool TPrintDialogState::FrameMouseMove(TPoint at) {
    if (!Dragging_) return false;
    const TPlacementFrame before = Settings_.Frame;
    Settings_.Frame = DragFrame(Settings_.Frame, at.X - Mouse_.X, at.Y - Mouse_.Y);
    Mouse_ = at;
    Handle_ = SizeHandleAt(Settings_.Frame);
    FrameChanged();
    return !(Settings_.Frame == before);
}

void TPrintDialogState::HandleMouseDown(TPoint at) {
    Mouse_ = at;
    Sizing_ = true;
}

bool TPrintDialogState::HandleMouseMove(TPoint at) {
    if (!Sizing_) return false;
    const TPlacementFrame before = Settings_.Frame;
    Settings_.Frame = SizeFrame(Settings_.Frame, Handle_, at.X - Mouse_.X, at.Y - Mouse_.Y,
                                PaintingWidth_, PaintingHeight_);
    Mouse_ = at;
    FrameChanged();
    return !(Settings_.Frame == before);
}

void TPrintDialogState::HandleMouseUp() {
    Sizing_ = false;
    Handle_ = SizeHandleAt(Settings_.Frame);
}

} // namespace pigmentaria
