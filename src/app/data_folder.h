#pragma once
// Where the program finds what it ships beside itself (help pages, bundled palettes, icons),
// from the path of its own executable, in the build tree and installed alike.
#include <filesystem>
#include <functional>
#include <optional>

namespace pigmentaria {

inline constexpr const char* DataFolderName = "pigmentaria";

// Installed, the program is PREFIX/bin/pigmentaria and its data PREFIX/share/pigmentaria; in the
// build tree the data is copied into share/pigmentaria beside the executable. The installed
// layout is preferred when both exist. None when neither folder is there.
std::optional<std::filesystem::path>
DataFolderForProgram(const std::filesystem::path& executable,
                     const std::function<bool(const std::filesystem::path&)>& isFolder);
std::optional<std::filesystem::path> DataFolderForProgram(const std::filesystem::path& executable);

// The running program's executable, from /proc/self/exe.
std::filesystem::path RunningExecutable();

} // namespace pigmentaria
