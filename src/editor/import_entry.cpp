#include "editor/import_entry.h"

namespace pigmentaria {

TImportGate CheckPictureForImport(const TGraphicFileInfo& info) {
    if (!info.Ok) return TImportGate::InfoFailed;
    const long long extent = static_cast<long long>(info.Info.Width) + info.Info.Height;
    return extent > ImportExtentLimit ? TImportGate::TooLarge : TImportGate::Accept;
}

} // namespace pigmentaria
