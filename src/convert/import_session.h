#pragma once
// Everything the import dialog holds between imports, without the window: the working picture
// with its zoom and selection, the conversion controls, the filter settings, the two rasters of
// the last colour reduction, and the operations that the dialog's buttons and menus run.
#include "convert/reduction.h"
#include "convert/tracer.h"
#include "image/filters.h"
#include "image/pixel_graphic.h"
#include "model/shape.h"
#include "platform/report.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pigmentaria {

// The colour reduction and tracing controls, with their ranges and defaults.
struct TConversionControls {
    int ColorDepth = 90;         // 1..255
    int SimplificationLevel = 0; // 0..4
    TOutlineMethod OutlineMethod = TOutlineMethod::Outline;
    int AbstractionLevel = 4; // 1..10
    bool EliminateLines = true;
    // Holds every control to its range.
    void Clamp();
    friend bool operator==(const TConversionControls&, const TConversionControls&) = default;
};

// What a convolution filter dialog holds.
struct TConvolutionSettings {
    TDistributionShape Shape = dsGaussian;
    bool UseDistance = true;
    double StdDeviation = 0.75;
    double Strength = 50; // percent
};

// The settings the thirteen filter dialogs keep between showings.
struct TFilterSettings {
    TConvolutionSettings Sharpen{dsGaussian, true, 0.75, 50};
    TConvolutionSettings Smooth{dsGaussian, true, 1.3, 100};
    TConvolutionSettings Detail{dsGaussian, true, 0.75, 75};
    double BlurRadius = 2.5;
    double BlurStrength = 100;
    TConvolutionSettings Contour{dsRect, true, 1.0, 100};
    bool ContourWhiteBackground = true;
    bool GrayRGBWeighting = true;
    int Brightness = 0;
    double Contrast = 1.0;
    double Gamma = 1.0;
    bool BCGUseY = false;
    // Percent shifts; for HLS and HSV the first is a hue rotation in degrees.
    int RGB[3] = {0, 0, 0};
    int CMY[3] = {0, 0, 0};
    int YCbCr[3] = {0, 0, 0};
    int HLS[3] = {0, 0, 0};
    int HSV[3] = {0, 0, 0};
};

enum class TFilterKind {
    Smooth,
    Sharpen,
    Detail,
    Blur,
    Negative,
    Contour,
    GrayScale,
    RGB,
    CMY,
    YCbCr,
    HLS,
    HSV,
    BCG
};

// The filter a dialog would build from its settings.
std::unique_ptr<TPGFilter> MakeFilter(TFilterKind kind, const TFilterSettings& settings);
// Filter names as the command line takes them ("sharpen", "grayscale", "bcg", …).
std::optional<TFilterKind> FilterKindFromName(const std::string& name);
const char* FilterName(TFilterKind kind);

// Reads "NAME[:SETTING=VALUE,...]" (for example "sharpen:sigma=1.0,strength=60" or
// "bcg:contrast=1.5,apply=y") into the settings and returns the filter's kind. Throws
// std::invalid_argument naming what is wrong.
TFilterKind ParseFilterOption(const std::string& text, TFilterSettings& settings);

enum class TPaintingStyle {
    SimplePainting,
    StylistPainting,
    ComplexPainting,
    Neon,
    NeonStylist,
    PenInk,
    PenInkStylist,
    InkBrush,
    PenBrushCombo
};
// The menu caption, with "&&" standing for one "&".
const char* StyleCaption(TPaintingStyle style);
// A caption with "&&" or "&", compared without regard to case.
std::optional<TPaintingStyle> StyleFromCaption(const std::string& caption);

// A painting's width plus height may not exceed this; larger pictures are converted smaller.
constexpr int MaxPaintingExtent = 5000;

class TPaintingDocument;

class TImportSession {
public:
    TImportSession(IProgressSink& progress, IMessageSink& messages);

    // The working picture as the view shows it.
    TPixelGraphic& Picture() { return Picture_; }
    const TPixelGraphic& Picture() const { return Picture_; }
    // Makes a picture the working picture at zoom 1 with no selection. A picture too large to
    // become a painting gets the largest zoom that fits, and the user is told.
    void SetPicture(TPixelGraphic picture);
    // Loads a picture file through the format registry; remembered for "Re-Open".
    void LoadPicture(const std::string& fileName);
    // Loads the remembered file again at zoom 1; false when there is none.
    bool ReOpen();
    const std::string& FileName() const { return FileName_; }

    double ZoomFactor() const { return Zoom_; }
    void SetZoomFactor(double zoom);
    // Tool bar: +0.25; -0.25 only while above 0.25.
    void Enlarge();
    void Reduce();
    // The largest zoom at which this picture's painting fits the extent limit (1 when it fits).
    double FittingZoom() const;

    // A rectangle dragged in the view, in picture pixels: one pixel wide or high clears the
    // selection, otherwise it is clamped to the picture.
    void SelectionMade(TCropRect rect);
    void ClearSelection() { Selection_.reset(); }
    const std::optional<TCropRect>& Selection() const { return Selection_; }

    TConversionControls Controls;
    TFilterSettings Filters;

    // Scales by the zoom, crops to the selection, keeps the unreduced original and quantises
    // with the controls; specks are removed when asked.
    void ReduceColors();
    const TRaster24& Reduced() const { return Reduced_; }
    const TRaster24& Original() const { return Original_; }
    // The reduction becomes the working picture, at zoom 1 with no selection.
    void ReduceIntoOriginal();

    // A filter dialog confirmed with its settings: the working picture is filtered into a new
    // picture that replaces it; "Gray Scale" filters in place.
    void ApplyFilter(TFilterKind kind);

    void ApplyStyle(TPaintingStyle style);

    // "Import Now" without the window: reduce, then trace with the controls. Returns the shape
    // list and the running shape count for the document.
    struct TTraceOutcome {
        TShapeList Shapes;
        int ShapeCount = 0;
    };
    TTraceOutcome ReduceAndTrace();
    // "Import Now": the traced shapes replace the document's painting with an "&Undo Import"
    // snapshot, the palette is rebuilt and the painting is rendered, unmodified.
    void ImportInto(TPaintingDocument& document);

private:
    // Refuses a conversion whose rasters would not fit in memory.
    void CheckMemoryFor(int width, int height) const;

    IProgressSink& Progress_;
    IMessageSink& Messages_;
    TPixelGraphic Picture_;
    std::string FileName_;
    double Zoom_ = 1.0;
    std::optional<TCropRect> Selection_;
    TRaster24 Reduced_;
    TRaster24 Original_;
};

} // namespace pigmentaria
