#pragma once
// The picture library's progress events on the core's progress sink: one progress interface for
// every long operation, abort included.
#include "image/pixel_graphic.h"
#include "platform/report.h"

#include <string>
#include <vector>

namespace pigmentaria {

inline constexpr const char* LoadingPictureMessage = "Loading Picture...";
// What a picture that fails to load is told with, before the reason.
inline constexpr const char* OpeningErrorMessage = "Error opening image";

// Hooks a picture's OnProgress and OnProgressEnd to a progress sink while it lives: each run of
// the library's progress (a maximum) becomes one run of the sink under `message`, and the sink's
// abort answer goes back through the event's abort flag. The former handlers come back when the
// bridge goes.
class TPGProgressBridge {
public:
    TPGProgressBridge(TPixelGraphic& picture, IProgressSink& sink, std::string message);
    ~TPGProgressBridge();
    TPGProgressBridge(const TPGProgressBridge&) = delete;
    TPGProgressBridge& operator=(const TPGProgressBridge&) = delete;

    // True once the sink asked to stop.
    bool Aborted() const { return Aborted_; }

private:
    void Step(int step, int max, bool& abort);
    void End();

    TPixelGraphic& Picture_;
    IProgressSink& Sink_;
    std::string Message_;
    TPGProgressEvent FormerProgress_;
    TPGNotifyEvent FormerEnd_;
    bool Started_ = false;
    int Max_ = 0;
    bool Aborted_ = false;
};

// A picture loaded away from the GUI thread, with the warnings its reader gave.
struct TLoadedPicture {
    TPixelGraphic Picture;
    std::vector<TWorkMessage> Messages;
};

// Loads a picture file through the format registry with progress, as work on a worker may: the
// reader's warnings are kept (a warning that asks OK or Cancel is answered OK) instead of shown.
// Throws EAborted when the sink asks to stop, and the library's errors as LoadFromFile does.
TLoadedPicture LoadPictureFile(const std::string& fileName, IProgressSink& progress);

} // namespace pigmentaria
