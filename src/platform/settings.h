#pragma once
// The settings file "kv.ini": a 2,360-byte binary block of window places, folders, the selected
// palette file, the recent-file list and the import dialog's advanced-options check. And where the
// program keeps it and its palette files.
#include "platform/report.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pigmentaria {

inline constexpr const char* SettingsFileName = "kv.ini";
inline constexpr const char* PaletteFolderName = "Palettes";
constexpr std::size_t SettingsBlockSize = 2360;
constexpr std::size_t SettingsPathField = 256;
constexpr int RecentFileCount = 4;

struct TWindowPlace {
    std::int32_t Top = 0, Left = 0, Height = 0, Width = 0;
    friend bool operator==(const TWindowPlace&, const TWindowPlace&) = default;
};

// The most recently used painting files, most recent first, at most four.
class TRecentFiles {
public:
    const std::vector<std::string>& Paths() const { return Paths_; }
    int Count() const { return static_cast<int>(Paths_.size()); }
    // A path already in the list changes nothing (exact comparison, no reordering); otherwise it
    // goes first and the oldest beyond four drops out.
    void Add(const std::string& path);
    // "&1 " … "&4 " followed by the path, for entries 1..Count().
    std::string Caption(int entry) const;
    void Assign(std::vector<std::string> paths);

private:
    std::vector<std::string> Paths_;
};

struct TSettingsBlock {
    // Where the main window stands at first start (its client area 526 × 358).
    TWindowPlace MainWindow{116, 212, 358, 526};
    TWindowPlace PaletteWindow;
    TWindowPlace ImportDialog;
    std::string PictureFolder;
    std::string PaintingFolder;
    // Empty when the palette window's first entry, "(new palette)", is selected.
    std::string PalettePath;
    TRecentFiles RecentFiles;
    bool AdvancedOptions = false;
    // The reserved bytes as read, written back unchanged.
    std::array<std::uint8_t, 512> Reserved{};
};

// A record kept in the reserved bytes [offset, offset + size): its text after `tag`, up to the NUL
// that ends it. None when the bytes do not start with the tag or hold no NUL (a record cut short
// is not ours to read).
std::optional<std::string_view> ReservedRecord(const TSettingsBlock& block, std::size_t offset,
                                               std::size_t size, std::string_view tag);
// Writes `tag` + `text` and its NUL there; false (nothing written) when it does not fit.
bool StoreReservedRecord(TSettingsBlock& block, std::size_t offset, std::size_t size,
                         std::string_view tag, std::string_view text);

// Paths that do not fit their 256-byte field with its NUL are stored empty rather than cut short.
std::vector<std::uint8_t> EncodeSettings(const TSettingsBlock& settings);
// Throws EFileError when the block is short.
TSettingsBlock DecodeSettings(const std::uint8_t* data, std::size_t size);

// Where the settings file and the palette folder live: beside the program when its folder is
// writable; otherwise in the user's configuration folder ($XDG_CONFIG_HOME or ~/.config, then
// "pigmentaria") and data folder ($XDG_DATA_HOME or ~/.local/share, then "pigmentaria").
struct TAppFolders {
    std::filesystem::path ProgramFolder;
    // Reads an environment variable; null when unset. Replaceable for tests.
    std::function<const char*(const char*)> GetEnv;
    // Whether the program's folder may be written to. Replaceable for tests.
    std::function<bool(const std::filesystem::path&)> IsWritable;

    // The folders of the running program, from /proc/self/exe and the process environment.
    static TAppFolders ForProgram();
    std::filesystem::path SettingsFile() const;
    std::filesystem::path PaletteFolder() const;

private:
    std::filesystem::path UserFolder(const char* xdgVariable, const char* homeFallback) const;
};

inline constexpr const char* SettingsUnreadableMessage =
    "The settings file could not be read; default settings are used.";

// Loads the settings: a missing file gives the defaults silently; a short or unreadable one gives
// the defaults and says so once through `messages`.
TSettingsBlock LoadSettings(const std::filesystem::path& file, IMessageSink& messages);
// Throws EFileError when the file cannot be written.
void SaveSettings(const TSettingsBlock& settings, const std::filesystem::path& file);

} // namespace pigmentaria
