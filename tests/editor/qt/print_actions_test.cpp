// Printing from the main window on the painting document: the dialog's settings kept with the
// painting, printing to a PDF file behind the progress window, the preview, numbers placed once
// per showing, the palette printout, and the same pages as the command line prints.
#include "editor/qt/print_actions.h"

#include "app/qt/widget_test_util.h"
#include "cli/qt/print_command.h"
#include "image/image_test_util.h"
#include "image/qt/pg_image.h"
#include "platform/qt/progress_form.h"
#include "print/qt/new_template_dialog.h"
#include "print/qt/preview_sheet.h"
#include "print/qt/qt_test_util.h"
#include "test_util.h"
#include "tool_skip.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <functional>
#include <regex>

namespace pigmentaria {
namespace {

using test::WhenShown;

namespace fs = std::filesystem;

// Answers the printer dialogs in place of the user.
class TScriptedPrinterDialogs final : public IPrinterDialogs {
public:
    bool SetupPrinter(QPrinter& printer, QWidget*) override {
        ++Setups;
        if (Setup) Setup(printer);
        return true;
    }
    bool ConfirmPrint(QPrinter& printer, QWidget*) override {
        ++Confirms;
        if (Confirm) Confirm(printer);
        return ConfirmAnswer;
    }
    QString ChoosePdfFile(QWidget*, const QString& suggested) override {
        Suggested.push_back(suggested);
        if (Files.empty()) return {};
        const QString f = Files.front();
        Files.pop_front();
        return f;
    }
    std::function<void(QPrinter&)> Setup, Confirm;
    bool ConfirmAnswer = true;
    int Setups = 0, Confirms = 0;
    std::deque<QString> Files;
    std::vector<QString> Suggested;
};

class TEventCounter final : public IDocumentObserver {
public:
    void DocumentChanged(TDocumentEvent e) override { ++Count[static_cast<int>(e)]; }
    int operator[](TDocumentEvent e) const { return Count[static_cast<int>(e)]; }
    int Count[32] = {};
};

// The PDF's title is the job's, written as UTF-16.
bool PdfTitled(const fs::path& pdf, const std::string& title) {
    std::string utf16 = "/Title (\xFE\xFF";
    for (const char c : title) {
        utf16 += '\0';
        utf16 += c;
    }
    return test::ReadAll(pdf).find(utf16 + ")") != std::string::npos;
}

void SetEdit(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

class PrintActionsTest : public ::testing::Test {
protected:
    PrintActionsTest() : Doc(Messages), Runner(Progress) {
        Doc.ReplaceShapes(test::GridPainting(400, 300, 8, 6), 49);
        TPrintActions::TContext c;
        c.Document = &Doc;
        c.Messages = &Messages;
        c.Runner = &Runner;
        c.Title = [this] { return Title; };
        c.PaintingFile = [this] { return PaintingFile; };
        c.Help = [this](int context) { Helps.push_back(context); };
        c.Dialogs = &Dialogs;
        c.Status = [this](const QString& text) { Status = text; };
        c.SystemPrinters = false;
        Actions = std::make_unique<TPrintActions>(c);
        Doc.AddObserver(&Events);
    }
    ~PrintActionsTest() override { Doc.RemoveObserver(&Events); }

    TPrintForm& Form() { return Actions->PrintForm(); }
    // The dialog as "&Print..." shows it, but without its own loop: the test is the user.
    void Open() {
        Actions->PrepareDialog();
        Form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    }
    // Prints the dialog's pages to `pdf`.
    bool PrintTo(const fs::path& pdf) {
        Dialogs.Files.push_back(QString::fromStdString(pdf.string()));
        return Actions->PrintPages();
    }
    std::vector<fs::path> FilesIn(const fs::path& folder) {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(folder))
            files.push_back(e.path().filename());
        std::sort(files.begin(), files.end());
        return files;
    }

    test::TRecordingMessages Messages;
    TPaintingDocument Doc;
    TProgressForm Progress;
    TJobRunner Runner;
    TScriptedPrinterDialogs Dialogs;
    TEventCounter Events;
    QString Title = "Pigmentaria - grid.kvp";
    QString PaintingFile;
    QString Status;
    std::vector<int> Helps;
    std::unique_ptr<TPrintActions> Actions;
    test::TQtTempDir Dir{"print-actions"};
};

TEST_F(PrintActionsTest, WithoutAPrinterTheDialogOffersAPdfFileAndSaysSo) {
    Open();
    EXPECT_EQ(Form().PrinterName()->text(), PdfPrinterName);
    EXPECT_EQ(Form().PrinterNote()->text(), NoPrinterNote);
    EXPECT_TRUE(Actions->Printer().Printer().IsPdf());
    EXPECT_FALSE(Form().PrinterNote()->isHidden());
    // Help is the print topic.
    QTest::mouseClick(Form().HelpButton(), Qt::LeftButton);
    EXPECT_EQ(Helps, std::vector<int>{9705});
}

TEST_F(PrintActionsTest, TwoByTwoNumberedPagesGoToAPdfFileAndTheSettingsStayWithThePainting) {
    Doc.SetModified(false);
    Open();
    // Showing the dialog changes nothing the user did.
    EXPECT_FALSE(Doc.Modified());
    EXPECT_TRUE(Doc.PrintLayout().FrameWidth > 0);
    SetEdit(Form().PagesAcross(), "2");
    EXPECT_TRUE(Doc.Modified());
    SetEdit(Form().PagesDown(), "2");
    QTest::mouseClick(Form().PrintNumbers(), Qt::LeftButton);
    QTest::mouseClick(Form().PrintPageNumbers(), Qt::LeftButton);
    EXPECT_EQ(Doc.PrintLayout().PagesAcross, 2);
    EXPECT_EQ(Doc.PrintLayout().PagesDown, 2);

    const fs::path pdf = Dir / "grid.pdf";
    ASSERT_TRUE(PrintTo(pdf)) << (Messages.Errors.empty() ? "" : Messages.Errors[0]);
    EXPECT_TRUE(Messages.Errors.empty());
    EXPECT_EQ(test::PdfPages(pdf), 4);
    EXPECT_EQ(Status.toStdString(), "4 pages written to " + pdf.string());
    // The job is titled with the main window's caption.
    EXPECT_TRUE(PdfTitled(pdf, "Pigmentaria - grid.kvp"));
    EXPECT_EQ(FilesIn(Dir.Path), std::vector<fs::path>{"grid.pdf"});
    EXPECT_EQ(Form().result(), QDialog::Accepted);
    // The painting's name was offered for the file.
    EXPECT_EQ(Dialogs.Suggested.size(), 1u);
    // The numbers were placed on a copy and adopted by the document.
    EXPECT_FALSE(Doc.NumberLabels().empty());
    EXPECT_EQ(Events[TDocumentEvent::LabelsChanged], 1);
    EXPECT_EQ(Form().PrinterName()->text(), "PDF file: grid.pdf");

    // The next print offers the last file again.
    Open();
    const fs::path again = Dir / "again.pdf";
    ASSERT_TRUE(PrintTo(again));
    EXPECT_EQ(Dialogs.Suggested.back().toStdString(), pdf.string());
}

// A photo made into a template with the New Template dialog's defaults prints as the command line
// prints it: one numbered A4 page in black outlines, the same painting and the same numbers.
TEST_F(PrintActionsTest, ATemplateCreatedInItsDialogPrintsNumberedAsTheCommandLineMakesIt) {
    auto photo = std::make_shared<const TPixelGraphic>(test::PhotoLike(300, 200, 4));
    TSettingsBlock settings;
    TNewTemplateDialog dialog({settings, {}, {}, Messages, {}}, nullptr);
    QPushButton* create = nullptr;
    for (QPushButton* b : dialog.findChildren<QPushButton*>())
        if (b->accessibleName() == "Create") create = b;
    ASSERT_TRUE(create);
    WhenShown(&dialog, [&] {
        test::WaitFor([&] { return dialog.HasCurrentTemplate(); }, 30000);
        create->click();
    });
    std::optional<TTemplateResult> made = dialog.Execute(photo);
    ASSERT_TRUE(made);
    Doc.AdoptTemplate(std::move(*made));
    EXPECT_TRUE(Doc.Modified());

    TNullProgress quiet;
    const TTemplateResult cli = MakeTemplate(*photo, TTemplateRequest{}, quiet);
    ASSERT_EQ(Doc.Shapes().Count(), cli.Trace.Shapes.Count());
    for (auto a = Doc.Shapes().begin(), b = cli.Trace.Shapes.begin(); a != Doc.Shapes().end();
         ++a, ++b) {
        EXPECT_EQ(a->Color, b->Color);
        EXPECT_EQ(a->Points, b->Points);
    }

    Open();
    EXPECT_TRUE(Form().PrintNumbers()->isChecked());
    EXPECT_TRUE(Form().OutlinesOnly()->isChecked());
    EXPECT_TRUE(Form().OutlineBlack()->isChecked());
    const fs::path pdf = Dir / "template.pdf";
    ASSERT_TRUE(PrintTo(pdf)) << (Messages.Errors.empty() ? "" : Messages.Errors[0]);
    EXPECT_EQ(test::PdfPages(pdf), 1);
    // The numbers printed are the template's, placed for this print as the command line placed
    // them for its own; this printer measures their text at its own resolution.
    const std::vector<TNumberLabel>& printed = Doc.NumberLabels();
    ASSERT_EQ(printed.size(), cli.Labels.size());
    for (std::size_t i = 0; i < printed.size(); ++i) {
        EXPECT_EQ(printed[i].Text, cli.Labels[i].Text);
        EXPECT_NEAR(printed[i].Left + printed[i].Right, cli.Labels[i].Left + cli.Labels[i].Right,
                    2);
        EXPECT_NEAR(printed[i].Top + printed[i].Bottom, cli.Labels[i].Top + cli.Labels[i].Bottom,
                    2);
    }
}

// An edit left with a text that is not a number: an error box, and the layout as it was.
TEST_F(PrintActionsTest, AnEditThatIsNotANumberIsToldAndKeepsTheLayout) {
    Open();
    SetEdit(Form().PagesAcross(), "2");
    const TPrintLayout before = Form().State().Layout();
    Messages.Errors.clear();
    SetEdit(Form().OverLap(), "x");
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0], "'x' is not a valid number.");
    EXPECT_EQ(Form().OverLap()->text(), "x");
    EXPECT_TRUE(Form().State().Layout() == before);
    // Printing is refused with the same message until the edit is mended.
    EXPECT_FALSE(Actions->PrintPages());
    EXPECT_EQ(Messages.Errors.size(), 2u);
    SetEdit(Form().OverLap(), "1");
    EXPECT_EQ(Messages.Errors.size(), 2u);
}

