// Long work behind the progress window: the core's own steps run on the worker, their progress
// reaches the window on its thread only, and the result is adopted on that thread.
#include "editor/document.h"
#include "editor/painting_view.h"
#include "platform/qt/progress_form.h"

#include "app/qt/widget_test_util.h"

#include <QCoreApplication>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace pigmentaria {
namespace {

// The progress window, noting what it was told and on which thread.
class TWatchedForm final : public TProgressForm {
public:
    void Start(const std::string& message, int minimum, int maximum) override {
        Note();
        Messages.push_back(message);
        TProgressForm::Start(message, minimum, maximum);
    }
    bool Position(int position) override {
        Note();
        ++Positions;
        return TProgressForm::Position(position);
    }
    void Finish() override {
        Note();
        ++Finishes;
    }
    std::vector<std::string> Messages;
    int Positions = 0, Finishes = 0, ForeignCalls = 0;

private:
    void Note() {
        if (QThread::currentThread() != QCoreApplication::instance()->thread()) ++ForeignCalls;
    }
};

struct JobRunnerCoreTest : ::testing::Test {
    JobRunnerCoreTest() : Runner(Form) {
        Core.Document.ReplaceShapes(test::GridPainting(600, 400, 30, 20), 0);
    }
    test::TTempDir Dir;
    test::TScriptedDialogs Dialogs;
    TAppCore Core{test::FoldersIn(Dir.Path()), Dialogs};
    TWatchedForm Form;
    TJobRunner Runner;
};

TEST_F(JobRunnerCoreTest, ARetraceRunsOnTheWorkerAndIsAdoptedHere) {
    auto input = Core.View.RetraceInput();
    ASSERT_TRUE(input);
    const QThread* gui = QThread::currentThread();
    const QThread* worker = nullptr;
    TJobReport report;
    auto result = Runner.Run<TRetraceResult>(
        "Working...", true,
        [in = std::move(*input), &worker](IProgressSink& progress) mutable {
            worker = QThread::currentThread();
            return Retrace(std::move(in), progress);
        },
        report);
    ASSERT_TRUE(result);
    EXPECT_EQ(report.Status, TJobStatus::Done);
    EXPECT_NE(worker, gui);
    EXPECT_EQ(Form.Messages, std::vector<std::string>{TracingMessage});
    EXPECT_GT(Form.Positions, 0);
    EXPECT_GE(Form.Finishes, 1);
    EXPECT_EQ(Form.ForeignCalls, 0);
    EXPECT_FALSE(Form.isVisible());
    EXPECT_TRUE(Core.Document.AdoptRetrace(std::move(*result)));
    EXPECT_EQ(Core.Document.UndoCaption(), UndoRetrace);
    EXPECT_TRUE(Core.Document.HasSourcePicture());
}

TEST_F(JobRunnerCoreTest, NumbersPlacedOnTheWorkerAreRefusedWhenThePaintingChangedMeanwhile) {
    TJobReport report;
    // The painting changes while the numbers are placed (a click would, were the window not
    // modal): the labels are for a painting that is no more.
    auto numbers = Runner.Run<TNumberingResult>(
        "Working...", false,
        [in = Core.Document.NumberingInput()](IProgressSink& progress) {
            return PlaceNumbers(in, progress);
        },
        report);
    ASSERT_TRUE(numbers);
    EXPECT_FALSE(numbers->Labels.empty());
    Core.Document.SelectAll();
    Core.Document.DeleteSelection();
    EXPECT_FALSE(Core.Document.AdoptLabels(std::move(*numbers)));
    EXPECT_TRUE(Core.Document.NumberLabels().empty());
    // Placed again on the painting as it is now, they are taken.
    numbers = Runner.Run<TNumberingResult>(
        "Working...", false,
        [in = Core.Document.NumberingInput()](IProgressSink& progress) {
            return PlaceNumbers(in, progress);
        },
        report);
    ASSERT_TRUE(numbers);
    EXPECT_TRUE(Core.Document.AdoptLabels(std::move(*numbers)));
}

TEST_F(JobRunnerCoreTest, OneRunAtATimeAndMoveOnlyWorkAndResults) {
    TJobReport inner;
    bool innerRan = false;
    std::optional<int> innerResult;
    TJobReport report;
    auto owned = std::make_unique<int>(7);
    auto result = Runner.Run<std::unique_ptr<int>>(
        "Working...", false,
        [owned = std::move(owned), &innerRan, &innerResult, &inner,
         this](IProgressSink& progress) mutable {
            TProgressRun run(progress, "Counting...", 0, 1);
            // While this runs, the window's thread tries to start another.
            QMetaObject::invokeMethod(
                &Form,
                [&] {
                    innerResult = Runner.Run<int>(
                        "Again...", false,
                        [&innerRan](IProgressSink&) {
                            innerRan = true;
                            return 1;
                        },
                        inner);
                },
                Qt::BlockingQueuedConnection);
            run.Step(1);
            return std::move(owned);
        },
        report);
    ASSERT_TRUE(result && *result);
    EXPECT_EQ(**result, 7);
    EXPECT_FALSE(innerRan);
    EXPECT_FALSE(innerResult);
    EXPECT_EQ(inner.Status, TJobStatus::Failed);
    EXPECT_FALSE(inner.Failure.empty());
    EXPECT_FALSE(Runner.Running());
}

} // namespace
} // namespace pigmentaria
