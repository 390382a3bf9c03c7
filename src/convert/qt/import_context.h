#pragma once
// What the import dialog works with, handed down by the program that owns it: the settings it
// keeps its place, advanced-options check and template group in, the user's palette folder, where
// its messages go, the runner of long work behind the progress window, and who takes the painting
// "Import Now" makes, and who makes a template of its picture. The dialog never sees the document
// it goes into.
#include "convert/conversion.h"
#include "image/pixel_graphic.h"
#include "platform/report.h"
#include "platform/settings.h"

#include <filesystem>
#include <functional>
#include <memory>

namespace pigmentaria {

class TJobRunner;

struct TImportContext {
    TSettingsBlock& Settings;
    std::filesystem::path PaletteFolder;
    IMessageSink& Messages;
    TJobRunner& Jobs;
    std::function<void(TTraceResult)> Adopt;
    // "Make Template...": makes a template of the dialog's picture as loaded (before its colour
    // reduction) in place of the painting; true when it did, and the dialog then closes as if
    // cancelled. Empty: the button cannot be used.
    std::function<bool(std::shared_ptr<const TPixelGraphic> picture)> MakeTemplate = {};
};

} // namespace pigmentaria
