#pragma once
// The application shell: the program's owning objects (application state, the one painting and
// the main window's view of it) and every window, created once at start-up in a fixed order and
// kept until exit. Each window gets the shared TAppContext; windows find one another through
// here, never through globals.
#include "app/qt/about_box.h"
#include "app/qt/help_browser.h"
#include "app/qt/import_windows.h"
#include "app/qt/splash_screen.h"
#include "editor/qt/app_context.h"
#include "editor/qt/export_actions.h"
#include "editor/qt/print_actions.h"
#include "editor/qt/tool_controller.h"
#include "editor/qt/tool_dialogs.h"
#include "editor/qt/tool_form.h"
#include "editor/qt/vector_form.h"
#include "editor/qt/zoom_form.h"
#include "platform/qt/progress_form.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

namespace pigmentaria {

class TAppWindows {
public:
    // `dataFolder` is where the help and the splash picture are; `dialogs` replaces the message
    // boxes and file dialogs (tests); `folders` where the settings file and the palettes are
    // (the program's own when none).
    explicit TAppWindows(const std::filesystem::path& dataFolder, IFormDialogs* dialogs = nullptr,
                         std::optional<TAppFolders> folders = std::nullopt);
    ~TAppWindows();
    TAppWindows(const TAppWindows&) = delete;
    TAppWindows& operator=(const TAppWindows&) = delete;

    TAppContext& Context() { return Core_->Context; }
    TAppState& App() { return Core_->App; }
    TPaintingDocument& Document() { return Core_->Document; }
    TPaintingView& View() { return Core_->View; }
    TJobRunner& Jobs() { return *Jobs_; }

    TVectorForm& VectorForm() { return *VectorForm_; }
    TProgressForm& ProgressForm() { return *ProgressForm_; }
    TSplashScreen& SplashScreen() { return *SplashScreen_; }
    TAboutBox& AboutBox() { return *AboutBox_; }
    // "&Print..." and "Print Palette...": the print setup and print preview windows.
    TPrintActions& Print() { return *Print_; }
    TImportWindows& Import() { return *Import_; }
    TZoomForm& ZoomForm() { return *ZoomForm_; }
    THelpBrowser& Help() { return *Help_; }
    TToolController& Tools() { return *Tools_; }
    TToolForm& ToolForm() { return *ToolForm_; }
    TExportActions& Export() { return *Export_; }
    TPaletteNameForm& PaletteNameForm() { return *PaletteNameForm_; }
    TQtToolDialogs& ToolDialogs() { return *ToolDialogs_; }
    // Every top-level window, in the order created.
    std::vector<QWidget*> Windows() const;

private:
    TPrintActions::TContext PrintContext();

    std::unique_ptr<IFormDialogs> OwnDialogs_;
    // Before the windows, which observe the document, and gone after them.
    std::unique_ptr<TAppCore> Core_;
    std::unique_ptr<TVectorForm> VectorForm_;
    std::unique_ptr<TQtToolDialogs> ToolDialogs_;
    // A child of the main window.
    TToolController* Tools_ = nullptr;
    TExportActions* Export_ = nullptr;
    std::unique_ptr<TProgressForm> ProgressForm_;
    std::unique_ptr<TJobRunner> Jobs_;
    std::unique_ptr<TToolForm> ToolForm_;
    std::unique_ptr<TSplashScreen> SplashScreen_;
    std::unique_ptr<TAboutBox> AboutBox_;
    std::unique_ptr<TPrintActions> Print_;
    std::unique_ptr<TPaletteNameForm> PaletteNameForm_;
    std::unique_ptr<TImportWindows> Import_;
    std::unique_ptr<TZoomForm> ZoomForm_;
    std::unique_ptr<THelpBrowser> Help_;
};

} // namespace pigmentaria
