#include "app/data_folder.h"

#include <system_error>

namespace pigmentaria {

std::optional<std::filesystem::path>
DataFolderForProgram(const std::filesystem::path& executable,
                     const std::function<bool(const std::filesystem::path&)>& isFolder) {
    const std::filesystem::path dir = executable.parent_path();
    const std::filesystem::path installed = dir.parent_path() / "share" / DataFolderName;
    if (dir.filename() == "bin" && isFolder(installed)) return installed;
    const std::filesystem::path beside = dir / "share" / DataFolderName;
    if (isFolder(beside)) return beside;
    return std::nullopt;
}

std::optional<std::filesystem::path> DataFolderForProgram(const std::filesystem::path& executable) {
    return DataFolderForProgram(executable, [](const std::filesystem::path& p) {
        std::error_code ec;
        return std::filesystem::is_directory(p, ec);
    });
}

std::filesystem::path RunningExecutable() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

} // namespace pigmentaria
