#include "app/data_folder.h"
#include "platform/help_topics.h"
#include "platform/progress_throttle.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <set>

namespace pigmentaria {
namespace {

using namespace std::chrono_literals;

TEST(HelpTopicsTest, EveryContextNumberHasAPageOfItsOwn) {
    std::set<std::string> pages;
    for (int context : {HelpImportingFirstPicture, HelpQuickReference, HelpImportQuickReference,
                        HelpPaletteWindow, HelpPrintSetup}) {
        const std::string page = HelpPageForContext(context);
        EXPECT_NE(page, HelpHomePage()) << context;
        EXPECT_TRUE(pages.insert(page).second) << context;
    }
    EXPECT_EQ(HelpPageForContext(HelpContents), HelpHomePage());
    // A number nobody knows leads to the contents rather than nowhere.
    EXPECT_EQ(HelpPageForContext(4242), HelpHomePage());
    EXPECT_EQ(HelpPageForContext(3465), "quick-reference.html");
    EXPECT_EQ(HelpPageForContext(2234), "first-picture.html");
}

TEST(HelpTopicsTest, F1OpensThePageOfTheActiveWindow) {
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("Pigmentaria - (Untitled)")), 3465);
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("Modifying Original Image")), 3466);
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("Palette")), 3467);
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("Edit Palette")), 3467);
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("Print Setup")), 9705);
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("Print Preview")), 9705);
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("About Pigmentaria")), HelpContents);
    EXPECT_EQ(HelpContextForWindow(HelpWindowForCaption("Something else")), HelpContents);
}

TEST(HelpTopicsTest, ThePagesTheTableNamesAreShipped) {
    for (const THelpTopic& t : HelpTopics()) {
        const auto file = std::filesystem::path(PIGMENTARIA_DATA_SOURCE) / "help" / t.Page;
        EXPECT_TRUE(std::filesystem::is_regular_file(file)) << file;
        const std::string html = test::ReadText(file);
        EXPECT_NE(html.find("<h1>"), std::string::npos) << file;
    }
}

TEST(DataFolderTest, FoundFromTheProgramInTheInstalledAndTheBuildTree) {
    test::TTempDir dir;
    // Installed: PREFIX/bin/pigmentaria and PREFIX/share/pigmentaria.
    std::filesystem::create_directories(dir / "usr/bin");
    std::filesystem::create_directories(dir / "usr/share/pigmentaria");
    EXPECT_EQ(DataFolderForProgram(dir / "usr/bin/pigmentaria"), dir / "usr/share/pigmentaria");
    // A copy beside the program.
    std::filesystem::create_directories(dir / "build/src/share/pigmentaria");
    EXPECT_EQ(DataFolderForProgram(dir / "build/src/pigmentaria"),
              dir / "build/src/share/pigmentaria");
    // The installed layout is preferred when both are there.
    std::filesystem::create_directories(dir / "usr/bin/share/pigmentaria");
    EXPECT_EQ(DataFolderForProgram(dir / "usr/bin/pigmentaria"), dir / "usr/share/pigmentaria");
    // A folder only named like the data does not count unless the program sits in bin/.
    std::filesystem::create_directories(dir / "opt/tools");
    std::filesystem::create_directories(dir / "opt/share/pigmentaria");
    EXPECT_FALSE(DataFolderForProgram(dir / "opt/tools/pigmentaria"));
    EXPECT_FALSE(DataFolderForProgram(dir / "nowhere/bin/pigmentaria"));
}

TEST(ProgressThrottleTest, PassesVisibleChangesAFewTimesASecond) {
    TProgressThrottle t(50ms);
    const auto t0 = TProgressThrottle::TClock::time_point{} + 1s;
    t.Start(0, 1000);
    EXPECT_TRUE(t.Pass(0, t0));
    EXPECT_FALSE(t.Pass(5, t0 + 100ms)); // still 0 %
    EXPECT_FALSE(t.Pass(20, t0 + 10ms)); // too soon
    EXPECT_TRUE(t.Pass(20, t0 + 60ms));
    EXPECT_FALSE(t.Pass(20, t0 + 200ms)); // same percent
    // The end always shows, however soon.
    EXPECT_TRUE(t.Pass(1000, t0 + 61ms));
    EXPECT_FALSE(t.Pass(1000, t0 + 500ms));
    // A new range starts afresh.
    t.Start(10, 20);
    EXPECT_TRUE(t.Pass(10, t0 + 62ms));
    EXPECT_EQ(t.Percent(15), 50);
    t.Start(5, 5);
    EXPECT_EQ(t.Percent(5), 100);
    // A whole run of 1,000 rows in 1 s passes at most 21 positions.
    t.Start(0, 1000);
    int passed = 0;
    for (int row = 0; row <= 1000; ++row)
        passed += t.Pass(row, t0 + row * 1ms);
    EXPECT_LE(passed, 21);
    EXPECT_GE(passed, 15);
}

} // namespace
} // namespace pigmentaria
