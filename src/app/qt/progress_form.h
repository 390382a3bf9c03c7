#pragma once
// TProgressForm, the progress window ("Progress": a message and a bar), and the one way long work
// runs behind it: the job runs on a worker thread while the window shows, repaints and keeps the
// user from editing; its progress crosses to the window by queued calls, a few times a second;
// its messages and its result come back with it when it ends. The worker never touches a widget.
#include "app/progress_throttle.h"
#include "platform/report.h"

#include <QDialog>

#include <atomic>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;

namespace pigmentaria {

class TProgressForm : public QDialog {
    Q_OBJECT
public:
    explicit TProgressForm(QWidget* parent = nullptr);

    // The protocol of the long operations, for work done on the window's own thread.
    void SetMessage(const QString& text);
    void SetRange(int minimum, int maximum);
    void SetPosition(int position);
    // Shows the Cancel button (work that can be given up) or hides it.
    void SetCancellable(bool on);

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
};

struct TJobMessages {
    std::vector<std::string> Errors;
    std::vector<std::string> Warnings;
};

enum class TJobStatus { Done, Cancelled, Failed };

struct TJobReport {
    TJobStatus Status = TJobStatus::Done;
    TJobMessages Messages;
    // The failure's text when the job threw.
    std::string Failure;
};

// What a job sees: where to report progress and messages. Messages are kept for the caller; a
// question (Confirm) cannot reach the user from the worker and is answered OK.
struct TJobContext {
    IProgressSink& Progress;
    IMessageSink& Messages;
};

class TJobRunner {
public:
    explicit TJobRunner(TProgressForm& form) : Form_(form) {}

    // Runs `job` on a worker thread behind the progress window, which shows `message` until the
    // job reports its own. Returns when the job has ended; the window is hidden again. With
    // `cancellable` the window offers Cancel: the job's next progress report answers that it is
    // to stop, and a report after that throws EAborted, so that work which does not ask stops too.
    // Jobs work on their own data, so a job stopped this way has changed nothing of the painting.
    TJobReport Run(const QString& message, bool cancellable,
                   const std::function<void(TJobContext&)>& job);

    // The same for a job with a result: none unless it ended Done.
    template <class R>
    std::optional<R> Run(const QString& message, bool cancellable,
                         const std::function<R(TJobContext&)>& job, TJobReport& report) {
        std::optional<R> result;
        report = Run(message, cancellable, [&](TJobContext& c) { result.emplace(job(c)); });
        if (report.Status != TJobStatus::Done) result.reset();
        return result;
    }

    bool Running() const { return Running_; }
    // The largest number of position updates that reached the window in one run (for tests of
    // the throttling).
    int PositionsShown() const { return PositionsShown_; }

private:
    TProgressForm& Form_;
    bool Running_ = false;
    int PositionsShown_ = 0;
};

} // namespace pigmentaria
