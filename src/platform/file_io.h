#pragma once
// Whole-file reading and safe replacement of files, and little-endian byte packing and checked
// reading for the program's own binary files.
#include "platform/byte_writer.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pigmentaria {

// A file could not be opened, read or written, or ended where more data was needed. The text is
// meant for the user.
class EFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path);

// Writes the bytes to a new file beside `path` and renames it over `path` only when everything
// was written, so a failure never leaves a half-written file where a good one stood.
void ReplaceFileContents(const std::filesystem::path& path, const void* data, std::size_t size);
inline void ReplaceFileContents(const std::filesystem::path& path,
                                const std::vector<std::uint8_t>& bytes) {
    ReplaceFileContents(path, bytes.data(), bytes.size());
}
inline void ReplaceFileContents(const std::filesystem::path& path, std::string_view text) {
    ReplaceFileContents(path, text.data(), text.size());
}

// Reads from a byte buffer; every read checks that the bytes are there.
class TByteReader {
public:
    TByteReader(const std::uint8_t* data, std::size_t size) : Data_(data), Size_(size) {}
    std::size_t Remaining() const { return Size_ - Pos_; }
    std::size_t Position() const { return Pos_; }
    bool AtEnd() const { return Pos_ == Size_; }
    bool Has(std::size_t n) const { return Remaining() >= n; }
    const std::uint8_t* Take(std::size_t n) {
        if (!Has(n)) throw EFileError("Read beyond end of file");
        const std::uint8_t* p = Data_ + Pos_;
        Pos_ += n;
        return p;
    }
    std::uint8_t U8() { return *Take(1); }
    std::uint32_t U32() {
        const std::uint8_t* p = Take(4);
        return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
               (std::uint32_t(p[3]) << 24);
    }
    std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
    void Skip(std::size_t n) { Take(n); }
    // The text of a fixed field up to its first NUL; a field without one yields all its bytes.
    std::string FixedString(std::size_t field) {
        const std::uint8_t* p = Take(field);
        const void* nul = std::memchr(p, 0, field);
        const std::size_t n = nul ? static_cast<const std::uint8_t*>(nul) - p : field;
        return std::string(reinterpret_cast<const char*>(p), n);
    }

private:
    const std::uint8_t* Data_;
    std::size_t Size_;
    std::size_t Pos_ = 0;
};

// The longest prefix of a UTF-8 text that has at most `limit` bytes and does not end inside a
// multi-byte character.
std::string_view Utf8PrefixBytes(std::string_view s, std::size_t limit);
// The first `limit` characters (code points) of a UTF-8 text.
std::string_view Utf8PrefixChars(std::string_view s, std::size_t limit);

} // namespace pigmentaria
