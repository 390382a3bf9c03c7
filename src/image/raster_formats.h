#pragma once
// Registration of the raster codecs besides BMP: JPEG and PNG (through libjpeg and libpng), PCX,
// the Netpbm family, Targa and TIFF. Each function adds its readers and writers, under every
// extension the format answers to, to a registry (see format_list.cpp).
#include "image/file_format.h"

namespace pigmentaria {

void RegisterJPGFormats(TFileFormatRegistry& registry);
void RegisterPNGFormats(TFileFormatRegistry& registry);
void RegisterPCXFormats(TFileFormatRegistry& registry);
void RegisterPxMFormats(TFileFormatRegistry& registry);
void RegisterTGAFormats(TFileFormatRegistry& registry);
void RegisterTIFFormats(TFileFormatRegistry& registry);

} // namespace pigmentaria
