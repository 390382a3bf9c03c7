#include "app/qt/progress_form.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

#include <memory>
#include <mutex>

namespace pigmentaria {

TProgressForm::TProgressForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowStaysOnTopHint) {
    setWindowTitle("Progress");
    setObjectName("ProgressForm");
    Message_ = new QLabel(this);
    Message_->setObjectName("ProgressMessage");
    Message_->setAlignment(Qt::AlignCenter);
    Message_->setMinimumWidth(300);
    Bar_ = new QProgressBar(this);
    Bar_->setObjectName("ProgressBar1");
    Bar_->setRange(0, 100);
    Bar_->setAccessibleName("Progress");
    Cancel_ = new QPushButton("Cancel", this);
    Cancel_->setAccessibleName("Cancel");
    Cancel_->hide();
    connect(Cancel_, &QPushButton::clicked, this, [this] {
        Cancel_->setEnabled(false);
        emit CancelRequested();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Message_);
    layout->addWidget(Bar_);
    layout->addWidget(Cancel_, 0, Qt::AlignHCenter);
    setWindowModality(Qt::ApplicationModal);
}

void TProgressForm::SetMessage(const QString& text) {
    Message_->setText(text);
    Message_->setAccessibleName(text);
}

void TProgressForm::SetRange(int minimum, int maximum) {
    Bar_->setRange(minimum, std::max(minimum, maximum));
    Bar_->setValue(minimum);
}

void TProgressForm::SetPosition(int position) {
    Bar_->setValue(position);
}

void TProgressForm::SetCancellable(bool on) {
    Cancel_->setVisible(on);
    Cancel_->setEnabled(on);
    adjustSize();
}

// The window has no border icons: it goes away when its work ends, never by the user.
void TProgressForm::closeEvent(QCloseEvent* event) {
    event->ignore();
}

void TProgressForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        if (Cancel_->isVisible() && Cancel_->isEnabled()) Cancel_->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

namespace {

// Shared between the worker and the window; the worker only ever posts to the window.
struct TJobShared {
    std::atomic<bool> CancelRequested{false};
    std::mutex Lock;
    TJobMessages Messages;
};

class TWorkerProgress final : public IProgressSink {
public:
    TWorkerProgress(TJobShared& shared, QPointer<TProgressForm> form, int& shown)
        : Shared_(shared), Form_(std::move(form)), Shown_(shown) {}
    void Start(const std::string& message, int minimum, int maximum) override {
        if (Shared_.CancelRequested) throw EAborted();
        Throttle_.Start(minimum, maximum);
        Post([message = QString::fromStdString(message), minimum, maximum](TProgressForm& f) {
            f.SetMessage(message);
            f.SetRange(minimum, maximum);
        });
    }
    bool Position(int position) override {
        if (Shared_.CancelRequested) {
            // Asked once; work that goes on regardless is stopped here.
            if (Answered_) throw EAborted();
            Answered_ = true;
            return true;
        }
        if (!Throttle_.Pass(position, TProgressThrottle::TClock::now())) return false;
        Post([position, &shown = Shown_](TProgressForm& f) {
            ++shown;
            f.SetPosition(position);
        });
        return false;
    }
    void Finish() override {}

private:
    template <class F> void Post(F f) {
        QPointer<TProgressForm> form = Form_;
        if (!form) return;
        QMetaObject::invokeMethod(
            form.data(),
            [form, f] {
                if (form) f(*form);
            },
            Qt::QueuedConnection);
    }
    TJobShared& Shared_;
    QPointer<TProgressForm> Form_;
    int& Shown_;
    TProgressThrottle Throttle_;
    bool Answered_ = false;
};

class TWorkerMessages final : public IMessageSink {
public:
    explicit TWorkerMessages(TJobShared& shared) : Shared_(shared) {}
    void Error(const std::string& text) override {
        std::lock_guard lock(Shared_.Lock);
        Shared_.Messages.Errors.push_back(text);
    }
    void Warning(const std::string& text) override {
        std::lock_guard lock(Shared_.Lock);
        Shared_.Messages.Warnings.push_back(text);
    }
    bool Confirm(const std::string& text) override {
        Warning(text);
        return true;
    }

private:
    TJobShared& Shared_;
};

} // namespace

TJobReport TJobRunner::Run(const QString& message, bool cancellable,
                           const std::function<void(TJobContext&)>& job) {
    TJobReport report;
    if (Running_) {
        report.Status = TJobStatus::Failed;
        report.Failure = "Another operation is still running.";
        return report;
    }
    Running_ = true;
    PositionsShown_ = 0;
    auto shared = std::make_shared<TJobShared>();
    std::exception_ptr failure;

    Form_.SetMessage(message);
    Form_.SetRange(0, 100);
    Form_.SetCancellable(cancellable);
    const QMetaObject::Connection cancel =
        QObject::connect(&Form_, &TProgressForm::CancelRequested, &Form_,
                         [shared] { shared->CancelRequested = true; });
    Form_.show();
    Form_.raise();

    QEventLoop loop;
    QPointer<TProgressForm> form(&Form_);
    int shown = 0;
    QThread* worker = QThread::create([&, shared, form] {
        TWorkerProgress progress(*shared, form, shown);
        TWorkerMessages messages(*shared);
        TJobContext context{progress, messages};
        try {
            job(context);
        } catch (...) {
            failure = std::current_exception();
        }
    });
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    worker->start();
    // The window keeps painting and the other windows stay unusable (the form is modal) until the
    // worker is done.
    loop.exec();
    worker->wait();
    delete worker;
    // Progress posted just before the end is of no use now.
    QCoreApplication::removePostedEvents(&Form_, QEvent::MetaCall);

    QObject::disconnect(cancel);
    Form_.hide();
    PositionsShown_ = shown;
    Running_ = false;
    {
        std::lock_guard lock(shared->Lock);
        report.Messages = shared->Messages;
    }
    if (failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const EAborted&) {
            report.Status = TJobStatus::Cancelled;
        } catch (const std::exception& e) {
            report.Status = TJobStatus::Failed;
            report.Failure = e.what();
        } catch (...) {
            report.Status = TJobStatus::Failed;
            report.Failure = "The operation failed.";
        }
    } else if (shared->CancelRequested && cancellable) {
        // Cancelled after the last report: the work is done, but the user asked not to have it.
        report.Status = TJobStatus::Cancelled;
    }
    return report;
}

} // namespace pigmentaria
