#include "app/qt/import_windows.h"

#include "editor/qt/vector_form.h"
#include "editor/qt/zoom_form.h"
#include "image/pg_progress.h"
#include "platform/qt/progress_form.h"

namespace pigmentaria {

TModifyForm::TCustomZoom CustomZoomThrough(TZoomForm& zoom) {
    return [&zoom](int boxHeight, int boxWidth, double factor, int width, int height) {
        return zoom.Execute(boxHeight, boxWidth, factor, width, height);
    };
}

TImportWindows::TImportWindows(TAppContext& context, QWidget* parent,
                               std::filesystem::path dataFolder)
    : Context_(context),
      NewTemplate_(std::make_unique<TNewTemplateDialog>(
          TNewTemplateContext{context.App.Settings(), context.App.PaletteFolder(),
                              std::move(dataFolder), context.Dialogs,
                              [this](int topic) {
                                  if (Help_) Help_(topic);
                              }},
          parent)),
      OpenPreview_(std::make_unique<TOpenPreviewForm>(parent)),
      OpenDialog_(std::make_unique<TPGOpenDialog>(parent, &context.Dialogs)) {
    TImportContext import = ImportContext(context);
    import.MakeTemplate = [this](std::shared_ptr<const TPixelGraphic> picture) {
        return MakeTemplateFrom(std::move(picture));
};
ModifyForm_ = std::make_unique<TModifyForm>(std::move(import), parent);
OpenDialog_->setWindowTitle("Import Picture");
OpenDialog_->SetPreviewWindow(OpenPreview_.get());
// Made with the dialog, once, like every window.
ModifyForm_->ColorReductionForm();
} // namespace pigmentaria

TImportWindows::~TImportWindows() = default;

void TImportWindows::Attach(TVectorForm& form, TZoomForm* zoom,
                            std::function<void(int context)> help) {
    if (zoom) ModifyForm_->SetCustomZoom(CustomZoomThrough(*zoom));
    Help_ = help;
    ModifyForm_->SetHelpHandler(std::move(help));
    form.SetImportDialog(this);
    form.EnableFeature(&TFeatureSet::Import);
}

bool TImportWindows::ExecuteOnFile(const QString& file) {
    TemplateMade_ = false;
    return ModifyForm_->ExecuteOnFile(file) || TemplateMade_;
}

bool TImportWindows::ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) {
    TemplateMade_ = false;
    return ModifyForm_->ExecuteOnPicture(std::move(picture)) || TemplateMade_;
}

bool TImportWindows::ExecuteAgain() {
    TemplateMade_ = false;
    return ModifyForm_->ExecuteAgain() || TemplateMade_;
}

bool TImportWindows::NewTemplateOnFile(const QString& file) {
    if (!Context_.Jobs) return false;
    TJobReport report;
    const std::string name = file.toStdString();
    std::optional<TLoadedPicture> loaded = Context_.Jobs->Run<TLoadedPicture>(
        LoadingPictureMessage, true,
        [name](TJobContext& c) { return LoadPictureFile(name, c.Progress); }, report);
    if (!loaded) {
        if (report.Status == TJobStatus::Failed)
            Context_.Dialogs.Error(std::string(OpeningErrorMessage) + "\n\n" + report.Failure);
        return false;
    }
    ReplayMessages(loaded->Messages, Context_.Dialogs);
    return MakeTemplateFrom(std::make_shared<const TPixelGraphic>(std::move(loaded->Picture)));
}

bool TImportWindows::MakeTemplateFrom(std::shared_ptr<const TPixelGraphic> picture) {
    std::optional<TTemplateResult> made = NewTemplate_->Execute(std::move(picture));
    if (!made) return false;
    Context_.Document.AdoptTemplate(std::move(*made));
    TemplateMade_ = true;
    return true;
}

QString TImportWindows::ChoosePicture(const QString& folder) {
    OpenPreview_->ShowBeside();
    const QString file = OpenDialog_->Execute(folder);
    OpenPreview_->hide();
    return file;
}

} // namespace pigmentaria
