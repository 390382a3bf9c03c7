// The long commands run on a worker thread as the desktop program runs them: the work on copies,
// progress shown on this (the GUI) thread, the result adopted here. Stopped half-way, each leaves
// the document (and the import dialog's state) exactly as it was.
#include "convert/import_session.h"
#include "document_fixture.h"
#include "image/image_test_util.h"
#include "image/pg_progress.h"
#include "model/render.h"
#include "platform/worker.h"
#include "print/print_fakes.h"
#include "print/print_job.h"
#include "print/print_scale.h"

#include <memory>

namespace pigmentaria::test {
namespace {

// Everything of the document a stopped command must leave alone, the shapes by identity and
// contents.
struct TDocumentState {
    struct TShapeState {
        const TPaintShape* Address;
        TColor Color, Acquired;
        std::int32_t Left, Top, Right, Bottom;
        std::vector<TShapePoint> Points;
        friend bool operator==(const TShapeState&, const TShapeState&) = default;
    };
    std::vector<TShapeState> Shapes;
    std::vector<const TPaintShape*> Selection;
    std::string UndoCaption;
    std::vector<TColor> Palette;
    std::vector<TNumberLabel> Labels;
    bool Modified;
    int TracerCount;
    TRaster24 Source;
    friend bool operator==(const TDocumentState&, const TDocumentState&) = default;
};

TDocumentState StateOf(const TPaintingDocument& doc) {
    TDocumentState s;
    for (const TPaintShape& p : doc.Shapes())
        s.Shapes.push_back(
            {&p, p.Color, p.AcquiredColor, p.Left, p.Top, p.Right, p.Bottom, p.Points});
    s.Selection.assign(doc.Selection().begin(), doc.Selection().end());
    s.UndoCaption = doc.UndoCaption();
    for (const TPaletteEntry& e : doc.PaintingPalette().Entries())
        s.Palette.push_back(e.Color);
    s.Labels = doc.NumberLabels();
    s.Modified = doc.Modified();
    s.TracerCount = doc.TracerShapeCount();
    s.Source = doc.SourcePicture();
    return s;
}

class WorkerJobsTest : public DocumentTest {
protected:
    WorkerJobsTest() : Session(Progress, Messages) {
        Session.SetPicture(PhotoLike(90, 70));
        // A painting with a history: an edit to undo, a selection, numbers, the modified flag.
        Select({A, C});
        Doc.SetPaintColor(Yellow);
        Doc.PaintSelection();
        Doc.PlaceNumbers(Progress);
        Before = StateOf(Doc);
    }

