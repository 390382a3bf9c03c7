// Feeds arbitrary bytes to the enhanced metafile reader: recognition, information and playing,
// as a preview and at the picture's own size when that is small.
#include "image/metafile_reader.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pigmentaria;
    const std::span<const std::uint8_t> bytes(data, size);
    (void)DetectEmf(bytes.first(std::min<std::size_t>(size, 16)));
    try {
        const TMetafileInfo info = GetMetafileInfo(bytes, true);
        if (info.Width * std::int64_t(info.Height) <= 512 * 512) (void)ReadMetafile(bytes, true);
    } catch (const EMetafile&) {
    }
    (void)ReadMetafile(bytes, true, {}, true);
    return 0;
}
