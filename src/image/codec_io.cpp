#include "image/codec_io.h"

namespace pigmentaria {

std::string ColorCountTextOf(int bits) {
    switch (bits) {
    case 1:
        return "2";
    case 4:
        return "16";
    case 8:
        return "256";
    case 16:
        return "64K";
    case 24:
        return "16.7M";
    default:
        break;
    }
    if (bits > 0 && bits < 16) return std::to_string(1 << bits);
    return "16.7M";
}

void PackIndexRow(const std::uint8_t* indices, int width, int bits, std::uint8_t* row) {
    switch (bits) {
    case 8:
        std::memcpy(row, indices, static_cast<std::size_t>(width));
        break;
    case 4:
        for (int x = 0; x < width; x += 2) {
            const int hi = indices[x] & 15, lo = x + 1 < width ? indices[x + 1] & 15 : 0;
            row[x >> 1] = static_cast<std::uint8_t>(hi << 4 | lo);
        }
        break;
    case 1:
        for (int x = 0; x < width; x += 8) {
            int b = 0;
            for (int k = 0; k < 8; ++k)
                b = b << 1 | (x + k < width ? indices[x + k] & 1 : 0);
            row[x >> 3] = static_cast<std::uint8_t>(b);
        }
        break;
    default:
        break;
    }
}

} // namespace pigmentaria
