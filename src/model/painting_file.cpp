#include "model/painting_file.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace pigmentaria {

std::array<std::uint8_t, 10> DoubleToExtended(double value) {
    std::array<std::uint8_t, 10> out{};
    std::uint64_t bits;
    std::memcpy(&bits, &value, 8);
    const unsigned sign = static_cast<unsigned>(bits >> 63);
    int exponent = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t fraction = bits & ((std::uint64_t(1) << 52) - 1);
    std::uint64_t mantissa;
    unsigned extExponent;
    if (exponent == 0x7FF) {
        // Infinity keeps a zero fraction; a NaN keeps its payload and stays quiet or signalling.
        extExponent = 0x7FFF;
        mantissa = (std::uint64_t(1) << 63) | (fraction << 11);
    } else if (exponent == 0 && fraction == 0) {
        extExponent = 0;
        mantissa = 0;
    } else {
        if (exponent == 0) {
            // A subnormal double is a normal extended number: shift its leading one up.
            exponent = 1;
            while ((fraction & (std::uint64_t(1) << 52)) == 0) {
                fraction <<= 1;
                --exponent;
            }
            fraction &= (std::uint64_t(1) << 52) - 1;
        }
        extExponent = static_cast<unsigned>(exponent - 1023 + 16383);
        mantissa = (std::uint64_t(1) << 63) | (fraction << 11);
    }
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<std::uint8_t>(mantissa >> (8 * i));
    const unsigned top = (sign << 15) | extExponent;
    out[8] = static_cast<std::uint8_t>(top);
    out[9] = static_cast<std::uint8_t>(top >> 8);
    return out;
}

double ExtendedToDouble(const std::uint8_t bytes[10]) {
    std::uint64_t mantissa = 0;
    for (int i = 0; i < 8; ++i)
        mantissa |= std::uint64_t(bytes[i]) << (8 * i);
    const unsigned top = bytes[8] | (unsigned(bytes[9]) << 8);
    const bool negative = (top & 0x8000) != 0;
    const int exponent = static_cast<int>(top & 0x7FFF);
    double value;
    if (exponent == 0x7FFF) {
        if ((mantissa << 1) == 0)
            value = std::numeric_limits<double>::infinity();
        else
            value = std::numeric_limits<double>::quiet_NaN();
    } else if (mantissa == 0) {
        value = 0.0;
    } else {
        // value = mantissa × 2^(e − 16383 − 63); denormals (e = 0) use the exponent of e = 1.
        const int e = exponent == 0 ? 1 : exponent;
        // Round the 64-bit mantissa to 53 bits once, then scale exactly (ldexp rounds again only
        // when the result leaves the normal double range).
        value = std::ldexp(static_cast<double>(mantissa), e - 16383 - 63);
    }
    return negative ? -value : value;
}

std::vector<std::uint8_t> EncodePainting(const TShapeList& shapes, const std::string& paletteName,
                                         const TPrintLayoutBlock& layout) {
    TByteWriter w;
    w.Raw(PaintingMagic, 6);
    w.FixedString(Utf8PrefixBytes(paletteName, PaletteNameLimit), PaletteNameLimit + 1);
    w.U8(layout.Orientation);
    w.Zeros(3);
    w.I32(layout.PaperSize);
    w.I32(layout.PaperWidth);
    w.I32(layout.PaperLength);
    w.Zeros(12);
    w.I32(layout.FrameTop);
    w.I32(layout.FrameLeft);
    w.I32(layout.FrameWidth);
    w.I32(layout.FrameHeight);
    w.I32(layout.WhatToPrint);
    w.I32(layout.PagesAcross);
    w.I32(layout.PagesDown);
    const auto overlap = DoubleToExtended(layout.Overlap);
    w.Raw(overlap.data(), overlap.size());
    w.U8(layout.RegistrationMarks ? 1 : 0);
    w.U8(layout.OutlinesOnly ? 1 : 0);
    w.U8(layout.OutlinesInBlack ? 1 : 0);
    w.Zeros(3);
    w.I32(layout.LineWeight);
    w.I32(layout.FillWith);
    for (const TPaintShape& s : shapes) {
        w.U32(s.Color);
        w.U32(s.AcquiredColor);
        w.I32(static_cast<std::int32_t>(s.Points.size()));
        for (const TShapePoint& p : s.Points) {
            w.I32(p.X);
            w.I32(p.Y);
        }
    }
    return std::move(w.Bytes());
}

TPaintingFileContents DecodePainting(const std::uint8_t* data, std::size_t size) {
    if (size < 6 || std::memcmp(data, PaintingMagic, 6) != 0) throw ENotAPainting();
    if (size < FirstShapeOffset) throw EFileError("The painting file ends inside its header.");
    TByteReader r(data, size);
    r.Skip(6);
    TPaintingFileContents out;
    out.PaletteName = r.FixedString(PaletteNameLimit + 1);
    TPrintLayoutBlock& l = out.Layout;
    l.Orientation = r.U8();
    r.Skip(3);
    l.PaperSize = r.I32();
    l.PaperWidth = r.I32();
    l.PaperLength = r.I32();
    r.Skip(12);
    l.FrameTop = r.I32();
    l.FrameLeft = r.I32();
    l.FrameWidth = r.I32();
    l.FrameHeight = r.I32();
    l.WhatToPrint = r.I32();
    l.PagesAcross = r.I32();
    l.PagesDown = r.I32();
    l.Overlap = ExtendedToDouble(r.Take(10));
    l.RegistrationMarks = r.U8() != 0;
    l.OutlinesOnly = r.U8() != 0;
    l.OutlinesInBlack = r.U8() != 0;
    r.Skip(3);
    l.LineWeight = r.I32();
    l.FillWith = r.I32();
    std::size_t index = 0;
    while (!r.AtEnd()) {
        ++index;
        if (!r.Has(12))
            throw EFileError("The painting file ends inside shape " + std::to_string(index) + ".");
        auto shape = std::make_unique<TPaintShape>();
        shape->Color = r.U32();
        shape->AcquiredColor = r.U32();
        const std::int32_t n = r.I32();
        if (n < 0 || static_cast<std::uint64_t>(n) * 8 > r.Remaining())
            throw EFileError("Shape " + std::to_string(index) + " of the painting file declares " +
                             std::to_string(n) + " vertices, more than the file holds.");
        shape->Points.resize(static_cast<std::size_t>(n));
        for (TShapePoint& p : shape->Points) {
            p.X = r.I32();
            p.Y = r.I32();
        }
        // The true extent of the vertices: a vertex at -1 (an outline at the picture's top or
        // left edge) is a real bound, not "not yet set".
        shape->RecomputeBounds();
        out.Shapes.Append(std::move(shape));
    }
    return out;
}

void WritePaintingFile(const std::filesystem::path& file, const TShapeList& shapes,
                       const std::string& paletteName, const TPrintLayoutBlock& layout) {
    ReplaceFileContents(file, EncodePainting(shapes, paletteName, layout));
}

TPaintingFileContents ReadPaintingFile(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = ReadFileBytes(file);
    return DecodePainting(bytes.data(), bytes.size());
}

} // namespace pigmentaria
