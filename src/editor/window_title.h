#pragma once
// The main window's title, the save-changes question built from it, the file dialogs' filters
// and the names they hand back.
#include <string>
#include <string_view>

namespace pigmentaria {

inline constexpr const char* ApplicationTitle = "Pigmentaria";
inline constexpr const char* UntitledTitle = "Pigmentaria - (Untitled)";
inline constexpr std::size_t TitlePrefixLength = 14; // "Pigmentaria - "

// "Pigmentaria - " and the file name without its folder; the untitled title for an empty path.
std::string TitleForFile(const std::string& path);
bool IsUntitled(const std::string& title);

// "Save changes to " + the title from its 15th character + "?".
inline constexpr const char* SaveChangesPattern = "Save changes to %1?";
std::string SaveChangesQuestion(const std::string& title);

// The painting dialogs' filters, in the order the save dialog offers them.
inline constexpr const char* PaintingFilter = "Pigmentaria Painting (*.kvp)";
inline constexpr const char* WindowsMetafileFilter = "Windows Metafile (*.wmf)";
inline constexpr const char* EnhancedMetafileFilter = "Windows Enhanced Metafile (*.emf)";
inline constexpr const char* SvgDrawingFilter = "SVG Drawing (*.svg)";

// A name typed without an extension gets the one of the chosen filter (".kvp" for the painting
// filter or an unknown one); a name with any extension stays as it is.
std::string SaveNameWithExtension(const std::string& name, std::string_view chosenFilter);

// What a file handed to the program at start or dropped on its window is.
enum class TDroppedFileKind { Painting, Picture, Missing };
// A painting file has the extension ".kvp" (any case) or starts with its magic; anything else
// readable is taken for a picture.
TDroppedFileKind KindOfFile(const std::string& path);

} // namespace pigmentaria
