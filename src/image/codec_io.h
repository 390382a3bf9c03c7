#pragma once
// Small pieces the picture codecs share: byte-order access, exact reads that raise the format's
// exception, buffered byte reading and writing on the library's streams, the progress bracket
// and the allocation budget that keeps hostile headers from reserving memory the data cannot fill.
#include "image/pg_errors.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"

#include <algorithm>
#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace pigmentaria {

inline std::uint16_t GetLE16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
inline std::uint32_t GetLE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
inline std::uint16_t GetBE16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] << 8 | p[1]);
}
inline std::uint32_t GetBE32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | static_cast<std::uint32_t>(p[3]);
}
inline void PutLE16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutLE32(std::uint8_t* p, std::uint32_t v) {
    PutLE16(p, v);
    PutLE16(p + 2, v >> 16);
}

// Reads exactly n bytes or raises the format's "Unexpected end of file".
template <class EFormat> void ReadExactOr(TPGStream& s, void* buffer, std::size_t n) {
    if (n != 0 && s.Read(buffer, n) != n) throw EFormat(msgUnexpectedEOF);
}

// Fires the graphic's progress start now and its progress end when the read or write is over.
struct TProgressBracket {
    explicit TProgressBracket(const TPixelGraphic& g) : G(g) { G.ProgressStart(); }
    ~TProgressBracket() { G.ProgressEnd(); }
    TProgressBracket(const TProgressBracket&) = delete;
    TProgressBracket& operator=(const TProgressBracket&) = delete;
    const TPixelGraphic& G;
};

// Sides beyond this are refused before anything is allocated.
constexpr std::int64_t kMaxPictureSide = 65535;
// A compressed picture may decode to at most this many bytes plus `expansion` bytes for every
// byte of compressed data the stream still holds: no real file comes near the codecs' ratios.
constexpr std::int64_t kDecodeFloor = 1 << 24;
inline bool WithinDecodeBudget(std::int64_t decodedBytes, std::int64_t compressedBytes,
                               std::int64_t expansion) {
    return decodedBytes <= kDecodeFloor + compressedBytes * expansion;
}

// Reads a stream byte by byte through a block buffer.
class TBufferedReader {
public:
    explicit TBufferedReader(TPGStream& stream, std::size_t block = 65536)
        : Stream_(stream), Buffer_(block) {}
    // The next byte, or -1 at the end of the data.
    int Get() {
        if (Pos_ == Len_ && !Fill()) return -1;
        return Buffer_[Pos_++];
    }
    // Up to n bytes; fewer only at the end of the data.
    std::size_t Read(std::uint8_t* out, std::size_t n) {
        std::size_t done = 0;
        while (done < n) {
            if (Pos_ == Len_ && !Fill()) break;
            const std::size_t k = std::min(n - done, Len_ - Pos_);
            std::memcpy(out + done, &Buffer_[Pos_], k);
            Pos_ += k;
            done += k;
        }
        return done;
    }
    // Bytes left: those buffered and those the stream still holds.
    std::int64_t Remaining() const {
        return static_cast<std::int64_t>(Len_ - Pos_) + Stream_.Remaining();
    }

private:
    bool Fill() {
        Len_ = Stream_.Read(Buffer_.data(), Buffer_.size());
        Pos_ = 0;
        return Len_ > 0;
    }
    TPGStream& Stream_;
    std::vector<std::uint8_t> Buffer_;
    std::size_t Pos_ = 0, Len_ = 0;
};

// Collects output in a block buffer and writes it to the stream when full or flushed.
class TBufferedWriter {
public:
    explicit TBufferedWriter(TPGStream& stream, std::size_t block = 1024)
        : Stream_(stream), Buffer_(block) {}
    void Put(std::uint8_t b) {
        if (Len_ == Buffer_.size()) Flush();
        Buffer_[Len_++] = b;
    }
    void Write(const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        if (n >= Buffer_.size()) {
            Flush();
            Stream_.Write(p, n);
            return;
        }
        if (Len_ + n > Buffer_.size()) Flush();
        std::memcpy(&Buffer_[Len_], p, n);
        Len_ += n;
    }
    void Text(const std::string& s) { Write(s.data(), s.size()); }
    void Flush() {
        if (Len_) Stream_.Write(Buffer_.data(), Len_);
        Len_ = 0;
    }

private:
    TPGStream& Stream_;
    std::vector<std::uint8_t> Buffer_;
    std::size_t Len_ = 0;
};

// Runs f, one call into a C library whose error handler long-jumps to `jump`; false when it did.
// The jump skips only the library's frames and f's, which must own nothing: every object with a
// destructor lives in the caller's frame.
template <class F> bool CallGuarded(std::jmp_buf& jump, F&& f) {
    if (setjmp(jump)) return false;
    f();
    return true;
}

// "2", "16", "256", "64K", "16.7M" for 1, 4, 8, 16 and 24 bits; other counts 2^bits.
std::string ColorCountTextOf(int bits);

// Packs one byte per pixel (values below 2^bits) into a 1-, 4- or 8-bit picture row.
void PackIndexRow(const std::uint8_t* indices, int width, int bits, std::uint8_t* row);

} // namespace pigmentaria
