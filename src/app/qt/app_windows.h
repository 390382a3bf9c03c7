#pragma once
// Every window of the program, created once at start-up in a fixed order and kept until exit.
#include "app/qt/about_box.h"
#include "app/qt/help_browser.h"
#include "app/qt/progress_form.h"
#include "app/qt/splash_screen.h"
#include "editor/qt/vector_form.h"
#include "editor/qt/zoom_form.h"

#include <filesystem>
#include <memory>

namespace pigmentaria {

class TAppWindows {
public:
    // `dataFolder` is where the help and the splash picture are; `dialogs` replaces the message
    // boxes and file dialogs (tests).
    explicit TAppWindows(const std::filesystem::path& dataFolder, IFormDialogs* dialogs = nullptr);
    ~TAppWindows();

    TVectorForm& VectorForm() { return *VectorForm_; }
    TProgressForm& ProgressForm() { return *ProgressForm_; }
    TSplashScreen& SplashScreen() { return *SplashScreen_; }
    TAboutBox& AboutBox() { return *AboutBox_; }
    TZoomForm& ZoomForm() { return *ZoomForm_; }
    THelpBrowser& Help() { return *Help_; }
    // Every top-level window, in the order created.
    std::vector<QWidget*> Windows() const;

private:
    std::unique_ptr<TVectorForm> VectorForm_;
    std::unique_ptr<TProgressForm> ProgressForm_;
    std::unique_ptr<TSplashScreen> SplashScreen_;
    std::unique_ptr<TAboutBox> AboutBox_;
    std::unique_ptr<TZoomForm> ZoomForm_;
    std::unique_ptr<THelpBrowser> Help_;
};

} // namespace pigmentaria
