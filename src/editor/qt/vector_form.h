#pragma once
// TVectorForm, the main window: it shows the program's one painting (the document) through its
// view, in a viewer under a tool bar, with a status bar below and the main menu above. Its
// workflow (opening and saving, importing, the title, the settings file) is its controller's,
// TMainController; the window calls it from its menus and shows what it says. It observes the
// document, the view and its own state and runs the enabling rule on every change they tell.
#include "editor/enabling.h"
#include "editor/main_controller.h"
#include "editor/qt/app_context.h"
#include "editor/qt/form_dialogs.h"
#include "editor/qt/import_dialog.h"
#include "platform/latest_worker.h"

#include <QImage>
#include <QMainWindow>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;

namespace pigmentaria {

class TPGImage;
class TZoomForm;
class TMainDialogsAdapter;
class TPictureImportAdapter;

class TVectorForm : public QMainWindow, private IDocumentObserver {
    Q_OBJECT
public:
    // The window works on the context's document, view and application state for its life.
    explicit TVectorForm(TAppContext& context, QWidget* parent = nullptr);
    ~TVectorForm() override;

    // The windows created after this one that it uses.
    void SetZoomForm(TZoomForm* zoom) { ZoomForm_ = zoom; }
    void SetImportDialog(IImportDialog* dialog);
    // The parts of the program this build has: the enabling rule keeps the entries of the others
    // disabled. Each part switches on its own flag where it attaches itself, e.g.
    // `form.EnableFeature(&TFeatureSet::Print)`; Import follows the import dialog given.
    void EnableFeature(bool TFeatureSet::*feature);
    void SetFeatures(const TFeatureSet& features);
    const TFeatureSet& Features() const { return Controller_.State().Features(); }
    // Help: context numbers (0 for the contents); the about box.
    void SetHelpHandler(std::function<void(int context)> help) { Help_ = std::move(help); }
    void SetAboutHandler(std::function<void()> about) { About_ = std::move(about); }

    TAppContext& Context() { return Ctx_; }
    TPaintingDocument& Document() { return Ctx_.Document; }
    TPaintingView& View() { return Ctx_.View; }
    TAppState& App() { return Ctx_.App; }
    IFormDialogs& Dialogs() { return Ctx_.Dialogs; }
    TPGImage* Viewer() const { return PGImage1_; }
    TMainController& Controller() { return Controller_; }
    QString Title() const { return QString::fromStdString(Controller_.State().Title()); }
    // The painting file last opened or saved (empty for an untitled painting) and the palette
    // name it keeps.
    QString PaintingFile() const {
        return QString::fromStdString(Controller_.State().PaintingFile());
    }
    const std::string& PaletteName() const { return Controller_.PaletteName(); }
    void SetPaletteName(const std::string& name) { Controller_.SetPaletteName(name); }
    // The tool mode (tmSelection, tmEyedropper, tmBrushstroke, tmRegion, tmMerge) and, for the
    // region, whether it is restricted to the current colour.
    int ToolMode() const { return Controller_.State().ToolMode(); }
    bool RegionCurrentColorOnly() const { return Controller_.State().RegionCurrentColorOnly(); }

    // ---- Operations of the window (the controller's, for the shell and tests)
    // True to proceed: nothing to save, "No", or "Yes" and the painting was saved.
    bool AskToSave();
    void RunEnablingRule();
    TEnablingState EnablingState() const;
    // A painting file or a picture, as given at start or dropped on the window.
    void OpenOrImport(const QString& file);
    // Opens without asking; false (message shown, nothing changed) on failure.
    bool OpenFile(const QString& file);
    // A painting as a recovery copy kept it: opened from `copy`, marked modified, under its own
    // file name (untitled when it had none), not added to the recent files.
    bool RecoverPainting(const std::filesystem::path& copy, const QString& paintingFile);
    bool SaveClick();
    bool SaveAsClick();
    void SetZoomLevel(double zoom);
    void StepZoom(int direction);
    // The custom zoom dialog: true when "Ok" set a new zoom.
    bool CustomZoomClick();
    // "Re-Trace Painting" behind the progress window; false when it was cancelled or refused.
    bool RetraceClick();
    // The title for a painting that came from the import dialog: untitled, no file.
    void BecomeUntitled();
    // Logout: false when the session must not end (the user cancelled, or cannot be asked while
    // work is unsaved).
    bool CommitData(bool allowsInteraction);
    void LoadSettingsFile();
    void SaveSettingsFile();

