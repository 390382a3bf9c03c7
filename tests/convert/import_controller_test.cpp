// The import dialog's workflow without its window: what runs as work, what is taken from it, what
// the dialog is told to show, and what it keeps in the settings.
#include "convert/import_controller.h"
#include "convert/reduction.h"
#include "convert/template_settings_store.h"
#include "image/image_test_util.h"
#include "test_util.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

using test::PhotoLike;

// Runs the work at once on this thread; with Cancel set, its first progress report asks it to
// stop, as the progress window's Cancel does.
class TImmediateJobs final : public IImportJobs {
public:
    TImportJobEnd Run(const std::string& message, bool, std::function<void(IProgressSink&)> work,
                      std::string& failure) override {
        Runs.push_back(message);
        test::TRecordingProgress progress;
        progress.AbortAt = Cancel ? 0 : -1;
        try {
            work(progress);
            return TImportJobEnd::Done;
        } catch (const EAborted&) {
            return TImportJobEnd::Cancelled;
        } catch (const std::exception& e) {
            failure = e.what();
            return TImportJobEnd::Failed;
        }
    }
    std::vector<std::string> Runs;
    bool Cancel = false;
};

// Records what it was told; its controls show what a test sets.
class TRecordingView final : public IImportView {
public:
    void ShowPicture() override { ++Pictures; }
    void ShowZoom() override {}
    void ShowSelection() override {}
    void ShowControls() override {}
    void ShowTemplate() override {}
    void ShowPaintsFiles() override {}
    void ShowAdvanced(bool on) override { Advanced = on; }
    void ShowReduction() override { ++Reductions; }
    TConversionControls ControlsShown() const override { return Controls; }
    TTemplateImportSettings TemplateShown() const override { return Template; }
    void RunModal() override {
        ++Modal;
        if (WhileShown) WhileShown();
    }
    void CloseDialog(bool imported) override { Closed.push_back(imported); }

    TConversionControls Controls;
    TTemplateImportSettings Template;
    std::function<void()> WhileShown;
    std::optional<bool> Advanced;
    int Pictures = 0, Reductions = 0, Modal = 0;
    std::vector<bool> Closed;
};

struct ImportControllerTest : ::testing::Test {
    TSettingsBlock Settings;
    test::TRecordingMessages Messages;
    TImmediateJobs Jobs;
    TRecordingView View;
    std::vector<TTraceResult> Adopted;

    std::unique_ptr<TImportController>
    Make(std::function<bool(std::shared_ptr<const TPixelGraphic>)> makeTemplate = {}) {
        return std::make_unique<TImportController>(
            View,
            TImportController::TContext{Settings,
                                        {},
                                        Messages,
                                        Jobs,
                                        [this](TTraceResult t) { Adopted.push_back(std::move(t)); },
                                        std::move(makeTemplate)});
    }
};

TEST_F(ImportControllerTest, ImportTakesTheControlsAsShownAndClosesOnceThePaintingIsAdopted) {
    auto c = Make();
    c->Import(); // nothing to import
    EXPECT_TRUE(Jobs.Runs.empty());
    EXPECT_TRUE(View.Closed.empty());

    c->SetPicture(PhotoLike(60, 40));
    View.Controls.ColorDepth = 40;
    View.Controls.AbstractionLevel = 2;
    c->Import();
    EXPECT_EQ(Jobs.Runs, std::vector<std::string>{ReductionMessage});
    EXPECT_EQ(c->Session().Controls, View.Controls);
    ASSERT_EQ(Adopted.size(), 1u);
    EXPECT_EQ(View.Closed, std::vector<bool>{true});
    EXPECT_TRUE(c->Imported());

    // The painting the session itself makes with those controls.
    test::TRecordingProgress progress;
    TImportSession reference(progress, Messages);
    reference.SetPicture(PhotoLike(60, 40));
    reference.Controls = View.Controls;
    const TTraceResult expected = reference.ReduceAndTrace();
    EXPECT_EQ(Adopted[0].ShapeCount, expected.ShapeCount);
    EXPECT_EQ(Adopted[0].Shapes.Count(), expected.Shapes.Count());
    EXPECT_EQ(c->Session().Reduced(), reference.Reduced());
    EXPECT_TRUE(Messages.Errors.empty());
}

TEST_F(ImportControllerTest, CancelledWorkChangesNothingAndFailedWorkSaysWhy) {
    auto c = Make();
    c->SetPicture(PhotoLike(50, 40));
    const TRaster24 before = c->Session().Picture().ToRaster24();
    Jobs.Cancel = true;
    c->Import();
    c->ApplyFilter(TFilterKind::Negative);
    c->Preview();
    EXPECT_EQ(Jobs.Runs.size(), 3u);
    EXPECT_TRUE(Adopted.empty());
    EXPECT_TRUE(View.Closed.empty());
    EXPECT_FALSE(c->Imported());
    EXPECT_EQ(View.Reductions, 0);
    EXPECT_EQ(c->Session().Picture().ToRaster24(), before);
    EXPECT_EQ(c->Session().Reduced().Width(), 0);
    EXPECT_TRUE(Messages.Errors.empty());

    // A file that cannot be read: the library's reason, the dialog not shown.
    Jobs.Cancel = false;
    test::TTempDir dir;
    const auto file = dir.Path() / "broken.png";
    test::WriteText(file, std::string("\x89PNG\r\n\x1a\n", 8) + std::string(200, '\0'));
    EXPECT_FALSE(c->ExecuteOnFile(file.string()));
    ASSERT_EQ(Messages.Errors.size(), 1u);
    EXPECT_EQ(Messages.Errors[0].rfind("Error opening image\n\n", 0), 0u);
    EXPECT_GT(Messages.Errors[0].size(), std::string("Error opening image\n\n").size());
    EXPECT_EQ(View.Modal, 0);
    EXPECT_EQ(c->Session().Picture().ToRaster24(), before);
    EXPECT_TRUE(c->Session().FileName().empty());
}

