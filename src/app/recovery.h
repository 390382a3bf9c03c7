#pragma once
// Crash recovery: while the painting has unsaved changes a copy of it is kept in the user's state
// folder, so that a crash or a kill loses at most the last few seconds of work. The copy is a
// painting file ("KV1000") plus a side record of the painting's own file name (empty when it
// had none). Saving, a painting replaced without saving and a clean exit remove it; the next start
// after a crash offers it back. This is the policy; the windows add the timer and the question.
#include "model/painting_file.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

inline constexpr const char* RecoveryFileName = "recovery.kvp";
inline constexpr const char* RecoveryNameFileName = "recovery.name";
inline constexpr const char* DamagedSuffix = ".damaged";
// A change is saved this long after it (well within ten seconds), however many follow it.
inline constexpr int RecoverySaveDelayMs = 3000;

// $XDG_STATE_HOME/pigmentaria, or ~/.local/state/pigmentaria when it is unset or not absolute.
// `getEnv` reads the environment (std::getenv when empty).
std::filesystem::path RecoveryFolder(const std::function<const char*(const char*)>& getEnv = {});

// What a start finds in the recovery folder.
struct TRecoveryFound {
    enum class TKind { Nothing, Painting, Damaged };
    TKind Kind = TKind::Nothing;
    // Painting: the painting as it was at the last recovery save, and its own file name.
    std::optional<TPaintingFileContents> Contents;
    std::string PaintingFile;
    // Damaged: why it could not be read, and where it was put aside.
    std::string Problem;
    std::filesystem::path KeptAs;
};

// The question at start, naming the painting.
std::string RecoveryQuestion(const std::string& paintingFile);
std::string DamagedRecoveryMessage(const TRecoveryFound& found);

class TRecoveryStore {
public:
    explicit TRecoveryStore(std::filesystem::path folder);

    std::filesystem::path PaintingPath() const { return Folder_ / RecoveryFileName; }
    std::filesystem::path NamePath() const { return Folder_ / RecoveryNameFileName; }
    bool Exists() const;

    // Writes the copy: each file to a temporary file renamed over the old one, so that a crash
    // during the write leaves the previous copy whole. The name goes first, so the painting file
    // never stands beside a record of some other painting's name. Safe on any one thread at a
    // time. Throws EFileError.
    void Save(const std::vector<std::uint8_t>& painting, const std::string& paintingFile) const;
    // Removes the copy (nothing to do when there is none).
    void Remove() const;
    // At start: what is there. A copy that does not read as a whole painting is renamed aside
    // with ".damaged" (replacing an older one) and reported, never opened half-way.
    TRecoveryFound Check() const;

private:
    std::filesystem::path Folder_;
};

// When to save and when to remove the copy, from the document's modified flag and a clock in
// milliseconds. A change starts the wait unless one is already running, so that a stream of
// changes still gets saved on time.
class TRecoverySchedule {
public:
    enum class TAction { None, Remove };
    // The document changed; `modified` is its flag afterwards.
    TAction Changed(bool modified, std::int64_t nowMs);
    // Whether a save is due now; the caller saves and then calls Saved.
    bool Due(std::int64_t nowMs) const;
    void Saved();
    // Milliseconds until the save is due (0 when it is due or none is waiting).
    std::int64_t Wait(std::int64_t nowMs) const;
    bool Pending() const { return DueAt_.has_value(); }

private:
    std::optional<std::int64_t> DueAt_;
    // A copy stands in the folder.
    bool Written_ = false;
};

} // namespace pigmentaria
