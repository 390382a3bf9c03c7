#pragma once
// TProgressForm, the progress window ("Progress": a message and a bar), and TJobRunner, the one
// way long work runs behind it. The runner is a thin Qt front end over the core's TWorkerJob: the
// work runs on the job's thread with the job's progress mailbox; the mailbox wakes the window's
// thread by a queued call, which hands the progress to the window; the result (or the failure)
// is taken when the work has ended. While it runs the window shows, repaints and keeps the user
// from editing (it is application-modal); the worker never touches a widget.
#include "platform/progress_throttle.h"
#include "platform/report.h"
#include "platform/worker.h"

#include <QDialog>
#include <QEventLoop>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pigmentaria {

// The window is the progress sink of work done on its own thread, and the sink the runner hands
// a worker's progress to.
class TProgressForm : public QDialog, public IProgressSink {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);

    // IProgressSink, on the window's thread. Position moves the bar only when that shows (a few
    // times a second) and answers true once Cancel was pressed.
    void Start(const std::string& message, int minimum, int maximum) override;
    bool Position(int position) override;
    void Finish() override {}

    void SetMessage(const QString& text);
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    // Before a run: Cancel shown (work that can be given up) or hidden, not yet pressed.
    void Prepare(bool cancellable);
    bool CancelPressed() const { return CancelPressed_; }
    // Bar moves since Prepare (tests of the throttling).
    int PositionsShown() const { return PositionsShown_; }

    QLabel* ProgressMessage() const { return Message_; }
    QProgressBar* ProgressBar1() const { return Bar_; }
    QPushButton* CancelButton() const { return Cancel_; }

signals:
    void CancelRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLabel* Message_;
    QProgressBar* Bar_;
    QPushButton* Cancel_;
    TProgressThrottle Throttle_;
    bool CancelPressed_ = false;
    int PositionsShown_ = 0;
};

enum class TJobStatus { Done, Cancelled, Failed };

struct TJobReport {
    TJobStatus Status = TJobStatus::Done;
    // What a TJobContext job told its message sink, in order (work that returns its messages in
    // its result keeps them there, for the adopting call to show).
    std::vector<TWorkMessage> Messages;
    // The failure's text when the work threw.
    std::string Failure;
};

// What a job of the older kind sees: a progress sink and a message sink of its own. A question
// cannot reach the user from the worker: it is answered OK and kept as a warning.
struct TJobContext {
    IProgressSink& Progress;
    IMessageSink& Messages;
};

class TJobRunner {
public:
    explicit TJobRunner(TProgressForm& form) : Form_(form) {}

    // Runs `work` on a worker thread behind the progress window, which shows `message` until the
    // work starts its own progress, and returns when the work has ended; the window is hidden
    // again. `work` is called as Result(IProgressSink&) (the core's pure steps: Retrace,
    // ReduceAndTrace, PlaceNumbers, LoadPictureFile...) or as Result(TJobContext&); it must own
    // what it reads (copies made here) and may be move-only. The result comes back only when the
    // work ended Done; adopt it on this thread.
    //
    // With `cancellable` the window offers Cancel: the work's next progress report answers that
    // it is to stop (TProgressRun::Step throws EAborted) and a report after that throws EAborted,
    // so that work which does not listen stops too. Cancel pressed after the last report still
    // gives Cancelled and no result.
    template <class Result, class Work>
    std::optional<Result> Run(const QString& message, bool cancellable, Work work,
                              TJobReport& report);

    bool Running() const { return Running_; }
    // Bar moves shown in the last run (tests of the throttling).
    int PositionsShown() const { return Form_.PositionsShown(); }

private:
    // The window's side of one run: the worker's calls arrive here as queued calls, so that none
    // outlives the run (posts still waiting go with this object).
    class TRunLoop final : public QObject {
    public:
        // Worker thread.
        void PostDeliver(std::function<void()> deliver);
        void PostFinished();
        // Window's thread: runs the event loop until the work has finished.
        void Exec();

    private:
        QEventLoop Loop_;
        bool Finished_ = false;
    };

    // The worker's sink over the job's mailbox: after the one report that answered "stop", the
    // next report throws EAborted.
    class TStoppingProgress final : public IProgressSink {
    public:
        explicit TStoppingProgress(IProgressSink& mailbox) : Mailbox_(mailbox) {}
        void Start(const std::string& message, int minimum, int maximum) override;
        bool Position(int position) override;
        void Finish() override { Mailbox_.Finish(); }

    private:
        IProgressSink& Mailbox_;
        bool Answered_ = false;
    };

    bool Begin(const QString& message, bool cancellable, TJobReport& report);
    // Waits in the event loop; Cancel asks `abort`.
    void Await(TRunLoop& loop, const std::function<void()>& abort);
    void End(TJobReport& report, std::vector<TWorkMessage> messages);
    static void Fail(TJobReport& report);

    TProgressForm& Form_;
    bool Running_ = false;
};

template <class Result, class Work>
std::optional<Result> TJobRunner::Run(const QString& message, bool cancellable, Work work,
                                      TJobReport& report) {
    report = TJobReport{};
    if (!Begin(message, cancellable, report)) return std::nullopt;
    // The worker's own message sink; read here only once the work has ended.
    auto messages = std::make_shared<TCollectedMessages>();
    std::optional<Result> result;
    {
        TRunLoop loop;
        TWorkerJob<Result> job(
            [work = std::move(work), messages](IProgressSink& mailbox) mutable -> Result {
                TStoppingProgress progress(mailbox);
                if constexpr (std::is_invocable_v<Work&, IProgressSink&>) {
                    return work(static_cast<IProgressSink&>(progress));
                } else {
                    TJobContext context{progress, *messages};
                    return work(context);
                }
            },
            [&loop] { loop.PostFinished(); },
            [&loop, &job, &form = Form_] {
                loop.PostDeliver([&job, &form] { job.DeliverProgress(form); });
            });
        Await(loop, [&job] { job.RequestAbort(); });
        job.DeliverProgress(Form_);
        try {
            result.emplace(job.TakeResult());
        } catch (...) {
            Fail(report);
        }
    }
    End(report, messages->Take());
    if (report.Status != TJobStatus::Done) result.reset();
    return result;
}

} // namespace pigmentaria
