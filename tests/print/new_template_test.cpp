#include "print/new_template.h"

#include "cli/template_command.h"
#include "image/image_test_util.h"
#include "print/print_scale.h"
#include "print/template_preview.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <condition_variable>
#include <mutex>

namespace pigmentaria {
namespace {

using test::PhotoLike;

TEST(NewTemplateSettingsTest, PresetsFillTheFieldsAndEditsBecomeCustom) {
    TNewTemplateSettings s;
    EXPECT_EQ(s.Difficulty, TTemplateDifficulty::Standard);
    s.ChooseDifficulty(TTemplateDifficulty::Beginner);
    EXPECT_EQ(s.Paints, 12);
    EXPECT_DOUBLE_EQ(s.MinMm, 5.0);
    s.ChooseDifficulty(TTemplateDifficulty::Expert);
    EXPECT_EQ(s.Paints, 36);
    EXPECT_DOUBLE_EQ(s.MinMm, 1.5);
    // An edit to values of no preset is Custom; Custom keeps the fields.
    s.SetPaints(30);
    EXPECT_EQ(s.Difficulty, TTemplateDifficulty::Custom);
    s.ChooseDifficulty(TTemplateDifficulty::Custom);
    EXPECT_EQ(s.Paints, 30);
    EXPECT_DOUBLE_EQ(s.MinMm, 1.5);
    // Editing back to a preset's values names it again.
    s.SetPaints(36);
    EXPECT_EQ(s.Difficulty, TTemplateDifficulty::Expert);
    s.SetMinMm(2.0);
    EXPECT_EQ(s.Difficulty, TTemplateDifficulty::Custom);
    // Clamps: paints 2..64, cells 0.5..20 mm at one decimal, pages 1..99.
    s.SetPaints(1);
    EXPECT_EQ(s.Paints, 2);
    s.SetPaints(500);
    EXPECT_EQ(s.Paints, 64);
    s.SetMinMm(0.1);
    EXPECT_DOUBLE_EQ(s.MinMm, 0.5);
    s.SetMinMm(33);
    EXPECT_DOUBLE_EQ(s.MinMm, 20.0);
    s.SetMinMm(2.46);
    EXPECT_DOUBLE_EQ(s.MinMm, 2.5);
    s.PagesAcross = 0;
    s.PagesDown = 150;
    s.PaperCode = 77;
    s.Clamp();
    EXPECT_EQ(s.PagesAcross, 1);
    EXPECT_EQ(s.PagesDown, 99);
    EXPECT_EQ(s.PaperCode, PaperA4);
    // A preset stored with fields of another is Custom.
    TNewTemplateSettings odd;
    odd.Difficulty = TTemplateDifficulty::Beginner;
    odd.Clamp();
    EXPECT_EQ(odd.Difficulty, TTemplateDifficulty::Custom);
}

TEST(NewTemplateSettingsTest, TheChoicesTravelInTheSettingsFile) {
    TNewTemplateSettings s;
    s.ChooseDifficulty(TTemplateDifficulty::Custom);
    s.SetPaints(40);
    s.SetMinMm(3.5);
    s.SetPaper({"Tabloid", PaperUser, 2794, 4318});
    s.PagesAcross = 3;
    s.PagesDown = 2;
    s.PaintSet = {TPaintSetKind::Tubes, "/home/me/Palettes/oils.gpl"};
    TSettingsBlock block;
    TTemplateImportSettings import;
    import.PaintsFile = std::string(60, 'p') + ".kvl";
    SetTemplateImportSettings(block, import);
    SetNewTemplateSettings(block, s);
    const std::vector<std::uint8_t> bytes = EncodeSettings(block);
    const TSettingsBlock back = DecodeSettings(bytes.data(), bytes.size());
    EXPECT_EQ(NewTemplateSettings(back), s);
    // The import dialog's group keeps its own bytes.
    EXPECT_EQ(TemplateImportSettings(back), import);

    // A block that never held them reads as the defaults and keeps every byte.
    TSettingsBlock empty;
    empty.Reserved[400] = 0x5A;
    const auto before = EncodeSettings(empty);
    SetNewTemplateSettings(empty, TNewTemplateSettings{});
    EXPECT_EQ(EncodeSettings(empty), before);
    EXPECT_EQ(NewTemplateSettings(empty), TNewTemplateSettings{});

    // CR LF, unknown lines and keys, values out of range and unreadable.
    const TNewTemplateSettings d = DecodeNewTemplateKeys(
        "junk\r\nnew-template-paints=99\r\nnew-template-cell-mm=abc\r\nother=1\r\n"
        "new-template-pages=0x7\r\nnew-template-paper=8\r\nnew-template-paint-set=palette\r\n");
    EXPECT_EQ(d.Paints, 64);
    EXPECT_DOUBLE_EQ(d.MinMm, DefaultTemplateMinMm);
    EXPECT_EQ(d.Difficulty, TTemplateDifficulty::Custom);
    EXPECT_EQ(d.PagesAcross, 1);
    EXPECT_EQ(d.PagesDown, 7);
    EXPECT_EQ(d.PaperCode, PaperA3);
    // A palette without its file is any colours.
    EXPECT_EQ(d.PaintSet, TPaintSetChoice{});

    // A path too long for the bytes is stored as any colours, the rest kept.
    s.PaintSet.File = "/" + std::string(400, 'd') + "/x.kvl";
    SetNewTemplateSettings(block, s);
    EXPECT_EQ(NewTemplateSettings(block).PaintSet, TPaintSetChoice{});
    EXPECT_EQ(NewTemplateSettings(block).Paints, 40);
}

TEST(NewTemplateRequestTest, StandardOnOneA4PageIsWhatTheCommandLineAsks) {
    const TTemplateRequest cli = cli::ParseTemplateArgs({"photo.png", "-o", "out"}).Request;
    const TTemplateRequest ours = TemplateRequestOf(TNewTemplateSettings{});
    EXPECT_EQ(ours.PaperCode, cli.PaperCode);
    EXPECT_EQ(ours.UserPaperWidth, cli.UserPaperWidth);
    EXPECT_EQ(ours.UserPaperLength, cli.UserPaperLength);
    EXPECT_EQ(ours.PagesAcross, cli.PagesAcross);
    EXPECT_EQ(ours.PagesDown, cli.PagesDown);
    EXPECT_EQ(ours.PaletteSize, cli.PaletteSize);
    EXPECT_EQ(ours.MinMm, cli.MinMm);
    EXPECT_TRUE(ours.Paints.Empty() && cli.Paints.Empty());
    EXPECT_EQ(ours.NumberByPaint, cli.NumberByPaint);
    EXPECT_EQ(ours.Tubes, cli.Tubes);
    EXPECT_EQ(ours.Mixable, cli.Mixable);
    EXPECT_EQ(ours.CanvasWidthCm, cli.CanvasWidthCm);
    EXPECT_EQ(ours.CanvasHeightCm, cli.CanvasHeightCm);
    EXPECT_EQ(ours.CoverageM2PerL, cli.CoverageM2PerL);
    EXPECT_EQ(ours.Coats, cli.Coats);

    // The same painting, the same numbers.
    const TPixelGraphic picture = PhotoLike(120, 90);
    TNullProgress progress;
    const TTemplateResult a = MakeTemplate(picture, ours, progress);
    const TTemplateResult b = MakeTemplate(picture, cli, progress);
    ASSERT_EQ(a.Trace.Shapes.Count(), b.Trace.Shapes.Count());
    const TPaintShape* sb = b.Trace.Shapes.First();
    for (const TPaintShape* sa = a.Trace.Shapes.First(); sa; sa = sa->Next, sb = sb->Next) {
        EXPECT_EQ(sa->Color, sb->Color);
        EXPECT_TRUE(sa->Points == sb->Points);
    }
    ASSERT_EQ(a.Labels.size(), b.Labels.size());
    for (std::size_t i = 0; i < a.Labels.size(); ++i) {
        EXPECT_EQ(a.Labels[i].Text, b.Labels[i].Text);
        EXPECT_EQ(a.Labels[i].Left, b.Labels[i].Left);
        EXPECT_EQ(a.Labels[i].Top, b.Labels[i].Top);
    }

    // A3 and a tube set: the paper and the mixing reach the request; the command line takes a3.
    TNewTemplateSettings s;
    s.SetPaper(StandardTemplatePapers()[2]);
    EXPECT_EQ(cli::ParseTemplateArgs({"p.png", "-o", "o", "--paper", "A3"}).Request.PaperCode,
              TemplateRequestOf(s).PaperCode);
    s.PaintSet = {TPaintSetKind::Tubes,
                  std::filesystem::path(PIGMENTARIA_DATA_SOURCE) / "tubes" / "primary6.gpl"};
    const TTemplateRequest mixed = TemplateRequestOf(s, LoadPaintSet(s.PaintSet));
    ASSERT_TRUE(mixed.Tubes);
    EXPECT_TRUE(mixed.Mixable);
}

TEST(NewTemplateRequestTest, TheCanvasSizeIsThePaintedAreaOfThePlan) {
    // A wide picture on A4 lies landscape: wider than high, inside the sheet.
    TNewTemplateSettings s;
    const std::string a4 = CanvasSizeText(4000, 3000, TemplateRequestOf(s));
    // Two pages across print it twice as wide, A3 about 1.41 times.
    s.PagesAcross = 2;
    s.PagesDown = 2;
    const std::string four = CanvasSizeText(4000, 3000, TemplateRequestOf(s));
    auto widthCm = [](const std::string& text) {
        EXPECT_EQ(text.rfind("Canvas size: ", 0), 0u) << text;
        EXPECT_NE(text.find(" \xC3\x97 "), std::string::npos) << text;
        EXPECT_EQ(text.substr(text.size() - 3), " cm");
        return std::stod(text.substr(13));
    };
    const double w1 = widthCm(a4), w4 = widthCm(four);
    EXPECT_GT(w1, 20.0);
    EXPECT_LT(w1, 29.7);
    EXPECT_NEAR(w4 / w1, 2.0, 0.15);
    // The same as the template made: its canvas is what the paint amounts are for.
    const TTemplateRequest r = TemplateRequestOf(TNewTemplateSettings{});
    const TTemplatePlan plan = PlanTemplate(4000, 3000, r);
    const TPrintGeometry p = PdfPrintOfBlock(plan.Layout, plan.PaintingWidth, plan.PaintingHeight);
    EXPECT_EQ(a4, "Canvas size: " +
                      FormatFixed(FrameWidthIn(p.Layout, p.Settings.Frame) * MmPerInch / 10, 1) +
                      " \xC3\x97 " +
                      FormatFixed(FrameHeightIn(p.Layout, p.Settings.Frame) * MmPerInch / 10, 1) +
                      " cm");
}

TEST(TemplatePreviewTest, TheLatestRequestIsDeliveredWithBothPictures) {
    std::mutex m;
    std::condition_variable cv;
    std::vector<std::shared_ptr<TTemplatePreview>> got;
    auto picture = std::make_shared<const TPixelGraphic>(PhotoLike(120, 90));
    {
        TTemplatePreviewRunner runner([&](std::shared_ptr<TTemplatePreview> p) {
            std::lock_guard lock(m);
            got.push_back(std::move(p));
            cv.notify_all();
        });
        TNewTemplateSettings first, last;
        first.ChooseDifficulty(TTemplateDifficulty::Expert);
        last.ChooseDifficulty(TTemplateDifficulty::Beginner);
        runner.Request({picture, first, 200, 100});
        runner.Request({picture, last, 200, 100});
        std::unique_lock lock(m);
        // The first may have finished before the second came; nothing comes after the last.
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(30),
                                [&] { return !got.empty() && got.back()->Settings == last; }));
        ASSERT_TRUE(got.back()->Result);
        const TTemplatePreview& p = *got.back();
        EXPECT_TRUE(p.Error.empty());
        // Fitted inside 200 × 100 at the painting's proportions: 4:3 gives 133 × 100.
        EXPECT_EQ(p.Template.Height(), 100);
        EXPECT_NEAR(p.Template.Width(), 133, 1);
        EXPECT_EQ(p.Painting.Width(), p.Template.Width());
        // The template is white cells with black outlines; the painting has the colours.
        bool white = false, black = false, colour = false;
        for (int y = 0; y < p.Template.Height(); ++y)
            for (int x = 0; x < p.Template.Width(); ++x) {
                white |= p.Template.GetPixel(x, y) == clWhite;
                black |= p.Template.GetPixel(x, y) == clBlack;
                colour |= p.Painting.GetPixel(x, y) == p.Result->Trace.Shapes.Last()->Color;
            }
        EXPECT_TRUE(white && black && colour);
        EXPECT_NE(TemplateLegibilityText(*p.Result).find(" paints; "), std::string::npos);
        // A paint set that cannot be read comes back as a message.
        got.clear();
        TNewTemplateSettings bad;
        bad.PaintSet = {TPaintSetKind::Palette, "/nonexistent/none.kvl"};
        lock.unlock();
        runner.Request({picture, bad, 200, 100});
        lock.lock();
        ASSERT_TRUE(cv.wait_for(lock, std::chrono::seconds(30), [&] { return !got.empty(); }));
        EXPECT_FALSE(got.back()->Result);
        EXPECT_NE(got.back()->Error.find("none.kvl"), std::string::npos);
    }
}

TEST(TemplatePreviewTest, TheLegibilityLineSaysWhatTheReportFound) {
    TTemplateResult t;
    t.Shares.resize(24);
    t.Report.Regions = 310;
    t.Report.SmallestDiameterMm = 2.56;
    t.Report.SmallestNumberPt = 5;
    t.Report.RegionsWithoutFittingNumber = 0;
    EXPECT_EQ(TemplateLegibilityText(t),
              "24 paints; 310 cells; narrowest 2.6 mm; smallest number 5 pt; 0 cells without a "
              "number");
}

} // namespace
} // namespace pigmentaria