TEST_F(PrintActionsTest, NumbersArePlacedOncePerShowingHoweverOftenPreviewedOrPrinted) {
    Open();
    SetEdit(Form().PagesAcross(), "2");
    QTest::mouseClick(Form().PrintNumbers(), Qt::LeftButton);
    const auto preview = [&] {
        TPreviewForm& p = Actions->PreviewForm();
        WhenShown(&p, [&p] {
            p.NextPage()->trigger();
            p.PreviousPage()->trigger();
            p.CloseAction()->trigger();
        });
        Actions->PreviewPages();
    };
    preview();
    EXPECT_EQ(Events[TDocumentEvent::LabelsChanged], 1);
    EXPECT_EQ(Actions->PreviewForm().SheetsDrawn(), 3);
    preview();
    ASSERT_TRUE(PrintTo(Dir / "a.pdf"));
    EXPECT_EQ(Events[TDocumentEvent::LabelsChanged], 1);
    // A new showing numbers anew, once.
    Open();
    ASSERT_TRUE(PrintTo(Dir / "b.pdf"));
    preview();
    EXPECT_EQ(Events[TDocumentEvent::LabelsChanged], 2);
    EXPECT_TRUE(Messages.Errors.empty());
}

TEST_F(PrintActionsTest, ThePreviewsPrintPrintsAndClosesTheDialog) {
    Open();
    TPreviewForm& p = Actions->PreviewForm();
    WhenShown(&p, [&p] { p.PrintAction()->trigger(); });
    Dialogs.Files.push_back(QString::fromStdString((Dir / "from-preview.pdf").string()));
    EXPECT_TRUE(Actions->PreviewPages());
    EXPECT_FALSE(p.isVisible());
    EXPECT_EQ(test::PdfPages(Dir / "from-preview.pdf"), 1);
    EXPECT_EQ(Form().result(), QDialog::Accepted);
}

