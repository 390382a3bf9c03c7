#include "editor/main_controller.h"

#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/import_entry.h"
#include "editor/painting_view.h"
#include "editor/window_title.h"
#include "image/file_format.h"
#include "platform/file_io.h"

namespace pigmentaria {

namespace {

// The folder a file lies in, as the file dialogs are opened on it.
std::string FolderOf(const std::string& file) {
    std::error_code ec;
    std::filesystem::path p = std::filesystem::absolute(file, ec);
    if (ec) p = file;
    return p.parent_path().string();
}

} // namespace

TMainController::TMainController(TAppState& app, TPaintingDocument& document, TPaintingView& view,
                                 IMainDialogs& dialogs)
    : App_(app), Document_(document), View_(view), Dialogs_(dialogs) {}

void TMainController::SetImport(IPictureImport& import) {
    Import_ = &import;
    State_.SetImport(import.Available(), import.HoldsPicture());
}

void TMainController::TellRecentFiles() {
    if (RecentFiles_) RecentFiles_();
}

std::string TMainController::PaintingFolder() const {
    const std::string& file = State_.PaintingFile();
    return file.empty() ? App_.Settings().PaintingFolder : FolderOf(file);
}

std::string TMainController::PictureFolder() const {
    return PictureFile_.empty() ? App_.Settings().PictureFolder : FolderOf(PictureFile_);
}

// ---- Paintings

bool TMainController::AskToSave() {
    if (!Document_.Modified()) return true;
    switch (Dialogs_.AskYesNoCancel(SaveChangesQuestion(State_.Title()))) {
    case TSaveAnswer::Cancel:
        return false;
    case TSaveAnswer::No:
        return true;
    case TSaveAnswer::Yes:
        // Only a painting that was really saved may be left behind.
        return SaveAs();
    }
    return false;
}

void TMainController::OpenPaintingClick() {
    if (!AskToSave()) return;
    const std::string file = Dialogs_.ChooseOpenPainting(PaintingFolder());
    if (!file.empty()) OpenFile(file);
}

void TMainController::OpenRecent(const std::string& file) {
    if (file.empty() || !AskToSave()) return;
    OpenFile(file);
}

bool TMainController::OpenFile(const std::string& file) {
    auto opened = App_.OpenPainting(Document_, file);
    if (!opened) return false;
    PaletteName_ = opened->PaletteName;
    State_.SetPainting(file);
    TellRecentFiles();
    return true;
}

bool TMainController::RecoverPainting(const std::filesystem::path& copy,
                                      const std::string& paintingFile) {
    auto opened = Document_.OpenPainting(copy);
    if (!opened) return false;
    PaletteName_ = opened->PaletteName;
    State_.SetPainting(paintingFile);
    Document_.SetModified(true);
    return true;
}

bool TMainController::Save() {
    const std::string file = State_.PaintingFile();
    if (file.empty() || State_.Untitled()) return SaveAs();
    const bool ok = App_.SavePainting(Document_, file, PaletteName_, View_.OutlinesOnly());
    TellRecentFiles();
    return ok;
}

bool TMainController::SaveAs() {
    const std::string file = Dialogs_.ChooseSavePainting(
        PaintingFolder(), State_.Untitled() ? std::string() : State_.PaintingFile());
    if (file.empty()) return false;
    const bool ok = App_.SavePainting(Document_, file, PaletteName_, View_.OutlinesOnly());
    if (ok) State_.SetPainting(file);
    TellRecentFiles();
    return ok;
}

void TMainController::OpenOrImport(const std::string& file) {
    switch (KindOfFile(file)) {
    case TDroppedFileKind::Painting:
        if (AskToSave()) OpenFile(file);
        break;
    case TDroppedFileKind::Picture:
        if (AskToSave()) ImportPictureFile(file);
        break;
    case TDroppedFileKind::Missing:
        Dialogs_.Error("The file \"" + file + "\" could not be found.");
        break;
    }
}

// ---- Import

void TMainController::ImportReturned(bool replaced) {
    if (replaced) BecomeUntitled();
    // The import part keeps the picture it was given, or lets it go; it tells no one.
    if (Import_) State_.SetHoldsSourcePicture(Import_->HoldsPicture());
}

void TMainController::ImportPictureClick() {
    if (!AskToSave()) return;
    const std::string file = Dialogs_.ChoosePicture(PictureFolder());
    if (!file.empty()) ImportPictureFile(file);
}

void TMainController::ImportPictureFile(const std::string& file) {
    PictureFile_ = file;
    switch (CheckPictureForImport(GetGraphicFileInfo(file))) {
    case TImportGate::TooLarge:
        // Not refused: the import dialog takes it at the largest zoom that fits and says so.
        break;
    case TImportGate::InfoFailed:
        Dialogs_.Error(FileInfoErrorMessage);
        break;
    case TImportGate::Accept:
        break;
    }
    if (!Import_) return;
    ImportReturned(Import_->ExecuteOnFile(file));
}

void TMainController::ImportClipboardClick(const std::function<TPictureRead()>& read) {
    if (!AskToSave()) return;
    TPictureRead r = read();
    if (r.Picture) {
        if (Import_) ImportReturned(Import_->ExecuteOnPicture(std::move(r.Picture)));
    } else if (!r.Error.empty()) {
        Dialogs_.Error(r.Error);
    }
}

void TMainController::ReImportClick() {
    if (!AskToSave() || !Import_) return;
    ImportReturned(Import_->ExecuteAgain());
}

void TMainController::NewTemplateClick() {
    if (!AskToSave()) return;
    const std::string file = Dialogs_.ChoosePicture(PictureFolder());
    if (file.empty()) return;
    PictureFile_ = file;
    if (Import_) ImportReturned(Import_->NewTemplateOnFile(file));
}

void TMainController::BecomeUntitled() {
    State_.SetPainting({});
}

// ---- Session, settings

bool TMainController::CommitData(bool allowsInteraction) {
    if (!Document_.Modified()) return true;
    // Unsaved work is never thrown away unasked: without a way to ask, the logout is refused.
    if (!allowsInteraction) return false;
    return AskToSave();
}

bool TMainController::LoadSettings() {
    std::error_code ec;
    const bool exists = std::filesystem::exists(App_.SettingsFile(), ec);
    App_.LoadSettings(Dialogs_);
    TellRecentFiles();
    return exists;
}

void TMainController::SaveSettings(const TWindowPlace& mainWindow) {
    TSettingsBlock& s = App_.Settings();
    s.MainWindow = mainWindow;
    if (!PictureFile_.empty()) s.PictureFolder = FolderOf(PictureFile_);
    if (!State_.PaintingFile().empty()) s.PaintingFolder = FolderOf(State_.PaintingFile());
    try {
        App_.SaveSettings();
    } catch (const EFileError& e) {
        Dialogs_.Error(e.what());
    }
}

} // namespace pigmentaria
