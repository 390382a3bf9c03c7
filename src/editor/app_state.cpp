#include "editor/app_state.h"

#include "image/painting_export.h"

#include <utility>

namespace pigmentaria {

TAppState::TAppState(TAppFolders folders) : Folders_(std::move(folders)) {}

void TAppState::LoadSettings(IMessageSink& messages) {
    Settings_ = pigmentaria::LoadSettings(SettingsFile(), messages);
}

void TAppState::SaveSettings() const {
    pigmentaria::SaveSettings(Settings_, SettingsFile());
}

std::optional<TOpenedPainting> TAppState::OpenPainting(TPaintingDocument& document,
                                                       const std::filesystem::path& file) {
    std::optional<TOpenedPainting> opened = document.OpenPainting(file);
    if (opened) Settings_.RecentFiles.Add(file.string());
    return opened;
}

bool TAppState::SavePainting(TPaintingDocument& document, const std::filesystem::path& file,
                             const std::string& paletteName, bool outlinesOnly) {
    if (!document.SavePainting(file, paletteName, outlinesOnly)) return false;
    if (PaintingFileKindForName(file.string(), false) == TPaintingFileKind::Painting)
        Settings_.RecentFiles.Add(file.string());
    return true;
}

} // namespace pigmentaria
