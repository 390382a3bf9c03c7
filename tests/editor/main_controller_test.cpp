// The main window's workflow without its window: the title, the painting file and the recent
// files after opening, saving and importing, and the questions that stop it.
#include "editor/main_controller.h"
#include "editor/window_title.h"

#include "document_fixture.h"

#include <deque>

namespace pigmentaria {
namespace {

using test::TTempDir;

// Answers in the order given; every question and chooser call is recorded with its folder.
class TScriptedMainDialogs final : public IMainDialogs {
public:
    void Error(const std::string& text) override { Errors.push_back(text); }
    void Warning(const std::string& text) override { Errors.push_back(text); }
    bool Confirm(const std::string&) override { return true; }
    TSaveAnswer AskYesNoCancel(const std::string& text) override {
        Questions.push_back(text);
        return Take(Answers, TSaveAnswer::Cancel);
    }
    std::string ChooseOpenPainting(const std::string& folder) override {
        Calls.push_back("open " + folder);
        return Take(Files, std::string());
    }
    std::string ChooseSavePainting(const std::string& folder, const std::string& name) override {
        Calls.push_back("save " + folder + " " + name);
        return Take(Files, std::string());
    }
    std::string ChoosePicture(const std::string& folder) override {
        Calls.push_back("picture " + folder);
        return Take(Files, std::string());
    }
    std::deque<TSaveAnswer> Answers;
    std::deque<std::string> Files;
    std::vector<std::string> Errors, Questions, Calls;

private:
    template <class T> static T Take(std::deque<T>& q, T none) {
        if (q.empty()) return none;
        T v = std::move(q.front());
        q.pop_front();
        return v;
    }
};

// An import part that replaces the painting when told to and keeps the picture it was given.
class TScriptedImport final : public IPictureImport {
public:
    explicit TScriptedImport(TPaintingDocument& doc) : Doc(doc) {}
    bool Available() const override { return true; }
    bool ExecuteOnFile(const std::string& file) override { return Run("file " + file); }
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic>) override { return Run("picture"); }
    bool ExecuteAgain() override { return Run("again"); }
    bool HoldsPicture() const override { return Held; }
    bool NewTemplateOnFile(const std::string& file) override { return Run("template " + file); }
    bool Run(const std::string& call) {
        Calls.push_back(call);
        Held = true;
        if (!Replace) return false;
        Doc.ReplaceShapes(test::FourSquares(), 5);
        return true;
    }
    TPaintingDocument& Doc;
    bool Replace = true;
    bool Held = false;
    std::vector<std::string> Calls;
};

struct MainControllerTest : ::testing::Test {
    MainControllerTest() : Doc(Messages), View(Doc), App(Folders()), C(App, Doc, View, Dialogs) {
        Doc.ReplaceShapes(test::FourSquares(), 5);
        EXPECT_TRUE(Doc.SavePainting(Dir / "a.kvp", "Paints"));
        EXPECT_TRUE(Doc.SavePainting(Dir / "b.kvp", "Paints"));
        App.Settings().PaintingFolder = "/paintings";
        App.Settings().PictureFolder = "/pictures";
        C.State().SetListener([this] { ++StateChanges; });
        C.SetRecentFilesListener([this] { ++RecentTold; });
    }
    TAppFolders Folders() {
        TAppFolders f;
        f.ProgramFolder = Dir.Path();
        f.IsWritable = [](const std::filesystem::path&) { return true; };
        return f;
    }
    std::string File(const char* name) const { return (Dir / name).string(); }

