#include "app/qt/app_windows.h"

#include "app/about_info.h"

#include <QAction>

namespace pigmentaria {

TAppWindows::TAppWindows(const std::filesystem::path& dataFolder, IFormDialogs* dialogs,
                         std::optional<TAppFolders> folders) {
    if (!dialogs) {
        OwnDialogs_ = std::make_unique<TQtFormDialogs>();
        dialogs = OwnDialogs_.get();
    }
    Core_ = std::make_unique<TAppCore>(folders ? std::move(*folders) : TAppFolders::ForProgram(),
                                       *dialogs);
    TAppContext& context = Core_->Context;

    // The main window first: it is the application's main window. The palette window, print
    // setup, palette name, print preview, import, colour reduction, palette editor and picture
    // preview windows join this list, in that order, with their parts of the program: each is
    // made with `context`, and the main window's entries for it are connected here.
    VectorForm_ = std::make_unique<TVectorForm>(context);
    ProgressForm_ = std::make_unique<TProgressForm>(VectorForm_.get());
    Jobs_ = std::make_unique<TJobRunner>(*ProgressForm_);
    context.Jobs = Jobs_.get();
    ToolDialogs_ = std::make_unique<TQtToolDialogs>(VectorForm_.get());
    SplashScreen_ = std::make_unique<TSplashScreen>(
        QPixmap(QString::fromStdString((dataFolder / "splash.png").string())));
    ToolForm_ = std::make_unique<TToolForm>(context, *ToolDialogs_, dataFolder / "palettes",
                                            VectorForm_.get());
    AboutBox_ = std::make_unique<TAboutBox>(VectorForm_.get());
    // The print setup and print preview windows come together; the palette name dialog between
    // them in the list of windows.
    Print_ = std::make_unique<TPrintActions>(PrintContext());
    PaletteNameForm_ = std::make_unique<TPaletteNameForm>(VectorForm_.get());
    Import_ = std::make_unique<TImportWindows>(context, VectorForm_.get(), dataFolder);
    Import_->ModifyForm().SetBundledPaletteFolder(dataFolder / "palettes");
    ZoomForm_ = std::make_unique<TZoomForm>(VectorForm_.get());
    Help_ = std::make_unique<THelpBrowser>(dataFolder / "help");

    // The main window starts with no part but its own; each part switches its feature on where
    // it attaches itself (TVectorForm::EnableFeature).
    VectorForm_->SetZoomForm(ZoomForm_.get());
    AboutBox_->SetCommentsSource([this] { return AboutBoxComments(Core_->Document); });
    VectorForm_->SetAboutHandler([this] { AboutBox_->exec(); });
    VectorForm_->SetHelpHandler([this](int context) { Help_->ShowContext(context); });
    Print_->SetZoomForm(ZoomForm_.get());
    QObject::connect(VectorForm_->Actions().Print, &QAction::triggered, VectorForm_.get(),
                     [this] { Print_->PrintClick(); });
    QObject::connect(VectorForm_->Actions().PrintPalette, &QAction::triggered, VectorForm_.get(),
                     [this] { Print_->PrintPaletteClick(); });
    VectorForm_->EnableFeature(&TFeatureSet::Print);
    Tools_ = new TToolController(*VectorForm_, *ToolDialogs_);
    Export_ = new TExportActions(*VectorForm_, *ToolDialogs_);
    ToolDialogs_->SetNameAsker(
        [this](const QString& preset) { return PaletteNameForm_->Ask(preset); });
    ToolForm_->SetHelpHandler([this](int context) { Help_->ShowContext(context); });
    ToolForm_->AttachTo(*VectorForm_);
    Tools_->SetPaletteWindow([this] {
        ToolForm_->show();
        ToolForm_->raise();
        // The keys go on in the palette, as they would for a dialog: a keyboard user is there.
        ToolForm_->activateWindow();
    });
    Import_->Attach(*VectorForm_, ZoomForm_.get(),
                    [this](int context) { Help_->ShowContext(context); });
    if (auto* own = dynamic_cast<TQtFormDialogs*>(OwnDialogs_.get()))
        own->SetPictureChooser(
            [this](const QString& folder) { return Import_->ChoosePicture(folder); });
}

TPrintActions::TContext TAppWindows::PrintContext() {
    TPrintActions::TContext c;
    c.Document = &Core_->Document;
    c.Messages = &Core_->Context.Dialogs;
    c.Runner = Jobs_.get();
    c.Parent = VectorForm_.get();
    c.Title = [this] { return VectorForm_->windowTitle().remove("[*]"); };
    c.PaintingFile = [this] { return VectorForm_->PaintingFile(); };
    c.Status = [this](const QString& text) { VectorForm_->ShowJobStatus(text); };
    c.Help = [this](int context) { Help_->ShowContext(context); };
    return c;
}

TAppWindows::~TAppWindows() {
    // Child dialogs go before the main window that parents them; the document, view and
    // application state after every window.
    Help_.reset();
    ZoomForm_.reset();
    Import_.reset();
    PaletteNameForm_.reset();
    Print_.reset();
    AboutBox_.reset();
    ToolForm_.reset();
    SplashScreen_.reset();
    Core_->Context.Jobs = nullptr;
    Jobs_.reset();
    ProgressForm_.reset();
    VectorForm_.reset();
}

std::vector<QWidget*> TAppWindows::Windows() const {
    return {VectorForm_.get(),
            ProgressForm_.get(),
            SplashScreen_.get(),
            ToolForm_.get(),
            AboutBox_.get(),
            &Print_->PrintForm(),
            PaletteNameForm_.get(),
            &Print_->PreviewForm(),
            &Import_->ModifyForm(),
            &Import_->ColorReductionForm(),
            &Import_->NewTemplateDialog(),
            ToolForm_->Editor(),
            ZoomForm_.get(),
            &Import_->OpenPreviewForm(),
            Help_.get()};
}

} // namespace pigmentaria
