#include "print/qt/preview_sheet.h"
#include "print/qt/print_command.h"
#include "print/qt/qt_app.h"
#include "print/qt/qt_page_canvas.h"
#include "print/qt/qt_printer.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace pigmentaria {
namespace {

namespace fs = std::filesystem;

const TColor Blue = MakeColor(0, 0, 255);
const TColor Red = MakeColor(255, 0, 0);

// A fresh folder for one test's files, removed with everything in it afterwards.
struct TTempDir {
    explicit TTempDir(const std::string& name)
        : Path(fs::temp_directory_path() /
               ("pigmentaria-qt-" + std::to_string(::getpid()) + "-" + name)) {
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TTempDir() { fs::remove_all(Path); }
    fs::path operator/(const std::string& name) const { return Path / name; }
    fs::path Path;
};

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Pages of a PDF file: its page objects.
int PdfPages(const fs::path& p) {
    const std::string pdf = ReadAll(p);
    int n = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1))
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++n;
    return n;
}

// A painting of 400 × 300 with a blue square and a red band, numbered by a placement that counts
// its runs.
std::unique_ptr<TPaintingForPrint> TestPainting(int* numberings = nullptr) {
    auto p = std::make_unique<TPaintingForPrint>();
    p->Shapes.Append(MakeFrameShape(400, 300));
    p->Shapes.Append(MakeShape(Blue, {{50, 50}, {150, 50}, {150, 150}, {50, 150}}));
    p->Shapes.Append(MakeShape(Red, {{200, 100}, {380, 100}, {380, 160}, {200, 160}}));
    p->PlaceNumbers = [numberings](TPaintingForPrint& q) {
        if (numberings) ++*numberings;
        q.Labels = {{"2", 60, 60, 140, 140}, {"3", 210, 110, 370, 150}};
    };
    return p;
}

TPaintingLoader Loader(std::unique_ptr<TPaintingForPrint>& painting) {
    return [&painting](const std::string&) { return std::move(painting); };
}

TEST(QtPrinter, APdfLetterSheetAt600DpiWithQuarterInchMargins) {
    const auto printer = TQtPrinter::Pdf("unused.pdf", {poPortrait, PaperLetter, 0, 0});
    const TPrinterMetrics m = printer->Metrics();
    EXPECT_EQ(m.DpiX, 600);
    EXPECT_EQ(m.DpiY, 600);
    EXPECT_EQ(m.PhysicalWidth, 5100);
    EXPECT_EQ(m.PhysicalHeight, 6600);
    EXPECT_EQ(m.PhysicalOffsetX, 150);
    EXPECT_EQ(m.PhysicalOffsetY, 150);
    EXPECT_EQ(m.PrintableWidth, 4800);
    EXPECT_EQ(m.PrintableHeight, 6300);
    EXPECT_EQ(printer->Paper(), (TPaperChoice{poPortrait, PaperLetter, 0, 0}));

    printer->ApplyPaper({poLandscape, PaperA4, 0, 0});
    // 297 mm; Qt keeps paper sizes in whole points.
    EXPECT_NEAR(printer->Metrics().PhysicalWidth, 7016, 1);
    EXPECT_EQ(printer->Paper().Orientation, poLandscape);
    printer->ApplyPaper({poPortrait, PaperUser, 2000, 3000});
    EXPECT_EQ(printer->Paper(), (TPaperChoice{poPortrait, PaperUser, 2000, 3000}));
    EXPECT_NEAR(printer->Metrics().PhysicalWidth, 4724, 1); // 200 mm
}

TEST(QtPageCanvas, ArialResolvesToAMetricCompatibleFaceScaledByTheDevice) {
    EnsureQtGui();
    QImage screen(100, 100, QImage::Format_RGB888);
    screen.setDotsPerMeterX(static_cast<int>(96 / 0.0254 + 0.5));
    screen.setDotsPerMeterY(static_cast<int>(96 / 0.0254 + 0.5));
    QPainter painter(&screen);
    TQtPageCanvas canvas(painter, screen);
    canvas.SetFont({"Arial", 12, false, false});
    const int w96 = canvas.TextWidth("1234567890");
    painter.end();
    // Arial's digits are 0.556 em: ten at 12 points on 96 dpi are about 89 pixels.
    EXPECT_NEAR(w96, 89, 3);
    EXPECT_NE(QFontInfo(QFont("Arial")).family().toLower().indexOf("liberation sans"), -1);

    const TTempDir dir("metrics");
    const auto printer = TQtPrinter::Pdf((dir / "m.pdf").string(), {poPortrait, PaperLetter, 0, 0});
    printer->BeginDoc("metrics");
    printer->Canvas().SetFont({"Arial", 12, false, false});
    const int w600 = printer->Canvas().TextWidth("1234567890");
    const int h600 = printer->Canvas().TextHeight("1");
    printer->EndDoc();
    EXPECT_NEAR(w600, 556, 12);
    EXPECT_GT(h600, 100); // 12 points are 100 printer pixels; a line is a little more
    EXPECT_LT(h600, 130);
}

