// Feeds arbitrary bytes to the BMP reader (as a file and as clipboard DIB data) and to its header
// inspection. Any input must end in a loaded picture or the library's exception, with the
// picture's layout consistent either way.
#include "image/bmp_format.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <cstdint>
#include <cstdlib>

using namespace pigmentaria;

namespace {

void CheckLayout(const TPixelGraphic& g) {
    if (g.Empty()) return;
    const std::size_t stride = TPixelGraphic::StrideOf(g.Width(), g.BitCount());
    if (g.RowStride() != stride || g.ImageSize() != stride * static_cast<std::size_t>(g.Height()))
        std::abort();
    if (g.ColorType() != ct24Bit && g.PaletteCount() > PaletteCapacity(g.ColorType())) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    {
        TPixelGraphic g;
        TSpanStream s(data, size);
        try {
            g.LoadFromStreamAs(s, "bmp");
            CheckLayout(g);
            TMemoryStream out;
            g.SaveToStream(out);
            if (!g.Empty()) (void)g.GetPixelColor(g.Width() - 1, 0);
        } catch (const EPixelGraphic&) {
            if (!g.Empty()) std::abort();
        }
    }
    {
        TSpanStream s(data, size);
        try {
            (void)ReadBMPInfo(s, 0);
        } catch (const EPixelGraphic&) {
        }
    }
    if (size > 14) {
        TPixelGraphic g;
        try {
            g.LoadFromPackedDIB(data + 14, size - 14);
            CheckLayout(g);
        } catch (const EPixelGraphic&) {
            if (!g.Empty()) std::abort();
        }
    }
    return 0;
}
