#pragma once
// TMainController, the main window's workflow without a window: opening and saving paintings
// (asking to save changes first, the folders the dialogs start in, the recent files, the title),
// handing pictures to the import part and becoming untitled when its painting replaced the one
// open, a file dropped on the window, a painting recovered after a crash, and the settings file.
// It asks the user through IMainDialogs and imports through IPictureImport; what the window
// shows of it changes through its TMainWindowState, which tells the window.
#include "editor/main_dialogs.h"
#include "editor/main_window_state.h"
#include "image/pixel_graphic.h"
#include "platform/report.h"
#include "platform/settings.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace pigmentaria {

class TAppState;
class TPaintingDocument;
class TPaintingView;

// Where a picture goes to become a painting. Each Execute returns true when the user imported,
// which has replaced the painting.
class IPictureImport {
public:
    virtual ~IPictureImport() = default;
    virtual bool Available() const = 0;
    virtual bool ExecuteOnFile(const std::string& file) = 0;
    virtual bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) = 0;
    // The picture it still holds.
    virtual bool ExecuteAgain() = 0;
    virtual bool HoldsPicture() const = 0;
    // The New Template dialog on a picture file.
    virtual bool NewTemplateOnFile(const std::string& file) = 0;
};

// A picture read from the clipboard, or why none could be.
struct TPictureRead {
    std::unique_ptr<TPixelGraphic> Picture;
    std::string Error;
};

class TMainController {
public:
    TMainController(TAppState& app, TPaintingDocument& document, TPaintingView& view,
                    IMainDialogs& dialogs);

    TMainWindowState& State() { return State_; }
    const TMainWindowState& State() const { return State_; }
    // Told when the recent files may have changed (a painting opened or saved, the settings
    // read).
    void SetRecentFilesListener(std::function<void()> listener) {
        RecentFiles_ = std::move(listener);
    }
    // The import part, which stays attached until the next call.
    void SetImport(IPictureImport& import);

    const std::string& PaletteName() const { return PaletteName_; }
    void SetPaletteName(const std::string& name) { PaletteName_ = name; }
    // The picture last handed to the import part.
    const std::string& PictureFile() const { return PictureFile_; }

    // True to proceed: nothing to save, "No", or "Yes" and the painting was saved.
    bool AskToSave();
    // "Open Painting": asks to save, then for the file, then opens it.
    void OpenPaintingClick();
    // A recent file (or any file named), after asking to save.
    void OpenRecent(const std::string& file);
    // Opens without asking; false (message shown, nothing changed) on failure.
    bool OpenFile(const std::string& file);
    // A painting as a recovery copy kept it: opened from `copy`, marked modified, under its own
    // file name (untitled when it had none), not added to the recent files.
    bool RecoverPainting(const std::filesystem::path& copy, const std::string& paintingFile);
    bool Save();
    bool SaveAs();
    // A painting file or a picture, as given at start or dropped on the window.
    void OpenOrImport(const std::string& file);

    void ImportPictureClick();
    // The picture goes to the import part whatever its size: a picture too large is taken at
    // the largest zoom that fits.
    void ImportPictureFile(const std::string& file);
    // `read` is asked for the clipboard's picture once the painting may be replaced.
    void ImportClipboardClick(const std::function<TPictureRead()>& read);
    void ReImportClick();
    void NewTemplateClick();
    // The title for a painting that came from the import part: untitled, no file.
    void BecomeUntitled();

    // Logout: false when the session must not end (the user cancelled, or cannot be asked while
    // work is unsaved).
    bool CommitData(bool allowsInteraction);
    // The settings file at start; true when there was one to read.
    bool LoadSettings();
    // At close: the window's place and the folders last used; a file that cannot be written is
    // said.
    void SaveSettings(const TWindowPlace& mainWindow);

private:
    std::string PaintingFolder() const;
    std::string PictureFolder() const;
    // After each call into the import part: whether it still holds a picture.
    void ImportReturned(bool replaced);
    void TellRecentFiles();

    TAppState& App_;
    TPaintingDocument& Document_;
    TPaintingView& View_;
    IMainDialogs& Dialogs_;
    IPictureImport* Import_ = nullptr;
    TMainWindowState State_;
    std::function<void()> RecentFiles_;
    std::string PictureFile_;
    std::string PaletteName_;
};

} // namespace pigmentaria