TEST(QtPreviewSheet, APageAtScreenResolutionShowsShapesMarksAndNumbers) {
    auto painting = TestPainting();
    TPrintSettings settings;
    settings.PrintNumbers = true;
    settings.OutlinesOnly = false;
    settings.FillWith = fwColor;
    const auto printer = TQtPrinter::Pdf("unused.pdf", {poPortrait, PaperLetter, 0, 0});
    TPrintLayout layout = ComputePrintLayout(printer->Metrics(), poPortrait, settings, 96, 96);
    settings.Frame = FirstPlacementFrame(layout, 400, 300);
    TPrintSource source;
    source.Shapes = &painting->Shapes;
    source.Labels = &painting->Labels;
    TPaintingForPrint* p = painting.get();
    source.PlaceNumbers = [p] { p->PlaceNumbers(*p); };
    TPagePrinter pages(settings, layout, source);
    const QImage sheet = RenderPreviewSheet(pages, layout, 1, 1);
    EXPECT_EQ(sheet.width(), 816);
    EXPECT_EQ(sheet.height(), 1056);
    // The first cross is centred half an inch from the paper's corner.
    EXPECT_EQ(sheet.pixelColor(48, 48), QColor(Qt::black));
    EXPECT_EQ(sheet.pixelColor(48, 30), QColor(Qt::black));
    EXPECT_EQ(sheet.pixelColor(40, 40), QColor(Qt::white));
    // The blue square, filled in its colour, round a dark number in its middle.
    const double x0 =
        96 * (settings.Frame.Left - SampleImageLeft - layout.SampleOriginX) / layout.SampleScaleX;
    const double y0 =
        96 * (settings.Frame.Top - SampleImageTop - layout.SampleOriginY) / layout.SampleScaleY;
    const double unit = 96 * FrameWidthIn(layout, settings.Frame) / 400;
    EXPECT_EQ(sheet.pixelColor(int(x0 + 55 * unit), int(y0 + 55 * unit)), QColor(0, 0, 255));
    int dark = 0;
    for (int y = int(y0 + 80 * unit); y < int(y0 + 120 * unit); ++y)
        for (int x = int(x0 + 80 * unit); x < int(x0 + 120 * unit); ++x)
            dark += qGray(sheet.pixel(x, y)) < 40;
    EXPECT_GT(dark, 5);
}

TEST(QtPrintCommand, PrintsEveryPageToAPdfAndPlacesNumbersOnce) {
    const TTempDir dir("print");
    int numberings = 0;
    auto painting = TestPainting(&numberings);
    const std::string out = (dir / "t.pdf").string();
    ASSERT_EQ(RunPrintCommand({"t.kvp", "-o", out, "--across", "2", "--down", "2", "--paper",
                               "letter", "--page-numbers", "--preview", (dir / "sheets").string()},
                              Loader(painting)),
              0);
    EXPECT_EQ(ReadAll(out).substr(0, 5), "%PDF-");
    EXPECT_EQ(PdfPages(out), 4);
    EXPECT_EQ(numberings, 1);
    for (int n = 1; n <= 4; ++n) {
        QImage sheet;
        ASSERT_TRUE(sheet.load(QString::fromStdString(
            (dir / "sheets" / ("page-" + std::to_string(n) + ".png")).string())));
        EXPECT_EQ(sheet.width(), 816);
    }
}

TEST(QtPrintCommand, TheStoredLayoutHoldsUnlessAnOptionOverridesIt) {
    const TTempDir dir("stored");
    auto painting = TestPainting();
    TPrintSettings stored;
    stored.PagesAcross = 3;
    stored.PagesDown = 1;
    painting->Layout = MakePrintLayoutBlock(stored, {poLandscape, PaperA4, 0, 0});
    const std::string out = (dir / "a.pdf").string();
    ASSERT_EQ(RunPrintCommand({"a.kvp", "-o", out}, Loader(painting)), 0);
    EXPECT_EQ(PdfPages(out), 3);

    painting = TestPainting();
    painting->Layout = MakePrintLayoutBlock(stored, {poLandscape, PaperA4, 0, 0});
    ASSERT_EQ(RunPrintCommand({"a.kvp", "-o", out, "--across", "1"}, Loader(painting)), 0);
    EXPECT_EQ(PdfPages(out), 1);
}

TEST(QtPrintCommand, BadOptionsAreRefusedWithTheUsage) {
    auto painting = TestPainting();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"a.kvp", "-o", "x.pdf", "--across", "0"},
          {"a.kvp", "-o", "x.pdf", "--paper", "tabloid"},
          {"a.kvp", "-o", "x.pdf", "--frame", "1,2,3"},
          {"a.kvp", "-o", "x.pdf", "--line-weight", "7"},
          {"a.kvp", "-o", "x.pdf", "--outlines", "--what", "selected"},
          {"a.kvp"}}) {
        painting = TestPainting();
        EXPECT_THROW(RunPrintCommand(args, Loader(painting)), std::runtime_error) << args.back();
    }
}

TEST(QtPaletteCommand, PrintsThePaletteWithNamesFromAPaletteFile) {
    const TTempDir dir("palette");
    {
        std::ofstream kvl(dir / "names.KVL", std::ios::binary);
        kvl << "Test Colours\r\n" << Blue << ",Ultramarine, deep\r\n255,\r\n";
    }
    const auto names = ReadPaletteNames((dir / "names.KVL").string());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].Color, Blue);
    EXPECT_EQ(names[0].Name, "Ultramarine, deep");
    EXPECT_EQ(names[1].Name, "");

    auto painting = TestPainting();
    EXPECT_EQ(ColorsInOrderOfUse(painting->Shapes), (std::vector<TColor>{clBlack, Blue, Red}));
    const std::string out = (dir / "p.pdf").string();
    ASSERT_EQ(RunPaletteCommand({"a.kvp", "--print", out, "--names", (dir / "names.KVL").string(),
                                 "--paper", "a4"},
                                Loader(painting)),
              0);
    EXPECT_EQ(PdfPages(out), 1);
}

} // namespace
} // namespace pigmentaria
