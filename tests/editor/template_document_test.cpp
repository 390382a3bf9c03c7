// A template as the open painting: what it keeps beyond its shapes, its numbers placed again
// after an edit as the template placed them, and its paint sheet.
#include "editor/document.h"
#include "image/image_test_util.h"
#include "palette/tube_set.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TTemplateResult SmallTemplate(std::shared_ptr<const TMixTable> tubes = nullptr) {
    TTemplateRequest request;
    request.Tubes = std::move(tubes);
    request.PaletteSize = 6;
    request.MinMm = 8;
    TNullProgress progress;
    return MakeTemplate(test::PhotoLike(120, 90, 3), request, progress);
}

TEST(TemplateDocumentTest, ATemplateBecomesTheModifiedPaintingWithItsLayoutAndNumbers) {
    test::TRecordingMessages messages;
    TPaintingDocument doc(messages);
    TTemplateResult made = SmallTemplate();
    const std::vector<TPrintLabel> labels = made.Labels;
    const TPrintLayoutBlock layout = made.Plan.Layout;
    const std::size_t shapes = made.Trace.Shapes.Count();
    doc.AdoptTemplate(std::move(made));

    ASSERT_TRUE(doc.Template());
    EXPECT_EQ(doc.Template()->OutlineScale, TemplateOutlineScale);
    EXPECT_EQ(doc.Shapes().Count(), shapes);
    EXPECT_TRUE(doc.Modified());
    EXPECT_EQ(doc.PrintLayout(), layout);
    EXPECT_EQ(doc.NumberLabels(), labels);

    // Placed again for the print its layout describes, the numbers are the template's own: the
    // geometry is the one the template was made for.
    std::optional<TTemplateNumbersInput> input = doc.TemplateNumbersInput();
    ASSERT_TRUE(input);
    const TNumberingResult again = PlaceTemplateNumbers(*input);
    EXPECT_EQ(again.Labels, labels);
    EXPECT_TRUE(doc.AdoptLabels(again));

    // The paint sheet counts what the painting shows now.
    const TTemplatePaintSheet sheet =
        TemplatePaintSheet(doc.Shapes(), doc.PaintingPalette(), doc.Template()->Request,
                           doc.Template()->OutlineScale, doc.PrintLayout());
    double total = 0;
    for (const TPaintShare& s : sheet.Shares)
        total += s.Percent;
    EXPECT_NEAR(total, 100, 1e-9);
    EXPECT_FALSE(sheet.Recipes);

    // Another painting in its place is no template.
    doc.ReplaceShapes(TShapeList{}, 0);
    EXPECT_FALSE(doc.Template());
    EXPECT_FALSE(doc.TemplateNumbersInput());
}

TEST(TemplateDocumentTest, ThePaletteWindowLineOfAMixedTemplateNamesThePaintsRecipe) {
    test::TRecordingMessages messages;
    TPaintingDocument doc(messages);
    auto tubes = std::make_shared<const TMixTable>(
        LoadTubeSet(std::string(PIGMENTARIA_DATA_SOURCE) + "/tubes/primary6.gpl"));
    doc.AdoptTemplate(SmallTemplate(tubes));
    const TPaletteEntry& first = doc.PaintingPalette().Entries().front();
    const std::string line = doc.PaintRecipeLine(first.Color);
    const std::string recipe = RecipeText(tubes->Best(first.Color), tubes->Tubes());
    EXPECT_EQ(line.rfind("Paint 1: " + recipe + ", ", 0), 0u) << line;
    // A colour that is none of its paints has no line.
    EXPECT_EQ(doc.PaintRecipeLine(MakeColor(1, 2, 3)), "");
}

} // namespace
} // namespace pigmentaria
