#pragma once
// The import part of the program: the import dialog, the picture dialog the main window imports
// through and the preview window beside it. TAppWindows makes one and attaches it to the main
// window, which then hands every picture (a file, the clipboard's, "&Re-Import...") to the import
// dialog through it.
#include "convert/qt/color_reduction_form.h"
#include "convert/qt/modify_form.h"
#include "editor/qt/app_context.h"
#include "editor/qt/import_dialog.h"
#include "image/qt/pg_dialogs.h"

#include <QString>

#include <functional>
#include <memory>

namespace pigmentaria {

class TVectorForm;
class TZoomForm;

// "Custom..." of the import dialog through the custom zoom dialog.
TModifyForm::TCustomZoom CustomZoomThrough(TZoomForm& zoom);

class TImportWindows final : public IImportDialog {
public:
    TImportWindows(TAppContext& context, QWidget* parent);
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
    bool ExecuteOnFile(const QString& file) override { return ModifyForm_->ExecuteOnFile(file); }
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) override {
        return ModifyForm_->ExecuteOnPicture(std::move(picture));
    }
    bool ExecuteAgain() override { return ModifyForm_->ExecuteAgain(); }
    bool HoldsPicture() const override { return ModifyForm_->HoldsPicture(); }

    TModifyForm& ModifyForm() { return *ModifyForm_; }
    TColorReductionForm& ColorReductionForm() { return ModifyForm_->ColorReductionForm(); }
    TOpenPreviewForm& OpenPreviewForm() { return *OpenPreview_; }
    TPGOpenDialog& PGOpenDialog() { return *OpenDialog_; }

private:
    std::unique_ptr<TModifyForm> ModifyForm_;
    std::unique_ptr<TOpenPreviewForm> OpenPreview_;
    std::unique_ptr<TPGOpenDialog> OpenDialog_;
};

} // namespace pigmentaria
