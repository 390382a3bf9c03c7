#pragma once
// Keeps the recovery copy of the main window's painting (TRecoveryStore) while it has unsaved
// changes: a timer after a change, the file written on a worker thread so that the window never
// waits for the disk, the copy removed when the changes are saved or dropped and at a clean exit.
// At start it offers a copy left by a crash back with "Recover" and "Discard".
#include "app/recovery.h"
#include "editor/document_events.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <QElapsedTimer>
#include <filesystem>
#include <functional>
#include <future>

namespace pigmentaria {

class TVectorForm;

class TRecoveryWatcher : public QObject, private IDocumentObserver {
    Q_OBJECT
public:
    // Watches the window's document for its life; the copy lives in `folder`.
    TRecoveryWatcher(TVectorForm& form, std::filesystem::path folder);
    // A clean exit: the copy goes.
    ~TRecoveryWatcher() override;

    // What the question at start answers: true for "Recover". A message box unless replaced.
    void SetRecoverQuestion(std::function<bool(const QString& text)> ask) { Ask_ = std::move(ask); }
    // At start, before anything is opened: a copy found is offered back (Recover opens it as it
    // was, modified, under its own file name; Discard deletes it); a damaged one is reported and
    // kept aside.
    void CheckAtStart();
    // Waits for a copy being written (tests).
    void Flush();
    const TRecoveryStore& Store() const { return Store_; }

private:
    void DocumentChanged(TDocumentEvent event) override;
    void SaveIfDue();
    // Runs file work on the worker, after the work before it.
    void RunOnWorker(std::function<void()> work);

    TVectorForm& Form_;
    TRecoveryStore Store_;
    TRecoverySchedule Schedule_;
    QTimer Timer_;
    QElapsedTimer Clock_;
    std::future<void> Pending_;
    std::function<bool(const QString&)> Ask_;
};

} // namespace pigmentaria
