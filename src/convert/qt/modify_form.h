#pragma once
// TModifyForm, "Modifying Original Image": the import dialog. A thin view of its controller
// (convert/import_controller.h), which owns the import session and the workflow: the working
// picture in a viewer where a part can be selected, the tool bar with the zoom, Import, Make
// Template and Cancel, the advanced panel with the colour reduction and tracing controls, and the
// menus with the styles, the filters, the picture file and the clipboard. Loading, filtering,
// styles, reductions and the import itself run on a worker behind the progress window; the
// painting changes only when an import finishes.
#include "convert/import_controller.h"
#include "convert/import_session.h"
#include "convert/modify_rules.h"
#include "convert/qt/import_context.h"
#include "convert/template_settings.h"

#include <QDialog>

#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <utility>

class QAction;
class QActionGroup;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QSlider;
class QVBoxLayout;
class QSpinBox;
class QToolBar;
class QToolButton;

namespace pigmentaria {

class TColorReductionForm;
class TFilterDialogForm;
class TPGImage;
class TPGSaveDialog;

class TModifyForm : public QDialog, private IImportView {
    Q_OBJECT
public:
    // The dialog hands the painting it imports to the context; it keeps its advanced-options
    // check and its place in the application's settings ("kv.ini") and runs long work on the
    // context's job runner.
    explicit TModifyForm(TImportContext context, QWidget* parent = nullptr);
    ~TModifyForm() override;

    // "Custom...": asks the custom zoom dialog shared with the main window (shown box height and
    // width, zoom, picture width and height); no answer on Cancel.
    using TCustomZoom = TImportController::TCustomZoom;
    void SetCustomZoom(TCustomZoom ask) { Controller_.SetCustomZoom(std::move(ask)); }
    // Help: context numbers.
    void SetHelpHandler(std::function<void(int context)> help) { Help_ = std::move(help); }
    // The palettes that come with the program; "Match to paints" lists them before the user's
    // palette folder, as the palette window does.
    void SetBundledPaletteFolder(std::filesystem::path folder) {
        Controller_.SetBundledPaletteFolder(std::move(folder));
    }

    // ---- What the main window asks of its import dialog
    // Modal on a picture file (zoom 1, or the largest that fits; no selection), on the
    // clipboard's picture, or again on the picture it holds ("&Re-Import..."). True when "Import
    // Now" replaced the painting.
    bool ExecuteOnFile(const QString& file) {
        return Controller_.ExecuteOnFile(file.toStdString());
    }
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) {
        return Controller_.ExecuteOnPicture(std::move(picture));
    }
    bool ExecuteAgain() { return Controller_.ExecuteAgain(); }
    bool HoldsPicture() const { return Controller_.HoldsPicture(); }

    // ---- Without showing the dialog (tests, the entry points before the modal run)
    // Loads a picture file on a worker behind the progress window: zoom 1 (or the largest that
    // fits), no selection. False, with the library's message, when it cannot be read; the dialog
    // then holds what it held before.
    bool LoadFile(const QString& file) { return Controller_.LoadFile(file.toStdString()); }
    void SetPicture(TPixelGraphic picture) { Controller_.SetPicture(std::move(picture)); }
    // True once "Import Now" replaced the painting during the current showing.
    bool Imported() const { return Controller_.Imported(); }

    TImportSession& Session() { return Controller_.Session(); }
    const TImportSession& Session() const { return Controller_.Session(); }

    // ---- Commands, as the buttons and menus run them
    void Import1Click() { Controller_.Import(); }
    void Cancel1Click() { Controller_.Cancel(); }
    void MakeTemplateClick() { Controller_.MakeTemplate(); }
    void EnlargeClick() { Controller_.Enlarge(); }
    void ReduceClick() { Controller_.Reduce(); }
    void ZoomLevelClick(int item) { Controller_.ZoomLevel(item); }
    bool CustomZoomClick() { return Controller_.CustomZoom(); }
    void SetAdvanced(bool on) { Controller_.SetAdvanced(on); }
    void PreviewClick() { Controller_.Preview(); }
    void ReduceIntoOriginalClick() { Controller_.ReduceIntoOriginal(); }
    void StyleClick(TPaintingStyle style) { Controller_.ApplyStyle(style); }
    // Shows the filter's dialog; when it is confirmed, filters the working picture.
    void FilterClick(TFilterKind kind);
    // The filter with the dialog's current settings, as "OK" applies it.
    void ApplyFilter(TFilterKind kind) { Controller_.ApplyFilter(kind); }
    void File1Click();
    void ReOpen1Click() { Controller_.ReOpen(); }
    void SaveAs1Click();
    // Saves the working picture at its shown size without asking for the name.
    bool SavePictureAs(const QString& file) {
        return Controller_.SavePictureAs(file.toStdString());
    }
    void Edit1Click();
    void Copy1Click();
    void Paste1Click();
    void PGImage1SelectionMade();
    // The template group as its controls show it (kept in the settings file on every change).
    TTemplateImportSettings TemplateSettings() const { return Controller_.TemplateSettings(); }
    void SetTemplateSettings(const TTemplateImportSettings& settings) {
        Controller_.SetTemplateSettings(settings);
    }
    // Lists the palette files of the bundled and the user's palette folders again.
    void ListPaintsFiles() { Controller_.ListPaintsFiles(); }

