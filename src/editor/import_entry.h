#pragma once
// What the main window checks before a picture goes to the import dialog.
#include "image/file_format.h"

namespace pigmentaria {

inline constexpr const char* ImageTooLargeMessage =
    "This image is too large.  Please select another image or use another package to make it "
    "smaller.";
inline constexpr const char* FileInfoErrorMessage = "Error getting file Info";
// A picture's width plus height may be at most this for it to be imported.
inline constexpr int ImportExtentLimit = 5000;

enum class TImportGate { Accept, TooLarge, InfoFailed };

// Too large when the information was read and width + height exceeds 5,000 pixels; a picture
// whose information could not be read still goes on (the user is told).
TImportGate CheckPictureForImport(const TGraphicFileInfo& info);

} // namespace pigmentaria
