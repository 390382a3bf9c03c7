// A PDF job takes its file's name only when it ends well: a cancelled or failed job, or one never
// ended, leaves whatever was there before and no part file beside it.
#include "print/qt/qt_printer.h"

#include "app/qt/widget_test_util.h"
#include "palette/palette.h"
#include "print/print_run.h"

#include "qt_test_util.h"

#include <QPrinter>

#include <gtest/gtest.h>

#include <cstdio>
#include <stdexcept>

namespace pigmentaria {
namespace {

using test::TQtTempDir;
namespace fs = std::filesystem;

const TPaperChoice Letter{poPortrait, PaperLetter, 0, 0};

void Write(const fs::path& file, const char* text) {
    std::FILE* f = std::fopen(file.c_str(), "wb");
    std::fputs(text, f);
    std::fclose(f);
}

std::vector<std::string> Files(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void DrawSomething(TQtPrinter& printer) {
    TPageCanvas& c = printer.Canvas();
    c.SetBrush({clBlack, TBrushStyle::Solid});
    c.FillRect(100, 100, 400, 400);
    c.TextOut(500, 500, "Page: 1");
}

TEST(QtPrinterJob, AJobThatEndsReplacesTheFileAndLeavesNoPartBehind) {
    TQtTempDir dir("job-ends");
    const fs::path pdf = dir / "t.pdf";
    Write(pdf, "old");
    auto printer = TQtPrinter::Pdf(pdf.string(), Letter);
    printer->BeginDoc("Pigmentaria - t.kvp");
    // While the job runs the file is the former one, and the printer still names the target.
    EXPECT_EQ(test::ReadAll(pdf), "old");
    EXPECT_EQ(printer->PdfFile(), pdf.string());
    EXPECT_EQ(Files(dir.Path).size(), 2u);
    DrawSomething(*printer);
    printer->NewPage();
    DrawSomething(*printer);
    printer->EndDoc();
    EXPECT_EQ(Files(dir.Path), std::vector<std::string>{"t.pdf"});
    EXPECT_EQ(test::PdfPages(pdf), 2);
    EXPECT_EQ(printer->PdfFile(), pdf.string());
    // A second job on the same printer writes the same file again.
    printer->BeginDoc("again");
    DrawSomething(*printer);
    printer->EndDoc();
    EXPECT_EQ(test::PdfPages(pdf), 1);
    EXPECT_EQ(Files(dir.Path), std::vector<std::string>{"t.pdf"});
}

TEST(QtPrinterJob, AnAbandonedJobLeavesTheFormerFileAsItWas) {
    TQtTempDir dir("job-aborted");
    const fs::path pdf = dir / "t.pdf";
    Write(pdf, "old");
    {
        auto printer = TQtPrinter::Pdf(pdf.string(), Letter);
        printer->BeginDoc("x");
        DrawSomething(*printer);
        printer->AbortDoc();
        EXPECT_FALSE(printer->Printing());
        EXPECT_EQ(test::ReadAll(pdf), "old");
        EXPECT_EQ(Files(dir.Path), std::vector<std::string>{"t.pdf"});
        // Ending after giving up does nothing.
        printer->EndDoc();
        EXPECT_EQ(test::ReadAll(pdf), "old");
        // A job never ended is given up with its printer.
        printer->BeginDoc("y");
        DrawSomething(*printer);
    }
    EXPECT_EQ(test::ReadAll(pdf), "old");
    EXPECT_EQ(Files(dir.Path), std::vector<std::string>{"t.pdf"});
}

TEST(QtPrinterJob, AFolderThatCannotBeWrittenFailsAtTheStartAndLeavesNothing) {
    TQtTempDir dir("job-no-folder");
    auto printer = TQtPrinter::Pdf((dir / "missing" / "t.pdf").string(), Letter);
    EXPECT_THROW(printer->BeginDoc("x"), std::runtime_error);
    EXPECT_FALSE(printer->Printing());
    EXPECT_TRUE(Files(dir.Path).empty());
    // Without a name there is nothing to write to.
    auto unnamed = TQtPrinter::Pdf("", Letter);
    EXPECT_TRUE(unnamed->IsPdf());
    EXPECT_THROW(unnamed->BeginDoc("x"), std::runtime_error);
}

TEST(QtPrinterJob, NamingTheFileKeepsThePaperAndTheProgramsResolutionAndMargins) {
    auto printer = TQtPrinter::Pdf("", {poLandscape, PaperA4, 0, 0});
    const TPrinterMetrics before = printer->Metrics();
    printer->SetPdfFile("/tmp/somewhere.pdf");
    EXPECT_TRUE(printer->IsPdf());
    EXPECT_EQ(printer->PdfFile(), "/tmp/somewhere.pdf");
    EXPECT_EQ(printer->Paper().PaperSize, PaperA4);
    EXPECT_EQ(printer->Paper().Orientation, poLandscape);
    EXPECT_EQ(printer->Metrics(), before);
    // A printer dialog may leave another resolution and margins behind; Adopt puts ours back.
    printer->QtPrinter().setResolution(1200);
    printer->QtPrinter().setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    printer->Adopt();
    EXPECT_EQ(printer->Metrics(), before);
    EXPECT_EQ(before.DpiX, DefaultPrinterDpi);
    EXPECT_EQ(before.PhysicalOffsetX, static_cast<int>(PdfMarginIn * DefaultPrinterDpi));
}

} // namespace
} // namespace pigmentaria

namespace pigmentaria {
namespace {

// A PDF printer whose `failing`-th sheet cannot be started, as when the disk fills up mid-job.
class TFailingSheetPrinter final : public IPrinter {
public:
    TFailingSheetPrinter(TQtPrinter& printer, int failing) : P_(printer), Failing_(failing) {}
    std::string Name() const override { return P_.Name(); }
    TPrinterMetrics Metrics() const override { return P_.Metrics(); }
    TPaperChoice Paper() const override { return P_.Paper(); }
    void ApplyPaper(const TPaperChoice& paper) override { P_.ApplyPaper(paper); }
    void BeginDoc(const std::string& title) override {
        Sheet_ = 1;
        P_.BeginDoc(title);
    }
    void NewPage() override {
        if (++Sheet_ == Failing_) throw std::runtime_error("no space left on the device");
        P_.NewPage();
    }
    void EndDoc() override { P_.EndDoc(); }
    void AbortDoc() override { P_.AbortDoc(); }
    TPageCanvas& Canvas() override { return P_.Canvas(); }

private:
    TQtPrinter& P_;
    int Failing_, Sheet_ = 0;
};

TEST(QtPrinterJob, APageThatFailsMidwayEndsTheJobAndLeavesNoHalfWrittenFile) {
    TQtTempDir dir("job-page-fails");
    const fs::path pdf = dir / "t.pdf";
    auto printer = TQtPrinter::Pdf(pdf.string(), Letter);
    const auto input = [&] {
        TPrintRunInput in;
        in.Painting = std::make_unique<TPrintSnapshot>();
        in.Painting->Shapes = test::GridPainting(400, 300, 8, 6);
        RebuildPaintingPalette(in.Painting->Palette, in.Painting->Shapes);
        in.Settings.PagesAcross = 2;
        in.Settings.PagesDown = 2;
        in.Layout = ComputePrintLayout(printer->Metrics(), poPortrait, in.Settings);
        in.Settings.Frame = FirstPlacementFrame(in.Layout, 400, 300);
        in.Title = "Pigmentaria - t.kvp";
        return in;
    };
    TNullProgress progress;
    // Nothing was there: nothing is left, not even a part file.
    TFailingSheetPrinter failing(*printer, 3);
    EXPECT_THROW(PrintRun(input(), failing, progress), std::runtime_error);
    EXPECT_FALSE(printer->Printing());
    EXPECT_TRUE(Files(dir.Path).empty());
    // A complete print, then one that fails: the complete one stays.
    PrintRun(input(), *printer, progress);
    const std::string complete = test::ReadAll(pdf);
    EXPECT_EQ(test::PdfPages(pdf), 4);
    EXPECT_THROW(PrintRun(input(), failing, progress), std::runtime_error);
    EXPECT_EQ(test::ReadAll(pdf), complete);
    EXPECT_EQ(Files(dir.Path), std::vector<std::string>{"t.pdf"});
}

} // namespace
} // namespace pigmentaria
