#include "convert/import_session.h"

#include "convert/modify_rules.h"
#include "platform/text_parse.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace pigmentaria {

namespace {

// Collapses "&&" to "&" so that both spellings of a caption compare equal.
std::string Unescape(const std::string& caption) {
    std::string out;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        out += caption[i];
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] == '&') ++i;
    }
    return out;
}

constexpr const char* StyleCaptions[] = {
    "Simple Painting",   "Stylist Painting", "Complex Painting",   "Neon",
    "Neon Stylist",      "Pen && Ink",       "Pen && Ink Stylist", "Ink Brush",
    "Pen && Brush Combo"};

} // namespace

const char* StyleCaption(TPaintingStyle style) {
    return StyleCaptions[static_cast<int>(style)];
}

std::optional<TPaintingStyle> StyleFromCaption(const std::string& caption) {
    const std::string wanted = ToLower(Unescape(caption));
    for (int i = 0; i < 9; ++i)
        if (ToLower(Unescape(StyleCaptions[i])) == wanted) return static_cast<TPaintingStyle>(i);
    return std::nullopt;
}

TImportSession::TImportSession(IProgressSink& progress, IMessageSink& messages)
    : Progress_(progress), Messages_(messages) {}

double TImportSession::FittingZoom() const {
    const long long extent = static_cast<long long>(Picture_.Width()) + Picture_.Height();
    if (extent <= MaxPaintingExtent) return 1.0;
    return static_cast<double>(MaxPaintingExtent) / static_cast<double>(extent);
}

void TImportSession::SetPicture(TPixelGraphic picture) {
    Picture_ = std::move(picture);
    Selection_.reset();
    Zoom_ = 1.0;
    const double fit = FittingZoom();
    if (fit < 1.0) {
        Zoom_ = fit;
        Messages_.Warning("The picture is " + std::to_string(Picture_.Width()) + " x " +
                          std::to_string(Picture_.Height()) + " pixels; it will be converted at " +
                          FormatFixed(fit * 100, 1) +
                          "% so that the painting's width plus height stays within " +
                          std::to_string(MaxPaintingExtent) + " pixels.");
    }
}

void TImportSession::LoadPicture(const std::string& fileName) {
    TPixelGraphic picture;
    picture.Messages = &Messages_;
    picture.LoadFromFile(fileName);
    FileName_ = fileName;
    SetPicture(std::move(picture));
}

void TImportSession::AdoptPicture(const std::string& fileName, TLoadedPicture loaded) {
    ReplayMessages(loaded.Messages, Messages_);
    loaded.Picture.Messages = &Messages_;
    FileName_ = fileName;
    SetPicture(std::move(loaded.Picture));
}

bool TImportSession::ReOpen() {
    if (FileName_.empty()) return false;
    LoadPicture(FileName_);
    return true;
}

void TImportSession::SetZoomFactor(double zoom) {
    if (!(zoom > 0) || !std::isfinite(zoom)) throw std::invalid_argument("zoom must be above 0");
    Zoom_ = zoom;
}

void TImportSession::Enlarge() {
    Zoom_ += 0.25;
}

void TImportSession::Reduce() {
    if (Zoom_ > 0.25) Zoom_ -= 0.25;
}

void TImportSession::SelectionMade(TCropRect r) {
    if (r.Right == r.Left + 1 || r.Bottom == r.Top + 1) {
        Selection_.reset();
        return;
    }
    r.Left = std::max(r.Left, 0);
    r.Top = std::max(r.Top, 0);
    r.Right = std::min(r.Right, Picture_.Width());
    r.Bottom = std::min(r.Bottom, Picture_.Height());
    if (r.Right <= r.Left || r.Bottom <= r.Top) {
        Selection_.reset();
        return;
    }
    Selection_ = r;
}

TConversionInput TImportSession::ConversionInput() const {
    TConversionInput input;
    input.Picture.Assign(&Picture_);
    input.Zoom = Zoom_;
    input.Selection = Selection_;
    input.Controls = Controls;
    input.Template = Template;
    return input;
}