TEST_F(PrintActionsTest, CancellingTheFileOrThePrintLeavesFilesAsTheyWere) {
    Open();
    // No file chosen: nothing printed, the dialog stays.
    EXPECT_FALSE(Actions->PrintPages());
    EXPECT_TRUE(FilesIn(Dir.Path).empty());

    // A bigger painting over many pages, cancelled as soon as the progress window shows.
    Doc.ReplaceShapes(test::GridPainting(2000, 2000, 90, 90), 8101);
    Open();
    SetEdit(Form().PagesAcross(), "5");
    SetEdit(Form().PagesDown(), "5");
    const fs::path pdf = Dir / "kept.pdf";
    {
        std::FILE* f = std::fopen(pdf.c_str(), "wb");
        std::fputs("the former file", f);
        std::fclose(f);
    }
    WhenShown(&Progress, [this] { Progress.CancelButton()->click(); });
    EXPECT_FALSE(PrintTo(pdf));
    EXPECT_TRUE(Messages.Errors.empty());
    EXPECT_EQ(test::ReadAll(pdf), "the former file");
    EXPECT_EQ(FilesIn(Dir.Path), std::vector<fs::path>{"kept.pdf"});
    EXPECT_NE(Form().result(), QDialog::Accepted);
}

TEST_F(PrintActionsTest, AFolderThatCannotBeWrittenIsToldAndLeavesNothing) {
    Open();
    EXPECT_FALSE(PrintTo(Dir / "missing" / "x.pdf"));
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_NE(Messages.Errors[0].find("x.pdf"), std::string::npos);
    EXPECT_TRUE(FilesIn(Dir.Path).empty());
}

