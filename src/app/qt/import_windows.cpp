#include "app/qt/import_windows.h"

#include "editor/qt/vector_form.h"
#include "editor/qt/zoom_form.h"

namespace pigmentaria {

TModifyForm::TCustomZoom CustomZoomThrough(TZoomForm& zoom) {
    return [&zoom](int boxHeight, int boxWidth, double factor, int width, int height) {
        return zoom.Execute(boxHeight, boxWidth, factor, width, height);
    };
}

TImportWindows::TImportWindows(TAppContext& context, QWidget* parent)
    : ModifyForm_(std::make_unique<TModifyForm>(ImportContext(context), parent)),
      OpenPreview_(std::make_unique<TOpenPreviewForm>(parent)),
      OpenDialog_(std::make_unique<TPGOpenDialog>(parent, &context.Dialogs)) {
    OpenDialog_->setWindowTitle("Import Picture");
    OpenDialog_->SetPreviewWindow(OpenPreview_.get());
    // Made with the dialog, once, like every window.
    ModifyForm_->ColorReductionForm();
}

TImportWindows::~TImportWindows() = default;

void TImportWindows::Attach(TVectorForm& form, TZoomForm* zoom,
                            std::function<void(int context)> help) {
    if (zoom) ModifyForm_->SetCustomZoom(CustomZoomThrough(*zoom));
    ModifyForm_->SetHelpHandler(std::move(help));
    form.SetImportDialog(this);
    form.EnableFeature(&TFeatureSet::Import);
}

QString TImportWindows::ChoosePicture(const QString& folder) {
    OpenPreview_->ShowBeside();
    const QString file = OpenDialog_->Execute(folder);
    OpenPreview_->hide();
    return file;
}

} // namespace pigmentaria
