#pragma once
// Record numbers and byte helpers of the two Windows metafile formats: the 16-bit Windows
// metafile (WMF, optionally behind a 22-byte placeable header) and the enhanced metafile (EMF).
// Shared by the writers of the painting's metafiles and by the metafile reader.
#include "platform/byte_writer.h"
#include "platform/color.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace pigmentaria::metafile {

constexpr std::uint32_t PlaceableMagic = 0x9AC6CDD7u;
constexpr std::size_t PlaceableSize = 22;
constexpr std::uint32_t EmfSignature = 0x464D4520u; // " EMF"
constexpr std::size_t EmfSignatureOffset = 40;

// Windows metafile record functions.
enum : std::uint16_t {
    META_EOF = 0x0000,
    META_REALIZEPALETTE = 0x0035,
    META_SAVEDC = 0x001E,
    META_CREATEPALETTE = 0x00F7,
    META_SETBKMODE = 0x0102,
    META_SETMAPMODE = 0x0103,
    META_SETROP2 = 0x0104,
    META_SETPOLYFILLMODE = 0x0106,
    META_SETSTRETCHBLTMODE = 0x0107,
    META_RESTOREDC = 0x0127,
    META_SELECTOBJECT = 0x012D,
    META_DIBCREATEPATTERNBRUSH = 0x0142,
    META_DELETEOBJECT = 0x01F0,
    META_CREATEPATTERNBRUSH = 0x01F9,
    META_SETBKCOLOR = 0x0201,
    META_SETTEXTCOLOR = 0x0209,
    META_SETWINDOWORG = 0x020B,
    META_SETWINDOWEXT = 0x020C,
    META_SETVIEWPORTORG = 0x020D,
    META_SETVIEWPORTEXT = 0x020E,
    META_OFFSETWINDOWORG = 0x020F,
    META_OFFSETVIEWPORTORG = 0x0211,
    META_LINETO = 0x0213,
    META_MOVETO = 0x0214,
    META_SELECTPALETTE = 0x0234,
    META_CREATEPENINDIRECT = 0x02FA,
    META_CREATEFONTINDIRECT = 0x02FB,
    META_CREATEBRUSHINDIRECT = 0x02FC,
    META_POLYGON = 0x0324,
    META_POLYLINE = 0x0325,
    META_SCALEWINDOWEXT = 0x0410,
    META_SCALEVIEWPORTEXT = 0x0412,
    META_EXCLUDECLIPRECT = 0x0415,
    META_INTERSECTCLIPRECT = 0x0416,
    META_ELLIPSE = 0x0418,
    META_FLOODFILL = 0x0419,
    META_RECTANGLE = 0x041B,
    META_SETPIXEL = 0x041F,
    META_POLYPOLYGON = 0x0538,
    META_EXTFLOODFILL = 0x0548,
    META_ROUNDRECT = 0x061C,
    META_PATBLT = 0x061D,
    META_CREATEREGION = 0x06FF,
    META_ARC = 0x0817,
    META_PIE = 0x081A,
    META_CHORD = 0x0830,
    META_DIBBITBLT = 0x0940,
    META_DIBSTRETCHBLT = 0x0B41,
    META_STRETCHDIB = 0x0F43,
};

// Enhanced metafile record types.
enum : std::uint32_t {
    EMR_HEADER = 1,
    EMR_POLYBEZIER = 2,
    EMR_POLYGON = 3,
    EMR_POLYLINE = 4,
    EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6,
    EMR_POLYPOLYLINE = 7,
    EMR_POLYPOLYGON = 8,
    EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10,
    EMR_SETVIEWPORTEXTEX = 11,
    EMR_SETVIEWPORTORGEX = 12,
    EMR_EOF = 14,
    EMR_SETPIXELV = 15,
    EMR_SETMAPMODE = 17,
    EMR_SETBKMODE = 18,
    EMR_SETPOLYFILLMODE = 19,
    EMR_SETROP2 = 20,
    EMR_SETBKCOLOR = 25,
    EMR_MOVETOEX = 27,
    EMR_INTERSECTCLIPRECT = 30,
    EMR_SCALEVIEWPORTEXTEX = 31,
    EMR_SCALEWINDOWEXTEX = 32,
    EMR_SAVEDC = 33,
    EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35,
    EMR_MODIFYWORLDTRANSFORM = 36,
    EMR_SELECTOBJECT = 37,
    EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40,
    EMR_ELLIPSE = 42,
    EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44,
    EMR_ARC = 45,
    EMR_CHORD = 46,
    EMR_PIE = 47,
    EMR_CREATEPALETTE = 49,
    EMR_LINETO = 54,
    EMR_ARCTO = 55,
    EMR_BEGINPATH = 59,
    EMR_ENDPATH = 60,
    EMR_CLOSEFIGURE = 61,
    EMR_FILLPATH = 62,
    EMR_STROKEANDFILLPATH = 63,
    EMR_STROKEPATH = 64,
    EMR_SELECTCLIPPATH = 67,
    EMR_ABORTPATH = 68,
    EMR_EXTSELECTCLIPRGN = 75,
    EMR_BITBLT = 76,
    EMR_STRETCHBLT = 77,
    EMR_SETDIBITSTODEVICE = 80,
    EMR_STRETCHDIBITS = 81,
    EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86,
    EMR_POLYLINE16 = 87,
    EMR_POLYBEZIERTO16 = 88,
    EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91,
    EMR_CREATEMONOBRUSH = 93,
    EMR_CREATEDIBPATTERNBRUSHPT = 94,
    EMR_EXTCREATEPEN = 95,
};

// Little-endian input from a buffer; reads past the end give 0, so callers check sizes first.
inline std::uint16_t GetU16(const std::uint8_t* data, std::size_t size, std::size_t at) {
    if (at > size || size - at < 2) return 0;
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}
inline std::int16_t GetI16(const std::uint8_t* data, std::size_t size, std::size_t at) {
    return static_cast<std::int16_t>(GetU16(data, size, at));
}
inline std::uint32_t GetU32(const std::uint8_t* data, std::size_t size, std::size_t at) {
    return static_cast<std::uint32_t>(GetU16(data, size, at)) |
           (static_cast<std::uint32_t>(GetU16(data, size, at + 2)) << 16);
}
inline std::int32_t GetI32(const std::uint8_t* data, std::size_t size, std::size_t at) {
    return static_cast<std::int32_t>(GetU32(data, size, at));
}
inline float GetF32(const std::uint8_t* data, std::size_t size, std::size_t at) {
    const std::uint32_t u = GetU32(data, size, at);
    float f;
    std::memcpy(&f, &u, sizeof f);
    return f;
}

// XOR of the first ten 16-bit words of a placeable header.
inline std::uint16_t PlaceableChecksum(const std::uint8_t* header) {
    std::uint16_t sum = 0;
    for (std::size_t i = 0; i < 20; i += 2)
        sum ^= static_cast<std::uint16_t>(header[i] | (header[i + 1] << 8));
    return sum;
}

// `count` palette entries (red, green, blue, flags) from offset `at`; none when they do not fit.
inline std::vector<TColor> PaletteEntries(const std::uint8_t* data, std::size_t size,
                                          std::size_t at, std::size_t count) {
    std::vector<TColor> out;
    if (at > size || (size - at) / 4 < count) return out;
    for (std::size_t i = 0; i < count; ++i)
        out.push_back(MakeColor(data[at + 4 * i], data[at + 4 * i + 1], data[at + 4 * i + 2]));
    return out;
}

} // namespace pigmentaria::metafile