    TTempDir Dir;
    test::TRecordingMessages Messages;
    TPaintingDocument Doc;
    TPaintingView View;
    TAppState App;
    TScriptedMainDialogs Dialogs;
    TMainController C;
    int StateChanges = 0, RecentTold = 0;
};

TEST_F(MainControllerTest, OpeningAndSavingSetTheTitleTheFileAndTheRecentFiles) {
    Dialogs.Files = {File("a.kvp")};
    C.OpenPaintingClick();
    EXPECT_EQ(C.State().Title(), "Pigmentaria - a.kvp");
    EXPECT_EQ(C.State().PaintingFile(), File("a.kvp"));
    EXPECT_EQ(C.PaletteName(), "Paints");
    EXPECT_EQ(App.RecentFiles().Paths(), std::vector<std::string>{File("a.kvp")});
    EXPECT_EQ(StateChanges, 1);
    EXPECT_EQ(RecentTold, 1);
    // A cancelled choice changes nothing and tells nothing; the dialog starts where the painting
    // lies, no longer in the settings' folder.
    C.OpenPaintingClick();
    EXPECT_EQ(C.State().Title(), "Pigmentaria - a.kvp");
    EXPECT_EQ(StateChanges, 1);
    EXPECT_EQ(RecentTold, 1);
    // Save As offers the painting's own name and takes the new one.
    Dialogs.Files = {File("c.kvp")};
    ASSERT_TRUE(C.SaveAs());
    EXPECT_EQ(Dialogs.Calls,
              (std::vector<std::string>{"open /paintings", "open " + Dir.Path().string(),
                                        "save " + Dir.Path().string() + " " + File("a.kvp")}));
    EXPECT_EQ(C.State().Title(), "Pigmentaria - c.kvp");
    EXPECT_EQ(App.RecentFiles().Paths(), (std::vector<std::string>{File("c.kvp"), File("a.kvp")}));
    // A file that cannot be opened leaves the painting as it was.
    EXPECT_FALSE(C.OpenFile(File("missing.kvp")));
    EXPECT_EQ(C.State().PaintingFile(), File("c.kvp"));
    EXPECT_EQ(StateChanges, 2);
}

TEST_F(MainControllerTest, AskingToSaveStopsOrGoesOn) {
    ASSERT_TRUE(C.OpenFile(File("a.kvp")));
    Doc.SetModified(true);
    Dialogs.Calls.clear();
    // Cancel: no file is asked for, nothing opens.
    Dialogs.Answers = {TSaveAnswer::Cancel};
    Dialogs.Files = {File("b.kvp")};
    C.OpenPaintingClick();
    EXPECT_EQ(Dialogs.Questions, std::vector<std::string>{"Save changes to a.kvp?"});
    EXPECT_TRUE(Dialogs.Calls.empty());
    EXPECT_EQ(C.State().Title(), "Pigmentaria - a.kvp");
    // Yes, then Cancel in the save dialog: the painting was not saved, so nothing opens either.
    Dialogs.Answers = {TSaveAnswer::Yes};
    Dialogs.Files = {""};
    C.OpenRecent(File("b.kvp"));
    EXPECT_EQ(C.State().Title(), "Pigmentaria - a.kvp");
    EXPECT_TRUE(Doc.Modified());
    // No: the changes are left and the recent file opens.
    Dialogs.Answers = {TSaveAnswer::No};
    C.OpenRecent(File("b.kvp"));
    EXPECT_EQ(C.State().Title(), "Pigmentaria - b.kvp");
    EXPECT_FALSE(Doc.Modified());
    // A session ending without a way to ask is refused only while there is work to lose.
    Doc.SetModified(true);
    EXPECT_FALSE(C.CommitData(false));
    Doc.SetModified(false);
    EXPECT_TRUE(C.CommitData(false));
}

TEST_F(MainControllerTest, AnImportThatReplacedThePaintingIsUntitled) {
    TScriptedImport import(Doc);
    C.SetImport(import);
    ASSERT_TRUE(C.OpenFile(File("a.kvp")));
    EXPECT_FALSE(C.State().Enabling(Doc, View).HoldsSourcePicture);
    test::WriteText(Dir / "photo.png", "\x89PNG\r\n\x1a\n");
    Dialogs.Files = {File("photo.png")};
    C.ImportPictureClick();
    EXPECT_EQ(import.Calls, std::vector<std::string>{"file " + File("photo.png")});
    EXPECT_TRUE(C.State().Untitled());
    EXPECT_TRUE(C.State().PaintingFile().empty());
    // The picture the import part kept is known without a document event: Re-Import is on.
    EXPECT_TRUE(C.State().Enabling(Doc, View).HoldsSourcePicture);
    EXPECT_TRUE(ComputeEnabling(C.State().Enabling(Doc, View)).ReImport);
    // An import the user cancelled leaves the painting's name; the next picture dialog starts
    // where the last picture was.
    ASSERT_TRUE(C.OpenFile(File("b.kvp")));
    import.Replace = false;
    C.ReImportClick();
    EXPECT_EQ(C.State().Title(), "Pigmentaria - b.kvp");
    Dialogs.Files = {""};
    C.NewTemplateClick();
    EXPECT_EQ(Dialogs.Calls.back(), "picture " + Dir.Path().string());
    EXPECT_EQ(import.Calls.size(), 2u);
    // A template made replaces the painting as an import does.
    import.Replace = true;
    Dialogs.Files = {File("photo.png")};
    C.NewTemplateClick();
    EXPECT_EQ(import.Calls.back(), "template " + File("photo.png"));
    EXPECT_TRUE(C.State().Untitled());
    // A dropped file goes where its kind says; a missing one is only reported.
    Dialogs.Answers = {TSaveAnswer::No};
    C.OpenOrImport(File("a.kvp"));
    EXPECT_EQ(C.State().Title(), "Pigmentaria - a.kvp");
    C.OpenOrImport(File("gone.png"));
    EXPECT_EQ(Dialogs.Errors.back(), "The file \"" + File("gone.png") + "\" could not be found.");
    EXPECT_EQ(C.State().Title(), "Pigmentaria - a.kvp");
}

TEST_F(MainControllerTest, TheStateTellsEachChangeOnce) {
    C.State().SetTool(tmRegion, true);
    C.State().SetTool(tmRegion, true);
    EXPECT_EQ(StateChanges, 1);
    // The restriction belongs to the region tool: choosing another keeps it.
    C.State().SetTool(tmMerge, false);
    EXPECT_TRUE(C.State().RegionCurrentColorOnly());
    C.State().SetClipboardHasPicture(true);
    C.State().SetClipboardHasPicture(true);
    C.State().EnableFeature(&TFeatureSet::Print);
    C.State().EnableFeature(&TFeatureSet::Print);
    EXPECT_EQ(StateChanges, 4);
    const TEnablingState s = C.State().Enabling(Doc, View);
    EXPECT_EQ(s.ToolMode, tmMerge);
    EXPECT_TRUE(s.ClipboardHasPicture);
    EXPECT_TRUE(s.Features.Print);
    // Import is on only with an import part that can import, whatever the flag.
    C.State().EnableFeature(&TFeatureSet::Import);
    EXPECT_FALSE(C.State().Enabling(Doc, View).Features.Import);
}

} // namespace
} // namespace pigmentaria
