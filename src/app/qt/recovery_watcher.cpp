#include "app/qt/recovery_watcher.h"

#include "editor/qt/vector_form.h"
#include "model/painting_file.h"

#include <QMessageBox>
#include <QPushButton>

#include <cstdio>

namespace pigmentaria {

namespace {

bool AskWithMessageBox(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, "Pigmentaria", text, QMessageBox::NoButton, parent);
    QPushButton* recover = box.addButton("Recover", QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton("Discard", QMessageBox::DestructiveRole);
    recover->setAccessibleName("Recover");
    discard->setAccessibleName("Discard");
    box.setDefaultButton(recover);
    box.exec();
    return box.clickedButton() == recover;
}

} // namespace

TRecoveryWatcher::TRecoveryWatcher(TVectorForm& form, std::filesystem::path folder)
    : Form_(form), Store_(std::move(folder)) {
    Timer_.setSingleShot(true);
    connect(&Timer_, &QTimer::timeout, this, &TRecoveryWatcher::SaveIfDue);
    Clock_.start();
    Ask_ = [this](const QString& text) { return AskWithMessageBox(&Form_, text); };
    Form_.Document().AddObserver(this);
}

TRecoveryWatcher::~TRecoveryWatcher() {
    Form_.Document().RemoveObserver(this);
    Flush();
    Store_.Remove();
}

void TRecoveryWatcher::Flush() {
    if (Pending_.valid()) Pending_.wait();
}

void TRecoveryWatcher::RunOnWorker(std::function<void()> work) {
    // One after the other: a removal never overtakes the write before it.
    Flush();
    Pending_ = std::async(std::launch::async, [work = std::move(work)] {
        try {
            work();
        } catch (const std::exception& e) {
            // No window to bother: the painting itself is untouched, only its copy is missing.
            std::fprintf(stderr, "pigmentaria: the recovery copy was not written: %s\n", e.what());
        }
    });
}

void TRecoveryWatcher::DocumentChanged(TDocumentEvent event) {
    if (event != TDocumentEvent::ShapesChanged && event != TDocumentEvent::ModifiedChanged &&
        event != TDocumentEvent::PrintLayoutChanged)
        return;
    const bool wasPending = Schedule_.Pending();
    if (Schedule_.Changed(Form_.Document().Modified(), Clock_.elapsed()) ==
        TRecoverySchedule::TAction::Remove)
        RunOnWorker([store = Store_] { store.Remove(); });
    if (!Schedule_.Pending())
        Timer_.stop();
    else if (!wasPending)
        Timer_.start(static_cast<int>(Schedule_.Wait(Clock_.elapsed())));
}

void TRecoveryWatcher::SaveIfDue() {
    const std::int64_t now = Clock_.elapsed();
    if (!Schedule_.Due(now)) {
        if (Schedule_.Pending()) Timer_.start(static_cast<int>(Schedule_.Wait(now)));
        return;
    }
    const TPaintingDocument& document = Form_.Document();
    // The bytes are made here, where the painting lives; only the disk work goes to the worker.
    std::vector<std::uint8_t> bytes =
        EncodePainting(document.Shapes(), Form_.PaletteName(), document.PrintLayout());
    std::string name = Form_.PaintingFile().toStdString();
    Schedule_.Saved();
    RunOnWorker([store = Store_, bytes = std::move(bytes), name = std::move(name)] {
        store.Save(bytes, name);
    });
}

void TRecoveryWatcher::CheckAtStart() {
    Flush();
    const TRecoveryFound found = Store_.Check();
    switch (found.Kind) {
    case TRecoveryFound::TKind::Nothing:
        return;
    case TRecoveryFound::TKind::Damaged:
        Form_.Dialogs().Error(DamagedRecoveryMessage(found));
        return;
    case TRecoveryFound::TKind::Painting:
        break;
    }
    if (!Ask_(QString::fromStdString(RecoveryQuestion(found.PaintingFile)))) {
        Store_.Remove();
        return;
    }
    // The copy stays where it is, as the painting now is, until it is saved or dropped.
    if (Form_.RecoverPainting(Store_.PaintingPath(), QString::fromStdString(found.PaintingFile))) {
        Schedule_.Saved();
        Timer_.stop();
    }
}

} // namespace pigmentaria
