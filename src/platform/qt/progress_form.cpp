#include "platform/qt/progress_form.h"

#include "platform/qt/translation.h"
#include "platform/qt/value_label.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

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
        CancelPressed_ = true;
        emit CancelRequested();
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Message_);
    layout->addWidget(Bar_);
    layout->addWidget(Cancel_, 0, Qt::AlignHCenter);
    setWindowModality(Qt::ApplicationModal);
}

void TProgressForm::SetMessage(const QString& text) {
    // The work names its step while the window shows.
    ShowValue(Message_, WindowText::Tr(text));
}

void TProgressForm::SetRange(int minimum, int maximum) {
    Bar_->setRange(minimum, std::max(minimum, maximum));
    Bar_->setValue(minimum);
}

void TProgressForm::SetPosition(int position) {
    Bar_->setValue(position);
}

void TProgressForm::Prepare(bool cancellable) {
    CancelPressed_ = false;
    PositionsShown_ = 0;
    Throttle_.Start(0, 100);
    Cancel_->setVisible(cancellable);
    Cancel_->setEnabled(cancellable);
    adjustSize();
}

void TProgressForm::Start(const std::string& message, int minimum, int maximum) {
    SetMessage(QString::fromStdString(message));
    SetRange(minimum, maximum);
    Throttle_.Start(minimum, maximum);
}

bool TProgressForm::Position(int position) {
    if (Throttle_.Pass(position, TProgressThrottle::TClock::now())) {
        ++PositionsShown_;
        SetPosition(position);
    }
    return CancelPressed_;
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

// ---- TJobRunner

void TJobRunner::TRunLoop::PostDeliver(std::function<void()> deliver) {
    QMetaObject::invokeMethod(this, std::move(deliver), Qt::QueuedConnection);
}

void TJobRunner::TRunLoop::PostFinished() {
    QMetaObject::invokeMethod(
        this,
        [this] {
            Finished_ = true;
            Loop_.quit();
        },
        Qt::QueuedConnection);
}

void TJobRunner::TRunLoop::Exec() {
    while (!Finished_)
        Loop_.exec();
}

void TJobRunner::TStoppingProgress::Start(const std::string& message, int minimum, int maximum) {
    Mailbox_.Start(message, minimum, maximum);
    if (Answered_) throw EAborted();
}

bool TJobRunner::TStoppingProgress::Position(int position) {
    if (!Mailbox_.Position(position)) return false;
    // Asked once; work that goes on regardless is stopped here.
    if (Answered_) throw EAborted();
    Answered_ = true;
    return true;
}

bool TJobRunner::Begin(const QString& message, bool cancellable, TJobReport& report) {
    if (Running_) {
        report.Status = TJobStatus::Failed;
        report.Failure = "Another operation is still running.";
        return false;
    }
    Running_ = true;
    Form_.Prepare(cancellable);
    Form_.SetMessage(message);
    Form_.SetRange(0, 100);
    Form_.show();
    Form_.raise();
    return true;
}

void TJobRunner::Await(TRunLoop& loop, const std::function<void()>& abort) {
    const QMetaObject::Connection cancel =
        QObject::connect(&Form_, &TProgressForm::CancelRequested, &loop, abort);
    // The window keeps painting and the other windows stay unusable (the form is modal) until
    // the work is done.
    loop.Exec();
    QObject::disconnect(cancel);
}

void TJobRunner::Fail(TJobReport& report) {
    try {
        throw;
    } catch (const EAborted&) {
        report.Status = TJobStatus::Cancelled;
    } catch (const std::exception& e) {
        report.Status = TJobStatus::Failed;
        report.Failure = e.what();
    } catch (...) {
        report.Status = TJobStatus::Failed;
        report.Failure = "The operation failed.";
    }
}

void TJobRunner::End(TJobReport& report, std::vector<TWorkMessage> messages) {
    Form_.hide();
    Running_ = false;
    report.Messages = std::move(messages);
    // Cancelled after the last report: the work is done, but the user asked not to have it.
    if (report.Status == TJobStatus::Done && Form_.CancelPressed())
        report.Status = TJobStatus::Cancelled;
}

} // namespace pigmentaria
