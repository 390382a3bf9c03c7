#pragma once
// The main window's editing tools: the tool buttons' work on the viewer (eyedropper, brushstroke,
// merging a cell, region selection through the viewer's rubber band), the commands of the Edit and
// Special menus that change the selected shapes, the colour dialog, and the undo history's "&Redo"
// entry. It connects itself to the main window's actions and switches the tools on.
#include "editor/document.h"
#include "editor/document_events.h"

#include <QObject>

#include <functional>

class QAction;
class QMouseEvent;

namespace pigmentaria {

class IToolDialogs;
class TVectorForm;
struct TAppContext;

class TToolController final : public QObject, private IDocumentObserver {
    Q_OBJECT
public:
    TToolController(TVectorForm& form, IToolDialogs& dialogs);
    ~TToolController() override;

    // "&Redo" in the Edit menu, below "&Undo": Ctrl+Shift+Z and Ctrl+Y.
    QAction* RedoAction() const { return Redo_; }
    // Replaces the dialogs (tests answer them).
    void SetDialogs(IToolDialogs& dialogs) { Dialogs_ = &dialogs; }
    // What "Work with the current palette." shows.
    void SetPaletteWindow(std::function<void()> show) { ShowPalette_ = std::move(show); }

    // The press on the viewer at a point of the rendered painting, for the eyedropper, the
    // brushstroke and the merge tool (the main window itself handles the selection tool).
    void ViewerPress(Qt::MouseButton button, QPoint box);
    // The viewer's finished rubber band: the region tools select by it, then it is cleared.
    void RegionMade();
    // The same with the modifier keys given.
    void RegionMade(TShiftState shift);
    void ColorDialogClick();

private:
    void DocumentChanged(TDocumentEvent event) override;
    void UpdateRedo();

    TVectorForm& Form_;
    TAppContext& Ctx_;
    IToolDialogs* Dialogs_;
    QAction* Redo_;
    std::function<void()> ShowPalette_;
};

} // namespace pigmentaria