TEST_F(PrintActionsTest, ChangeTakesThePrintersPaperAndPlacesTheFrameAfresh) {
    Open();
    Doc.SetModified(false);
    const TPlacementFrame before = Form().State().Frame();
    Dialogs.Setup = [](QPrinter& p) { p.setPageOrientation(QPageLayout::Landscape); };
    QTest::mouseClick(Form().ChangeButton(), Qt::LeftButton);
    EXPECT_EQ(Dialogs.Setups, 1);
    EXPECT_EQ(Form().OrientationLabel()->text(), "Landscape");
    EXPECT_EQ(Form().State().Layout().PaperWidthIn > Form().State().Layout().PaperHeightIn, true);
    EXPECT_NE(Form().State().Frame(), before);
    EXPECT_EQ(Form().State().Frame(), FirstPlacementFrame(Form().State().Layout(), 400, 300));
    EXPECT_TRUE(Doc.Modified());
    EXPECT_EQ(Doc.PrintLayout().Orientation, 1);
}

TEST_F(PrintActionsTest, AnOpenedPaintingBringsItsLayoutAndANewOneANewFrame) {
    TPrintLayoutBlock b;
    b.PagesAcross = 3;
    b.PagesDown = 2;
    b.LineWeight = 4;
    b.WhatToPrint = wpCurrentColor;
    b.FrameLeft = 30;
    b.FrameTop = 40;
    b.FrameWidth = 80;
    b.FrameHeight = 60;
    const fs::path file = Dir / "stored.kvp";
    WritePaintingFile(file, test::GridPainting(400, 300, 4, 3), "", b);
    ASSERT_TRUE(Doc.OpenPainting(file));
    EXPECT_EQ(Form().PagesAcross()->text(), "3");
    EXPECT_EQ(Form().PagesDown()->text(), "2");
    EXPECT_EQ(Form().LineWeight()->value(), 4);
    EXPECT_TRUE(Form().PrintCurrentColor()->isChecked());
    EXPECT_FALSE(Form().OutlinesOnly()->isEnabled());
    Open();
    EXPECT_EQ(Form().State().Frame(), (TPlacementFrame{30, 40, 80, 60, true}));
    EXPECT_FALSE(Doc.Modified());

    Doc.ReplaceShapes(test::GridPainting(300, 600, 3, 6), 19);
    EXPECT_FALSE(Form().State().Frame().Visible);
    Open();
    EXPECT_EQ(Form().State().Frame(), FirstPlacementFrame(Form().State().Layout(), 300, 600));
    // The choices stay the dialog's.
    EXPECT_EQ(Form().PagesAcross()->text(), "3");
}

