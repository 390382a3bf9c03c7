#include "editor/window_title.h"

#include "model/painting_file.h"
#include "platform/text_parse.h"

#include <cstring>
#include <filesystem>
#include <fstream>

namespace pigmentaria {

std::string TitleForFile(const std::string& path) {
    if (path.empty()) return UntitledTitle;
    return std::string(ApplicationTitle) + " - " + std::filesystem::path(path).filename().string();
}

bool IsUntitled(const std::string& title) {
    return title == UntitledTitle;
}

std::string SaveChangesQuestion(const std::string& title) {
    const std::string name =
        title.size() > TitlePrefixLength ? title.substr(TitlePrefixLength) : std::string();
    return FillParts(SaveChangesPattern, {name});
}

std::string SaveNameWithExtension(const std::string& name, std::string_view chosenFilter) {
    if (name.empty() || std::filesystem::path(name).has_extension()) return name;
    if (chosenFilter == WindowsMetafileFilter) return name + ".wmf";
    if (chosenFilter == EnhancedMetafileFilter) return name + ".emf";
    if (chosenFilter == SvgDrawingFilter) return name + ".svg";
    return name + ".kvp";
}

TDroppedFileKind KindOfFile(const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return TDroppedFileKind::Missing;
    // A painting's name says so even when its content is damaged: the painting reader then names
    // what is wrong with it.
    if (ToLower(std::filesystem::path(path).extension().string()) == ".kvp")
        return TDroppedFileKind::Painting;
    std::ifstream in(path, std::ios::binary);
    if (!in) return TDroppedFileKind::Missing;
    char magic[6] = {};
    in.read(magic, sizeof magic);
    if (in.gcount() == 6 && std::memcmp(magic, PaintingMagic, 6) == 0)
        return TDroppedFileKind::Painting;
    return TDroppedFileKind::Picture;
}

} // namespace pigmentaria
