// The desktop program's speed on a large painting: opening and showing it, a zoom change and a
// click with the selection tool, each with the longest time the window's thread could not react
// (an event-loop latency probe: a 5 ms timer that records the largest gap between its ticks).
#include "../../bench_paintings.h"
#include "app/qt/app_windows.h"
#include "convert/import_session.h"
#include "editor/qt/print_actions.h"
#include "editor/qt/vector_form.h"
#include "editor/qt/zoom_form.h"
#include "image/qt/pg_image.h"
#include "latency_probe.h"
#include "model/painting_file.h"

#include "../../../tests/app/qt/widget_test_util.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

namespace pigmentaria {
namespace {

// Lets the probe tick around the measured step, so that a block anywhere shows as a gap.
void Settle(int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
}

struct TLargePainting {
    std::filesystem::path File;
    int Shapes = 0;
};

// The shared large painting, written to a file for the main window to open.
const TLargePainting& LargePainting() {
    static const TLargePainting p = [] {
        TLargePainting r;
        r.File = std::filesystem::temp_directory_path() / "pigmentaria-gui-bench.kvp";
        WritePaintingFile(r.File, bench::LargeBenchShapes(), "", TPrintLayoutBlock{});
        for (const TPaintShape& s : ReadPaintingFile(r.File).Shapes)
            (void)s, ++r.Shapes;
        return r;
    }();
    return p;
}

struct TWindow {
    TWindow() {
        Form.resize(1024, 720);
        Form.show();
        Settle(50);
    }
    bool WaitShown() {
        return test::WaitFor([this] { return Form.Viewer()->DisplayReady(); }, 10000);
    }
    // Every window, the settings file in a folder of its own.
    test::TTestWindows App;
    TVectorForm& Form = App.Windows.VectorForm();
};

void BM_OpenAndShowPainting(benchmark::State& state) {
    const TLargePainting& p = LargePainting();
    TWindow w;
    bench::TLatencyProbe probe;
    probe.Start();
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (!w.Form.OpenFile(QString::fromStdString(p.File.string())) || !w.WaitShown())
            state.SkipWithError("not shown");
        w.Form.Viewer()->viewport()->repaint();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        Settle(20);
    }
    probe.Stop();
    state.counters["shapes"] = p.Shapes;
    state.counters["max_gui_block_ms"] = probe.MaxGapMs();
}
BENCHMARK(BM_OpenAndShowPainting)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ZoomChange(benchmark::State& state) {
    TWindow w;
    w.Form.OpenFile(QString::fromStdString(LargePainting().File.string()));
    w.WaitShown();
    bench::TLatencyProbe probe;
    probe.Start();
    bool small = true;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        w.Form.SetZoomLevel(small ? 0.75 : 1.0);
        small = !small;
        if (!w.WaitShown()) state.SkipWithError("not shown");
        w.Form.Viewer()->viewport()->repaint();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        Settle(20);
    }
    probe.Stop();
    state.counters["max_gui_block_ms"] = probe.MaxGapMs();
}
BENCHMARK(BM_ZoomChange)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_ClickSelect(benchmark::State& state) {
    TWindow w;
    w.Form.OpenFile(QString::fromStdString(LargePainting().File.string()));
    w.WaitShown();
    TPGImage* v = w.Form.Viewer();
    bench::TLatencyProbe probe;
    probe.Start();
    int i = 0;
    for (auto _ : state) {
        const QPoint at = v->BoxToViewport(QPoint(40 + (i * 97) % 900, 40 + (i * 61) % 600));
        ++i;
        QElapsedTimer t;
        t.start();
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                          v->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton,
                          i % 2 ? Qt::ShiftModifier : Qt::NoModifier);
        QCoreApplication::sendEvent(v->viewport(), &press);
        v->viewport()->repaint();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        Settle(5);
    }
    probe.Stop();
    state.counters["selected"] = static_cast<double>(w.Form.Document().Selection().Size());
    state.counters["max_gui_block_ms"] = probe.MaxGapMs();
}
BENCHMARK(BM_ClickSelect)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(50);

// The print dialog over the large painting while the user changes the pages across: the time the
// dialog takes to follow a change (its legibility report is made on a worker), the longest the
// GUI thread was blocked, and how long the newest layout's report took to show.
void BM_PrintDialogPagesAcross(benchmark::State& state) {
    TWindow w;
    w.Form.OpenFile(QString::fromStdString(LargePainting().File.string()));
    w.WaitShown();
    TPrintActions& print = w.App.Windows.Print();
    TPrintForm& dialog = print.PrintForm();
    print.PrepareDialog();
    dialog.show();
    if (!test::WaitFor([&] { return print.ReportCurrent(); }, 60000))
        state.SkipWithError("no report");
    bench::TLatencyProbe probe;
    probe.Start();
    int pages = 1;
    QElapsedTimer sinceLast;
    for (auto _ : state) {
        pages = pages % 3 + 1;
        QElapsedTimer t;
        t.start();
        dialog.PagesAcross()->setText(QString::number(pages));
        emit dialog.PagesAcross()->textEdited(dialog.PagesAcross()->text());
        emit dialog.PagesAcross()->editingFinished();
        dialog.repaint();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        sinceLast.start();
        Settle(100);
    }
    if (!test::WaitFor([&] { return print.ReportCurrent(); }, 60000))
        state.SkipWithError("no report");
    const double reportMs = sinceLast.nsecsElapsed() / 1e6;
    probe.Stop();
    dialog.hide();
    state.counters["max_gui_block_ms"] = probe.MaxGapMs();
    state.counters["last_report_ms"] = reportMs;
}
BENCHMARK(BM_PrintDialogPagesAcross)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

} // namespace
} // namespace pigmentaria

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
