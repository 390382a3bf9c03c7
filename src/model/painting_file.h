#pragma once
// The painting file (".kvp"): magic "KV1000", the palette name, the print layout block, then one
// record per shape to the end of the file. Little-endian, no padding, no count of shapes.
#include "model/shape.h"
#include "platform/file_io.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pigmentaria {

inline constexpr const char* PaintingMagic = "KV1000";
inline constexpr const char* NotAPaintingMessage = "File is not an Pigmentaria Painting";
constexpr std::size_t PaintingHeaderSize = 207;
constexpr std::size_t PrintLayoutBlockSize = 80;
constexpr std::size_t FirstShapeOffset = PaintingHeaderSize + PrintLayoutBlockSize; // 287
// The palette name field holds at most this many bytes before its NUL.
constexpr std::size_t PaletteNameLimit = 200;

// The print dialog's values as a painting file stores them; a new painting holds the dialog's
// defaults.
struct TPrintLayoutBlock {
    std::uint8_t Orientation = 0; // 0 portrait, 1 landscape
    std::int32_t PaperSize = 0;   // the printer's paper-size code; 256 user-defined
    std::int32_t PaperWidth = 0;  // tenths of a millimetre, for code 256
    std::int32_t PaperLength = 0;
    std::int32_t FrameTop = 0; // placement frame, print dialog pixels; all 0 when hidden
    std::int32_t FrameLeft = 0;
    std::int32_t FrameWidth = 0;
    std::int32_t FrameHeight = 0;
    std::int32_t WhatToPrint = 0; // 0 all shapes, 1 selected, 2 current colour
    std::int32_t PagesAcross = 1;
    std::int32_t PagesDown = 1;
    double Overlap = 1.0;
    bool RegistrationMarks = true;
    bool OutlinesOnly = true;
    bool OutlinesInBlack = true;
    std::int32_t LineWeight = 1;
    std::int32_t FillWith = 0; // 0 gray, 1 colour, 2 black
    friend bool operator==(const TPrintLayoutBlock&, const TPrintLayoutBlock&) = default;
};

// The painting's file is not a painting file at all (wrong magic).
class ENotAPainting : public EFileError {
public:
    ENotAPainting() : EFileError(NotAPaintingMessage) {}
};

struct TPaintingFileContents {
    std::string PaletteName;
    TPrintLayoutBlock Layout;
    TShapeList Shapes;
};

// The 80-bit extended format (sign, 15-bit exponent, explicit integer bit, 63-bit fraction), by
// hand so that it does not depend on the compiler's long double.
std::array<std::uint8_t, 10> DoubleToExtended(double value);
double ExtendedToDouble(const std::uint8_t bytes[10]);

std::vector<std::uint8_t> EncodePainting(const TShapeList& shapes, const std::string& paletteName,
                                         const TPrintLayoutBlock& layout);
// Decodes a whole file. Throws ENotAPainting for a wrong magic and EFileError for a file that
// ends inside the header or a record or declares more vertices than its bytes hold; nothing is
// returned half-read. Bounds are the true minimum and maximum of each shape's vertices.
TPaintingFileContents DecodePainting(const std::uint8_t* data, std::size_t size);

void WritePaintingFile(const std::filesystem::path& file, const TShapeList& shapes,
                       const std::string& paletteName, const TPrintLayoutBlock& layout);
TPaintingFileContents ReadPaintingFile(const std::filesystem::path& file);

} // namespace pigmentaria
