#include "editor/qt/tool_controller.h"

#include "editor/qt/app_context.h"
#include "editor/qt/tool_dialogs.h"
#include "editor/qt/vector_form.h"
#include "image/qt/pg_image.h"

#include <QAction>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>

namespace pigmentaria {

namespace {

TShiftState KeyboardShift() {
    const auto mods = QGuiApplication::keyboardModifiers();
    return {(mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0};
}

} // namespace

TToolController::TToolController(TVectorForm& form, IToolDialogs& dialogs)
    : QObject(&form), Form_(form), Ctx_(form.Context()), Dialogs_(&dialogs) {
    // The desktop program keeps a history of changes; the document alone keeps one.
    Ctx_.Document.SetUndoDepth(EditorUndoDepth);

    const TVectorForm::TActions& a = form.Actions();
    QMenu* edit = form.EditMenu();
    Redo_ = new QAction(RedoCaption, edit);
    Redo_->setObjectName("Redo");
    Redo_->setShortcuts({QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")});
    // Right below "&Undo".
    const QList<QAction*> entries = edit->actions();
    const qsizetype undoAt = entries.indexOf(a.Undo);
    edit->insertAction(undoAt + 1 < entries.size() ? entries[undoAt + 1] : nullptr, Redo_);
    connect(Redo_, &QAction::triggered, this, [this] { Ctx_.Document.RedoLast(); });
    connect(edit, &QMenu::aboutToShow, this, &TToolController::UpdateRedo);

    TPGImage* viewer = form.Viewer();
    connect(viewer, &TPGImage::PicBoxMouseDown, this,
            [this](QMouseEvent* e, QPoint box) { ViewerPress(e->button(), box); });
    connect(viewer, &TPGImage::SelectionMade, this, qOverload<>(&TToolController::RegionMade));

    connect(a.SelectColorButton, &QAction::triggered, this,
            [this] { Ctx_.Document.SelectCurrentColor(KeyboardShift()); });
    connect(a.PaintBucketButton, &QAction::triggered, this,
            [this] { Ctx_.Document.PaintSelection(); });
    connect(a.SmoothButton, &QAction::triggered, a.Smooth, &QAction::trigger);
    connect(a.Smooth, &QAction::triggered, this, [this] { Ctx_.Document.SmoothSelection(); });
    connect(a.DeleteSelected, &QAction::triggered, this,
            [this] { Ctx_.Document.DeleteSelection(); });
    connect(a.ReacquireAll, &QAction::triggered, this,
            [this] { Ctx_.Document.ReacquireAllColors(); });
    connect(a.ReacquireSelected, &QAction::triggered, this,
            [this] { Ctx_.Document.ReacquireSelectedColors(); });
    connect(a.MergeTouching, &QAction::triggered, this,
            [this] { Ctx_.Document.MergeTouchingShapesOfOneColour(); });
    connect(a.ColorDialogButton, &QAction::triggered, this, &TToolController::ColorDialogClick);
    connect(a.PaletteButton, &QAction::triggered, this, [this] {
        if (ShowPalette_) ShowPalette_();
    });

    Ctx_.Document.AddObserver(this);
    UpdateRedo();
    form.EnableFeature(&TFeatureSet::Tools);
}

TToolController::~TToolController() {
    Ctx_.Document.RemoveObserver(this);
}

void TToolController::ViewerPress(Qt::MouseButton button, QPoint box) {
    if (button != Qt::LeftButton || !Ctx_.Document.HasPainting() || Ctx_.View.OutlinesOnly())
        return;
    switch (Form_.ToolMode()) {
    case tmEyedropper:
        Ctx_.View.Eyedropper(box.x(), box.y());
        break;
    case tmBrushstroke:
        Ctx_.View.Brushstroke(box.x(), box.y());
        break;
    case tmMerge:
        Ctx_.View.MergeCellAt(box.x(), box.y());
        break;
    default:
        break;
    }
}

void TToolController::RegionMade() {
    RegionMade(KeyboardShift());
}

void TToolController::RegionMade(TShiftState shift) {
    TPGImage* viewer = Form_.Viewer();
    if (Form_.ToolMode() == tmRegion && Ctx_.Document.HasPainting()) {
        const TViewRect r = viewer->SelectionRect();
        // The rectangle's right and bottom are the last pixels inside it.
        Ctx_.View.SelectRegion(r.Left, r.Top, r.Right - 1, r.Bottom - 1,
                               Form_.RegionCurrentColorOnly(), shift);
    }
    // The selection the region made is told by the document; the window's rule follows it.
    viewer->SetSelection(false);
}

void TToolController::ColorDialogClick() {
    if (const auto c = Dialogs_->ChooseColor(Ctx_.Document.PaintColor(), false))
        Ctx_.Document.SetPaintColor(*c);
}

void TToolController::DocumentChanged(TDocumentEvent event) {
    switch (event) {
    case TDocumentEvent::UndoCaptionChanged:
    case TDocumentEvent::ShapesChanged:
        UpdateRedo();
        break;
    default:
        break;
    }
}

void TToolController::UpdateRedo() {
    const TUndoState& undo = Ctx_.Document.Undo();
    Redo_->setText(QString::fromStdString(undo.RedoCaption()));
    Redo_->setEnabled(undo.RedoEnabled());
}

} // namespace pigmentaria
