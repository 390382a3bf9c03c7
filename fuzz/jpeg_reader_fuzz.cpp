// Arbitrary bytes to the JPEG reader: a loaded picture or the format's exception, never a crash,
// a hang or an allocation the data cannot justify. The first byte picks the read warning action.
#include "reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const auto action = static_cast<pigmentaria::TPGWarningAction>(data[0] % 4);
    pigmentaria::fuzz::FuzzReader(data + 1, size - 1, "jpg", action);
    return 0;
}
