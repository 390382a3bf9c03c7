// Printing from the desktop program on a large painting (about 7,700 shapes traced from a sample
// photo): showing the print dialog, drawing a page of the preview, and a numbered 2 × 2 template
// to a PDF file behind the progress window.
#include "../../bench_paintings.h"
#include "convert/import_session.h"
#include "editor/qt/print_actions.h"
#include "image/qt/pg_image.h"
#include "model/painting_file.h"

#include "../../../tests/app/qt/widget_test_util.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPrinter>

#include <benchmark/benchmark.h>

#include <filesystem>

namespace pigmentaria {
namespace {

namespace fs = std::filesystem;

// The PDF file is always the one named here; the print dialog is confirmed.
class TFixedPdfDialogs final : public IPrinterDialogs {
public:
    bool SetupPrinter(QPrinter&, QWidget*) override { return true; }
    bool ConfirmPrint(QPrinter&, QWidget*) override { return true; }
    QString ChoosePdfFile(QWidget*, const QString&) override { return File; }
    QString File;
};

struct TPrinting {
    TPrinting() {
        core.Context().Document.ReplaceShapes(bench::LargeBenchShapes().Clone(), 0);
        TPrintActions::TContext c;
        c.Document = &core.Context().Document;
        c.Messages = &core.Dialogs;
        c.Runner = &core.Jobs;
        c.Title = [] { return QString("Pigmentaria - large.kvp"); };
        c.Dialogs = &Dialogs;
        c.SystemPrinters = false;
        Actions = std::make_unique<TPrintActions>(c);
        Dialogs.File = QString::fromStdString(
            (fs::temp_directory_path() / "pigmentaria-bench-gui-2x2.pdf").string());
    }
    int Shapes() {
        int n = 0;
        for (const TPaintShape& s : core.Context().Document.Shapes())
            (void)s, ++n;
        return n;
    }
    // As typed into the page edits.
    void SetPages(int across, int down) {
        for (auto [edit, n] : {std::pair{Actions->PrintForm().PagesAcross(), across},
                               std::pair{Actions->PrintForm().PagesDown(), down}}) {
            edit->setText(QString::number(n));
            emit edit->textEdited(edit->text());
            emit edit->editingFinished();
        }
    }
    test::TTestCore core;
    TFixedPdfDialogs Dialogs;
    std::unique_ptr<TPrintActions> Actions;
};

void Settle() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// "&Print...": the dialog readied (layout, sample, frame) and on screen.
void BM_OpenPrintDialog(benchmark::State& state) {
    TPrinting p;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        p.Actions->PrepareDialog();
        p.Actions->PrintForm().show();
        Settle();
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        p.Actions->PrintForm().hide();
        Settle();
    }
    state.counters["shapes"] = p.Shapes();
}
BENCHMARK(BM_OpenPrintDialog)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// "Next Page" in the preview of a 2 × 2 grid: the sheet drawn at screen resolution and shown.
void BM_PreviewPage(benchmark::State& state) {
    TPrinting p;
    p.Actions->PrepareDialog();
    p.SetPages(2, 2);
    TPreviewForm& preview = p.Actions->PreviewForm();
    double ms = 0;
    int pages = 0;
    // The preview is modal: the steps run inside its loop.
    QMetaObject::invokeMethod(
        &preview,
        [&] {
            for (auto _ : state) {
                QElapsedTimer t;
                t.start();
                if (preview.Pages().Page() == 4)
                    preview.PreviousPage()->trigger();
                else
                    preview.NextPage()->trigger();
                test::WaitFor([&] { return preview.Viewer()->DisplayReady(); }, 5000);
                state.SetIterationTime(t.nsecsElapsed() / 1e9);
                ms += t.nsecsElapsed() / 1e6;
                ++pages;
            }
            preview.CloseAction()->trigger();
        },
        Qt::QueuedConnection);
    p.Actions->PreviewPages();
    state.counters["sheets"] = preview.SheetsDrawn();
    state.counters["last_page"] = preview.Pages().Page();
    state.counters["sheet_px"] = preview.Sheet().width() * preview.Sheet().height();
    state.counters["shapes"] = p.Shapes();
}
BENCHMARK(BM_PreviewPage)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(12);

// "Print" on a numbered 2 × 2 grid to a PDF file (numbers placed once, on the first run).
void BM_PrintTemplatePdf(benchmark::State& state) {
    TPrinting p;
    p.Actions->PrepareDialog();
    p.SetPages(2, 2);
    p.Actions->PrintForm().PrintNumbers()->click();
    double first_ms = -1, later_ms = -1;
    for (auto _ : state) {
        QElapsedTimer t;
        t.start();
        if (!p.Actions->PrintPages()) state.SkipWithError("not printed");
        state.SetIterationTime(t.nsecsElapsed() / 1e9);
        // The first print of a showing places the numbers; the later ones print only.
        (first_ms < 0 ? first_ms : later_ms) = t.nsecsElapsed() / 1e6;
    }
    state.counters["first_with_numbers_ms"] = first_ms;
    state.counters["last_pages_only_ms"] = later_ms;
    state.counters["shapes"] = p.Shapes();
    state.counters["labels"] = static_cast<double>(p.core.Context().Document.NumberLabels().size());
    state.counters["pdf_bytes"] = static_cast<double>(fs::file_size(p.Dialogs.File.toStdString()));
}
BENCHMARK(BM_PrintTemplatePdf)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace pigmentaria