TEST_F(ImportControllerTest, MakeTemplateGetsThePictureBeforeItsReductionAndClosesWhenItMadeOne) {
    SCOPED_TRACE("without a template maker");
    auto plain = Make();
    plain->SetPicture(PhotoLike(30, 20));
    EXPECT_FALSE(plain->ToolBar().MakeTemplateEnabled);
    plain->MakeTemplate();
    EXPECT_TRUE(View.Closed.empty());

    std::vector<std::shared_ptr<const TPixelGraphic>> handed;
    bool made = false;
    auto c = Make([&](std::shared_ptr<const TPixelGraphic> picture) {
        handed.push_back(std::move(picture));
        return made;
    });
    EXPECT_FALSE(c->ToolBar().MakeTemplateEnabled); // no picture yet
    c->MakeTemplate();
    EXPECT_TRUE(handed.empty());

    c->SetPicture(PhotoLike(80, 60));
    EXPECT_TRUE(c->ToolBar().MakeTemplateEnabled);
    c->ZoomLevel(2); // 50 %
    View.Controls.ColorDepth = 200;
    c->Preview();
    ASSERT_EQ(View.Reductions, 1);
    ASSERT_EQ(c->Session().Reduced().Width(), 40);

    // Declined: the dialog stays.
    c->MakeTemplate();
    ASSERT_EQ(handed.size(), 1u);
    EXPECT_EQ(handed[0]->Width(), 80);
    EXPECT_EQ(handed[0]->ToRaster24(), PhotoLike(80, 60).ToRaster24());
    EXPECT_NE(handed[0].get(), &c->Session().Picture());
    EXPECT_TRUE(View.Closed.empty());

    // Made while the dialog is up: it closes as Cancel closes it.
    made = true;
    View.WhileShown = [&] { c->MakeTemplate(); };
    EXPECT_FALSE(c->ExecuteAgain());
    EXPECT_EQ(handed.size(), 2u);
    EXPECT_EQ(View.Closed, std::vector<bool>{false});
    EXPECT_FALSE(c->Imported());
    EXPECT_TRUE(Adopted.empty());
    EXPECT_TRUE(c->HoldsPicture());
}

TEST_F(ImportControllerTest, TheAdvancedCheckTheTemplateGroupAndThePlaceAreKept) {
    TTemplateImportSettings kept;
    kept.ColorMode = TColorMode::ByCount;
    kept.PaletteSize = 9;
    kept.PaintsFile = "gone.kvl";
    SetTemplateImportSettings(Settings, kept);
    Settings.AdvancedOptions = true;
    auto c = Make();
    c->ReadSettings();
    EXPECT_EQ(View.Advanced, true);
    EXPECT_EQ(c->TemplateSettings(), kept);
    EXPECT_EQ(c->PaintsIndex(), -1);
    c->SetAdvanced(false);
    EXPECT_FALSE(Settings.AdvancedOptions);
    EXPECT_EQ(View.Advanced, false);

    // The group as the user left it, beyond its range, with no palette file chosen.
    View.Template = kept;
    View.Template.PaintsFile.clear();
    View.Template.MinWidthPixels = 900;
    c->TemplateChanged();
    EXPECT_EQ(c->TemplateSettings().PaintsFile, "gone.kvl");
    EXPECT_EQ(c->TemplateSettings().MinWidthPixels, TemplateMinWidthRange.Max);
    EXPECT_EQ(TemplateImportSettings(Settings), c->TemplateSettings());

    // Never placed: centred once; hidden maximised keeps nothing, hidden normally its place.
    EXPECT_EQ(c->PlacingOnShow(), TImportPlacing::Centred);
    EXPECT_EQ(c->PlacingOnShow(), TImportPlacing::Stay);
    c->DialogHidden({1, 2, 300, 400}, true);
    EXPECT_EQ(Settings.ImportDialog, TWindowPlace{});
    c->DialogHidden({10, 20, 300, 400}, false);
    EXPECT_EQ(Settings.ImportDialog, (TWindowPlace{10, 20, 300, 400}));
    auto next = Make();
    EXPECT_EQ(next->PlacingOnShow(), TImportPlacing::Kept);
    EXPECT_EQ(next->KeptPlace(), (TWindowPlace{10, 20, 300, 400}));
}

} // namespace
} // namespace pigmentaria
