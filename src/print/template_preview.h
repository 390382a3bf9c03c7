#pragma once
// The New Template dialog's preview: the template of the latest settings made on a worker of its
// own, the run before it stopped when the settings change, and the two pictures the dialog shows
// drawn there too: the numbered outlines as they print and the painting, scaled to the preview.
#include "image/pixel_graphic.h"
#include "platform/latest_worker.h"
#include "platform/raster.h"
#include "print/new_template.h"
#include "print/page_canvas.h"
#include "print/template_job.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace pigmentaria {

// Draws on a raster through a page canvas that has text, at `dotsPerInch`: the front end's fonts
// (the core has none). Called on the worker.
using TRasterTextPainter = std::function<void(TRaster24& raster, double dotsPerInch,
                                              const std::function<void(TPageCanvas&)>& draw)>;

struct TTemplatePreviewRequest {
    std::shared_ptr<const TPixelGraphic> Picture;
    TNewTemplateSettings Settings;
    // The preview area in pixels: both pictures fit inside it at the print's proportions.
    int Width = 0, Height = 0;
};

struct TTemplatePreview {
    // What it was made of: the window shows it only while these are still its own.
    TNewTemplateSettings Settings;
    std::shared_ptr<const TPixelGraphic> Picture;
    // The template; none when it could not be made, and Error says why.
    std::shared_ptr<TTemplateResult> Result;
    std::string Error;
    // White cells, black outlines and the numbers as printed (numbers only with a text painter);
    // and the painting in its colours. The same size.
    TRaster24 Template, Painting;
};

// The zoom that fits a painting of W × H inside the preview area, never 0.
double PreviewZoom(int paintingWidth, int paintingHeight, int areaWidth, int areaHeight);

// The numbers as the template prints them, on a canvas holding the painting at `zoom`: italic, at
// the largest size of 12 … 3 pt whose text fits its box.
void DrawPreviewNumbers(TPageCanvas& canvas, const std::vector<TPrintLabel>& labels, double zoom);

// One preview, start to end: the paint set read, the template made (EAborted when stopped), the
// pictures drawn. A picture or paint set that cannot be used gives its message in Error.
TTemplatePreview MakeTemplatePreview(const TTemplatePreviewRequest& request,
                                     IProgressSink& progress, const TRasterTextPainter& text,
                                     const TLoadedPaintSet* paints = nullptr);

// Runs the previews: the latest request wins, the one running stops at its next progress step.
// `delivered` gets each finished preview of the latest request, on the worker: a window posts it
// to its own thread. Destroying the runner stops the run and waits for it.
class TTemplatePreviewRunner {
public:
    using TDelivery = std::function<void(std::shared_ptr<TTemplatePreview>)>;
    explicit TTemplatePreviewRunner(TDelivery delivered, TRasterTextPainter text = {});

    // Any thread: the request's number, 1, 2, ...
    std::uint64_t Request(TTemplatePreviewRequest request);
    // No preview is wanted any more.
    void Drop() { Worker_.Drop(); }
    bool Busy() const { return Worker_.Busy(); }
    std::uint64_t Latest() const { return Worker_.Latest(); }

private:
    TDelivery Delivered_;
    TRasterTextPainter Text_;
    // The paint set last read, by the worker alone: most changes keep it.
    std::optional<TPaintSetChoice> LoadedChoice_;
    TLoadedPaintSet Loaded_;
    // Last: it is stopped and joined before the members its work uses go.
    TLatestWorker<std::shared_ptr<TTemplatePreview>> Worker_;
};

} // namespace pigmentaria