    TImportSession Session;
    TDocumentState Before;
    TWindowProgress Window;
};

TEST_F(WorkerJobsTest, ImportOnAWorkerGivesTheSamePaintingAsAtOnce) {
    TWorkerJob<TImportResult> job(
        [input = Session.ConversionInput()](IProgressSink& p) { return ReduceAndTrace(input, p); });
    PumpUntilFinished(job, Window);
    TImportResult result = job.TakeResult();
    EXPECT_EQ(Window.ForeignCalls, 0);
    EXPECT_EQ(Window.Runs,
              (std::vector<std::string>{"Performing Color Reduction...", "Tracing Picture..."}));
    EXPECT_EQ(Window.Finishes, 2);
    // Nothing changed until the result is adopted.
    EXPECT_EQ(StateOf(Doc), Before);
    EXPECT_TRUE(Session.Reduced().Empty());
    Session.AdoptReduction(std::move(result.Reduction));
    Doc.AdoptImport(std::move(result.Trace));

    TPaintingDocument direct(Messages);
    direct.AdoptImport(Session.ReduceAndTrace());
    EXPECT_EQ(RenderPainting(Doc.Shapes(), 1.0), RenderPainting(direct.Shapes(), 1.0));
    EXPECT_EQ(Doc.Shapes().Count(), direct.Shapes().Count());
    EXPECT_EQ(Doc.TracerShapeCount(), direct.TracerShapeCount());
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Import");
    EXPECT_FALSE(Doc.Modified());
    EXPECT_EQ(Session.Reduced().Width(), 90);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(StateOf(Doc).Shapes, Before.Shapes);
}

TEST_F(WorkerJobsTest, AnImportStoppedHalfWayChangesNothing) {
    // Once in the tracing and once in the colour reduction.
    Session.ReduceColors();
    const TRaster24 lastReduction = Session.Reduced();
    Session.SetZoomFactor(0.75);
    for (const std::string stopIn : {"Tracing Picture...", "Performing Color Reduction..."}) {
        SCOPED_TRACE(stopIn);
        TWorkerJob<TImportResult> job(
            [input = Session.ConversionInput(), stopIn](IProgressSink& p) {
                THalfwayWait wait(p, stopIn);
                return ReduceAndTrace(input, wait);
            });
        TWindowProgress window;
        window.StopIn = stopIn;
        PumpUntilFinished(job, window);
        EXPECT_THROW(job.TakeResult(), EAborted);
        EXPECT_EQ(window.ForeignCalls, 0);
        EXPECT_EQ(window.Runs.back(), stopIn);
        EXPECT_FALSE(window.Started); // the stopped run was finished too
        EXPECT_LT(window.Last, window.Max);
        EXPECT_EQ(StateOf(Doc), Before);
        EXPECT_EQ(Session.Reduced(), lastReduction);
    }
    // The same stop in the synchronous form leaves the last reduction.
    Progress.AbortAt = 3;
    EXPECT_THROW(Session.ReduceAndTrace(), EAborted);
    EXPECT_EQ(Session.Reduced(), lastReduction);
}

TEST_F(WorkerJobsTest, NumbersOnAWorkerAndStoppedHalfWay) {
    // Stopped: the labels placed before stay.
    {
        TWorkerJob<TNumberingResult> job([input = Doc.NumberingInput()](IProgressSink& p) {
            THalfwayWait wait(p, "Placing Numbers...");
            return PlaceNumbers(input, wait);
        });
        Window.StopIn = "Placing Numbers...";
        PumpUntilFinished(job, Window);
        EXPECT_THROW(job.TakeResult(), EAborted);
        EXPECT_EQ(Window.ForeignCalls, 0);
        EXPECT_EQ(Window.Finishes, 1);
        EXPECT_EQ(StateOf(Doc), Before);
    }
    // Run through on a copy while the document changes nothing: the same labels as at once.
    Doc.ReacquireAllColors();
    TWorkerJob<TNumberingResult> job(
        [input = Doc.NumberingInput()](IProgressSink& p) { return PlaceNumbers(input, p); });
    TWindowProgress window;
    PumpUntilFinished(job, window);
    TNumberingResult result = job.TakeResult();
    EXPECT_EQ(window.Runs, std::vector<std::string>{"Placing Numbers..."});
    EXPECT_EQ(window.ForeignCalls, 0);
    const TNamedPalette palette = Doc.PaintingPalette();
    TRecordingMessages m;
    TRecordingProgress p;
    EXPECT_EQ(result.Labels, PlaceNumbers(Doc.Shapes(), palette, p, m));
    EXPECT_NE(result.Labels, Doc.NumberLabels());
    ASSERT_TRUE(Doc.AdoptLabels(std::move(result)));
    EXPECT_EQ(Doc.NumberLabels(), PlaceNumbers(Doc.Shapes(), palette, p, m));
}

TEST_F(WorkerJobsTest, ResultsForAPaintingThatChangedSinceAreRefused) {
    TNumberingInput numbering = Doc.NumberingInput();
    std::optional<TRetraceInput> retrace = View.RetraceInput();
    ASSERT_TRUE(retrace);
    TNullProgress quiet;
    TNumberingResult labels = PlaceNumbers(numbering, quiet);
    TRetraceResult retraced = Retrace(std::move(*retrace), quiet);
    Doc.DeleteSelection();
    const TDocumentState changed = StateOf(Doc);
    EXPECT_FALSE(Doc.AdoptLabels(std::move(labels)));
    EXPECT_FALSE(Doc.AdoptRetrace(std::move(retraced)));
    EXPECT_EQ(StateOf(Doc), changed);
}

TEST_F(WorkerJobsTest, RetraceOnAWorkerAndStoppedHalfWay) {
    View.SetZoom(0.5);
    {
        std::optional<TRetraceInput> input = View.RetraceInput();
        ASSERT_TRUE(input);
        EXPECT_EQ(input->Rendered, RenderPainting(Doc.Shapes(), 1.0));
        TWorkerJob<TRetraceResult> job([input = std::move(*input)](IProgressSink& p) mutable {
            THalfwayWait wait(p, "Tracing Picture...");
            return Retrace(std::move(input), wait);
        });
        Window.StopIn = "Tracing Picture...";
        PumpUntilFinished(job, Window);
        EXPECT_THROW(job.TakeResult(), EAborted);
        EXPECT_EQ(Window.ForeignCalls, 0);
        EXPECT_EQ(StateOf(Doc), Before);
        // The view goes on showing the painting as it did.
        EXPECT_EQ(View.Zoom(), 0.5);
        EXPECT_EQ(View.Rendered(), RenderPainting(Doc.Shapes(), 0.5));
    }
    TWorkerJob<TRetraceResult> job([input = *View.RetraceInput()](IProgressSink& p) mutable {
        return Retrace(std::move(input), p);
    });
    TWindowProgress window;
    PumpUntilFinished(job, window);
    const TRaster24 atZoomOne = RenderPainting(Doc.Shapes(), 1.0);
    ASSERT_TRUE(Doc.AdoptRetrace(job.TakeResult()));
    EXPECT_EQ(Doc.SourcePicture(), atZoomOne);
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Retrace Painting");
    EXPECT_EQ(View.Zoom(), 1.0);
    TNullProgress quiet;
    const TTraceResult direct = RetraceRendering(atZoomOne, true, quiet);
    EXPECT_EQ(Doc.TracerShapeCount(), direct.ShapeCount);
    EXPECT_EQ(RenderPainting(Doc.Shapes(), 1.0), RenderPainting(direct.Shapes, 1.0));
    // Not offered in the outlines-only view.
    View.SetOutlinesOnly(true);
    EXPECT_FALSE(View.RetraceInput());
}

TEST_F(WorkerJobsTest, SimplifyOnAWorkerAndStoppedHalfWay) {
    // The imported photo on one A4 page: its 90 pixels across some 160 mm, a 12 mm minimum
    // about 7 pixels.
    Doc.AdoptImport(Session.ReduceAndTrace());
    Doc.PlaceNumbers(Progress);
    Before = StateOf(Doc);
    TSimplifyRequest request;
    request.MinMm = 12;
    const std::optional<TSimplifyInput> first = Doc.SimplifyInput(request);
    ASSERT_TRUE(first);
    const TBlockPrint print =
        PrintOfBlock(Doc.PrintLayout(), PdfSheetMetrics(PaperOfBlock(Doc.PrintLayout())), 90, 70);
    EXPECT_DOUBLE_EQ(first->Limits.MinDiameter,
                     MinimumDiameterPixels(print.Layout, print.Settings.Frame, 90, 70, 12));
    EXPECT_GT(first->Limits.MinDiameter, 5);
    EXPECT_TRUE(first->Limits.CutNecks);
    EXPECT_EQ(first->Rendered, RenderPainting(Doc.Shapes(), 1.0));
    EXPECT_EQ(first->Original, first->Rendered) << "no source picture of the painting's size";
    for (const std::string stopIn : {"Merging Small Regions...", "Tracing Picture..."}) {
        SCOPED_TRACE(stopIn);
        TWorkerJob<TSimplifyResult> job(
            [input = *Doc.SimplifyInput(request), stopIn](IProgressSink& p) mutable {
                THalfwayWait wait(p, stopIn);
                return Simplify(std::move(input), wait);
            });
        TWindowProgress window;
        window.StopIn = stopIn;
        PumpUntilFinished(job, window);
        EXPECT_THROW(job.TakeResult(), EAborted);
        EXPECT_EQ(window.ForeignCalls, 0);
        EXPECT_EQ(window.Runs.back(), stopIn);
        EXPECT_FALSE(window.Started);
        EXPECT_EQ(StateOf(Doc), Before);
    }
    // Run through: what the synchronous form gives, undone by "&Undo Simplify".
    TWorkerJob<TSimplifyResult> job(
        [input = *Doc.SimplifyInput(request)](IProgressSink& p) mutable {
            return Simplify(std::move(input), p);
        });
    TWindowProgress window;
    PumpUntilFinished(job, window);
    EXPECT_EQ(window.ForeignCalls, 0);
    TSimplifyResult result = job.TakeResult();
    EXPECT_GT(result.Simplified.Cleanup.Merges, 0u);
    const TRaster24 before = RenderPainting(Doc.Shapes(), 1.0);
    ASSERT_TRUE(Doc.AdoptSimplify(std::move(result)));
    EXPECT_EQ(Doc.UndoCaption(), "&Undo Simplify");
    EXPECT_TRUE(Doc.Modified());
    EXPECT_TRUE(Doc.NumberLabels().empty());
    EXPECT_LT(Doc.Shapes().Count(), Before.Shapes.size());
    EXPECT_EQ(Doc.SourcePicture(), before);
    TPaintingDocument direct(Messages);
    direct.AdoptImport(Session.ReduceAndTrace());
    ASSERT_TRUE(direct.SimplifyForPrinting(request, Progress));
    EXPECT_EQ(RenderPainting(Doc.Shapes(), 1.0), RenderPainting(direct.Shapes(), 1.0));
    // The source picture now has the painting's size: a second simplification takes its colours
    // from it.
    EXPECT_EQ(Doc.SimplifyInput(request)->Original, before);
    ASSERT_TRUE(Doc.UndoLast());
    EXPECT_EQ(RenderPainting(Doc.Shapes(), 1.0), before);
    EXPECT_EQ(StateOf(Doc).Shapes, Before.Shapes);

    // A painting that changed since is refused; nothing without a placement on paper.
    std::optional<TSimplifyInput> stale = Doc.SimplifyInput(request);
    TNullProgress quiet;
    TSimplifyResult late = Simplify(std::move(*stale), quiet);
    Doc.ReacquireAllColors();
    const TDocumentState changed = StateOf(Doc);
    EXPECT_FALSE(Doc.AdoptSimplify(std::move(late)));
    EXPECT_EQ(StateOf(Doc), changed);
    TPrintLayoutBlock noPages = Doc.PrintLayout();
    noPages.PagesAcross = 0;
    Doc.SetPrintLayout(noPages);
    EXPECT_FALSE(Doc.SimplifyInput(request));
    EXPECT_FALSE(Doc.SimplifyForPrinting(request, quiet));
    TPaintingDocument empty(Messages);
    EXPECT_FALSE(empty.SimplifyInput(request));
}

TEST_F(WorkerJobsTest, SimplifyMeasuresTheMinimumOnTheLayoutsPaperAndPrinter) {
    Doc.AdoptImport(Session.ReduceAndTrace());
    TSimplifyRequest request;
    request.MinMm = 10;
    TPrintLayoutBlock layout = Doc.PrintLayout();
    layout.PaperSize = PaperA4;
    Doc.SetPrintLayout(layout);
    const double a4 = Doc.SimplifyInput(request)->Limits.MinDiameter;
    // Two pages across print the painting larger: the minimum takes fewer pixels.
    layout.PagesAcross = 2;
    Doc.SetPrintLayout(layout);
    const double twoPages = Doc.SimplifyInput(request)->Limits.MinDiameter;
    EXPECT_LT(twoPages, a4 * 0.7);
    // A stored frame half the first placement's size doubles the minimum in pixels.
    layout.PagesAcross = 1;
    const TBlockPrint first = PrintOfBlock(layout, PdfSheetMetrics(PaperOfBlock(layout)), 90, 70);
    layout.FrameLeft = first.Settings.Frame.Left;
    layout.FrameTop = first.Settings.Frame.Top;
    layout.FrameWidth = first.Settings.Frame.Width / 2;
    layout.FrameHeight = first.Settings.Frame.Height / 2;
    Doc.SetPrintLayout(layout);
    EXPECT_NEAR(Doc.SimplifyInput(request)->Limits.MinDiameter, 2 * a4, 0.1 * a4);
    // The printer the dialog prints on decides over the layout's paper.
    request.Printer = PdfSheetMetrics({poPortrait, PaperLegal, 0, 0}, PaperA4, 300);
    const double legal = Doc.SimplifyInput(request)->Limits.MinDiameter;
    EXPECT_NE(legal, Doc.SimplifyInput(TSimplifyRequest{10, {}, std::nullopt})->Limits.MinDiameter);
}

TEST_F(WorkerJobsTest, ABigPictureLoadsOnAWorkerAndCanBeStopped) {
    TTempDir dir;
    const std::string file = (dir / "big.bmp").string();
    TPixelGraphic big = PhotoLike(400, 300, 9);
    big.SaveToFile(file);
    const TRaster24 before = Session.Picture().ToRaster24();
    {
        TWorkerJob<TLoadedPicture> job([file](IProgressSink& p) {
            THalfwayWait wait(p, LoadingPictureMessage);
            return LoadPictureFile(file, wait);
        });
        Window.StopIn = LoadingPictureMessage;
        PumpUntilFinished(job, Window);
        EXPECT_THROW(job.TakeResult(), EAborted);
        EXPECT_EQ(Window.ForeignCalls, 0);
        EXPECT_EQ(Window.Runs.back(), LoadingPictureMessage);
        EXPECT_EQ(Session.Picture().ToRaster24(), before);
    }
    TWorkerJob<TLoadedPicture> job([file](IProgressSink& p) { return LoadPictureFile(file, p); });
    TWindowProgress window;
    PumpUntilFinished(job, window);
    Session.AdoptPicture(file, job.TakeResult());
    EXPECT_EQ(Session.Picture().ToRaster24(), big.ToRaster24());
    EXPECT_EQ(Session.FileName(), file);
    EXPECT_EQ(Session.ZoomFactor(), 1.0);
    EXPECT_GE(window.Positions, 1);
}

TEST_F(WorkerJobsTest, PrintingOnAWorkerNumbersItsCopyAndCanBeStopped) {
    TPrintSettings settings;
    settings.PagesAcross = 2;
    settings.PagesDown = 2;
    settings.PrintNumbers = true;
    const TPrinterMetrics metrics = LetterAt600();
    TPrintLayout layout = ComputePrintLayout(metrics, poPortrait, settings);
    settings.Frame = FirstPlacementFrame(layout, 20, 10);
    Doc.ReacquireAllColors(); // the labels placed before no longer fit
    const TDocumentState edited = StateOf(Doc);

    struct TPrinted {
        std::unique_ptr<TPrintSnapshot> Snapshot;
        int Pages, Ended, Aborted;
    };
    const auto printJob = [&](bool stop) {
        auto snapshot = std::make_unique<TPrintSnapshot>(Doc.PrintSnapshot());
        return [snapshot = std::move(snapshot), settings, layout, metrics,
                stop](IProgressSink& p) mutable {
            THalfwayWait wait(p, stop ? PrintingMessage : "");
            TRecordingPrinter printer(metrics);
            const TPrintSource source = snapshot->Source(wait);
            TPagePrinter pages(settings, layout, source);
            PrintAllPages(printer, settings, layout, pages, "Pigmentaria - (Untitled)", wait);
            return TPrinted{std::move(snapshot), printer.Canvas().Page, printer.Ended,
                            printer.Aborted};
        };
    };
    {
        TWorkerJob<TPrinted> job(printJob(true));
        Window.StopIn = PrintingMessage;
        PumpUntilFinished(job, Window);
        EXPECT_THROW(job.TakeResult(), EAborted);
        EXPECT_EQ(Window.ForeignCalls, 0);
        EXPECT_EQ(Window.Runs, (std::vector<std::string>{"Placing Numbers...", "Printing..."}));
        EXPECT_EQ(StateOf(Doc), edited);
    }
    TWorkerJob<TPrinted> job(printJob(false));
    TWindowProgress window;
    PumpUntilFinished(job, window);
    TPrinted printed = job.TakeResult();
    EXPECT_EQ(printed.Pages, 4);
    EXPECT_EQ(printed.Ended, 1);
    EXPECT_EQ(printed.Aborted, 0);
    EXPECT_EQ(window.Last, 4);
    ASSERT_TRUE(printed.Snapshot->NumbersPlaced);
    // The numbers placed on the copy become the document's.
    EXPECT_EQ(StateOf(Doc), edited);
    ASSERT_TRUE(Doc.AdoptLabels(printed.Snapshot->Numbering()));
    TRecordingMessages m;
    TRecordingProgress p;
    EXPECT_EQ(Doc.NumberLabels(), PlaceNumbers(Doc.Shapes(), Doc.PaintingPalette(), p, m));
}

TEST_F(WorkerJobsTest, APrintSnapshotSharesNothingWithThePainting) {
    TPrintSnapshot snapshot = Doc.PrintSnapshot();
    ASSERT_EQ(snapshot.Shapes.Count(), Doc.Shapes().Count());
    EXPECT_NE(snapshot.Shapes.First(), Doc.Shapes().First());
    ASSERT_EQ(snapshot.Selection.Size(), 2u);
    // The copies of A and C, in selection order.
    EXPECT_EQ(snapshot.Selection.Shapes()[0], snapshot.Shapes.First()->Next);
    EXPECT_EQ(snapshot.Selection.Shapes()[1], snapshot.Shapes.First()->Next->Next->Next);
    EXPECT_EQ(snapshot.Labels, Doc.NumberLabels());
    EXPECT_EQ(snapshot.CurrentColor, Blue); // the last shape clicked
    Doc.DeleteSelection();
    EXPECT_EQ(snapshot.Shapes.Count(), 5u);
    EXPECT_EQ(snapshot.Selection.Shapes()[0]->Color, Yellow);
}

} // namespace
} // namespace pigmentaria::test