TEST_F(PrintActionsTest, ThePalettePrintsThroughThePrintDialogToTheChosenPdf) {
    Dialogs.ConfirmAnswer = false;
    EXPECT_FALSE(Actions->PrintPaletteClick());
    EXPECT_EQ(Dialogs.Confirms, 1);
    Dialogs.ConfirmAnswer = true;
    PaintingFile = QString::fromStdString((Dir / "grid.kvp").string());
    const fs::path pdf = Dir / "palette.pdf";
    Dialogs.Files.push_back(QString::fromStdString(pdf.string()));
    ASSERT_TRUE(Actions->PrintPaletteClick());
    EXPECT_EQ(Dialogs.Suggested.back().toStdString(), (Dir / "grid-palette.pdf").string());
    // 48 colours (the first cell is as black as the frame). The sheet prints 6300 of 6600
    // printer pixels: the first swatch ends at 6300 div 11 + 315, 18 fit below it, and every
    // later sheet takes 19 (its first at 6300 div 11): 18 + 19 + 11 on three sheets.
    EXPECT_EQ(Doc.PaintingPalette().Count(), 48u);
    EXPECT_EQ(test::PdfPages(pdf), 3);
    EXPECT_TRUE(PdfTitled(pdf, "Pigmentaria Palette"));
}

TEST_F(PrintActionsTest, ThePaletteAfterATemplateIsOfferedAFileOfItsOwnAndLeavesTheTemplate) {
    PaintingFile = QString::fromStdString((Dir / "grid.kvp").string());
    Open();
    const fs::path pages = Dir / "grid.pdf";
    ASSERT_TRUE(PrintTo(pages));
    const std::string printed = test::ReadAll(pages);
    // What the print dialog offers is the palette's own file, not the template just written.
    std::string offered;
    Dialogs.Confirm = [&](QPrinter& p) { offered = p.outputFileName().toStdString(); };
    ASSERT_TRUE(Actions->PrintPaletteClick());
    EXPECT_EQ(offered, (Dir / "grid-palette.pdf").string());
    EXPECT_EQ(test::ReadAll(pages), printed);
    EXPECT_TRUE(PdfTitled(Dir / "grid-palette.pdf", "Pigmentaria Palette"));
    // Both are documents like any other the user writes, not private temporary files.
    for (const fs::path& f : {pages, Dir / "grid-palette.pdf"})
        EXPECT_NE(fs::status(f).permissions() & fs::perms::others_read, fs::perms::none) << f;
    // The pages are offered their own file again.
    Open();
    ASSERT_TRUE(PrintTo(Dir / "again.pdf"));
    EXPECT_EQ(Dialogs.Suggested.back().toStdString(), pages.string());
}

