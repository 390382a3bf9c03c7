// Every picture format the library knows, registered when the library is first used. A new codec
// adds its registration function here.
#include "image/bmp_format.h"
#include "image/file_format.h"
#include "image/metafile_format.h"
#include "image/raster_formats.h"

namespace pigmentaria {

namespace {
using TRegisterFormats = void (*)(TFileFormatRegistry&);
const TRegisterFormats kBuiltInFormats[] = {
    RegisterBMPFormats, RegisterJPGFormats, RegisterPNGFormats, RegisterPCXFormats,
    RegisterPxMFormats, RegisterTGAFormats, RegisterTIFFormats, RegisterMetafileFormats,
};
} // namespace

void RegisterBuiltInFormats(TFileFormatRegistry& registry) {
    for (TRegisterFormats registerFormats : kBuiltInFormats)
        registerFormats(registry);
}

} // namespace pigmentaria