void TImportSession::AdoptReduction(TReducedPair reduction) {
    Reduced_ = std::move(reduction.Reduced);
    Original_ = std::move(reduction.Original);
}

void TImportSession::ReduceColors() {
    Controls.Clamp();
    AdoptReduction(ReducePicture(Picture_, Zoom_, Selection_, Controls, Template, Progress_));
}

void TImportSession::ReduceIntoOriginal() {
    ReduceColors();
    TPixelGraphic picture;
    picture.AssignRaster24(Reduced_);
    Picture_ = std::move(picture);
    Selection_.reset();
    Zoom_ = 1.0;
}

void TImportSession::ApplyFilter(TFilterKind kind) {
    auto filter = MakeFilter(kind, Filters);
    if (kind == TFilterKind::GrayScale) {
        TPGProgressBridge bridge(Picture_, Progress_, FilteringMessage);
        pigmentaria::ApplyFilter(*filter, Picture_, Picture_);
        if (bridge.Aborted()) throw EAborted();
        return;
    }
    TPixelGraphic out;
    out.AssignSettings(Picture_);
    {
        TPGProgressBridge bridge(out, Progress_, FilteringMessage);
        pigmentaria::ApplyFilter(*filter, Picture_, out);
        if (bridge.Aborted()) throw EAborted();
    }
    out.Messages = &Messages_;
    Picture_ = std::move(out);
}

void TImportSession::ApplyStyle(TPaintingStyle style) {
    TConversionControls& c = Controls;
    const auto set = [&c](int depth, TOutlineMethod method, int abstraction, bool eliminate) {
        c.ColorDepth = depth;
        c.SimplificationLevel = 0;
        c.OutlineMethod = method;
        c.AbstractionLevel = abstraction;
        c.EliminateLines = eliminate;
    };
    switch (style) {
    case TPaintingStyle::SimplePainting:
        set(100, TOutlineMethod::Outline, 2, true);
        return;
    case TPaintingStyle::StylistPainting:
        set(100, TOutlineMethod::Outline, 8, true);
        return;
    case TPaintingStyle::ComplexPainting:
        set(50, TOutlineMethod::Outline, 1, true);
        return;
    case TPaintingStyle::Neon:
        set(225, TOutlineMethod::Outline, 2, true);
        return;
    case TPaintingStyle::NeonStylist:
        set(225, TOutlineMethod::Outline, 8, true);
        return;
    case TPaintingStyle::PenInk:
    case TPaintingStyle::PenInkStylist:
        c.ColorDepth = 100;
        c.SimplificationLevel = 0;
        ReduceIntoOriginal();
        ApplyFilter(TFilterKind::Contour);
        ApplyFilter(TFilterKind::GrayScale);
        c.ColorDepth = 225;
        c.OutlineMethod = TOutlineMethod::Inline;
        c.AbstractionLevel = style == TPaintingStyle::PenInk ? 3 : 8;
        c.EliminateLines = false;
        return;
    case TPaintingStyle::InkBrush:
        ApplyFilter(TFilterKind::GrayScale);
        c.ColorDepth = 128;
        c.SimplificationLevel = 0;
        ReduceIntoOriginal();
        c.OutlineMethod = TOutlineMethod::Outline;
        c.AbstractionLevel = 8;
        c.EliminateLines = true;
        return;
    case TPaintingStyle::PenBrushCombo: {
        c.ColorDepth = 64;
        c.SimplificationLevel = 0;
        ReduceIntoOriginal();
        auto contour = MakeFilter(TFilterKind::Contour, Filters);
        auto gray = MakeFilter(TFilterKind::GrayScale, Filters);
        TPixelGraphic lines;
        pigmentaria::ApplyFilter(*contour, Picture_, lines);
        pigmentaria::ApplyFilter(*gray, lines, lines);
        TPixelGraphic tone;
        pigmentaria::ApplyFilter(*gray, Picture_, tone);
        c.ColorDepth = 64;
        c.SimplificationLevel = 0;
        // Wherever the lines picture shows a line, the tone picture turns black.
        for (int x = 0; x < tone.Width(); ++x)
            for (int y = 0; y < tone.Height(); ++y)
                if (lines.GetPixelColor(x, y) != clWhite) tone.SetPixelColor(x, y, clBlack);
        pigmentaria::ApplyFilter(*gray, tone, Picture_);
        c.ColorDepth = 128;
        c.SimplificationLevel = 0;
        ReduceIntoOriginal();
        c.OutlineMethod = TOutlineMethod::Inline;
        c.AbstractionLevel = 3;
        c.EliminateLines = false;
        return;
    }
    }
}

