// The editor's commands and the undo history on a painting of 7,700 shapes: 100 × 77 cells of
// 16 px, each a polygon of 32 vertices (a traced photo's shapes have a few dozen), in 12 colours.
#include "editor/document.h"
#include "editor/painting_view.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace pigmentaria {
namespace {

constexpr int Cols = 100, Rows = 77, Cell = 16;

TShapeList CellPainting() {
    TShapeList list;
    list.Append(MakeFrameShape(Cols * Cell, Rows * Cell));
    for (int r = 0; r < Rows; ++r)
        for (int c = 0; c < Cols; ++c) {
            const int l = c * Cell, t = r * Cell, e = Cell - 1;
            std::vector<TShapePoint> pts;
            // Eight vertices a side, clockwise from the top-left corner.
            for (int i = 0; i < 8; ++i)
                pts.push_back({l + i * e / 8, t});
            for (int i = 0; i < 8; ++i)
                pts.push_back({l + e, t + i * e / 8});
            for (int i = 0; i < 8; ++i)
                pts.push_back({l + e - i * e / 8, t + e});
            for (int i = 0; i < 8; ++i)
                pts.push_back({l, t + e - i * e / 8});
            const TColor color = static_cast<TColor>(((r * 7 + c * 3) % 12) * 0x151515);
            list.Append(MakeShape(color, std::move(pts), color));
        }
    return list;
}

struct TBench {
    TNullMessages Messages;
    TPaintingDocument Doc{Messages};
    TPaintingView View{Doc};
    TBench() {
        Doc.SetUndoDepth(EditorUndoDepth);
        Doc.ReplaceShapes(CellPainting(), Cols * Rows);
    }
};

// 50 steps of one kind, each on every shape: what the history holds then, and how long the 50
// snapshots, 50 undos and 50 redos take (each with its re-render and palette rebuild).
enum class TStepKind { PaintAll, SmoothAll, DeleteRow };

void RunSteps(TBench& b, TStepKind kind, int i) {
    switch (kind) {
    case TStepKind::PaintAll:
        b.Doc.SelectAll();
        b.Doc.SetPaintColor(static_cast<TColor>(0x010203 * (i + 1)));
        b.Doc.PaintSelection();
        break;
    case TStepKind::SmoothAll:
        b.Doc.SelectAll();
        b.Doc.SmoothSelection();
        break;
    case TStepKind::DeleteRow:
        // One row of 100 shapes a step.
        b.Doc.SelectInBounds(0, i * Cell, Cols * Cell, i * Cell + Cell - 1, false, {});
        b.Doc.DeleteSelection();
        break;
    }
}

void BM_UndoHistory50Steps(benchmark::State& state) {
    const auto kind = static_cast<TStepKind>(state.range(0));
    std::size_t heap = 0;
    double doMs = 0, undoMs = 0, redoMs = 0;
    for (auto _ : state) {
        TBench b;
        auto t0 = std::chrono::steady_clock::now();
        for (int i = 0; i < 50; ++i)
            RunSteps(b, kind, i);
        auto t1 = std::chrono::steady_clock::now();
        heap = b.Doc.Undo().HeapBytes();
        while (b.Doc.UndoLast()) {
        }
        auto t2 = std::chrono::steady_clock::now();
        while (b.Doc.RedoLast()) {
        }
        auto t3 = std::chrono::steady_clock::now();
        using ms = std::chrono::duration<double, std::milli>;
        doMs = ms(t1 - t0).count();
        undoMs = ms(t2 - t1).count();
        redoMs = ms(t3 - t2).count();
    }
    state.counters["history_MB"] = static_cast<double>(heap) / (1024.0 * 1024.0);
    state.counters["steps_ms"] = doMs;
    state.counters["undo50_ms"] = undoMs;
    state.counters["redo50_ms"] = redoMs;
    state.counters["undo_each_ms"] = undoMs / 50;
}
BENCHMARK(BM_UndoHistory50Steps)
    ->ArgName("kind(0 paint,1 smooth,2 delete row)")
    ->Arg(0)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

// A click with the selection tool; it tells SelectionChanged, which repaints marks only.
void BM_ClickSelect7700(benchmark::State& state) {
    TBench b;
    int i = 0;
    for (auto _ : state) {
        const int c = i % Cols, r = (i / Cols) % Rows;
        b.View.ClickSelect(c * Cell + 8, r * Cell + 8, {});
        ++i;
    }
}
BENCHMARK(BM_ClickSelect7700)->Unit(benchmark::kMillisecond);

// A brushstroke: hit test, one-shape snapshot, re-render and palette rebuild.
void BM_Brushstroke7700(benchmark::State& state) {
    TBench b;
    int i = 0;
    for (auto _ : state) {
        b.Doc.SetPaintColor(static_cast<TColor>(0x0A0B0C + i));
        b.View.Brushstroke((i % Cols) * Cell + 8, ((i / Cols) % Rows) * Cell + 8);
        ++i;
    }
}
BENCHMARK(BM_Brushstroke7700)->Unit(benchmark::kMillisecond);

// "Select All" then the paint bucket.
void BM_SelectAllThenPaint7700(benchmark::State& state) {
    TBench b;
    int i = 0;
    for (auto _ : state) {
        b.Doc.SelectAll();
        b.Doc.SetPaintColor(static_cast<TColor>(0x0A0B0C + i++));
        b.Doc.PaintSelection();
    }
}
BENCHMARK(BM_SelectAllThenPaint7700)->Unit(benchmark::kMillisecond);

// Undo then redo of a paint of every shape (each with its re-render and palette rebuild).
void BM_UndoRedoPaintAll7700(benchmark::State& state) {
    TBench b;
    b.Doc.SelectAll();
    b.Doc.SetPaintColor(0x123456);
    b.Doc.PaintSelection();
    for (auto _ : state) {
        b.Doc.UndoLast();
        b.Doc.RedoLast();
    }
    state.counters["per_step_ms"] = benchmark::Counter(
        2, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_UndoRedoPaintAll7700)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace pigmentaria
