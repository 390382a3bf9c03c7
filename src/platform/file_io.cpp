#include "platform/file_io.h"

#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace pigmentaria {

namespace {

std::string Describe(const std::string& what, const std::filesystem::path& path, int err) {
    return what + " " + path.string() + ": " + std::generic_category().message(err);
}

// Closes a descriptor on every path out.
struct TFd {
    int Fd = -1;
    ~TFd() {
        if (Fd >= 0) ::close(Fd);
    }
};

} // namespace

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    TFd f;
    f.Fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (f.Fd < 0) throw EFileError(Describe("Cannot open", path, errno));
    std::vector<std::uint8_t> bytes;
    std::uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::read(f.Fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            throw EFileError(Describe("Cannot read", path, errno));
        }
        if (n == 0) break;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    return bytes;
}

void ReplaceFileContents(const std::filesystem::path& path, const void* data, std::size_t size) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = path;
    temp += ".~" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    TFd f;
    // 0666 less the umask, as an ordinary new file gets.
    f.Fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (f.Fd < 0) throw EFileError(Describe("Cannot create", path, errno));
    auto fail = [&](const char* what) {
        const int err = errno;
        ::close(f.Fd);
        f.Fd = -1;
        ::unlink(temp.c_str());
        throw EFileError(Describe(what, path, err));
    };
    // An existing file keeps its permissions.
    struct stat st;
    if (::stat(path.c_str(), &st) == 0) ::fchmod(f.Fd, st.st_mode & 07777);
    const auto* p = static_cast<const std::uint8_t*>(data);
    std::size_t left = size;
    while (left > 0) {
        const ssize_t n = ::write(f.Fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            fail("Cannot write");
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(f.Fd) != 0) fail("Cannot write");
    const int fd = f.Fd;
    f.Fd = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw EFileError(Describe("Cannot write", path, err));
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        throw EFileError(Describe("Cannot replace", path, err));
    }
}

std::string_view Utf8PrefixBytes(std::string_view s, std::size_t limit) {
    if (s.size() <= limit) return s;
    std::size_t n = limit;
    // Step back over continuation bytes to the start of the character that does not fit.
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
        --n;
    return s.substr(0, n);
}

std::string_view Utf8PrefixChars(std::string_view s, std::size_t limit) {
    std::size_t chars = 0, i = 0;
    for (; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (chars == limit) break;
            ++chars;
        }
    }
    return s.substr(0, i);
}

} // namespace pigmentaria
