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
#include "image/filter_settings.h"
#include "image/filters.h"
#include "image/pg_progress.h"
#include "image/pixel_graphic.h"
#include "model/shape.h"
#include "platform/report.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

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

// The dialog's working state as a worker may own it: the picture (a copy), its zoom and
// selection, the controls and the filter settings.
struct TSessionState {
    TPixelGraphic Picture;
    double Zoom = 1.0;
    std::optional<TCropRect> Selection;
    TConversionControls Controls;
    TFilterSettings Filters;
};

// What a style, a filter or "Reduce Into Original" run on a worker hands back: the state it left,
// the reduction it made last (when it made one) and what it had to say.
struct TSessionWork {
    TSessionState State;
    std::optional<TReducedPair> Reduction;
    std::vector<TWorkMessage> Messages;
};

inline constexpr const char* FilteringMessage = "Filtering Picture...";

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
    // The advanced group: the template path's reduction; inactive by default.
    TTemplateControls Template;
    TFilterSettings Filters;

    // What an import converts, copied so that a worker may own it.
    TConversionInput ConversionInput() const;
    // Keeps a reduction made elsewhere (a worker's import) as the last one.
    void AdoptReduction(TReducedPair reduction);

    // Scales by the zoom, crops to the selection, keeps the unreduced original and quantises
    // with the controls (on the template path when its controls are active); specks are removed
    // when asked. A reduction that fails or is stopped
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

    // The working picture at the size the view shows it (its size times the zoom), 24 bits: what
    // "&Save As" writes and "&Copy" puts on the clipboard.
    TPixelGraphic ShownPicture() const;

    // The working state copied for a worker, and taken back from one: the picture file, the
    // last reduction and where messages go stay as they are.
    TSessionState CopyState() const;
    void AdoptState(TSessionState state);
    // Moves the state out (the session is left with an empty picture) and the last reduction.
    TSessionState TakeState();
    TReducedPair TakeReduction();
    // Takes over a worker's style, filter or reduction: its state, its reduction as the last one,
    // and its messages shown now.
    void AdoptWork(TSessionWork work);

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

// The dialog's long operations as a worker runs them, each on a state it owns: they do what the
// session's operations of the same name do, report progress (EAborted when stopped) and keep
// their messages for the result.
TSessionWork ApplyStyleToState(TSessionState state, TPaintingStyle style, IProgressSink& progress);
TSessionWork ApplyFilterToState(TSessionState state, TFilterKind kind, IProgressSink& progress);
TSessionWork ReduceIntoOriginalOfState(TSessionState state, IProgressSink& progress);

} // namespace pigmentaria
