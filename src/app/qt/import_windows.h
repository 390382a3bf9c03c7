#pragma once
// The import part of the program: the import dialog, the New Template dialog, the picture dialog
// the main window imports through and the preview window beside it. TAppWindows makes one and
// attaches it to the main window, which then hands every picture (a file, the clipboard's,
// "&Re-Import...") to the import dialog through it.
#include "convert/qt/color_reduction_form.h"
#include "convert/qt/modify_form.h"
#include "editor/qt/app_context.h"
#include "editor/qt/import_dialog.h"
#include "image/qt/pg_dialogs.h"
#include "print/qt/new_template_dialog.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <memory>

namespace pigmentaria {

class TVectorForm;
class TZoomForm;

// "Custom..." of the import dialog through the custom zoom dialog.
TModifyForm::TCustomZoom CustomZoomThrough(TZoomForm& zoom);

class TImportWindows final : public IImportDialog {
public:
    // `dataFolder` holds the palettes and tube sets the program ships (may be empty).
    TImportWindows(TAppContext& context, QWidget* parent, std::filesystem::path dataFolder = {});
    ~TImportWindows() override;
    TImportWindows(const TImportWindows&) = delete;
    TImportWindows& operator=(const TImportWindows&) = delete;

    // Becomes the main window's import dialog and switches its import entries on.
    void Attach(TVectorForm& form, TZoomForm* zoom, std::function<void(int context)> help);

    // "&Import Picture": the picture dialog with its preview and information, and the larger
    // preview window beside it; the chosen file, empty on Cancel.
    QString ChoosePicture(const QString& folder);

    // ---- IImportDialog
    bool Available() const override { return true; }
    // Each is true as well when the import dialog's "Make Template..." made a template.
    bool ExecuteOnFile(const QString& file) override;
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) override;
    bool ExecuteAgain() override;
    bool HoldsPicture() const override { return ModifyForm_->HoldsPicture(); }
    // The picture is loaded behind the progress window; one that fails to load is told as the
    // import dialog tells it, and no dialog shows.
    bool NewTemplateOnFile(const QString& file) override;

    // The New Template dialog on a picture; true when the template became the painting.
    bool MakeTemplateFrom(std::shared_ptr<const TPixelGraphic> picture);
    TNewTemplateDialog& NewTemplateDialog() { return *NewTemplate_; }

    TModifyForm& ModifyForm() { return *ModifyForm_; }
    TColorReductionForm& ColorReductionForm() { return ModifyForm_->ColorReductionForm(); }
    TOpenPreviewForm& OpenPreviewForm() { return *OpenPreview_; }
    TPGOpenDialog& PGOpenDialog() { return *OpenDialog_; }

private:
    TAppContext& Context_;
    std::function<void(int context)> Help_;
    bool TemplateMade_ = false;
    std::unique_ptr<TNewTemplateDialog> NewTemplate_;
    std::unique_ptr<TModifyForm> ModifyForm_;
    std::unique_ptr<TOpenPreviewForm> OpenPreview_;
    std::unique_ptr<TPGOpenDialog> OpenDialog_;
};

} // namespace pigmentaria
