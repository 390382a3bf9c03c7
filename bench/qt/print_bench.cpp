// Printing the sample photo's paint-by-number template to PDF: 1 × 1 and 2 × 2 letter pages at
// 600 dpi with numbers, registration marks and page numbers. Set PIGMENTARIA_BENCH_PDF_DIR to
// keep the PDFs for a look. And the print dialog's legibility report for those layouts.
#include "../bench_paintings.h"
#include "../bench_pictures.h"
#include "cli/qt/print_command.h"
#include "convert/import_session.h"
#include "convert/reduction.h"
#include "convert/tracer.h"
#include "editor/document.h"
#include "model/render.h"
#include "print/legibility_text.h"
#include "print/numbers.h"
#include "print/print_dialog.h"
#include "print/template_job.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <map>

namespace pigmentaria {
namespace {

using cli::RunPrintCommand;
using cli::TPaintingForPrint;

// Stands in for the document's number placement: one label per visible region, on the largest
// square of its colour, numbered by the colour's place in order of use.
std::vector<TPrintLabel> LargestSquareLabels(const TShapeList& shapes) {
    const TRaster24 r = RenderPainting(shapes, 1.0);
    const int w = r.Width(), h = r.Height();
    std::vector<int> region(static_cast<std::size_t>(w) * h, -1), side(region.size(), 0);
    std::vector<TPoint> stack;
    struct TBest {
        int Side = 0, X = 0, Y = 0;
        TColor Color = 0;
    };
    std::vector<TBest> best;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            if (region[i] >= 0) continue;
            const TColor c = r.GetPixel(x, y);
            const int id = static_cast<int>(best.size());
            best.push_back({0, x, y, c});
            stack = {{x, y}};
            region[i] = id;
            while (!stack.empty()) {
                const TPoint p = stack.back();
                stack.pop_back();
                const TPoint n[4] = {
                    {p.X + 1, p.Y}, {p.X - 1, p.Y}, {p.X, p.Y + 1}, {p.X, p.Y - 1}};
                for (const TPoint q : n) {
                    if (q.X < 0 || q.Y < 0 || q.X >= w || q.Y >= h) continue;
                    const std::size_t j = static_cast<std::size_t>(q.Y) * w + q.X;
                    if (region[j] < 0 && r.GetPixel(q.X, q.Y) == c) {
                        region[j] = id;
                        stack.push_back(q);
                    }
                }
            }
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            int s = 1;
            if (x > 0 && y > 0 && region[i - 1] == region[i] && region[i - w] == region[i] &&
                region[i - w - 1] == region[i])
                s = 1 + std::min({side[i - 1], side[i - w], side[i - w - 1]});
            side[i] = s;
            TBest& b = best[region[i]];
            if (s > b.Side) b = {s, x, y, b.Color};
        }
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    std::vector<TPrintLabel> labels;
    for (const TBest& b : best) {
        const int number = PaintingPaletteIndex(palette, b.Color);
        labels.push_back(
            {std::to_string(number), b.X - b.Side + 1, b.Y - b.Side + 1, b.X + 1, b.Y + 1});
    }
    return labels;
}

std::unique_ptr<TPaintingForPrint> SamplePainting(const std::string&) {
    TRaster24 photo = bench::LoadSamplePng("coffee.png");
    TNullProgress progress;
    TNullMessages messages;
    TReducedPair pair =
        ReduceScaledPicture(photo, {0, 0, photo.Width(), photo.Height()}, 64, 3, progress);
    auto p = std::make_unique<TPaintingForPrint>();
    TraceRegions(pair.Reduced, pair.Original, {TOutlineMethod::Outline, 2, true}, p->Shapes,
                 progress, messages);
    p->PlaceNumbers = [](TPaintingForPrint& q) { q.Labels = LargestSquareLabels(q.Shapes); };
    return p;
}

void BM_PrintSampleTemplatePdf(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const char* keep = std::getenv("PIGMENTARIA_BENCH_PDF_DIR");
    const std::string dir =
        keep ? keep : (std::filesystem::temp_directory_path() / "pigmentaria-bench").string();
    std::filesystem::create_directories(dir);
    const std::string out =
        dir + "/coffee-" + std::to_string(pages) + "x" + std::to_string(pages) + ".pdf";
    const std::vector<std::string> args = {"coffee.kvp",
                                           "-o",
                                           out,
                                           "--across",
                                           std::to_string(pages),
                                           "--down",
                                           std::to_string(pages),
                                           "--paper",
                                           "letter",
                                           "--page-numbers"};
    std::size_t shapes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto painting = SamplePainting("");
        shapes = painting->Shapes.Count();
        TPaintingForPrint* ready = painting.release();
        state.ResumeTiming();
        RunPrintCommand(args, [ready](const std::string&) {
            return std::unique_ptr<TPaintingForPrint>(ready);
        });
    }
    state.counters["shapes"] = static_cast<double>(shapes);
    state.counters["pdf_bytes"] = static_cast<double>(std::filesystem::file_size(out));
}
BENCHMARK(BM_PrintSampleTemplatePdf)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The main window's benchmarks open the same painting.
const TShapeList& LargePainting() {
    return bench::LargeBenchShapes();
}

