#include "convert/import_session.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>

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

struct TNamedFilter {
    TFilterKind Kind;
    const char* Name;
};
constexpr TNamedFilter FilterNames[] = {
    {TFilterKind::Smooth, "smooth"},
    {TFilterKind::Sharpen, "sharpen"},
    {TFilterKind::Detail, "detail"},
    {TFilterKind::Blur, "blur"},
    {TFilterKind::Negative, "negative"},
    {TFilterKind::Contour, "contour"},
    {TFilterKind::GrayScale, "grayscale"},
    {TFilterKind::RGB, "rgb"},
    {TFilterKind::CMY, "cmy"},
    {TFilterKind::YCbCr, "ycbcr"},
    {TFilterKind::HLS, "hls"},
    {TFilterKind::HSV, "hsv"},
    {TFilterKind::BCG, "bcg"},
};

constexpr const char* StyleCaptions[] = {
    "Simple Painting",   "Stylist Painting", "Complex Painting",   "Neon",
    "Neon Stylist",      "Pen && Ink",       "Pen && Ink Stylist", "Ink Brush",
    "Pen && Brush Combo"};

void ShiftTables(TColorSpaceShiftFilter& f, const int values[3], bool hueFirst) {
    for (int i = 0; i < 3; ++i) {
        if (hueFirst && i == 0)
            SetHueRotationTable(f.Tables[0], values[0]);
        else
            SetPercentShiftTable(f.Tables[static_cast<std::size_t>(i)], values[i]);
    }
}

} // namespace

std::unique_ptr<TPGFilter> MakeFilter(TFilterKind kind, const TFilterSettings& s) {
    switch (kind) {
    case TFilterKind::Smooth: {
        auto f = std::make_unique<TConvFilter>();
        f->Smooth(s.Smooth.Shape, s.Smooth.UseDistance, s.Smooth.Strength, s.Smooth.StdDeviation);
        return f;
    }
    case TFilterKind::Sharpen: {
        auto f = std::make_unique<TConvFilter>();
        f->Sharpen(s.Sharpen.Shape, s.Sharpen.UseDistance, s.Sharpen.Strength,
                   s.Sharpen.StdDeviation);
        return f;
    }
    case TFilterKind::Detail: {
        auto f = std::make_unique<TConvFilter>();
        f->Detail(s.Detail.Shape, s.Detail.UseDistance, s.Detail.Strength, s.Detail.StdDeviation);
        return f;
    }
    case TFilterKind::Blur: {
        auto f = std::make_unique<TConvFilter>();
        f->Blur(s.BlurStrength, s.BlurRadius);
        return f;
    }
    case TFilterKind::Contour: {
        auto f = std::make_unique<TConvFilter>();
        f->Contour(s.Contour.Shape, s.Contour.UseDistance, s.ContourWhiteBackground,
                   s.Contour.Strength / 100, s.Contour.StdDeviation);
        return f;
    }
    case TFilterKind::Negative:
        return std::make_unique<TNegativeFilter>();
    case TFilterKind::GrayScale: {
        auto f = std::make_unique<TGrayScaleFilter>();
        f->RGBWeighting = s.GrayRGBWeighting;
        return f;
    }
    case TFilterKind::BCG: {
        auto f = std::make_unique<TBCGFilter>();
        f->Brightness = s.Brightness;
        f->Contrast = s.Contrast;
        f->Gamma = s.Gamma;
        f->UseY = s.BCGUseY;
        f->PrepareTable();
        return f;
    }
    case TFilterKind::RGB: {
        auto f = std::make_unique<TRGBFilter>();
        ShiftTables(*f, s.RGB, false);
        return f;
    }
    case TFilterKind::CMY: {
        auto f = std::make_unique<TCMYFilter>();
        ShiftTables(*f, s.CMY, false);
        return f;
    }
    case TFilterKind::YCbCr: {
        auto f = std::make_unique<TYCbCrFilter>();
        ShiftTables(*f, s.YCbCr, false);
        return f;
    }
    case TFilterKind::HLS: {
        auto f = std::make_unique<THLSFilter>();
        ShiftTables(*f, s.HLS, true);
        return f;
    }
    case TFilterKind::HSV: {
        auto f = std::make_unique<THSVFilter>();
        ShiftTables(*f, s.HSV, true);
        return f;
    }
    }
    return std::make_unique<TNegativeFilter>();
}

std::optional<TFilterKind> FilterKindFromName(const std::string& name) {
    const std::string n = ToLower(name);
    for (const TNamedFilter& f : FilterNames)
        if (n == f.Name) return f.Kind;
    return std::nullopt;
}

const char* FilterName(TFilterKind kind) {
    for (const TNamedFilter& f : FilterNames)
        if (f.Kind == kind) return f.Name;
    return "";
}

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
    return input;
}

void TImportSession::AdoptReduction(TReducedPair reduction) {
    Reduced_ = std::move(reduction.Reduced);
    Original_ = std::move(reduction.Original);
}

void TImportSession::ReduceColors() {
    Controls.Clamp();
    AdoptReduction(ReducePicture(Picture_, Zoom_, Selection_, Controls, Progress_));
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
        pigmentaria::ApplyFilter(*filter, Picture_, Picture_);
        return;
    }
    TPixelGraphic out;
    pigmentaria::ApplyFilter(*filter, Picture_, out);
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

} // namespace pigmentaria
