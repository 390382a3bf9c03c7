#pragma once
// Small helpers shared by the tests: pictures drawn from text, recording reporters.
#include "platform/raster.h"
#include "platform/report.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace pigmentaria::test {

// Builds a raster from rows of characters, each character a colour from the map.
inline TRaster24 RasterFromText(const std::vector<std::string>& rows,
                                const std::map<char, TColor>& colors) {
    const int h = static_cast<int>(rows.size());
    const int w = h ? static_cast<int>(rows[0].size()) : 0;
    TRaster24 r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            r.SetPixel(x, y, colors.at(rows[y][x]));
    return r;
}

// Renders a raster back to text, '.' for `background` and '#' for anything else.
inline std::vector<std::string> CoverageText(const TPixelSurface& r, TColor background) {
    std::vector<std::string> out;
    for (int y = 0; y < r.Height(); ++y) {
        std::string row;
        for (int x = 0; x < r.Width(); ++x)
            row += r.GetPixel(x, y) == background ? '.' : '#';
        out.push_back(row);
    }
    return out;
}

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TTempDir {
public:
    TTempDir() {
        static std::atomic<int> counter{0};
        Path_ =
            std::filesystem::temp_directory_path() /
            ("pigmentaria-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::remove_all(Path_);
        std::filesystem::create_directories(Path_);
    }
    ~TTempDir() {
        std::error_code ec;
        std::filesystem::remove_all(Path_, ec);
    }
    const std::filesystem::path& Path() const { return Path_; }
    std::filesystem::path operator/(const std::string& name) const { return Path_ / name; }

private:
    std::filesystem::path Path_;
};

inline std::string ReadText(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteText(const std::filesystem::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

class TRecordingMessages final : public IMessageSink {
public:
    void Error(const std::string& text) override { Errors.push_back(text); }
    void Warning(const std::string& text) override { Warnings.push_back(text); }
    bool Confirm(const std::string& text) override {
        Questions.push_back(text);
        return ConfirmAnswer;
    }
    std::vector<std::string> Errors, Warnings, Questions;
    bool ConfirmAnswer = true;
};

class TRecordingProgress final : public IProgressSink {
public:
    void Start(const std::string& message, int minimum, int maximum) override {
        Messages.push_back(message);
        Min = minimum;
        Max = maximum;
        Positions.clear();
        ++Starts;
    }
    bool Position(int position) override {
        Positions.push_back(position);
        return AbortAt >= 0 && static_cast<int>(Positions.size()) > AbortAt;
    }
    void Finish() override { ++Finishes; }
    std::vector<std::string> Messages;
    std::vector<int> Positions;
    int Min = 0, Max = 0, Starts = 0, Finishes = 0;
    // Asks to stop once this many positions of the current run were reported; never when -1.
    int AbortAt = -1;
};

// A progress window for work on a worker: it belongs to the thread that made it (the GUI thread
// of a test) and counts every call that arrives from another one. It asks to stop once a run
// whose message is StopIn passes half its range.
class TWindowProgress final : public IProgressSink {
public:
    void Start(const std::string& message, int minimum, int maximum) override {
        Check();
        Runs.push_back(message);
        Min = minimum;
        Max = maximum;
        Started = true;
    }
    bool Position(int position) override {
        Check();
        Last = position;
        ++Positions;
        return Started && !StopIn.empty() && Runs.back() == StopIn &&
               position - Min >= (Max - Min) / 2;
    }
    void Finish() override {
        Check();
        ++Finishes;
        Started = false;
    }

    std::thread::id Owner = std::this_thread::get_id();
    int ForeignCalls = 0;
    std::vector<std::string> Runs;
    int Min = 0, Max = 0, Last = 0, Positions = 0, Finishes = 0;
    bool Started = false;
    std::string StopIn;

private:
    void Check() {
        if (std::this_thread::get_id() != Owner) ++ForeignCalls;
    }
};

// The worker's side of a test that stops work half-way: positions pass through, and once a run
// named `message` reaches half its range the work waits there until the stop request has come
// back (or gives up after ten seconds), so that the stop is never outrun by the work's end.
class THalfwayWait final : public IProgressSink {
public:
    THalfwayWait(IProgressSink& inner, std::string message)
        : Inner_(inner), Message_(std::move(message)) {}
    void Start(const std::string& message, int minimum, int maximum) override {
        Current_ = message;
        Min_ = minimum;
        Max_ = maximum;
        Inner_.Start(message, minimum, maximum);
    }
    bool Position(int position) override {
        if (Inner_.Position(position)) return true;
        if (Current_ != Message_ || position - Min_ < (Max_ - Min_) / 2) return false;
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (Inner_.Position(position)) return true;
        }
        return false;
    }
    void Finish() override { Inner_.Finish(); }

private:
    IProgressSink& Inner_;
    std::string Message_, Current_;
    int Min_ = 0, Max_ = 0;
};

// The GUI thread's loop while a job runs: progress handed to the window until the work ends.
template <class Job> void PumpUntilFinished(Job& job, IProgressSink& window) {
    while (!job.Finished()) {
        job.DeliverProgress(window);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    job.DeliverProgress(window);
}

} // namespace pigmentaria::test
