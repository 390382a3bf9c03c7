#include "image/picture_dialog_rules.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <filesystem>

namespace pigmentaria {

namespace {

std::string Trim(const std::string& s) {
    const std::size_t first = s.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const std::size_t last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::vector<std::string> Split(const std::string& s, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = s.find(separator, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + 1;
    }
    return parts;
}

// The one extension of a type that names exactly one ("*.bmp"), else empty.
std::string SingleExtension(const TFileTypeEntry& entry) {
    if (entry.Patterns.size() != 1) return {};
    const std::string& p = entry.Patterns.front();
    if (p.size() < 3 || p.compare(0, 2, "*.") != 0) return {};
    const std::string ext = p.substr(2);
    if (ext.find_first_of("*?") != std::string::npos) return {};
    return ToLower(ext);
}

} // namespace

std::vector<TFileTypeEntry> ParseFileTypeFilter(const std::string& filter) {
    const std::vector<std::string> parts = Split(filter, '|');
    std::vector<TFileTypeEntry> entries;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        TFileTypeEntry e;
        e.Description = Trim(parts[i]);
        for (const std::string& p : Split(parts[i + 1], ';')) {
            const std::string pattern = Trim(p);
            if (!pattern.empty()) e.Patterns.push_back(pattern);
        }
        if (e.Description.empty() || e.Patterns.empty()) continue;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string FileTypeNameFilter(const TFileTypeEntry& entry) {
    std::string out = entry.Description + " (";
    for (std::size_t i = 0; i < entry.Patterns.size(); ++i) {
        if (i) out += ' ';
        out += entry.Patterns[i];
    }
    return out + ")";
}

std::vector<TFileTypeEntry> PictureFileTypes(TPictureDialogKind kind,
                                             const TFileFormatRegistry& registry) {
    return ParseFileTypeFilter(kind == TPictureDialogKind::Open ? registry.OpenFilter()
                                                                : registry.SaveFilter());
}

std::string ExtensionOfFileType(const std::vector<TFileTypeEntry>& types, int index) {
    if (index < 0 || index >= static_cast<int>(types.size())) return {};
    return SingleExtension(types[static_cast<std::size_t>(index)]);
}

int ListedFormatCount(const std::vector<TFileTypeEntry>& types) {
    int n = 0;
    for (const TFileTypeEntry& t : types)
        if (!SingleExtension(t).empty()) ++n;
    return n;
}

std::string FileNameForTypeChange(const std::string& name, const std::string& extension,
                                  const std::string& currentFolder, bool nameIsFolder) {
    if (nameIsFolder || extension.empty() || name.empty()) return name;
    std::filesystem::path path(name);
    if (!path.has_filename()) return name;
    // A name without an extension first gets a stand-in one, so that there is one to replace.
    if (!path.has_extension() || path.extension() == ".") path.replace_extension(".xxx");
    path.replace_extension("." + extension);
    if (!currentFolder.empty() && path.has_parent_path()) {
        std::error_code ec;
        const auto folder = std::filesystem::weakly_canonical(currentFolder, ec);
        const auto parent = std::filesystem::weakly_canonical(path.parent_path(), ec);
        if (!ec && folder == parent) path = path.filename();
    }
    return path.string();
}

std::string FileNameWithTypeExtension(const std::string& name, const std::string& extension) {
    if (name.empty() || extension.empty()) return name;
    std::filesystem::path path(name);
    if (path.has_extension() && path.extension() != ".") return name;
    if (path.extension() == ".") return name + extension;
    return name + "." + extension;
}

std::vector<std::string> InfoBoxLines(const TGraphicFileInfo& info) {
    if (!info.Ok) return {};
    std::vector<std::string> lines;
    lines.push_back(info.FormatDescription);
    std::string size;
    if (info.Info.ImageCount > 1) size = std::to_string(info.Info.ImageCount) + " images, ";
    size += std::to_string(info.Info.Width) + " x " + std::to_string(info.Info.Height) + ", " +
            info.Info.ColorCountText + " colors, " + std::to_string(info.Info.BitCount) + " " +
            PGMessage(msgBit);
    lines.push_back(size);
    if (!info.Info.Subformat.empty()) lines.push_back(info.Info.Subformat);
    if (!info.Info.Comment.empty()) lines.push_back(info.Info.Comment);
    return lines;
}

TOpenPreviewTexts OpenPreviewTexts(const TGraphicFileInfo& info) {
    if (!info.Ok) return {};
    return {true, std::to_string(info.Info.Width) + " x " + std::to_string(info.Info.Height),
            info.FormatDescription};
}

unsigned EnforceShareAware(unsigned options, IMessageSink& messages) {
    if (options & ofShareAware) return options;
    messages.Warning(ShareAwareMessage);
    return options | ofShareAware;
}

std::optional<TRaster24> LoadPicturePreview(const std::string& fileName, TViewSize box,
                                            const std::atomic<bool>* abandon) {
    const auto abandoned = [abandon] { return abandon && abandon->load(); };
    TPixelGraphic picture;
    picture.ReadWarningAction = pgwaIgnore;
    picture.PreviewFlag = true;
    picture.OnProgress = [&](const TPixelGraphic&, int, int, bool& abort) {
        if (abandoned()) abort = true;
    };
    try {
        picture.LoadFromFile(fileName);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    if (picture.Empty() || abandoned()) return std::nullopt;
    const TViewSize size = DisplaySize({picture.Width(), picture.Height()}, 1.0, sShrinkKAR, box);
    if (size.Width == picture.Width() && size.Height == picture.Height())
        return picture.ToRaster24();
    TPixelGraphic small;
    small.StretchMode = smMedium;
    small.SetSize(size.Width, size.Height, ct24Bit);
    small.StretchFromWhole(picture);
    if (abandoned()) return std::nullopt;
    return small.ToRaster24();
}

TScreenRect OpenPreviewPlace(const TScreenRect& dialog, int width, int height,
                             const TScreenRect& screen, int gap) {
    const int screenRight = screen.Left + screen.Width;
    const int screenBottom = screen.Top + screen.Height;
    int left = dialog.Left + dialog.Width + gap;
    if (left + width > screenRight) {
        left = dialog.Left - gap - width;
        if (left < screen.Left) left = screenRight - width;
    }
    left = std::max(screen.Left, std::min(left, screenRight - width));
    const int top = std::max(screen.Top, std::min(dialog.Top, screenBottom - height));
    return {left, top, width, height};
}

} // namespace pigmentaria
