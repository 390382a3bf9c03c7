// Painting files from anywhere: decoding either yields a painting that writes back to the same
// bytes, or refuses the file with a file error.
#include "model/painting_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pigmentaria;
    try {
        const TPaintingFileContents c = DecodePainting(data, size);
        const auto again = EncodePainting(c.Shapes, c.PaletteName, c.Layout);
        // The shape records come back byte for byte (the header's undefined bytes need not).
        if (again.size() != size ||
            std::memcmp(again.data() + FirstShapeOffset, data + FirstShapeOffset,
                        size - FirstShapeOffset) != 0)
            std::abort();
    } catch (const EFileError&) {
    }
    return 0;
}
