#pragma once
// Paintings and hand-made metafiles for the metafile tests.
#include "convert/tracer.h"
#include "model/shape.h"
#include "platform/metafile_records.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace pigmentaria::test {

// A traced painting of nested coloured blobs: many shapes, holes and diagonal outlines.
inline TShapeList TracedPainting(int w, int h,
                                 TOutlineMethod outlineMethod = TOutlineMethod::Inline) {
    TRaster24 picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double v = std::sin(x * 0.11) + std::cos(y * 0.13) + std::sin((x + y) * 0.05);
            const int level = static_cast<int>((v + 3) * 1.5);
            picture.SetPixel(x, y, MakeColor(level * 40, 255 - level * 30, (level * 70) & 0xFF));
        }
    TShapeList shapes;
    TNullProgress progress;
    TNullMessages messages;
    TraceRegions(picture, picture, {outlineMethod, 1, false}, shapes, progress, messages);
    return shapes;
}

// Builds a Windows metafile record by record: placeable header (optional), standard header,
// records, end record. Sizes and counts are filled in by Finish.
class TWmfBuilder {
public:
    explicit TWmfBuilder(std::uint16_t objects = 4) : Objects_(objects) {}
    TWmfBuilder& Record(std::uint16_t function, std::initializer_list<std::int32_t> words,
                        const std::vector<std::uint8_t>& tail = {}) {
        TByteWriter w;
        w.U32(static_cast<std::uint32_t>(3 + words.size() + (tail.size() + 1) / 2));
        w.U16(function);
        for (std::int32_t v : words)
            w.U16(static_cast<std::uint16_t>(v));
        for (std::uint8_t b : tail)
            w.U8(b);
        if (tail.size() % 2) w.U8(0);
        Body_.insert(Body_.end(), w.Bytes().begin(), w.Bytes().end());
        return *this;
    }
    std::vector<std::uint8_t> Finish(bool placeable, std::int16_t right = 100,
                                     std::int16_t bottom = 100, std::uint16_t inch = 96) {
        Record(metafile::META_EOF, {});
        TByteWriter w;
        if (placeable) {
            w.U32(metafile::PlaceableMagic);
            w.U16(0);
            w.I16(0);
            w.I16(0);
            w.I16(right);
            w.I16(bottom);
            w.U16(inch);
            w.U32(0);
            w.U16(metafile::PlaceableChecksum(w.Bytes().data()));
        }
        w.U16(1);
        w.U16(9);
        w.U16(0x0300);
        w.U32(static_cast<std::uint32_t>(9 + Body_.size() / 2));
        w.U16(Objects_);
        w.U32(0);
        w.U16(0);
        std::vector<std::uint8_t> out = std::move(w.Bytes());
        out.insert(out.end(), Body_.begin(), Body_.end());
        return out;
    }

private:
    std::uint16_t Objects_;
    std::vector<std::uint8_t> Body_;
};

inline std::int32_t Lo(std::uint32_t v) {
    return static_cast<std::int32_t>(v & 0xFFFF);
}
inline std::int32_t Hi(std::uint32_t v) {
    return static_cast<std::int32_t>(v >> 16);
}

// Builds an enhanced metafile: a header of the given size (88 or more), records, end record
// with an optional palette.
class TEmfBuilder {
public:
    TEmfBuilder& Record(std::uint32_t type, std::initializer_list<std::int32_t> values,
                        const std::vector<std::uint8_t>& tail = {}) {
        TByteWriter w;
        w.U32(type);
        w.U32(static_cast<std::uint32_t>(8 + 4 * values.size() + (tail.size() + 3) / 4 * 4));
        for (std::int32_t v : values)
            w.I32(v);
        for (std::uint8_t b : tail)
            w.U8(b);
        while (w.Size() % 4)
            w.U8(0);
        Body_.insert(Body_.end(), w.Bytes().begin(), w.Bytes().end());
        ++Records_;
        return *this;
    }
    // A picture of w × h pixels on a 96-dpi reference device (1920 × 960 px on 508 × 254 mm).
    std::vector<std::uint8_t> Finish(int w, int h, std::uint32_t headerSize = 88,
                                     const std::vector<TColor>& palette = {},
                                     bool signature = true) {
        TByteWriter eof;
        eof.U32(metafile::EMR_EOF);
        eof.U32(static_cast<std::uint32_t>(20 + 4 * palette.size()));
        eof.U32(static_cast<std::uint32_t>(palette.size()));
        eof.U32(16);
        for (TColor c : palette) {
            eof.U8(static_cast<std::uint8_t>(RedOf(c)));
            eof.U8(static_cast<std::uint8_t>(GreenOf(c)));
            eof.U8(static_cast<std::uint8_t>(BlueOf(c)));
            eof.U8(0);
        }
        eof.U32(static_cast<std::uint32_t>(20 + 4 * palette.size()));
        TByteWriter hd;
        hd.U32(metafile::EMR_HEADER);
        hd.U32(headerSize);
        for (int v : {0, 0, w - 1, h - 1, 0, 0, int(std::lround(w * 50800.0 / 1920)),
                      int(std::lround(h * 25400.0 / 960))})
            hd.I32(v);
        hd.U32(signature ? metafile::EmfSignature : 0);
        hd.U32(0x10000);
        hd.U32(static_cast<std::uint32_t>(headerSize + Body_.size() + eof.Size()));
        hd.U32(Records_ + 2);
        hd.U16(8);
        hd.U16(0);
        hd.U32(0);
        hd.U32(0);
        hd.U32(static_cast<std::uint32_t>(palette.size()));
        for (int v : {1920, 960, 508, 254})
            hd.I32(v);
        while (hd.Size() < headerSize)
            hd.U8(0);
        std::vector<std::uint8_t> out = std::move(hd.Bytes());
        out.insert(out.end(), Body_.begin(), Body_.end());
        out.insert(out.end(), eof.Bytes().begin(), eof.Bytes().end());
        return out;
    }

private:
    std::vector<std::uint8_t> Body_;
    std::uint32_t Records_ = 0;
};

} // namespace pigmentaria::test
