#pragma once
// Helpers of the Qt printing tests: temporary folders and a look into PDF files.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace pigmentaria::test {

namespace fs = std::filesystem;

// A fresh folder for one test's files, removed with everything in it afterwards.
struct TQtTempDir {
    explicit TQtTempDir(const std::string& name)
        : Path(fs::temp_directory_path() /
               ("pigmentaria-qt-" + std::to_string(::getpid()) + "-" + name)) {
        fs::remove_all(Path);
        fs::create_directories(Path);
    }
    ~TQtTempDir() { fs::remove_all(Path); }
    fs::path operator/(const std::string& name) const { return Path / name; }
    fs::path Path;
};

inline std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Pages of a PDF file: its page objects.
inline int PdfPages(const fs::path& p) {
    const std::string pdf = ReadAll(p);
    int n = 0;
    for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
         at = pdf.find("/Type /Page", at + 1))
        if (pdf.compare(at, 12, "/Type /Pages") != 0) ++n;
    return n;
}

} // namespace pigmentaria::test
