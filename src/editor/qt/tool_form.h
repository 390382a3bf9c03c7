#pragma once
// TToolForm, the floating palette window: the painting's colours on "Painting Colors" and a
// palette file's colours on "Palettes", drawn as swatch grids by the core. A click picks the
// paint colour, or in replace mode replaces that colour of the painting by the paint colour.
// It lists the bundled palette files and then the user's own, and opens the palette editor.
#include "editor/qt/app_context.h"
#include "palette/palette.h"

#include <QDialog>
#include <QImage>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QTabWidget;
class QTableWidget;
class QToolButton;

namespace pigmentaria {

class IToolDialogs;
class TVectorForm;

// A swatch grid: the picture the core draws at the control's size, one pixel a screen pixel.
class TSwatchView final : public QWidget {
    Q_OBJECT
public:
    explicit TSwatchView(QWidget* parent = nullptr);
    void Redraw(const TNamedPalette* palette);
    const QImage& Picture() const { return Picture_; }
    std::optional<TColor> ColorAt(QPoint p) const;
    // The cells drawn, for assistive technology: each says its number, name and colour, and
    // pressing one is a click on it.
    int CellCount() const { return static_cast<int>(Cells_.size()); }
    QString CellText(int index) const;
    QRect CellRect(int index) const;
    void ClickCell(int index);
    // The cell the keyboard is on: the arrow keys, Home and End move it, Space or Enter clicks
    // it.
    int CurrentCell() const { return Current_; }
signals:
    void Clicked(TColor color);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    void resizeEvent(QResizeEvent*) override;

private:
    void SetCurrentCell(int index);
    const TNamedPalette* Palette_ = nullptr;
    int Current_ = 0;
    QImage Picture_;
    std::vector<TSwatchCell> Cells_;
};

class TToolForm final : public QWidget, private IDocumentObserver {
    Q_OBJECT
public:
    enum class TClickMode { Pick, Replace };

    // `bundledFolder`: the palettes that come with the program, listed before the user's own.
    TToolForm(TAppContext& context, IToolDialogs& dialogs, std::filesystem::path bundledFolder,
              QWidget* parent = nullptr);
    ~TToolForm() override;
    void SetDialogs(IToolDialogs& dialogs) { Dialogs_ = &dialogs; }
    void SetHelpHandler(std::function<void(int)> help) { Help_ = std::move(help); }
    // Connects "Save Pa&lette" and the palette button of the main window, and switches them on.
    void AttachTo(TVectorForm& form);

    // Fills the list: "(new palette)", then every palette file of the bundled folder and of
    // the user's palette folder (made when missing), each by file name; selects the file the
    // settings remember (else the first) and loads it as the custom palette.
    void ListPalettes();
    // Item 0 "(new palette)" empties the custom palette; item k loads file k - 1.
    void SelectPalette(int index);
    const std::vector<std::filesystem::path>& PalettePaths() const { return Paths_; }
    QComboBox* PaletteList() const { return ComboBox1_; }
    QTabWidget* Pages() const { return ColorPages_; }
    TSwatchView* PaintingSwatches() const { return PaintingPaletteImage_; }
    TSwatchView* CustomSwatches() const { return CustomPalette_; }
    TClickMode ClickMode() const { return Mode_; }
    QAction* PickAction() const { return Pick_; }
    QAction* ReplaceAction() const { return Replace_; }
    QAction* ReplacePaletteAction() const { return ReplacePalette_; }
    QAction* EditPaletteAction() const { return EditPalette_; }

    // "Edit Palette.": for "(new palette)" a file is chosen first; then the editor, modal.
    void EditPaletteClick();
    // "Save Pa&lette": the painting's colours as a palette file with a description.
    void SavePaintingPalette();
    // The palette editor's Ok: the edited palette saved under `description`.
    void SaveEditedPalette(const TNamedPalette& palette, const QString& description);
    class TPaletteEditor* Editor() const {
        return Editor_;
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DocumentChanged(TDocumentEvent event) override;
    void PaintingSwatchClicked(TColor color);
    void RedrawSwatches();
    void RememberSelection();
    bool LoadCustom(const std::filesystem::path& file);
    // The list shows a description cut to fit; the whole one is kept with the item.
    void SetListedDescription(int index, const QString& description);
    QString CurrentDescription() const;
    // The status line: the paint colour's recipe when the painting is a template mixed from tubes.
    void ShowRecipe();

    TAppContext& Ctx_;
    IToolDialogs* Dialogs_;
    std::filesystem::path Bundled_;
    std::function<void(int)> Help_;
    QTabWidget* ColorPages_;
    TSwatchView *PaintingPaletteImage_, *CustomPalette_;
    QComboBox* ComboBox1_;
    QLabel* RecipeLine_;
    QAction *Pick_, *Replace_, *ReplacePalette_, *EditPalette_, *HelpAction_;
    TClickMode Mode_ = TClickMode::Pick;
    std::vector<std::filesystem::path> Paths_;
    // The file "(new palette)" is to be saved to, chosen before the editor opens.
    std::filesystem::path NewPaletteFile_;
    class TPaletteEditor* Editor_;
    bool Listed_ = false;
};

// TPaletteEditor, "Edit Palette": the custom palette's colours and names in a grid, a
// description, new and deleted colours. Ok saves through the palette window; Cancel reloads.
class TPaletteEditor final : public QDialog {
    Q_OBJECT
public:
    TPaletteEditor(TAppContext& context, IToolDialogs*& dialogs, QWidget* parent = nullptr);
    // Shows the custom palette under `description`; Ok calls `save`.
    int Edit(const QString& description,
             std::function<void(const TNamedPalette&, const QString&)> save,
             std::function<void()> cancel);
    QLineEdit* PaletteName() const { return PaletteName_; }
    QTableWidget* Grid() const { return DrawGrid1_; }
    const TNamedPalette& Working() const { return Working_; }
    void NewColorClick();
    void DeleteColorClick();
    void OkClick();
    void CancelClick();

private:
    void FillGrid();
    TAppContext& Ctx_;
    IToolDialogs*& Dialogs_;
    QLineEdit* PaletteName_;
    QTableWidget* DrawGrid1_;
    TNamedPalette Working_;
    std::function<void(const TNamedPalette&, const QString&)> Save_;
    std::function<void()> Cancel_;
    bool Filling_ = false;
};

// TPaletteNameForm, "Enter Palette Description".
class TPaletteNameForm final : public QDialog {
    Q_OBJECT
public:
    explicit TPaletteNameForm(QWidget* parent = nullptr);
    QLineEdit* PaletteDescription() const { return PaletteDescription_; }
    std::optional<QString> Ask(const QString& preset);

private:
    QLineEdit* PaletteDescription_;
};

} // namespace pigmentaria