// What the print dialog computes for its legibility report whenever its layout changes: the
// large painting on 1 × 1 and 2 × 2 letter pages at 600 dpi, with the numbers placed.
void BM_PrintDialogLegibility(benchmark::State& state) {
    const int pages = static_cast<int>(state.range(0));
    const TShapeList& shapes = LargePainting();
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    TNullProgress progress;
    TNullMessages messages;
    const std::vector<TPrintLabel> labels = PlaceNumbers(shapes, palette, progress, messages);
    TPrintDialogState dialog;
    dialog.SetPrinter(MetricsForPaper(PaperSizeOfCode(PaperLetter), poPortrait, 600, 600, 0.25),
                      poPortrait);
    dialog.SetPaintingSize(shapes.PaintingWidth(), shapes.PaintingHeight());
    dialog.Show();
    dialog.EditPagesAcross(std::to_string(pages));
    dialog.EditPagesDown(std::to_string(pages));
    dialog.Recompute();
    TLegibilityReport report;
    for (auto _ : state)
        report = PrintLegibility(shapes, dialog.Layout(), dialog.Settings(), labels,
                                 DefaultTemplateMinMm);
    state.counters["shapes"] = static_cast<double>(shapes.Count());
    state.counters["regions"] = report.Regions;
}
BENCHMARK(BM_PrintDialogLegibility)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The same when only the layout changed: the dialog's worker measured the painting's regions
// for an earlier layout and only places them anew.
void BM_PrintDialogLegibilityNewLayout(benchmark::State& state) {
    const TShapeList& shapes = LargePainting();
    TDialogLegibilityInput in;
    in.Shapes = std::make_shared<const TShapeList>(shapes.Clone());
    in.Settings.PrintNumbers = false;
    in.Cache = std::make_shared<TDialogLegibilityCache>();
    TPrintDialogState dialog;
    dialog.SetPrinter(MetricsForPaper(PaperSizeOfCode(PaperLetter), poPortrait, 600, 600, 0.25),
                      poPortrait);
    dialog.SetPaintingSize(shapes.PaintingWidth(), shapes.PaintingHeight());
    dialog.Show();
    TNullProgress progress;
    in.Layout = dialog.Layout();
    DialogLegibility(in, progress);
    int pages = 1;
    for (auto _ : state) {
        state.PauseTiming();
        pages = pages % 3 + 1;
        dialog.EditPagesAcross(std::to_string(pages));
        dialog.Recompute();
        in.Layout = dialog.Layout();
        state.ResumeTiming();
        benchmark::DoNotOptimize(DialogLegibility(in, progress));
    }
}
BENCHMARK(BM_PrintDialogLegibilityNewLayout)->Unit(benchmark::kMillisecond);

// The numbers the report measures are placed once a painting, not once a layout.
void BM_PrintDialogNumberPlacement(benchmark::State& state) {
    const TShapeList& shapes = LargePainting();
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    TNullProgress progress;
    TNullMessages messages;
    std::size_t labels = 0;
    for (auto _ : state)
        labels = PlaceNumbers(shapes, palette, progress, messages).size();
    state.counters["labels"] = static_cast<double>(labels);
}
BENCHMARK(BM_PrintDialogNumberPlacement)->Unit(benchmark::kMillisecond);

// The copy of the painting a worker computing the report owns.
void BM_PrintDialogPaintingCopy(benchmark::State& state) {
    const TShapeList& shapes = LargePainting();
    for (auto _ : state)
        benchmark::DoNotOptimize(shapes.Clone());
}
BENCHMARK(BM_PrintDialogPaintingCopy)->Unit(benchmark::kMillisecond);

// "Simplify For Printing..." from the print dialog on the large painting, one A4 page, 2.5 mm.
void BM_SimplifyLargePaintingForPrinting(benchmark::State& state) {
    TNullMessages messages;
    TPaintingDocument doc(messages);
    doc.ReplaceShapes(LargePainting().Clone(), 0);
    TPrintLayoutBlock block = doc.PrintLayout();
    block.PaperSize = PaperA4;
    doc.SetPrintLayout(block);
    TNullProgress progress;
    std::size_t shapes = 0;
    for (auto _ : state) {
        std::optional<TSimplifyInput> input = doc.SimplifyInput(TSimplifyRequest{});
        TSimplifyResult result = Simplify(std::move(*input), progress);
        shapes = result.Simplified.Trace.Shapes.Count();
    }
    state.counters["shapes_after"] = static_cast<double>(shapes);
}
BENCHMARK(BM_SimplifyLargePaintingForPrinting)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace pigmentaria
