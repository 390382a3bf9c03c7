// The import dialog's template group on the offscreen platform: its controls and their rules,
// the settings it keeps, and imports through it that equal the command line's paintings.
#include "app/qt/widget_test_util.h"
#include "convert/qt/color_reduction_form.h"
#include "convert/qt/modify_form.h"
#include "convert/template_settings_store.h"
#include "editor/document.h"
#include "platform/qt/progress_form.h"
#include "test_util.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>

namespace pigmentaria {
namespace {

const std::string Samples = PIGMENTARIA_SAMPLES;
const std::filesystem::path BundledPalettes =
    std::filesystem::path(PIGMENTARIA_DATA_SOURCE) / "palettes";

std::string Bytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

int ComboIndexOf(QComboBox* combo, const QString& fileName) {
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemData(i).toString() == fileName) return i;
    return -1;
}

// The painting the command line makes of the file with the options.
std::string CliPainting(const std::filesystem::path& dir, const std::string& picture,
                        const std::vector<std::string>& options) {
    const auto out = dir / "cli.kvp";
    std::string command =
        std::string(PIGMENTARIA_CLI) + " convert '" + picture + "' -o '" + out.string() + "'";
    for (const std::string& o : options)
        command += " '" + o + "'";
    command += " >/dev/null";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return Bytes(out);
}

struct TTemplateGroupTest : ::testing::Test {
    test::TTestCore Core;
    TSettingsBlock& Settings = Core.Core.App.Settings();
    TPaintingDocument& Document = Core.Core.Document;
    TModifyForm Form{ImportContext(Core.Context())};

    std::string ImportedPainting(const QString& picture) {
        EXPECT_TRUE(Form.LoadFile(picture));
        Form.ImportButton()->click();
        EXPECT_TRUE(Form.Imported());
        const auto file = Core.Dir.Path() / "window.kvp";
        EXPECT_TRUE(Document.SavePainting(file, ""));
        return Bytes(file);
    }
};

TEST_F(TTemplateGroupTest, StartsAtTheDefaultsWithTheirRangesAndAccessibleNames) {
    EXPECT_TRUE(Form.ColorsByStep()->isChecked());
    EXPECT_FALSE(Form.ColorsByCount()->isChecked());
    EXPECT_EQ(Form.PaletteSize()->value(), 24);
    EXPECT_EQ(Form.PaletteSize()->minimum(), 2);
    EXPECT_EQ(Form.PaletteSize()->maximum(), 255);
    EXPECT_EQ(Form.MinRegionArea()->value(), 0);
    EXPECT_EQ(Form.MinRegionArea()->maximum(), 100000);
    EXPECT_EQ(Form.MinRegionWidth()->value(), 0);
    EXPECT_EQ(Form.MinRegionWidth()->maximum(), 200);
    EXPECT_FALSE(Form.MatchToPaints()->isChecked());
    EXPECT_EQ(Form.TemplateSettings(), TTemplateImportSettings{});
    // The group sits in the advanced panel, below the other controls.
    EXPECT_TRUE(Form.AdvancedControls()->isAncestorOf(Form.TemplateGroup()));

    EXPECT_EQ(Form.TemplateGroup()->accessibleName(), Form.TemplateGroup()->title());
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{
             Form.ColorsByStep(), Form.ColorsByCount(), Form.MatchToPaints()})
        EXPECT_EQ(b->accessibleName(), b->text());
    // A spin box is known by its label's text.
    for (QWidget* box : std::initializer_list<QWidget*>{Form.PaletteSize(), Form.MinRegionArea(),
                                                        Form.MinRegionWidth(), Form.PaintsFile()}) {
        QLabel* label = nullptr;
        for (QLabel* l : Form.TemplateGroup()->findChildren<QLabel*>())
            if (l->buddy() == box) label = l;
        ASSERT_NE(label, nullptr) << box->objectName().toStdString();
        EXPECT_EQ(box->accessibleName(), label->text());
    }
    EXPECT_EQ(Form.ColorsByStep()->accessibleName(), "Colors by step");
    EXPECT_EQ(Form.ColorsByCount()->accessibleName(), "Colors by count");
    EXPECT_EQ(Form.MatchToPaints()->accessibleName(), "Match to paints");
}

