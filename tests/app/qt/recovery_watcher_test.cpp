// Crash recovery in the desktop program: a copy written while the painting has unsaved changes
// survives a killed process and reads back as the painting; at the next start it is offered back
// (Recover, Discard), and a damaged one is reported and kept aside.
#include "app/qt/recovery_watcher.h"
#include "editor/document.h"
#include "editor/qt/vector_form.h"
#include "model/painting_file.h"
#include "test_util.h"
#include "widget_test_util.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>

extern char** environ;

namespace pigmentaria {
namespace {

using test::TTempDir;
using test::TTestWindows;

std::vector<std::uint8_t> EncodedShapes(const TShapeList& shapes) {
    return EncodePainting(shapes, "", TPrintLayoutBlock{});
}

// The desktop program is started on the offscreen platform with the painting, makes the test's
// edit as a user would, and is killed once its recovery copy is there.
TEST(RecoveryAfterKill, TheCopyOfAKilledProgramLoadsAsThePaintingItHad) {
    TTempDir dir;
    const std::filesystem::path painting = dir / "grid.kvp";
    test::WriteGridPainting(painting, 120, 90, 4, 3);
    const std::filesystem::path state = dir / "state";

    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string_view v(*e);
        if (v.rfind("XDG_STATE_HOME=", 0) != 0 && v.rfind("HOME=", 0) != 0 &&
            v.rfind("QT_QPA_PLATFORM=", 0) != 0)
            env.emplace_back(v);
    }
    env.push_back("XDG_STATE_HOME=" + state.string());
    env.push_back("HOME=" + dir.Path().string());
    env.push_back("QT_QPA_PLATFORM=offscreen");
    env.push_back("PIGMENTARIA_TEST_EDIT=delete-all");
    std::vector<char*> envp;
    for (std::string& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string program = PIGMENTARIA_DESKTOP, file = painting.string();
    char* argv[] = {program.data(), file.data(), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);

    const TRecoveryStore store(state / "pigmentaria");
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!store.Exists() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(store.Exists()) << "no recovery copy within 30 s";
    EXPECT_TRUE(WIFSIGNALED(status));

    // The same edit on the painting, made here.
    test::TRecordingMessages messages;
    TPaintingDocument expected(messages);
    ASSERT_TRUE(expected.OpenPainting(painting));
    const std::size_t before = expected.Shapes().Count();
    expected.SelectAll();
    expected.DeleteSelection();
    ASSERT_LT(expected.Shapes().Count(), before);

    const TRecoveryFound found = store.Check();
    ASSERT_EQ(found.Kind, TRecoveryFound::TKind::Painting) << found.Problem;
    EXPECT_EQ(found.PaintingFile, painting.string());
    EXPECT_EQ(EncodedShapes(found.Contents->Shapes), EncodedShapes(expected.Shapes()));
}

struct TRecoveryStart : testing::Test {
    TTestWindows App;
    TTempDir State;
    TVectorForm& Form() { return App.Windows.VectorForm(); }
};

TEST_F(TRecoveryStart, RecoverOpensTheCopyModifiedUnderItsOwnNameAndSavingRemovesIt) {
    const std::filesystem::path own = App.Dir / "cat.kvp";
    const TShapeList shapes = test::GridPainting(60, 40, 3, 2);
    std::vector<QString> asked;
    {
        TRecoveryWatcher recovery(Form(), State.Path());
        recovery.Store().Save(EncodedShapes(shapes), own.string());
        recovery.SetRecoverQuestion([&asked](const QString& text) {
            asked.push_back(text);
            return true;
        });
        recovery.CheckAtStart();
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_TRUE(asked[0].contains("cat.kvp"));
        EXPECT_EQ(EncodedShapes(App.Windows.Document().Shapes()), EncodedShapes(shapes));
        EXPECT_TRUE(App.Windows.Document().Modified());
        EXPECT_EQ(Form().PaintingFile(), QString::fromStdString(own.string()));
        EXPECT_TRUE(Form().Title().contains("cat.kvp"));
        // The recovered painting is not a file the user opened.
        EXPECT_EQ(App.Windows.App().RecentFiles().Count(), 0);
        EXPECT_TRUE(App.Dialogs.Errors.empty());

        ASSERT_TRUE(Form().SaveClick());
        recovery.Flush();
        EXPECT_FALSE(recovery.Store().Exists());
        EXPECT_EQ(EncodedShapes(ReadPaintingFile(own).Shapes), EncodedShapes(shapes));
    }
}

TEST_F(TRecoveryStart, DiscardDeletesTheCopyAndAnUntitledOneStaysUntitled) {
    TRecoveryWatcher recovery(Form(), State.Path());
    recovery.Store().Save(EncodedShapes(test::GridPainting(60, 40, 3, 2)), "");
    QString question;
    recovery.SetRecoverQuestion([&question](const QString& text) {
        question = text;
        return false;
    });
    recovery.CheckAtStart();
    EXPECT_TRUE(question.contains("(Untitled)"));
    EXPECT_FALSE(recovery.Store().Exists());
    EXPECT_FALSE(App.Windows.Document().HasPainting());
}

TEST_F(TRecoveryStart, ADamagedCopyIsReportedAndKeptAsideUnopened) {
    TRecoveryWatcher recovery(Form(), State.Path());
    std::vector<std::uint8_t> bytes = EncodedShapes(test::GridPainting(60, 40, 3, 2));
    bytes.resize(bytes.size() - 3);
    recovery.Store().Save(bytes, "/somewhere/cat.kvp");
    bool asked = false;
    recovery.SetRecoverQuestion([&asked](const QString&) { return asked = true; });
    recovery.CheckAtStart();
    EXPECT_FALSE(asked);
    ASSERT_EQ(App.Dialogs.Errors.size(), 1u);
    EXPECT_NE(App.Dialogs.Errors[0].find("recovery.kvp.damaged"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(State / "recovery.kvp.damaged"));
    EXPECT_FALSE(recovery.Store().Exists());
    EXPECT_FALSE(App.Windows.Document().HasPainting());
}

TEST_F(TRecoveryStart, AChangeIsCopiedAndACleanExitRemovesTheCopy) {
    const std::filesystem::path own = App.Dir / "grid.kvp";
    test::WriteGridPainting(own, 60, 40, 3, 2);
    ASSERT_TRUE(Form().OpenFile(QString::fromStdString(own.string())));
    {
        TRecoveryWatcher recovery(Form(), State.Path());
        App.Windows.Document().SelectAll();
        App.Windows.Document().DeleteSelection();
        ASSERT_TRUE(test::WaitFor(
            [&] {
                recovery.Flush();
                return recovery.Store().Exists();
            },
            RecoverySaveDelayMs + 5000));
        EXPECT_EQ(EncodedShapes(recovery.Store().Check().Contents->Shapes),
                  EncodedShapes(App.Windows.Document().Shapes()));
    }
    EXPECT_FALSE(TRecoveryStore(State.Path()).Exists());
}

} // namespace
} // namespace pigmentaria
