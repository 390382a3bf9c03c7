#include "print/template_preview.h"

#include "model/render.h"
#include "print/page_render.h"
#include "print/print_scale.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pigmentaria {

double PreviewZoom(int paintingWidth, int paintingHeight, int areaWidth, int areaHeight) {
    if (paintingWidth <= 0 || paintingHeight <= 0) return 1.0;
    const double zoom = std::min(static_cast<double>(std::max(1, areaWidth)) / paintingWidth,
                                 static_cast<double>(std::max(1, areaHeight)) / paintingHeight);
    // At least a pixel each way.
    return std::max(zoom, 1.0 / std::min(paintingWidth, paintingHeight));
}

void DrawPreviewNumbers(TPageCanvas& canvas, const std::vector<TPrintLabel>& labels, double zoom) {
    canvas.SetBrush({clWhite, TBrushStyle::Clear});
    TPageFont font = canvas.Font();
    font.Color = clBlack;
    font.Bold = false;
    for (const TPrintLabel& label : labels) {
        const int left = static_cast<int>(std::floor(label.Left * zoom));
        const int top = static_cast<int>(std::floor(label.Top * zoom));
        const int boxW = static_cast<int>(std::floor(label.Right * zoom)) - left;
        const int boxH = static_cast<int>(std::floor(label.Bottom * zoom)) - top;
        font.Italic = false;
        canvas.SetFont(font);
        font.Size = FitLabelFontSize(canvas, label.Text, boxW);
        font.Italic = true;
        canvas.SetFont(font);
        const int x = left + boxW / 2 - canvas.TextWidth(label.Text) / 2;
        const int y = top + boxH / 2 - canvas.TextHeight(label.Text) / 2;
        canvas.TextOut(x, y, label.Text);
    }
}

TTemplatePreview MakeTemplatePreview(const TTemplatePreviewRequest& request,
                                     IProgressSink& progress, const TRasterTextPainter& text,
                                     const TLoadedPaintSet* paints) {
    TTemplatePreview out;
    out.Settings = request.Settings;
    out.Picture = request.Picture;
    try {
        if (!request.Picture || request.Picture->Width() <= 0 || request.Picture->Height() <= 0)
            throw std::runtime_error("There is no picture to make a template of.");
        const TLoadedPaintSet loaded =
            paints ? TLoadedPaintSet{} : LoadPaintSet(request.Settings.PaintSet);
        const TTemplateRequest r = TemplateRequestOf(request.Settings, paints ? *paints : loaded);
        out.Result = std::make_shared<TTemplateResult>(MakeTemplate(*request.Picture, r, progress));
    } catch (const EAborted&) {
        throw;
    } catch (const std::exception& e) {
        out.Error = e.what();
        return out;
    }
    const TShapeList& shapes = out.Result->Trace.Shapes;
    const double zoom =
        PreviewZoom(shapes.PaintingWidth(), shapes.PaintingHeight(), request.Width, request.Height);
    out.Painting = RenderPainting(shapes, zoom, false);
    if (progress.Position(0)) throw EAborted();
    out.Template = RenderPainting(shapes, zoom, true);
    // The frame's right and bottom edges fall just outside the raster: the print shows them.
    TRaster24& t = out.Template;
    if (!t.Empty()) {
        t.FillSpan(t.Height() - 1, 0, t.Width(), clBlack);
        for (int y = 0; y < t.Height(); ++y)
            t.SetPixel(t.Width() - 1, y, clBlack);
    }
    if (text && !out.Template.Empty()) {
        // The preview's pixels per inch of paper, so that numbers take the size they print at.
        const TTemplatePlan& plan = out.Result->Plan;
        const double paintingMm = plan.PixelMm / std::max(1, plan.Scale);
        const double dpi = paintingMm > 0 ? zoom * MmPerInch / paintingMm : 96;
        text(out.Template, dpi,
             [&](TPageCanvas& canvas) { DrawPreviewNumbers(canvas, out.Result->Labels, zoom); });
    }
    return out;
}

TTemplatePreviewRunner::TTemplatePreviewRunner(TDelivery delivered, TRasterTextPainter text)
    : Delivered_(std::move(delivered)), Text_(std::move(text)), Worker_([this] {
          if (std::optional<std::shared_ptr<TTemplatePreview>> p = Worker_.Take())
              if (Delivered_) Delivered_(std::move(*p));
      }) {}

std::uint64_t TTemplatePreviewRunner::Request(TTemplatePreviewRequest request) {
    return Worker_.Request([this, request = std::move(request)](IProgressSink& progress) {
        if (!LoadedChoice_ || !(*LoadedChoice_ == request.Settings.PaintSet)) {
            LoadedChoice_.reset();
            Loaded_ = {};
            try {
                Loaded_ = LoadPaintSet(request.Settings.PaintSet);
                LoadedChoice_ = request.Settings.PaintSet;
            } catch (const std::exception& e) {
                auto failed = std::make_shared<TTemplatePreview>();
                failed->Settings = request.Settings;
                failed->Picture = request.Picture;
                failed->Error = e.what();
                return failed;
            }
        }
        return std::make_shared<TTemplatePreview>(
            MakeTemplatePreview(request, progress, Text_, &Loaded_));
    });
}

} // namespace pigmentaria
