#pragma once
// The body shared by the picture reader fuzz targets: arbitrary bytes go to the loader with the
// format's extension as hint and to the format's header inspection. Any input must end in a
// loaded picture with a consistent layout or in the library's exception with an empty picture.
#include "image/file_format.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace pigmentaria::fuzz {

inline void CheckLayout(const TPixelGraphic& g) {
    if (g.Empty()) return;
    const std::size_t stride = TPixelGraphic::StrideOf(g.Width(), g.BitCount());
    if (g.RowStride() != stride || g.ImageSize() != stride * static_cast<std::size_t>(g.Height()))
        std::abort();
    if (g.ColorType() != ct24Bit && g.PaletteCount() > PaletteCapacity(g.ColorType())) std::abort();
}

inline void FuzzReader(const std::uint8_t* data, std::size_t size, const std::string& ext,
                       TPGWarningAction action) {
    {
        TPixelGraphic g;
        g.ReadWarningAction = action;
        TSpanStream s(data, size);
        try {
            g.LoadFromStreamAs(s, ext);
            CheckLayout(g);
            if (!g.Empty()) (void)g.GetPixelColor(g.Width() - 1, g.Height() - 1);
        } catch (const EPixelGraphic&) {
            if (!g.Empty()) std::abort();
        }
    }
    for (const auto& reader : PGFormats().Readers()) {
        if (reader->Extension != ext) continue;
        TSpanStream s(data, size);
        try {
            (void)reader->GetInfo(s, 0);
        } catch (const EPixelGraphic&) {
        }
    }
}

} // namespace pigmentaria::fuzz