TEST_F(TTemplateGroupTest, TheEnableRulesFollowTheModeAndThePaletteFiles) {
    // No palette file anywhere: nothing to match to.
    EXPECT_EQ(Form.PaintsFile()->count(), 0);
    EXPECT_FALSE(Form.MatchToPaints()->isEnabled());
    EXPECT_FALSE(Form.PaintsFile()->isEnabled());
    EXPECT_TRUE(Form.ColorDepth()->isEnabled());
    EXPECT_FALSE(Form.PaletteSize()->isEnabled());
    EXPECT_TRUE(Form.MinRegionArea()->isEnabled());
    EXPECT_TRUE(Form.MinRegionWidth()->isEnabled());

    Form.ColorsByCount()->click();
    EXPECT_FALSE(Form.ColorDepth()->isEnabled());
    EXPECT_TRUE(Form.PaletteSize()->isEnabled());
    Form.ColorsByStep()->click();
    EXPECT_TRUE(Form.ColorDepth()->isEnabled());
    EXPECT_FALSE(Form.PaletteSize()->isEnabled());

    // The bundled palettes and one of the user's, each listed once.
    std::filesystem::create_directories(Core.Core.App.PaletteFolder());
    std::filesystem::copy_file(BundledPalettes / "basic16.kvl",
                               Core.Core.App.PaletteFolder() / "mine.kvl");
    std::filesystem::copy_file(BundledPalettes / "grayscale.kvl",
                               Core.Core.App.PaletteFolder() / "grayscale.kvl");
    Form.SetBundledPaletteFolder(BundledPalettes);
    EXPECT_GE(ComboIndexOf(Form.PaintsFile(), "acrylic24.kvl"), 0);
    EXPECT_GE(ComboIndexOf(Form.PaintsFile(), "mine.kvl"), 0);
    int grays = 0;
    for (int i = 0; i < Form.PaintsFile()->count(); ++i)
        grays += Form.PaintsFile()->itemData(i).toString() == "grayscale.kvl" ? 1 : 0;
    EXPECT_EQ(grays, 1);
    EXPECT_TRUE(Form.MatchToPaints()->isEnabled());
    EXPECT_FALSE(Form.PaintsFile()->isEnabled());
    Form.MatchToPaints()->click();
    EXPECT_TRUE(Form.PaintsFile()->isEnabled());
    Form.MatchToPaints()->click();
    EXPECT_FALSE(Form.PaintsFile()->isEnabled());
}

TEST_F(TTemplateGroupTest, TheGroupIsKeptInTheSettingsAndShownByTheNextDialog) {
    const TSettingsBlock before = Settings;
    Form.SetBundledPaletteFolder(BundledPalettes);
    // Looking at the group stores nothing.
    EXPECT_EQ(EncodeSettings(Settings), EncodeSettings(before));

    Form.ColorsByCount()->click();
    Form.PaletteSize()->setValue(12);
    Form.MinRegionArea()->setValue(40);
    Form.MinRegionWidth()->setValue(3);
    Form.MatchToPaints()->click();
    Form.PaintsFile()->setCurrentIndex(ComboIndexOf(Form.PaintsFile(), "acrylic24.kvl"));
    TTemplateImportSettings expected;
    expected.ColorMode = TColorMode::ByCount;
    expected.PaletteSize = 12;
    expected.MinAreaPixels = 40;
    expected.MinWidthPixels = 3;
    expected.MatchToPaints = true;
    expected.PaintsFile = "acrylic24.kvl";
    EXPECT_EQ(Form.TemplateSettings(), expected);
    EXPECT_EQ(TemplateImportSettings(Settings), expected);

    // Through the settings file into a dialog of the next run.
    Core.Core.App.SaveSettings();
    test::TTestCore next;
    std::filesystem::copy_file(Core.Core.App.SettingsFile(), next.Core.App.SettingsFile(),
                               std::filesystem::copy_options::overwrite_existing);
    next.Core.App.LoadSettings(next.Dialogs);
    TModifyForm again(ImportContext(next.Context()));
    again.SetBundledPaletteFolder(BundledPalettes);
    EXPECT_EQ(again.TemplateSettings(), expected);
    EXPECT_TRUE(again.ColorsByCount()->isChecked());
    EXPECT_EQ(again.PaletteSize()->value(), 12);
    EXPECT_EQ(again.MinRegionArea()->value(), 40);
    EXPECT_EQ(again.MinRegionWidth()->value(), 3);
    EXPECT_TRUE(again.MatchToPaints()->isChecked());
    EXPECT_EQ(again.PaintsFile()->currentData().toString(), "acrylic24.kvl");
    EXPECT_FALSE(again.ColorDepth()->isEnabled());

    // A typed value beyond the range is held to it.
    again.MinRegionWidth()->setValue(5000);
    EXPECT_EQ(TemplateImportSettings(next.Core.App.Settings()).MinWidthPixels, 200);
    EXPECT_TRUE(next.Dialogs.Errors.empty());
}

