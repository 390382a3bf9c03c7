#include "image/pg_stream.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace pigmentaria {

namespace {
std::string ErrnoText(const std::string& what, const std::string& name) {
    return what + " \"" + name + "\": " + std::strerror(errno);
}
} // namespace

std::size_t TMemoryStream::Read(void* buffer, std::size_t n) {
    if (Position_ >= Size()) return 0;
    const std::size_t avail = Data_.size() - static_cast<std::size_t>(Position_);
    const std::size_t k = std::min(n, avail);
    if (k == 0) return 0; // an empty read may come with no buffer at all
    std::memcpy(buffer, Data_.data() + Position_, k);
    Position_ += static_cast<std::int64_t>(k);
    return k;
}

void TMemoryStream::Write(const void* buffer, std::size_t n) {
    const std::size_t end = static_cast<std::size_t>(Position_) + n;
    if (end > Data_.size()) Data_.resize(end);
    if (n) std::memcpy(Data_.data() + Position_, buffer, n);
    Position_ = static_cast<std::int64_t>(end);
}

std::size_t TSpanStream::Read(void* buffer, std::size_t n) {
    if (Position_ >= Size()) return 0;
    const std::size_t avail = Size_ - static_cast<std::size_t>(Position_);
    const std::size_t k = std::min(n, avail);
    if (k == 0) return 0; // an empty read may come with no buffer at all
    std::memcpy(buffer, Data_ + Position_, k);
    Position_ += static_cast<std::int64_t>(k);
    return k;
}

void TSpanStream::Write(const void*, std::size_t) {
    throw EInOutError("Stream write error: the stream is read-only");
}

TFileStream::TFileStream(const std::string& name, TMode mode) : Name_(name) {
    File_ = std::fopen(name.c_str(), mode == fmOpenRead ? "rb" : "wb");
    if (!File_)
        throw EInOutError(
            ErrnoText(mode == fmOpenRead ? "Cannot open file" : "Cannot create file", name));
}

TFileStream::~TFileStream() {
    if (File_) std::fclose(File_);
}

void TFileStream::Close() {
    if (!File_) return;
    const bool ok = std::fflush(File_) == 0;
    const bool closed = std::fclose(File_) == 0;
    File_ = nullptr;
    if (!ok || !closed) throw EInOutError(ErrnoText("Write error on", Name_));
}

std::size_t TFileStream::Read(void* buffer, std::size_t n) {
    return std::fread(buffer, 1, n, File_);
}

void TFileStream::Write(const void* buffer, std::size_t n) {
    if (n && std::fwrite(buffer, 1, n, File_) != n)
        throw EInOutError(ErrnoText("Write error on", Name_));
}

std::int64_t TFileStream::Position() const {
    return std::ftell(File_);
}

void TFileStream::Seek(std::int64_t position) {
    if (std::fseek(File_, static_cast<long>(position), SEEK_SET) != 0)
        throw EInOutError(ErrnoText("Seek error on", Name_));
}

std::int64_t TFileStream::Size() const {
    struct stat st {};
    if (fstat(fileno(File_), &st) != 0) return 0;
    // Buffered writes not yet flushed still count.
    return std::max<std::int64_t>(st.st_size, Position());
}

bool FileExists(const std::string& name) {
    struct stat st {};
    return stat(name.c_str(), &st) == 0;
}

} // namespace pigmentaria