    // ---- Controls and menus, for tests and accessibility
    TPGImage* PGImage1() const { return PGImage1_; }
    QToolBar* ToolBar1() const { return ToolBar1_; }
    QToolButton* Enlarge() const { return Enlarge_; }
    QToolButton* Reduce() const { return Reduce_; }
    QToolButton* ZoomButton() const { return ZoomButton_; }
    QToolButton* ImportButton() const { return Import_; }
    QToolButton* MakeTemplateButton() const { return MakeTemplate_; }
    QToolButton* CancelButton() const { return Cancel_; }
    QCheckBox* AdvancedCheck() const { return AdvancedCheck_; }
    QWidget* AdvancedControls() const { return AdvancedControls_; }
    QSlider* ColorDepth() const { return ColorDepth_; }
    QSlider* SimplificationLevel() const { return SimplificationLevel_; }
    QSlider* AbstractionLevel() const { return AbstractionLevel_; }
    QGroupBox* OutlineMethod() const { return OutlineMethod_; }
    QRadioButton* OutlineMethodItem(int index) const;
    QCheckBox* EliminateLines() const { return EliminateLines_; }
    QPushButton* Preview() const { return Preview_; }
    QPushButton* ReduceIntoOriginal() const { return ReduceIntoOriginal_; }
    QGroupBox* TemplateGroup() const { return TemplateGroup_; }
    QRadioButton* ColorsByStep() const { return ColorsByStep_; }
    QRadioButton* ColorsByCount() const { return ColorsByCount_; }
    QSpinBox* PaletteSize() const { return PaletteSize_; }
    QSpinBox* MinRegionArea() const { return MinRegionArea_; }
    QSpinBox* MinRegionWidth() const { return MinRegionWidth_; }
    QCheckBox* MatchToPaints() const { return MatchToPaints_; }
    QComboBox* PaintsFile() const { return PaintsFile_; }
    QMenuBar* MenuBar() const { return MenuBar_; }
    QMenu* ZoomMenu() const { return ZoomMenu_; }
    QAction* ZoomItem(int item) const { return ZoomItems_[static_cast<std::size_t>(item)]; }
    QMenu* FileMenu() const { return FileMenu_; }
    QMenu* EditMenu() const { return EditMenu_; }
    QMenu* StartingPointsMenu() const { return StylesMenu_; }
    QMenu* AdvancedEffectsMenu() const { return EffectsMenu_; }
    QMenu* AdjustColorsMenu() const { return AdjustMenu_; }
    QMenu* HelpMenu() const { return HelpMenu_; }
    QAction* ReOpenAction() const { return ReOpen_; }
    QAction* SaveAsAction() const { return SaveAs_; }
    QAction* PasteAction() const { return Paste_; }
    QAction* CopyAction() const { return Copy_; }
    QAction* StyleAction(TPaintingStyle style) const;
    QAction* FilterAction(TFilterKind kind) const;
    // The dialog of a filter (made on first use and kept).
    TFilterDialogForm& FilterDialog(TFilterKind kind);
    TColorReductionForm& ColorReductionForm();
    TPGSaveDialog& PGSaveDialog1();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    class TJobs;
    void CreateMenus();
    void CreateToolBar();
    void CreateAdvancedPanel();
    void CreateTemplateGroup(QVBoxLayout* panel);
    void ShowToolBar();
    void TemplateEdited();
    void ControlsEdited();
    // IImportView: the view shows the session and the controller: the picture (when it changed),
    // zoom, selection, controls.
    void ShowPicture() override;
    void ShowZoom() override;
    void ShowSelection() override;
    void ShowControls() override;
    void ShowTemplate() override;
    void ShowPaintsFiles() override;
    void ShowAdvanced(bool on) override;
    void ShowReduction() override;
    TConversionControls ControlsShown() const override;
    TTemplateImportSettings TemplateShown() const override;
    void RunModal() override;
    void CloseDialog(bool imported) override;

    std::function<void(int)> Help_;
    IMessageSink& Messages_;
    std::unique_ptr<TJobs> Jobs_;
    TImportController Controller_;
    bool Updating_ = false;

    QMenuBar* MenuBar_;
    QMenu *FileMenu_, *EditMenu_, *StylesMenu_, *EffectsMenu_, *AdjustMenu_, *HelpMenu_;
    QAction *ReOpen_, *SaveAs_, *ImportNow_, *CancelItem_, *Copy_, *Paste_;
    std::map<TPaintingStyle, QAction*> StyleActions_;
    std::map<TFilterKind, QAction*> FilterActions_;
    QToolBar* ToolBar1_;
    QToolButton *Enlarge_, *Reduce_, *ZoomButton_, *Import_, *MakeTemplate_, *Cancel_;
    QCheckBox* AdvancedCheck_;
    QMenu* ZoomMenu_;
    QActionGroup* ZoomGroup_;
    std::array<QAction*, ImportZoomMenu.size()> ZoomItems_{};
    TPGImage* PGImage1_;
    QWidget* AdvancedControls_;
    QSlider *ColorDepth_, *SimplificationLevel_, *AbstractionLevel_;
    QGroupBox* OutlineMethod_;
    QButtonGroup* OutlineGroup_;
    std::array<QRadioButton*, 3> OutlineItems_{};
    QCheckBox* EliminateLines_;
    QPushButton *Preview_, *ReduceIntoOriginal_;
    QGroupBox* TemplateGroup_;
    QRadioButton *ColorsByStep_, *ColorsByCount_;
    QSpinBox *PaletteSize_, *MinRegionArea_, *MinRegionWidth_;
    QCheckBox* MatchToPaints_;
    QComboBox* PaintsFile_;

    std::map<TFilterKind, std::unique_ptr<TFilterDialogForm>> FilterDialogs_;
    std::unique_ptr<TColorReductionForm> ColorReduction_;
    std::unique_ptr<TPGSaveDialog> SaveDialog_;
};

} // namespace pigmentaria
