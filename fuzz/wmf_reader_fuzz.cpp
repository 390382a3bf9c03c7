// Feeds arbitrary bytes to the Windows metafile reader: recognition, information and playing,
// as a preview and at the picture's own size when that is small.
#include "image/metafile_reader.h"

#include <cstddef>
#include <cstdint>
#include <span>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pigmentaria;
    const std::span<const std::uint8_t> bytes(data, size);
    (void)DetectWmf(bytes.first(std::min<std::size_t>(size, 16)));
    try {
        const TMetafileInfo info = GetMetafileInfo(bytes, false);
        if (info.Width * std::int64_t(info.Height) <= 512 * 512) (void)ReadMetafile(bytes, false);
    } catch (const EMetafile&) {
    }
    (void)ReadMetafile(bytes, false, {}, true);
    return 0;
}
