#pragma once
// Everything the import dialog holds between imports, without the window: the working picture
// with its zoom and selection, the conversion controls, the filter settings, the two rasters of
// the last colour reduction, and the operations that the dialog's buttons and menus run. The long
// steps themselves are the pure functions of convert/conversion.h: a worker runs them on a
// ConversionInput() and the session adopts what comes back; the synchronous forms here do both at
// once for the command line and the tests.
#include "convert/conversion.h"
#include "convert/reduction.h"
#include "convert/tracer.h"
#include "image/filters.h"
#include "image/pg_progress.h"
#include "image/pixel_graphic.h"
#include "model/shape.h"
#include "platform/report.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace pigmentaria {

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
    // Takes over a picture loaded on a worker (LoadPictureFile) as LoadPicture would: its
    // reader's warnings are shown now, the file is remembered for "Re-Open".
    void AdoptPicture(const std::string& fileName, TLoadedPicture loaded);
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

    // What an import converts, copied so that a worker may own it.
    TConversionInput ConversionInput() const;
    // Keeps a reduction made elsewhere (a worker's import) as the last one.
    void AdoptReduction(TReducedPair reduction);

    // Scales by the zoom, crops to the selection, keeps the unreduced original and quantises
    // with the controls; specks are removed when asked. A reduction that fails or is stopped
    // leaves the last one in place.
    void ReduceColors();
    const TRaster24& Reduced() const { return Reduced_; }
    const TRaster24& Original() const { return Original_; }
    // The reduction becomes the working picture, at zoom 1 with no selection.
    void ReduceIntoOriginal();

    // A filter dialog confirmed with its settings: the working picture is filtered into a new
    // picture that replaces it; "Gray Scale" filters in place.
    void ApplyFilter(TFilterKind kind);

    void ApplyStyle(TPaintingStyle style);

    // "Import Now" without the window: reduce (kept as the last reduction), then trace with the
    // controls. The document adopts the result (TPaintingDocument::AdoptImport).
    TTraceResult ReduceAndTrace();

private:
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
