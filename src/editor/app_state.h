#pragma once
// The application's own state, apart from any painting: the settings block ("kv.ini") with the
// recent-file list, and the folders the program keeps its settings and palette files in. Opening
// and saving paintings go through it so that the recent files follow.
#include "editor/document.h"
#include "platform/report.h"
#include "platform/settings.h"

#include <filesystem>
#include <optional>
#include <string>

namespace pigmentaria {

class TAppState {
public:
    explicit TAppState(TAppFolders folders);

    const TAppFolders& Folders() const { return Folders_; }
    std::filesystem::path SettingsFile() const { return Folders_.SettingsFile(); }
    std::filesystem::path PaletteFolder() const { return Folders_.PaletteFolder(); }

    TSettingsBlock& Settings() { return Settings_; }
    const TSettingsBlock& Settings() const { return Settings_; }
    const TRecentFiles& RecentFiles() const { return Settings_.RecentFiles; }

    // At start: the settings file, or the defaults when it is missing (said once through
    // `messages` when it is unreadable).
    void LoadSettings(IMessageSink& messages);
    // At close. Throws EFileError when the file cannot be written.
    void SaveSettings() const;

    // Opens a painting into the document (TPaintingDocument::OpenPainting); a painting opened
    // becomes the most recent file.
    std::optional<TOpenedPainting> OpenPainting(TPaintingDocument& document,
                                                const std::filesystem::path& file);
    // Saves the document under the name (TPaintingDocument::SavePainting); a painting file
    // saved becomes the most recent file, a metafile does not (it cannot be opened again).
    bool SavePainting(TPaintingDocument& document, const std::filesystem::path& file,
                      const std::string& paletteName, bool outlinesOnly = false);

private:
    TAppFolders Folders_;
    TSettingsBlock Settings_;
};

} // namespace pigmentaria
