#pragma once
// Byte streams the image library reads pictures from and writes them to: files, memory blocks the
// library owns, and read-only views of memory somebody else owns (clipboard data, fuzz input).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pigmentaria {

// Input/output failure of the operating system (cannot open, cannot write); not a picture error.
class EInOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPGStream {
public:
    virtual ~TPGStream() = default;
    // Reads up to n bytes; returns how many were read (fewer only at the end of the data).
    virtual std::size_t Read(void* buffer, std::size_t n) = 0;
    // Writes all n bytes or raises EInOutError.
    virtual void Write(const void* buffer, std::size_t n) = 0;
    virtual std::int64_t Position() const = 0;
    // Positions beyond the end are allowed; reads there return nothing.
    virtual void Seek(std::int64_t position) = 0;
    virtual std::int64_t Size() const = 0;
    std::int64_t Remaining() const {
        const std::int64_t r = Size() - Position();
        return r > 0 ? r : 0;
    }
};

// A growable block of memory, readable and writable.
class TMemoryStream final : public TPGStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(std::vector<std::uint8_t> data) : Data_(std::move(data)) {}
    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;
    std::int64_t Position() const override { return Position_; }
    void Seek(std::int64_t position) override { Position_ = position < 0 ? 0 : position; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(Data_.size()); }
    const std::vector<std::uint8_t>& Data() const { return Data_; }
    std::vector<std::uint8_t>& Data() { return Data_; }

private:
    std::vector<std::uint8_t> Data_;
    std::int64_t Position_ = 0;
};

// A read-only view of bytes owned elsewhere; writing raises EInOutError.
class TSpanStream final : public TPGStream {
public:
    TSpanStream(const void* data, std::size_t size)
        : Data_(static_cast<const std::uint8_t*>(data)), Size_(size) {}
    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void*, std::size_t) override;
    std::int64_t Position() const override { return Position_; }
    void Seek(std::int64_t position) override { Position_ = position < 0 ? 0 : position; }
    std::int64_t Size() const override { return static_cast<std::int64_t>(Size_); }

private:
    const std::uint8_t* Data_;
    std::size_t Size_;
    std::int64_t Position_ = 0;
};

// A file opened for reading, or created (truncated) for writing.
class TFileStream final : public TPGStream {
public:
    enum TMode { fmOpenRead, fmCreate };
    TFileStream(const std::string& name, TMode mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;
    std::size_t Read(void* buffer, std::size_t n) override;
    void Write(const void* buffer, std::size_t n) override;
    std::int64_t Position() const override;
    void Seek(std::int64_t position) override;
    std::int64_t Size() const override;
    // Flushes and closes, raising EInOutError when buffered data cannot be written.
    void Close();

private:
    std::FILE* File_ = nullptr;
    std::string Name_;
};

bool FileExists(const std::string& name);

} // namespace pigmentaria
