#include "image/pg_progress.h"

#include <utility>

namespace pigmentaria {

TPGProgressBridge::TPGProgressBridge(TPixelGraphic& picture, IProgressSink& sink,
                                     std::string message)
    : Picture_(picture), Sink_(sink), Message_(std::move(message)),
      FormerProgress_(std::move(picture.OnProgress)), FormerEnd_(std::move(picture.OnProgressEnd)) {
    picture.OnProgress = [this](const TPixelGraphic&, int step, int max, bool& abort) {
        Step(step, max, abort);
    };
    picture.OnProgressEnd = [this](const TPixelGraphic&) { End(); };
}

TPGProgressBridge::~TPGProgressBridge() {
    End();
    Picture_.OnProgress = std::move(FormerProgress_);
    Picture_.OnProgressEnd = std::move(FormerEnd_);
}

void TPGProgressBridge::Step(int step, int max, bool& abort) {
    if (!Started_ || max != Max_) {
        End();
        Sink_.Start(Message_, 0, max);
        Started_ = true;
        Max_ = max;
    }
    if (Sink_.Position(step)) Aborted_ = true;
    abort = abort || Aborted_;
}

void TPGProgressBridge::End() {
    if (!Started_) return;
    Started_ = false;
    Sink_.Finish();
}

TLoadedPicture LoadPictureFile(const std::string& fileName, IProgressSink& progress) {
    TLoadedPicture out;
    TCollectedMessages messages(true);
    out.Picture.Messages = &messages;
    {
        TPGProgressBridge bridge(out.Picture, progress, LoadingPictureMessage);
        out.Picture.LoadFromFile(fileName);
        // An aborted read stops quietly with a part of the picture: none of it is wanted.
        if (bridge.Aborted()) throw EAborted();
    }
    out.Picture.Messages = nullptr;
    out.Messages = messages.Take();
    return out;
}

} // namespace pigmentaria
