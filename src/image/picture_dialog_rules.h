#pragma once
// What the picture open and save dialogs decide without a window: their file types from the
// format registry's filter strings, the extension of a chosen type, the file name a change of
// type in the save dialog leaves, the lines of the information box, the texts of the
// open-preview window, the dialogs' options, and the small preview picture of a file.
#include "image/file_format.h"
#include "image/viewer_layout.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

// ---- File types

struct TFileTypeEntry {
    std::string Description;
    std::vector<std::string> Patterns; // "*.bmp", "*.dib", ...
    friend bool operator==(const TFileTypeEntry&, const TFileTypeEntry&) = default;
};

// "Description|*.a; *.b|Description|*.c|" as entries; an odd last part or empty parts are left
// out.
std::vector<TFileTypeEntry> ParseFileTypeFilter(const std::string& filter);
// An entry as a file dialog lists it: "Description (*.a *.b)".
std::string FileTypeNameFilter(const TFileTypeEntry& entry);

enum class TPictureDialogKind { Open, Save };

// The file types a dialog offers: the open dialog the readers' filter ("Image files" first, "All
// files" last), the save dialog the writers'.
std::vector<TFileTypeEntry> PictureFileTypes(TPictureDialogKind kind,
                                             const TFileFormatRegistry& registry = PGFormats());

// The extension (without dot, lower case) of the file type at `index` (0-based, as listed), or
// empty for a group of several extensions or "All files".
std::string ExtensionOfFileType(const std::vector<TFileTypeEntry>& types, int index);
// How many listed formats a dialog has (the types naming a single extension).
int ListedFormatCount(const std::vector<TFileTypeEntry>& types);

// A change of type in the save dialog: the name gets the type's extension in place of its own (a
// name without one gets it added); a name inside `currentFolder` is shortened to its file part.
// A name that is a folder, or a type without an extension, leaves the name as it is.
std::string FileNameForTypeChange(const std::string& name, const std::string& extension,
                                  const std::string& currentFolder, bool nameIsFolder);

// The save dialog's name on confirmation: a name typed without an extension gets the chosen
// type's.
std::string FileNameWithTypeExtension(const std::string& name, const std::string& extension);

// ---- Information

// Up to four lines: the format's description; the size, colour count and bit count (after the
// image count when the file holds more than one image); the subformat; the comment. None when
// the information could not be read.
std::vector<std::string> InfoBoxLines(const TGraphicFileInfo& info);

// The open-preview window beside the picture dialog.
struct TOpenPreviewTexts {
    bool ShowImage = false;
    std::string Dimensions;  // "640 x 427"
    std::string Description; // the format's description
    friend bool operator==(const TOpenPreviewTexts&, const TOpenPreviewTexts&) = default;
};
// Shown with both texts when the information was read; hidden with both texts empty otherwise.
TOpenPreviewTexts OpenPreviewTexts(const TGraphicFileInfo& info);
inline constexpr const char* OpenPreviewCaption = "Preview";

// A window's place on the screen, frame included.
struct TScreenRect {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    friend bool operator==(const TScreenRect&, const TScreenRect&) = default;
};
// Where the open-preview window of width × height goes beside the picture dialog: right of it
// when it fits on the screen, else left of it, else at the screen's right edge over it; its top
// level with the dialog's. Always whole on the screen (as far as it is not larger).
TScreenRect OpenPreviewPlace(const TScreenRect& dialog, int width, int height,
                             const TScreenRect& screen, int gap = 8);

// ---- Options

enum TPGDialogOption : unsigned {
    ofReadOnly = 1u << 0,
    ofOverwritePrompt = 1u << 1,
    ofHideReadOnly = 1u << 2,
    ofNoChangeDir = 1u << 3,
    ofAllowMultiSelect = 1u << 4,
    ofPathMustExist = 1u << 5,
    ofFileMustExist = 1u << 6,
    ofShareAware = 1u << 7,
    ofNoReadOnlyReturn = 1u << 8,
};
inline constexpr unsigned DefaultPGDialogOptions = ofHideReadOnly | ofShareAware;
inline constexpr const char* ShareAwareMessage =
    "TPGOpenDialog.Options and TPGSaveDialog.Options must include ofShareAware!";

// The options as set: share-aware may not be left out; when it is, `messages` is told so and the
// option is added.
unsigned EnforceShareAware(unsigned options, IMessageSink& messages);

// ---- Preview

// The delay after the last change of selection before the preview is loaded.
inline constexpr int PreviewSettleMs = 150;
// The preview box as laid out (its client less 2 pixels of frame on each side).
inline constexpr TViewSize PictureDialogPreviewBox{138, 128};

// The file's picture scaled to fit the box, aspect kept, never enlarged, 24 bits; metafiles are
// played at preview size. Reader warnings are ignored. Nothing when the file cannot be read, or
// when `abandon` is set (checked during the load and between steps).
std::optional<TRaster24> LoadPicturePreview(const std::string& fileName, TViewSize box,
                                            const std::atomic<bool>* abandon = nullptr);

} // namespace pigmentaria