TTraceResult TImportSession::ReduceAndTrace() {
    ReduceColors();
    TTraceResult traced = TraceReduction(Reduced_, Original_, Controls, Progress_);
    ReplayMessages(std::exchange(traced.Messages, {}), Messages_);
    return traced;
}

TPixelGraphic TImportSession::ShownPicture() const {
    const TShownSize size = ShownPictureSize(Picture_.Width(), Picture_.Height(), Zoom_);
    TPixelGraphic shown;
    shown.AssignSettings(Picture_);
    if (size.Width == Picture_.Width() && size.Height == Picture_.Height()) {
        shown.AssignRaster24(Picture_.ToRaster24());
    } else {
        shown.StretchMode = smPrecise;
        shown.SetSize(size.Width, size.Height, ct24Bit);
        if (!shown.Empty()) shown.StretchFromWhole(Picture_);
    }
    return shown;
}

TSessionState TImportSession::CopyState() const {
    TSessionState state;
    state.Picture.Assign(&Picture_);
    state.Zoom = Zoom_;
    state.Selection = Selection_;
    state.Controls = Controls;
    state.Filters = Filters;
    return state;
}

TSessionState TImportSession::TakeState() {
    TSessionState state;
    state.Picture = std::move(Picture_);
    state.Picture.Messages = nullptr;
    Picture_ = TPixelGraphic();
    state.Zoom = Zoom_;
    state.Selection = Selection_;
    state.Controls = Controls;
    state.Filters = Filters;
    return state;
}

TReducedPair TImportSession::TakeReduction() {
    return {std::exchange(Reduced_, {}), std::exchange(Original_, {})};
}

void TImportSession::AdoptState(TSessionState state) {
    Picture_ = std::move(state.Picture);
    Picture_.Messages = &Messages_;
    Zoom_ = state.Zoom;
    Selection_ = state.Selection;
    Controls = state.Controls;
    Filters = state.Filters;
}

void TImportSession::AdoptWork(TSessionWork work) {
    AdoptState(std::move(work.State));
    if (work.Reduction) AdoptReduction(std::move(*work.Reduction));
    ReplayMessages(work.Messages, Messages_);
}

namespace {

// Runs one of the session's operations on a session of the worker's own.
template <class Operation>
TSessionWork RunOnState(TSessionState state, IProgressSink& progress, Operation operation) {
    TCollectedMessages messages;
    TImportSession session(progress, messages);
    session.AdoptState(std::move(state));
    operation(session);
    TSessionWork work;
    if (!session.Reduced().Empty()) work.Reduction = session.TakeReduction();
    work.State = session.TakeState();
    work.Messages = messages.Take();
    return work;
}

} // namespace

TSessionWork ApplyStyleToState(TSessionState state, TPaintingStyle style, IProgressSink& progress) {
    return RunOnState(std::move(state), progress,
                      [style](TImportSession& s) { s.ApplyStyle(style); });
}

TSessionWork ApplyFilterToState(TSessionState state, TFilterKind kind, IProgressSink& progress) {
    return RunOnState(std::move(state), progress,
                      [kind](TImportSession& s) { s.ApplyFilter(kind); });
}

TSessionWork ReduceIntoOriginalOfState(TSessionState state, IProgressSink& progress) {
    return RunOnState(std::move(state), progress,
                      [](TImportSession& s) { s.ReduceIntoOriginal(); });
}

} // namespace pigmentaria
