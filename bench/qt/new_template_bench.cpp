// The New Template dialog's preview on a 12-megapixel photo: from the request to the delivered
// template and painting pictures (made on the worker, numbers drawn with the toolkit's fonts),
// beside the template job alone, and the part the GUI thread does with them, the pictures
// becoming what the window shows.
#include "../bench_pictures.h"
#include "image/pixel_graphic.h"
#include "print/qt/new_template_dialog.h"
#include "print/qt/qt_app.h"
#include "print/qt/raster_page_text.h"
#include "print/template_preview.h"

#include <benchmark/benchmark.h>

#include <QPixmap>

#include <condition_variable>
#include <mutex>

namespace pigmentaria {
namespace {

std::shared_ptr<const TPixelGraphic> Photo12MpPicture() {
    static const std::shared_ptr<const TPixelGraphic> picture = [] {
        auto p = std::make_shared<TPixelGraphic>();
        p->AssignRaster24(bench::TileMirrored(
            bench::ScaleBilinear(bench::LoadSamplePng("coffee.png"), 2000, 1500), 4000, 3000));
        return p;
    }();
    return picture;
}

// The dialog's preview area at 100 %.
constexpr int PreviewArea = 356;

struct TDeliveries {
    std::mutex Lock;
    std::condition_variable Came;
    std::shared_ptr<TTemplatePreview> Last;
};

void BM_NewTemplatePreview12Mp(benchmark::State& state) {
    EnsureQtGui();
    const auto picture = Photo12MpPicture();
    TDeliveries d;
    TTemplatePreviewRunner runner(
        [&](std::shared_ptr<TTemplatePreview> p) {
            std::lock_guard lock(d.Lock);
            d.Last = std::move(p);
            d.Came.notify_all();
        },
        DrawOnRaster);
    for (auto _ : state) {
        {
            std::lock_guard lock(d.Lock);
            d.Last.reset();
        }
        runner.Request({picture, TNewTemplateSettings{}, PreviewArea, PreviewArea});
        std::unique_lock lock(d.Lock);
        d.Came.wait(lock, [&] { return d.Last != nullptr; });
        if (!d.Last->Result) state.SkipWithError(d.Last->Error.c_str());
    }
}
BENCHMARK(BM_NewTemplatePreview12Mp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The template job alone on the same picture, for what the preview adds to it.
void BM_NewTemplateJobAlone12Mp(benchmark::State& state) {
    const auto picture = Photo12MpPicture();
    TNullProgress progress;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            MakeTemplate(*picture, TemplateRequestOf(TNewTemplateSettings{}), progress));
}
BENCHMARK(BM_NewTemplateJobAlone12Mp)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_NewTemplatePreviewOnTheGuiThread(benchmark::State& state) {
    EnsureQtGui();
    TNullProgress progress;
    const TTemplatePreview p =
        MakeTemplatePreview({Photo12MpPicture(), TNewTemplateSettings{}, PreviewArea, PreviewArea},
                            progress, DrawOnRaster);
    for (auto _ : state) {
        QPixmap shown = QPixmap::fromImage(PreviewImage(p.Template));
        benchmark::DoNotOptimize(shown);
        shown = QPixmap::fromImage(PreviewImage(p.Painting));
        benchmark::DoNotOptimize(shown);
    }
}
BENCHMARK(BM_NewTemplatePreviewOnTheGuiThread)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pigmentaria
