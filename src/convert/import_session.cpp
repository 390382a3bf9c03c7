#include "convert/import_session.h"

#include "editor/document.h"
#include "platform/text_parse.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

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

void ShiftTables(TXXXFilter& f, const int values[3], bool hueFirst) {
    for (int i = 0; i < 3; ++i) {
        if (hueFirst && i == 0)
            SetHueRotationTable(f.Tables[0], values[0]);
        else
            SetPercentShiftTable(f.Tables[static_cast<std::size_t>(i)], values[i]);
    }
}

} // namespace

void TConversionControls::Clamp() {
    ColorDepth = std::clamp(ColorDepth, 1, 255);
    SimplificationLevel = std::clamp(SimplificationLevel, 0, 4);
    OutlineMethod = OutlineMethodFromIndex(OutlineMethodIndex(OutlineMethod));
    AbstractionLevel = std::clamp(AbstractionLevel, 1, 10);
}

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

namespace {

double ParseNumber(const std::string& filter, const std::string& key, const std::string& value) {
    const auto v = ParseReal(value);
    if (!v)
        throw std::invalid_argument("filter " + filter + ": " + key + "=" + value +
                                    " is not a number");
    return *v;
}

bool ParseSwitch(const std::string& filter, const std::string& key, const std::string& value,
                 const char* on, const char* off) {
    const std::string v = ToLower(value);
    if (v == on) return true;
    if (v == off) return false;
    throw std::invalid_argument("filter " + filter + ": " + key + " takes " + on + " or " + off);
}

TDistributionShape ParseShape(const std::string& filter, const std::string& value) {
    const std::string v = ToLower(value);
    if (v == "gaussian") return dsGaussian;
    if (v == "tent") return dsTent;
    if (v == "rect") return dsRect;
    throw std::invalid_argument("filter " + filter + ": shape takes gaussian, tent or rect");
}

void SetConvolution(TConvolutionSettings& c, const std::string& filter, const std::string& key,
                    const std::string& value) {
    if (key == "sigma")
        c.StdDeviation = ParseNumber(filter, key, value);
    else if (key == "strength")
        c.Strength = ParseNumber(filter, key, value);
    else if (key == "shape")
        c.Shape = ParseShape(filter, value);
    else if (key == "distance")
        c.UseDistance = ParseSwitch(filter, key, value, "on", "off");
    else
        throw std::invalid_argument("filter " + filter + " has no setting \"" + key + "\"");
}

void SetTriple(int (&values)[3], const char* const names[3], const std::string& filter,
               const std::string& key, const std::string& value) {
    for (int i = 0; i < 3; ++i)
        if (key == names[i]) {
            values[i] = static_cast<int>(std::lround(ParseNumber(filter, key, value)));
            return;
        }
    throw std::invalid_argument("filter " + filter + " has no setting \"" + key + "\"");
}

} // namespace

