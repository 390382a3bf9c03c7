#pragma once
// What the import dialog works with, handed down by the program that owns it: the settings it
// keeps its place, advanced-options check and template group in, the user's palette folder, where
// its messages go, the runner of long work behind the progress window, and who takes the painting
// "Import Now" makes. The dialog never sees the document it goes into.
#include "convert/conversion.h"
#include "platform/report.h"
#include "platform/settings.h"

#include <filesystem>
#include <functional>

namespace pigmentaria {

class TJobRunner;

struct TImportContext {
    TSettingsBlock& Settings;
    std::filesystem::path PaletteFolder;
    IMessageSink& Messages;
    TJobRunner& Jobs;
    std::function<void(TTraceResult)> Adopt;
};

} // namespace pigmentaria
