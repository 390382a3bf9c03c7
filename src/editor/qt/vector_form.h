#pragma once
// TVectorForm, the main window: it owns the one painting for the life of the program and shows
// it in a viewer under a tool bar, with a status bar below and the main menu above. It opens and
// saves painting files, keeps the settings file and the recent files, asks to save changes, and
// hands pictures to the import dialog.
#include "editor/enabling.h"
#include "editor/qt/editor_model.h"
#include "editor/qt/form_dialogs.h"
#include "editor/qt/import_dialog.h"

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
class QToolButton;

namespace pigmentaria {

class TPGImage;
class TProgressForm;
class TZoomForm;
class TJobRunner;

class TVectorForm : public QMainWindow, private IDocumentObserver {
    Q_OBJECT
public:
    // Without `dialogs` the window asks through message boxes and the toolkit's file dialogs.
    explicit TVectorForm(IFormDialogs* dialogs = nullptr, QWidget* parent = nullptr);
    ~TVectorForm() override;

    // The windows created after this one that it uses.
    void Attach(TProgressForm* progress, TZoomForm* zoom);
    void SetImportDialog(IImportDialog* dialog);
    // Help: context numbers (0 for the contents); the about box.
    void SetHelpHandler(std::function<void(int context)> help) { Help_ = std::move(help); }
    void SetAboutHandler(std::function<void()> about) { About_ = std::move(about); }
    // Where "kv.ini" lives; by default where the program keeps its settings.
    void SetSettingsFile(const std::filesystem::path& file) { SettingsFile_ = file; }

    TEditorModel& Model() { return Model_; }
    TPGImage* Viewer() const { return PGImage1_; }
    const QString& Title() const { return Title_; }
    IFormDialogs& Dialogs() { return *Dialogs_; }

    // ---- Operations of the window
    // True to proceed: nothing to save, "No", or "Yes" and the painting was saved.
    bool AskToSave();
    void RunEnablingRule();
    TEnablingState EnablingState() const;
    // A painting file or a picture, as given at start or dropped on the window.
    void OpenOrImport(const QString& file);
    // Opens without asking; false (message shown, nothing changed) on failure.
    bool OpenFile(const QString& file);
    bool SaveClick();
    bool SaveAsClick();
    void SetZoomLevel(double zoom);
    // The custom zoom dialog: true when "Ok" set a new zoom.
    bool CustomZoomClick();
    // "Re-Trace Painting" behind the progress window; false when it was cancelled or refused.
    bool RetraceClick();
    // Logout: false when the session must not end (the user cancelled, or cannot be asked while
    // work is unsaved).
    bool CommitData(bool allowsInteraction);
    void LoadSettingsFile();
    void SaveSettingsFile();

    // ---- Menu entries and buttons, for the enabling rule, shortcuts and tests
    struct TActions {
        QAction *OpenPainting, *Save, *SaveAs, *SavePalette, *ExportPainting, *ImportPicture,
            *ImportClipboard, *ReImport, *Print, *PrintPalette, *Exit;
        std::array<QAction*, RecentFileCount> Recent;
        QAction *Undo, *CopySelected, *CopyBitmap, *DeleteSelected, *SelectAll, *SelectSpecial,
            *SelectCurrentColor, *SelectRegion, *SelectColorInRegion, *DeselectAll;
        QAction *Smooth, *ReacquireAll, *ReacquireSelected, *Retrace, *ViewOutlinesOnly;
        QAction *HelpContents, *QuickReference, *WebSite, *About;
        // Tool bar
        QAction *SelectionTool, *BrushstrokeTool, *EyedropperTool, *RegionTool, *ColorInRegionTool,
            *SelectAllButton, *SelectColorButton, *PaintBucketButton, *SmoothButton, *PaletteButton,
            *ColorDialogButton, *HelpButton;
        QToolButton* ZoomButton;
        // Zoom menu: "Custom..." then the nine levels.
        QAction* CustomZoom;
        std::array<QAction*, 9> ZoomLevel;
    };
    const TActions& Actions() const { return A_; }
    QMenu* ZoomMenu() const { return ZoomMenu_; }
    // Recomputes which zoom levels the painting allows, as opening the zoom menu does.
    void UpdateZoomMenu();
    QMenu* FileMenu() const { return FileMenu_; }
    QMenu* EditMenu() const { return EditMenu_; }
    QMenu* SpecialMenu() const { return SpecialMenu_; }
    QMenu* HelpMenu() const { return HelpMenu_; }
    // The marks of the selected shapes, as drawn over the painting (null without a selection).
    const QImage& SelectionMarks() const { return Marks_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    // IDocumentObserver
    void PaintingRendered() override;
    void PaletteRebuilt() override {}
    void SelectionChanged() override;
    void PaintColorChanged() override;

    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void SetTitle(const QString& title);
    void UpdateRecentMenu();
    void OpenPaintingClick();
    void OpenRecent(int index);
    void ImportPictureClick();
    void ImportPictureFile(const QString& file);
    void ImportClipboardClick();
    void ReImportClick();
    void SetToolMode(int mode, bool currentColorOnly = false);
    void ViewerMouseDown(QMouseEvent* event, QPoint box);
    void ViewerMouseMove(QMouseEvent* event, QPoint box);
    void WheelZoom(int steps, QPoint pointer);
    void CheckZoomEntry();
    void RebuildMarks();
    void ShowColors();
    void ShowHelp(int context);

    std::unique_ptr<IFormDialogs> OwnDialogs_;
    IFormDialogs* Dialogs_;
    TEditorModel Model_;
    std::unique_ptr<TNoImportDialog> NoImport_;
    IImportDialog* Import_;
    TProgressForm* Progress_ = nullptr;
    TZoomForm* ZoomForm_ = nullptr;
    std::unique_ptr<TJobRunner> Runner_;
    std::function<void(int)> Help_;
    std::function<void()> About_;

    TPGImage* PGImage1_;
    TActions A_{};
    QMenu *FileMenu_, *EditMenu_, *SpecialMenu_, *HelpMenu_, *ZoomMenu_;
    QActionGroup* ZoomGroup_;
    QLabel *UnderCursorSwatch_, *SelectedSwatch_, *PaintSwatch_, *PaintLabel_;

    QString Title_;
    // What the painting dialogs hold: the file last opened or saved.
    QString PaintingFile_;
    QString PictureFile_;
    std::string PaletteName_;
    int ToolMode_ = tmSelection;
    bool RegionCurrentColorOnly_ = false;
    bool CustomZoomChecked_ = false;
    bool FirstShow_ = true;
    std::filesystem::path SettingsFile_;
    QImage Marks_;
};

} // namespace pigmentaria
