#pragma once
// Reading Windows metafiles (".wmf", with or without the placeable header) and enhanced metafiles
// (".emf") as pictures: recognising them by their first bytes, loading and sizing them, the file
// information the open dialog shows, and playing their records onto a 24-bit raster.
#include "image/pg_errors.h"
#include "platform/color.h"
#include "platform/raster.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace pigmentaria {

inline constexpr const char* InvalidMetafileMessage = "Invalid Metafile";
inline constexpr const char* PlaceableSubFormat = "Placeable, Aldus header";
inline constexpr const char* NoHeaderSubFormat = "No header";

// What GetInfo raises for a metafile that cannot be loaded: "Invalid Metafile", without a format
// tag.
class EMetafile : public EPixelGraphic {
public:
    EMetafile() : EPixelGraphic(std::string(InvalidMetafileMessage)) {}
};

// The library-wide metafile settings.
struct TMetafileSettings {
    // Box of a placeable header made up for a metafile that has none (or a useless one).
    int DefaultBoxWidth = 100;
    int DefaultBoxHeight = 50;
    TColor BackgroundColor = 0xFFFFFF;
    // Applied to the metafile's size when positive and not 1 (and no preview is asked for).
    double ScaleFactor = 1.0;
    // The screen's pixels per inch (the average of horizontal and vertical).
    int ScreenPixelsPerInch = 96;
};

// The settings the library's metafile readers use.
TMetafileSettings& PGMetafileSettings();

// Largest side of a preview picture.
constexpr int MetafilePreviewSize = 130;

// The 22-byte placeable header with its checksum.
std::vector<std::uint8_t> MakePlaceableHeader(std::int16_t left, std::int16_t top,
                                              std::int16_t right, std::int16_t bottom,
                                              std::uint16_t unitsPerInch);

// Content tests on the first 16 bytes (fewer bytes never match).
bool DetectWmf(std::span<const std::uint8_t> head);
// True when the first record is the header record (type 1) and either its size is below 101 or
// it carries the " EMF" signature at offset 40.
bool DetectEmf(std::span<const std::uint8_t> head);

// A metafile ready to be played.
struct TLoadedMetafile {
    bool Enhanced = false;
    // A Windows metafile that came with its own placeable header.
    bool Placeable = false;
    // The whole file; a Windows metafile always begins with a (possibly made-up) placeable header.
    std::vector<std::uint8_t> Data;
    int Width = 0;
    int Height = 0;
    // The metafile's own palette; empty when it has none.
    std::vector<TColor> Palette;
};

// Loads a metafile; nullopt when it cannot be loaded. Never throws on bad input.
std::optional<TLoadedMetafile> LoadMetafile(std::span<const std::uint8_t> bytes, bool enhanced,
                                            const TMetafileSettings& settings = {});

// Bits per pixel of the picture a palette of n entries gives: 1, 4, 8, or 24 without a palette.
int MetafileBitCount(std::size_t paletteEntries);

struct TMetafileInfo {
    int ImageCount = 1;
    int Width = 0;
    int Height = 0;
    int BitCount = 24;
    std::string ColorCountText;
    // "Placeable, Aldus header" or "No header" for a Windows metafile; empty for an enhanced one.
    std::string SubFormat;
};

// Raises EMetafile ("Invalid Metafile") when the metafile cannot be loaded.
TMetafileInfo GetMetafileInfo(std::span<const std::uint8_t> bytes, bool enhanced,
                              const TMetafileSettings& settings = {});

// Progress of a read: current step and maximum; setting abort stops the playing.
using TMetafileProgress = std::function<void(int step, int maximum, bool& abort)>;

// The picture a metafile reads to: the raster as played, the bit count its palette calls for and
// that palette. An empty raster when the metafile could not be loaded.
struct TMetafilePicture {
    TRaster24 Raster;
    int BitCount = 24;
    std::vector<TColor> Palette;
};

// Loads, sizes (preview: neither side above 130; otherwise the scale factor) and plays a
// metafile onto a raster cleared to the background colour.
TMetafilePicture ReadMetafile(std::span<const std::uint8_t> bytes, bool enhanced,
                              const TMetafileSettings& settings = {}, bool preview = false,
                              const TMetafileProgress& progress = {});

// Plays a loaded metafile onto a raster, stretched over (0, 0) .. (width, height). Unknown
// records are skipped; playing stops quietly at a record that does not fit in the file.
// `onRecord` is called after every drawing record and may stop the playing.
void PlayMetafile(const TLoadedMetafile& metafile, TRaster24& target,
                  const std::function<bool()>& onRecord = {});

} // namespace pigmentaria