    // ---- Menu entries and buttons, for the enabling rule, shortcuts and tests
    struct TActions {
        QAction *OpenPainting, *Save, *SaveAs, *SavePalette, *ExportPainting, *ImportPicture,
            *NewTemplate, *ImportClipboard, *ReImport, *Print, *PrintPalette, *Exit;
        std::array<QAction*, RecentFileCount> Recent;
        QAction *Undo, *CopySelected, *CopyBitmap, *DeleteSelected, *SelectAll, *SelectSpecial,
            *SelectCurrentColor, *SelectRegion, *SelectColorInRegion, *DeselectAll;
        QAction *Smooth, *ReacquireAll, *ReacquireSelected, *Retrace, *ViewOutlinesOnly,
            *ViewTemplate;
        // At the end of the Special menu: "Merge Cell" chooses the merge tool.
        QAction *MergeCell, *MergeTouching;
        QAction *HelpContents, *QuickReference, *WebSite, *About;
        // Tool bar
        QAction *SelectionTool, *BrushstrokeTool, *EyedropperTool, *RegionTool, *ColorInRegionTool,
            *SelectAllButton, *SelectColorButton, *PaintBucketButton, *SmoothButton, *PaletteButton,
            *ColorDialogButton, *HelpButton, *MergeTool;
        QToolButton* ZoomButton;
        // Zoom menu: "Custom..." then the nine levels.
        QAction* CustomZoom;
        std::array<QAction*, 9> ZoomLevel;
        QAction* ZoomIn; // Ctrl+plus and Ctrl+minus: the next level up or down
        QAction* ZoomOut;
    };
    const TActions& Actions() const { return A_; }
    QMenu* ZoomMenu() const { return ZoomMenu_; }
    // Recomputes which zoom levels the painting allows, as opening the zoom menu does.
    void UpdateZoomMenu();
    QMenu* FileMenu() const { return FileMenu_; }
    QMenu* EditMenu() const { return EditMenu_; }
    QMenu* SpecialMenu() const { return SpecialMenu_; }
    QMenu* HelpMenu() const { return HelpMenu_; }
    QMenu* ToolsMenu() const { return ToolsMenu_; }
    QActionGroup* ToolGroup() const { return ToolGroup_; }
    // The status bar's note of where the last job went ("3 pages written to FILE.pdf").
    void ShowJobStatus(const QString& text);
    QString JobStatus() const;
    // The marks of the selected shapes, as drawn over the painting (null without a selection).
    const QImage& SelectionMarks() const { return Marks_; }
    // The numbers drawn over the painting in the template view (null otherwise).
    const QImage& TemplateNumbers() const { return Numbers_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // IDocumentObserver: the document's and the view's events.
    void DocumentChanged(TDocumentEvent event) override;
    void ShowRendering();
    void ZoomChanged();
    // The window's own state told a change: the title and the enabling rule follow.
    void StateChanged();
    // A menu opens or the window comes to the front.
    void RecheckEnabling();

    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void CreateToolGroup(QToolBar* bar);
    void ShowTitle();
    void UpdateClipboardState();
    void UpdateRecentMenu();
    void OpenPaintingClick();
    void OpenRecent(int index);
    void ImportPictureClick();
    void ImportClipboardClick();
    void ReImportClick();
    void NewTemplateClick();
    void SetToolMode(int mode, bool currentColorOnly = false);
    void ViewerMouseDown(QMouseEvent* event, QPoint box);
    void ViewerMouseMove(QMouseEvent* event, QPoint box);
    void WheelZoom(int steps, QPoint pointer);
    void CheckZoomEntry();
    void RebuildMarks();
    // The numbers over the template view, drawn from the document's labels at the view's zoom.
    void RebuildNumbers();
    // After an edit a template's numbers are placed again, on a worker, for its print.
    void RequestTemplateNumbers();
    void ShowColors();
    void ShowHelp(int context);

    TAppContext& Ctx_;
    std::unique_ptr<TNoImportDialog> NoImport_;
    IImportDialog* Import_;
    // The user's dialogs and the import dialog as the controller asks them.
    std::unique_ptr<TMainDialogsAdapter> DialogsPort_;
    std::unique_ptr<TPictureImportAdapter> ImportPort_;
    TMainController Controller_;
    TZoomForm* ZoomForm_ = nullptr;
    std::function<void(int)> Help_;
    std::function<void()> About_;

    TPGImage* PGImage1_;
    TActions A_{};
    QMenu *FileMenu_, *EditMenu_, *SpecialMenu_, *HelpMenu_, *ZoomMenu_, *ToolsMenu_ = nullptr;
    QActionGroup *ZoomGroup_, *ToolGroup_ = nullptr;
    QLabel *UnderCursorSwatch_, *SelectedSwatch_, *PaintSwatch_, *PaintLabel_, *JobStatus_;

    bool CustomZoomChecked_ = false;
    // The window itself is setting the zoom (the menu, the dialog, the wheel): it checks the
    // menu entry itself.
    bool OwnZoomChange_ = false;
    bool FirstShow_ = true;
    QImage Marks_;
    QImage Numbers_;
    std::unique_ptr<TLatestWorker<TNumberingResult>> TemplateNumbers_;
};

} // namespace pigmentaria
