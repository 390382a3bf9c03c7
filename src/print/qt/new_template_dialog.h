#pragma once
// TNewTemplateDialog, "New Template": a picture made into a numbered template in one step, with
// the difficulty, paints, smallest cell, paper, pages and paint set, and a live preview of the
// template (or the painting) and its legibility. Every change runs the template anew on a worker
// (print/template_preview); Create is enabled once the preview of the settings shown has come,
// and hands that template back as it is, so Create never waits. The choices are kept in the
// settings file when Create is pressed.
#include "image/pixel_graphic.h"
#include "platform/report.h"
#include "platform/settings.h"
#include "print/new_template.h"
#include "print/template_job.h"

#include <QDialog>
#include <QImage>

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace pigmentaria {

struct TTemplatePreview;
class TTemplatePreviewRunner;

struct TNewTemplateContext {
    // Where the last choices are kept.
    TSettingsBlock& Settings;
    // The user's palettes (*.kvl) and tube sets (*.gpl).
    std::filesystem::path PaletteFolder;
    // The data folder the program ships (its palettes/ and tubes/); may be empty.
    std::filesystem::path BundledFolder;
    IMessageSink& Messages;
    // Opens the help at a context number; may be empty.
    std::function<void(int helpContext)> Help;
};

class TNewTemplateDialog : public QDialog {
    Q_OBJECT
public:
    TNewTemplateDialog(TNewTemplateContext context, QWidget* parent = nullptr);
    ~TNewTemplateDialog() override;

    // Modal on a picture: the template on "Create", none on "Cancel".
    std::optional<TTemplateResult> Execute(std::shared_ptr<const TPixelGraphic> picture);

    const TNewTemplateSettings& Settings() const { return Settings_; }
    // A preview of the settings shown has come and made a template.
    bool HasCurrentTemplate() const;

private:
    void BuildControls();
    void FillPapers();
    void FillPaintSets();
    // Every control from the settings, without their signals.
    void ShowSettings();
    void SettingsChanged();
    void StartPreview();
    void Adopt(std::shared_ptr<TTemplatePreview> preview);
    void ShowPreview();
    void UpdateLegibility();
    void PaintSetActivated(int index);
    int PreviewPixels(int logical) const;

    TNewTemplateContext Context_;
    TNewTemplateSettings Settings_;
    std::shared_ptr<const TPixelGraphic> Picture_;
    std::vector<TTemplatePaper> Papers_;
    std::vector<TPaintSetEntry> PaintSets_;
    int PaintSetShown_ = 0;
    std::shared_ptr<TTemplatePreview> Current_;
    bool Showing_ = false;

    QComboBox* Difficulty_ = nullptr;
    QSpinBox* Paints_ = nullptr;
    QDoubleSpinBox* CellMm_ = nullptr;
    QComboBox* Paper_ = nullptr;
    QSpinBox* PagesAcross_ = nullptr;
    QSpinBox* PagesDown_ = nullptr;
    QLabel* CanvasSize_ = nullptr;
    QComboBox* PaintSet_ = nullptr;
    QRadioButton* ShowTemplate_ = nullptr;
    QRadioButton* ShowPainting_ = nullptr;
    QLabel* Preview_ = nullptr;
    QLabel* Legibility_ = nullptr;
    QPushButton* Create_ = nullptr;
    QPushButton* Cancel_ = nullptr;
    QPushButton* Help_ = nullptr;
    QTimer* Debounce_ = nullptr;
    // Last: its worker stops before anything it hands results to goes.
    std::unique_ptr<TTemplatePreviewRunner> Runner_;
};

// The default printer's own paper sizes, as PaperUser sizes; none without a printer.
std::vector<TTemplatePaper> DefaultPrinterPapers();
// A preview raster as the image the window shows: the one step of a preview on the GUI thread.
QImage PreviewImage(const TRaster24& raster);

} // namespace pigmentaria