TFilterKind ParseFilterOption(const std::string& text, TFilterSettings& s) {
    const std::size_t colon = text.find(':');
    const std::string name = ToLower(text.substr(0, colon));
    const auto kind = FilterKindFromName(name);
    if (!kind) throw std::invalid_argument("unknown filter \"" + name + "\"");
    if (colon == std::string::npos) return *kind;
    std::string rest = text.substr(colon + 1);
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t comma = std::min(rest.find(',', start), rest.size());
        const std::string item = rest.substr(start, comma - start);
        start = comma + 1;
        if (item.empty()) continue;
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos)
            throw std::invalid_argument("filter " + name + ": \"" + item +
                                        "\" is not SETTING=VALUE");
        const std::string key = ToLower(item.substr(0, eq)), value = item.substr(eq + 1);
        static const char* const rgb[] = {"r", "g", "b"};
        static const char* const cmy[] = {"c", "m", "y"};
        static const char* const ycc[] = {"y", "cb", "cr"};
        static const char* const hls[] = {"h", "l", "s"};
        static const char* const hsv[] = {"h", "s", "v"};
        switch (*kind) {
        case TFilterKind::Smooth:
            SetConvolution(s.Smooth, name, key, value);
            break;
        case TFilterKind::Sharpen:
            SetConvolution(s.Sharpen, name, key, value);
            break;
        case TFilterKind::Detail:
            SetConvolution(s.Detail, name, key, value);
            break;
        case TFilterKind::Contour:
            if (key == "background")
                s.ContourWhiteBackground = ParseSwitch(name, key, value, "white", "black");
            else
                SetConvolution(s.Contour, name, key, value);
            break;
        case TFilterKind::Blur:
            if (key == "radius")
                s.BlurRadius = ParseNumber(name, key, value);
            else if (key == "strength")
                s.BlurStrength = ParseNumber(name, key, value);
            else
                throw std::invalid_argument("filter blur has no setting \"" + key + "\"");
            break;
        case TFilterKind::GrayScale:
            if (key != "weighting")
                throw std::invalid_argument("filter grayscale has no setting \"" + key + "\"");
            s.GrayRGBWeighting = ParseSwitch(name, key, value, "on", "off");
            break;
        case TFilterKind::BCG:
            if (key == "brightness")
                s.Brightness = static_cast<int>(std::lround(ParseNumber(name, key, value)));
            else if (key == "contrast")
                s.Contrast = ParseNumber(name, key, value);
            else if (key == "gamma")
                s.Gamma = ParseNumber(name, key, value);
            else if (key == "apply")
                s.BCGUseY = ParseSwitch(name, key, value, "y", "rgb");
            else
                throw std::invalid_argument("filter bcg has no setting \"" + key + "\"");
            break;
        case TFilterKind::RGB:
            SetTriple(s.RGB, rgb, name, key, value);
            break;
        case TFilterKind::CMY:
            SetTriple(s.CMY, cmy, name, key, value);
            break;
        case TFilterKind::YCbCr:
            SetTriple(s.YCbCr, ycc, name, key, value);
            break;
        case TFilterKind::HLS:
            SetTriple(s.HLS, hls, name, key, value);
            break;
        case TFilterKind::HSV:
            SetTriple(s.HSV, hsv, name, key, value);
            break;
        case TFilterKind::Negative:
            throw std::invalid_argument("filter negative has no settings");
        }
    }
    return *kind;
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
        char text[256];
        std::snprintf(text, sizeof text,
                      "The picture is %d x %d pixels; it will be converted at %.1f%% so that the "
                      "painting's width plus height stays within %d pixels.",
                      Picture_.Width(), Picture_.Height(), fit * 100, MaxPaintingExtent);
        Messages_.Warning(text);
    }
}

void TImportSession::LoadPicture(const std::string& fileName) {
    TPixelGraphic picture;
    picture.Messages = &Messages_;
    picture.LoadFromFile(fileName);
    FileName_ = fileName;
    SetPicture(std::move(picture));
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

void TImportSession::CheckMemoryFor(int width, int height) const {
    // The scaled picture, its copy, the reduced and original rasters, the tracer's marks and the
    // shapes take some 24 bytes a painting pixel at the worst.
    const double needed = 24.0 * width * height;
    const long pages = sysconf(_SC_AVPHYS_PAGES), pageSize = sysconf(_SC_PAGESIZE);
    const double available =
        pages > 0 && pageSize > 0 ? 0.8 * static_cast<double>(pages) * pageSize : 8e9;
    if (needed > available) {
        char text[256];
        std::snprintf(text, sizeof text,
                      "The painting would be %d x %d pixels, too large to convert in the memory "
                      "available; choose a smaller zoom.",
                      width, height);
        throw std::runtime_error(text);
    }
}

void TImportSession::ReduceColors() {
    Controls.Clamp();
    const int w = Picture_.Width(), h = Picture_.Height();
    const int sw = ScaleCoord(w, Zoom_), sh = ScaleCoord(h, Zoom_);
    const TCropRect crop = ScaledCropRect(w, h, Zoom_, Selection_);
    if (sw <= 0 || sh <= 0 || crop.Width() <= 0 || crop.Height() <= 0)
        throw std::runtime_error("Nothing to convert: the picture is empty at this zoom.");
    CheckMemoryFor(sw, sh);
    TRaster24 scaled;
    if (sw == w && sh == h) {
        scaled = Picture_.ToRaster24();
    } else {
        TPixelGraphic resized;
        resized.StretchMode = smPrecise;
        resized.SetSize(sw, sh, ct24Bit);
        resized.StretchFromWhole(Picture_);
        scaled = resized.ToRaster24();
    }
    TReducedPair pair = ReduceScaledPicture(scaled, crop, Controls.ColorDepth,
                                            Controls.SimplificationLevel, Progress_);
    Reduced_ = std::move(pair.Reduced);
    Original_ = std::move(pair.Original);
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

void TImportSession::ImportInto(TPaintingDocument& document) {
    TTraceOutcome traced = ReduceAndTrace();
    document.ReplaceShapes(std::move(traced.Shapes), traced.ShapeCount, UndoImport);
}

TImportSession::TTraceOutcome TImportSession::ReduceAndTrace() {
    ReduceColors();
    TTraceOutcome out;
    out.ShapeCount =
        TraceRegions(Reduced_, Original_,
                     {Controls.OutlineMethod, Controls.AbstractionLevel, Controls.EliminateLines},
                     out.Shapes, Progress_, Messages_);
    return out;
}

} // namespace pigmentaria
