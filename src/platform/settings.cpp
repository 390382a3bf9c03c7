#include "platform/settings.h"

#include "platform/file_io.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace pigmentaria {

std::optional<std::string_view> ReservedRecord(const TSettingsBlock& block, std::size_t offset,
                                               std::size_t size, std::string_view tag) {
    if (offset >= block.Reserved.size()) return std::nullopt;
    size = std::min(size, block.Reserved.size() - offset);
    const std::string_view all(reinterpret_cast<const char*>(block.Reserved.data()) + offset, size);
    if (!all.starts_with(tag)) return std::nullopt;
    const std::size_t end = all.find('\0');
    if (end == std::string_view::npos) return std::nullopt;
    return all.substr(tag.size(), end - tag.size());
}

bool StoreReservedRecord(TSettingsBlock& block, std::size_t offset, std::size_t size,
                         std::string_view tag, std::string_view text) {
    if (offset >= block.Reserved.size()) return false;
    size = std::min(size, block.Reserved.size() - offset);
    if (tag.size() + text.size() >= size) return false;
    std::uint8_t* at = block.Reserved.data() + offset;
    std::memcpy(at, tag.data(), tag.size());
    std::memcpy(at + tag.size(), text.data(), text.size());
    at[tag.size() + text.size()] = 0;
    return true;
}

void TRecentFiles::Add(const std::string& path) {
    for (const std::string& p : Paths_)
        if (p == path) return;
    Paths_.insert(Paths_.begin(), path);
    if (Paths_.size() > static_cast<std::size_t>(RecentFileCount)) Paths_.resize(RecentFileCount);
}

std::string TRecentFiles::Caption(int entry) const {
    if (entry < 1 || entry > Count()) return {};
    std::string caption = "&";
    caption += std::to_string(entry);
    caption += ' ';
    return caption + Paths_[static_cast<std::size_t>(entry - 1)];
}

void TRecentFiles::Assign(std::vector<std::string> paths) {
    if (paths.size() > static_cast<std::size_t>(RecentFileCount)) paths.resize(RecentFileCount);
    Paths_ = std::move(paths);
}

namespace {

void WritePlace(TByteWriter& w, const TWindowPlace& p) {
    w.I32(p.Top);
    w.I32(p.Left);
    w.I32(p.Height);
    w.I32(p.Width);
}

TWindowPlace ReadPlace(TByteReader& r) {
    TWindowPlace p;
    p.Top = r.I32();
    p.Left = r.I32();
    p.Height = r.I32();
    p.Width = r.I32();
    return p;
}

// A path too long for its field would be useless cut short: store nothing instead.
void WritePath(TByteWriter& w, const std::string& path) {
    w.FixedString(path.size() < SettingsPathField ? path : std::string(), SettingsPathField);
}

std::string ReadPath(TByteReader& r) {
    const std::uint8_t* p = r.Take(SettingsPathField);
    // A field without its NUL was not written by us whole; it is not trusted as a path.
    const void* nul = std::memchr(p, 0, SettingsPathField);
    if (!nul) return {};
    return std::string(reinterpret_cast<const char*>(p), static_cast<const std::uint8_t*>(nul) - p);
}

} // namespace

std::vector<std::uint8_t> EncodeSettings(const TSettingsBlock& s) {
    TByteWriter w;
    WritePlace(w, s.MainWindow);
    WritePlace(w, s.PaletteWindow);
    WritePlace(w, s.ImportDialog);
    WritePath(w, s.PictureFolder);
    WritePath(w, s.PaintingFolder);
    WritePath(w, s.PalettePath);
    w.Raw(s.Reserved.data(), s.Reserved.size());
    // Entries that cannot be stored whole are left out, and the count with them.
    std::vector<std::string> stored;
    for (const std::string& p : s.RecentFiles.Paths())
        if (p.size() < SettingsPathField) stored.push_back(p);
    w.I32(static_cast<std::int32_t>(stored.size()));
    for (int i = 0; i < RecentFileCount; ++i)
        WritePath(w, i < static_cast<int>(stored.size()) ? stored[i] : std::string());
    w.U8(s.AdvancedOptions ? 1 : 0);
    w.Zeros(3);
    return std::move(w.Bytes());
}

TSettingsBlock DecodeSettings(const std::uint8_t* data, std::size_t size) {
    if (size < SettingsBlockSize)
        throw EFileError("The settings file holds " + std::to_string(size) + " bytes instead of " +
                         std::to_string(SettingsBlockSize) + ".");
    TByteReader r(data, size);
    TSettingsBlock s;
    s.MainWindow = ReadPlace(r);
    s.PaletteWindow = ReadPlace(r);
    s.ImportDialog = ReadPlace(r);
    s.PictureFolder = ReadPath(r);
    s.PaintingFolder = ReadPath(r);
    s.PalettePath = ReadPath(r);
    std::memcpy(s.Reserved.data(), r.Take(s.Reserved.size()), s.Reserved.size());
    std::int32_t count = r.I32();
    count = std::max(0, std::min(count, RecentFileCount));
    std::vector<std::string> recent;
    for (int i = 0; i < RecentFileCount; ++i) {
        std::string p = ReadPath(r);
        if (i < count && !p.empty()) recent.push_back(std::move(p));
    }
    s.RecentFiles.Assign(std::move(recent));
    s.AdvancedOptions = r.U8() != 0;
    return s;
}

TAppFolders TAppFolders::ForProgram() {
    TAppFolders f;
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    f.ProgramFolder = ec ? std::filesystem::current_path(ec) : exe.parent_path();
    return f;
}

std::filesystem::path TAppFolders::UserFolder(const char* xdgVariable,
                                              const char* homeFallback) const {
    auto env = [&](const char* name) -> const char* {
        return GetEnv ? GetEnv(name) : std::getenv(name);
    };
    const char* xdg = env(xdgVariable);
    // Relative values are invalid by the base directory rules and are ignored.
    if (xdg && *xdg && xdg[0] == '/') return std::filesystem::path(xdg) / "pigmentaria";
    const char* home = env("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / homeFallback / "pigmentaria";
}

namespace {
bool FolderWritable(const TAppFolders& f) {
    if (f.IsWritable) return f.IsWritable(f.ProgramFolder);
    return !f.ProgramFolder.empty() && ::access(f.ProgramFolder.c_str(), W_OK) == 0;
}
} // namespace

std::filesystem::path TAppFolders::SettingsFile() const {
    if (FolderWritable(*this)) return ProgramFolder / SettingsFileName;
    return UserFolder("XDG_CONFIG_HOME", ".config") / SettingsFileName;
}

std::filesystem::path TAppFolders::PaletteFolder() const {
    if (FolderWritable(*this)) return ProgramFolder / PaletteFolderName;
    return UserFolder("XDG_DATA_HOME", ".local/share") / PaletteFolderName;
}

TSettingsBlock LoadSettings(const std::filesystem::path& file, IMessageSink& messages) {
    std::error_code ec;
    if (!std::filesystem::exists(file, ec)) return {};
    try {
        const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
        return DecodeSettings(bytes.data(), bytes.size());
    } catch (const EFileError&) {
        messages.Warning(SettingsUnreadableMessage);
        return {};
    }
}

void SaveSettings(const TSettingsBlock& settings, const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::create_directories(file.parent_path(), ec);
    ReplaceFileContents(file, EncodeSettings(settings));
}

} // namespace pigmentaria
