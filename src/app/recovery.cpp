#include "app/recovery.h"

#include "platform/file_io.h"

#include <cstdlib>
#include <system_error>
#include <utility>

namespace pigmentaria {

std::filesystem::path RecoveryFolder(const std::function<const char*(const char*)>& getEnv) {
    auto env = [&](const char* name) -> const char* {
        return getEnv ? getEnv(name) : std::getenv(name);
    };
    const char* xdg = env("XDG_STATE_HOME");
    // Relative values are invalid by the base directory rules and are ignored.
    if (xdg && xdg[0] == '/') return std::filesystem::path(xdg) / "pigmentaria";
    const char* home = env("HOME");
    return std::filesystem::path(home && *home ? home : "/tmp") / ".local" / "state" /
           "pigmentaria";
}

std::string RecoveryQuestion(const std::string& paintingFile) {
    const std::string name = paintingFile.empty()
                                 ? std::string("(Untitled)")
                                 : std::filesystem::path(paintingFile).filename().string();
    return "Pigmentaria did not close properly. The painting " + name +
           " has changes that were not saved. Recover it as it was at the last recovery save, or "
           "discard them?";
}

std::string DamagedRecoveryMessage(const TRecoveryFound& found) {
    return "The recovery file could not be read (" + found.Problem + ") and was kept as " +
           found.KeptAs.string() + ".";
}

TRecoveryStore::TRecoveryStore(std::filesystem::path folder) : Folder_(std::move(folder)) {}

bool TRecoveryStore::Exists() const {
    std::error_code ec;
    return std::filesystem::exists(PaintingPath(), ec);
}

void TRecoveryStore::Save(const std::vector<std::uint8_t>& painting,
                          const std::string& paintingFile) const {
    std::error_code ec;
    std::filesystem::create_directories(Folder_, ec);
    if (ec) throw EFileError("The recovery folder " + Folder_.string() + " cannot be made");
    ReplaceFileContents(NamePath(), std::string_view(paintingFile));
    ReplaceFileContents(PaintingPath(), painting);
}

void TRecoveryStore::Remove() const {
    std::error_code ec;
    std::filesystem::remove(PaintingPath(), ec);
    std::filesystem::remove(NamePath(), ec);
}

TRecoveryFound TRecoveryStore::Check() const {
    TRecoveryFound found;
    if (!Exists()) return found;
    std::error_code ec;
    try {
        std::string name;
        if (std::filesystem::exists(NamePath(), ec)) {
            const std::vector<std::uint8_t> record = ReadFileBytes(NamePath());
            name.assign(record.begin(), record.end());
        }
        const std::vector<std::uint8_t> bytes = ReadFileBytes(PaintingPath());
        found.Contents = DecodePainting(bytes.data(), bytes.size());
        found.Kind = TRecoveryFound::TKind::Painting;
        found.PaintingFile = name;
        return found;
    } catch (const EFileError& e) {
        found.Problem = e.what();
    }
    found.Kind = TRecoveryFound::TKind::Damaged;
    found.KeptAs = PaintingPath().string() + DamagedSuffix;
    std::filesystem::rename(PaintingPath(), found.KeptAs, ec);
    if (std::filesystem::exists(NamePath(), ec))
        std::filesystem::rename(NamePath(), NamePath().string() + DamagedSuffix, ec);
    return found;
}

TRecoverySchedule::TAction TRecoverySchedule::Changed(bool modified, std::int64_t nowMs) {
    if (!modified) {
        DueAt_.reset();
        if (!Written_) return TAction::None;
        Written_ = false;
        return TAction::Remove;
    }
    if (!DueAt_) DueAt_ = nowMs + RecoverySaveDelayMs;
    return TAction::None;
}

bool TRecoverySchedule::Due(std::int64_t nowMs) const {
    return DueAt_ && nowMs >= *DueAt_;
}

void TRecoverySchedule::Saved() {
    DueAt_.reset();
    Written_ = true;
}

std::int64_t TRecoverySchedule::Wait(std::int64_t nowMs) const {
    if (!DueAt_ || nowMs >= *DueAt_) return 0;
    return *DueAt_ - nowMs;
}

} // namespace pigmentaria