// The PDF without what makes two runs differ: the time it was made.
std::string WithoutDates(std::string pdf) {
    return std::regex_replace(pdf, std::regex("/CreationDate \\([^)]*\\)"), "");
}

bool Render(const fs::path& pdf, const fs::path& prefix) {
    const std::string cmd =
        "pdftoppm -r 40 " + pdf.string() + " " + prefix.string() + " >/dev/null 2>&1";
    return std::system(cmd.c_str()) == 0;
}

TEST_F(PrintActionsTest, TheSamePagesAsTheCommandLinePrintsForThePaintingAndItsSettings) {
    Open();
    SetEdit(Form().PagesAcross(), "2");
    SetEdit(Form().PagesDown(), "2");
    QTest::mouseClick(Form().PrintNumbers(), Qt::LeftButton);
    QTest::mouseClick(Form().PrintPageNumbers(), Qt::LeftButton);
    const QPoint c = Form().ImageSizer()->rect().center();
    QTest::mousePress(Form().ImageSizer(), Qt::LeftButton, {}, c);
    QTest::mouseMove(Form().ImageSizer(), c + QPoint(9, 6));
    QTest::mouseRelease(Form().ImageSizer(), Qt::LeftButton, {}, c + QPoint(9, 6));
    const fs::path painting = Dir / "same.kvp";
    ASSERT_TRUE(Doc.SavePainting(painting, ""));
    Title = "Pigmentaria - same.kvp";
    const fs::path gui = Dir / "gui.pdf";
    ASSERT_TRUE(PrintTo(gui));

    const fs::path cli = Dir / "cli.pdf";
    ASSERT_EQ(cli::RunPrintCommand({painting.string(), "-o", cli.string(), "--page-numbers"},
                                   cli::LoadPaintingForPrint),
              0);
    EXPECT_EQ(test::PdfPages(cli), 4);
    EXPECT_EQ(WithoutDates(test::ReadAll(gui)), WithoutDates(test::ReadAll(cli)));

    if (std::system("pdftoppm -v >/dev/null 2>&1") != 0)
        SKIP_WITHOUT_TOOL("pdftoppm (poppler-utils) is not installed: pages not rendered");
    ASSERT_TRUE(Render(gui, Dir / "gui"));
    ASSERT_TRUE(Render(cli, Dir / "cli"));
    for (int n = 1; n <= 4; ++n) {
        const std::string page = "-" + std::to_string(n) + ".ppm";
        const std::string g = test::ReadAll(Dir / ("gui" + page));
        EXPECT_FALSE(g.empty());
        EXPECT_EQ(g, test::ReadAll(Dir / ("cli" + page))) << "page " << n;
    }

    // The preview sheet is the command line's preview sheet.
    const fs::path sheets = Dir / "sheets";
    ASSERT_EQ(
        cli::RunPrintCommand({painting.string(), "--preview", sheets.string(), "--page-numbers"},
                             cli::LoadPaintingForPrint),
        0);
    TPreviewForm& p = Actions->PreviewForm();
    Open();
    WhenShown(&p, [&p] {
        p.NextPage()->trigger();
        p.DownOneRow()->trigger();
        p.CloseAction()->trigger();
    });
    Actions->PreviewPages();
    EXPECT_EQ(p.Pages().Page(), 4);
    const QImage expected((sheets / "page-4.png").c_str());
    EXPECT_EQ(p.Sheet().convertToFormat(QImage::Format_RGB888),
              expected.convertToFormat(QImage::Format_RGB888));
}

} // namespace
} // namespace pigmentaria