TEST_F(TTemplateGroupTest, TheDefaultsImportThePaintingOfTheDefaultPath) {
    const QString picture = QString::fromStdString(Samples + "/rocket.jpg");
    Form.SetBundledPaletteFolder(BundledPalettes);
    const std::string ours = ImportedPainting(picture);
    EXPECT_FALSE(Form.Session().Template.Active());
    EXPECT_EQ(ours, CliPainting(Core.Dir.Path(), picture.toStdString(), {}));
    EXPECT_TRUE(Core.Dialogs.Errors.empty());
}

struct TTemplateImport {
    std::string Name;
    std::function<void(TModifyForm&)> Set;
    std::vector<std::string> CliOptions;
};

TEST_F(TTemplateGroupTest, ImportNowMakesThePaintingTheCommandLineMakesWithTheGroupsOptions) {
    const std::string picture = Samples + "/rocket.jpg";
    const std::string paints = (BundledPalettes / "basic16.kvl").string();
    const TTemplateImport cases[] = {
        {"by count with a minimum area",
         [](TModifyForm& f) {
             f.ColorsByCount()->click();
             f.PaletteSize()->setValue(10);
             f.MinRegionArea()->setValue(60);
         },
         {"--palette-size", "10", "--min-region-px", "60"}},
        {"a minimum width matched to paints",
         [](TModifyForm& f) {
             f.MinRegionWidth()->setValue(4);
             f.MatchToPaints()->click();
             f.PaintsFile()->setCurrentIndex(ComboIndexOf(f.PaintsFile(), "basic16.kvl"));
         },
         {"--min-width-px", "4", "--paints", paints}},
    };
    std::string defaultPainting;
    for (const TTemplateImport& c : cases) {
        test::TTestCore core;
        TModifyForm form(ImportContext(core.Context()));
        form.SetBundledPaletteFolder(BundledPalettes);
        ASSERT_TRUE(form.LoadFile(QString::fromStdString(picture)));
        c.Set(form);
        form.ImportButton()->click();
        ASSERT_TRUE(form.Imported()) << c.Name;
        EXPECT_TRUE(form.Session().Template.Active()) << c.Name;
        const auto ours = core.Dir.Path() / "window.kvp";
        ASSERT_TRUE(core.Core.Document.SavePainting(ours, ""));
        EXPECT_EQ(Bytes(ours), CliPainting(core.Dir.Path(), picture, c.CliOptions)) << c.Name;
        if (defaultPainting.empty()) defaultPainting = CliPainting(core.Dir.Path(), picture, {});
        EXPECT_NE(Bytes(ours), defaultPainting) << c.Name;
        EXPECT_TRUE(core.Dialogs.Errors.empty()) << c.Name;
    }
}

TEST_F(TTemplateGroupTest, PreviewShowsTheColoursTheGroupAsksFor) {
    ASSERT_TRUE(Form.LoadFile(QString::fromStdString(Samples + "/rocket.jpg")));
    const auto colours = [](const TRaster24& r) {
        std::set<TColor> seen;
        for (int y = 0; y < r.Height(); ++y)
            for (int x = 0; x < r.Width(); ++x)
                seen.insert(r.GetPixel(x, y));
        return seen.size();
    };
    const auto preview = [this] {
        QTimer poll;
        bool shown = false;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            if (!Form.ColorReductionForm().isVisible()) return;
            poll.stop();
            shown = true;
            Form.ColorReductionForm().reject();
        });
        poll.start(5);
        Form.Preview()->click();
        EXPECT_TRUE(shown);
    };
    preview();
    const std::size_t byStep = colours(Form.Session().Reduced());
    Form.ColorsByCount()->click();
    Form.PaletteSize()->setValue(5);
    preview();
    EXPECT_LE(colours(Form.Session().Reduced()), 5u);
    EXPECT_GT(byStep, 5u);
    EXPECT_TRUE(Core.Dialogs.Errors.empty());
}

TEST_F(TTemplateGroupTest, APaintsFileThatCannotBeReadStopsTheImportWithAMessage) {
    std::filesystem::create_directories(Core.Core.App.PaletteFolder());
    const auto file = Core.Core.App.PaletteFolder() / "gone.kvl";
    std::filesystem::copy_file(BundledPalettes / "basic16.kvl", file);
    Form.ListPaintsFiles();
    ASSERT_TRUE(Form.LoadFile(QString::fromStdString(Samples + "/rocket.jpg")));
    Form.MatchToPaints()->click();
    std::filesystem::remove(file);
    Form.ImportButton()->click();
    EXPECT_FALSE(Form.Imported());
    EXPECT_FALSE(Document.HasPainting());
    ASSERT_EQ(Core.Dialogs.Errors.size(), 1u);
}

} // namespace
} // namespace pigmentaria
