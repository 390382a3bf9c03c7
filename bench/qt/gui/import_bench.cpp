// The import dialog's "Import" on a large photo, from the click to the painting shown in the main
// window, with the progress window up; with the longest time the window's thread could not react
// (a 5 ms timer's largest gap) and the process's peak memory.
#include "app/qt/import_windows.h"
#include "editor/qt/vector_form.h"
#include "image/qt/pg_image.h"
#include "latency_probe.h"

#include "../../../tests/app/qt/widget_test_util.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace pigmentaria {
namespace {

// The process's peak resident memory in MB (VmHWM).
double PeakMegabytes() {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

TPixelGraphic Photo(int width, int height) {
    TPixelGraphic photo;
    photo.LoadFromFile(std::string(PIGMENTARIA_SAMPLES) + "/coffee.png");
    TPixelGraphic big;
    big.StretchMode = smPrecise;
    big.SetSize(width, height, ct24Bit);
    big.StretchFromWhole(photo);
    return big;
}

void ImportPhoto(benchmark::State& state, int width, int height) {
    test::TTestWindows app;
    TVectorForm& main = app.Windows.VectorForm();
    TModifyForm& dialog = app.Windows.Import().ModifyForm();
    main.resize(1024, 720);
    main.show();
    const TPixelGraphic photo = Photo(width, height);
    int positions = 0;
    for (auto _ : state) {
        state.PauseTiming();
        TPixelGraphic copy;
        copy.Assign(&photo);
        dialog.SetPicture(std::move(copy));
        test::WaitFor([] { return false; }, 20);
        state.ResumeTiming();
        bench::TLatencyProbe probe;
        probe.Start();
        QElapsedTimer t;
        t.start();
        dialog.Import1Click();
        if (!dialog.Imported() ||
            !test::WaitFor([&] { return main.Viewer()->DisplayReady(); }, 20000))
            state.SkipWithError("not imported");
        main.Viewer()->viewport()->repaint();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        state.counters["max_gui_block_ms"] = probe.MaxGapMs();
        positions = app.Windows.Jobs().PositionsShown();
    }
    state.counters["shapes"] = static_cast<double>(main.Document().Shapes().Count());
    state.counters["bar_moves"] = positions;
    state.counters["peak_mb"] = PeakMegabytes();
}

void BM_ImportPhoto2268x1512(benchmark::State& state) {
    ImportPhoto(state, 2268, 1512);
}
BENCHMARK(BM_ImportPhoto2268x1512)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// A 12-megapixel phone photo: taken at the largest zoom that fits.
void BM_ImportPhoto4000x3000(benchmark::State& state) {
    ImportPhoto(state, 4000, 3000);
}
BENCHMARK(BM_ImportPhoto4000x3000)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
} // namespace pigmentaria
