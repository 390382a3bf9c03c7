#include "app/qt/app_windows.h"

#include "editor/about_info.h"

namespace pigmentaria {

TAppWindows::TAppWindows(const std::filesystem::path& dataFolder, IFormDialogs* dialogs) {
    // The main window first: it is the application's main window. The palette window, print
    // setup, palette name, print preview, import, colour reduction, palette editor and picture
    // preview windows join this list, in that order, with their parts of the program.
    VectorForm_ = std::make_unique<TVectorForm>(dialogs);
    ProgressForm_ = std::make_unique<TProgressForm>(VectorForm_.get());
    SplashScreen_ = std::make_unique<TSplashScreen>(
        QPixmap(QString::fromStdString((dataFolder / "splash.png").string())));
    AboutBox_ = std::make_unique<TAboutBox>(VectorForm_.get());
    ZoomForm_ = std::make_unique<TZoomForm>(VectorForm_.get());
    Help_ = std::make_unique<THelpBrowser>(dataFolder / "help");

    VectorForm_->Attach(ProgressForm_.get(), ZoomForm_.get());
    AboutBox_->SetCommentsSource(
        [this] { return AboutBoxComments(VectorForm_->Model().Document()); });
    VectorForm_->SetAboutHandler([this] { AboutBox_->exec(); });
    VectorForm_->SetHelpHandler([this](int context) { Help_->ShowContext(context); });
}

TAppWindows::~TAppWindows() {
    // Child dialogs go before the main window that parents them.
    Help_.reset();
    ZoomForm_.reset();
    AboutBox_.reset();
    SplashScreen_.reset();
    ProgressForm_.reset();
    VectorForm_.reset();
}

std::vector<QWidget*> TAppWindows::Windows() const {
    return {VectorForm_.get(), ProgressForm_.get(), SplashScreen_.get(),
            AboutBox_.get(),   ZoomForm_.get(),     Help_.get()};
}

} // namespace pigmentaria
