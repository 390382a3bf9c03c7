#include "editor/main_window_state.h"

#include "editor/document.h"
#include "editor/painting_view.h"
#include "editor/window_title.h"

#include <tuple>

namespace pigmentaria {

TMainWindowState::TMainWindowState() : Title_(UntitledTitle) {}

template <class F> void TMainWindowState::Change(F change) {
    auto snapshot = [this] {
        return std::make_tuple(Title_, PaintingFile_, ToolMode_, RegionCurrentColorOnly_,
                               ClipboardHasPicture_, Features_.Import, Features_.Tools,
                               Features_.Palette, Features_.Print, Features_.Export,
                               ImportAvailable_, HoldsSourcePicture_);
    };
    const auto before = snapshot();
    change();
    if (snapshot() != before && Listener_) Listener_();
}

bool TMainWindowState::Untitled() const {
    return IsUntitled(Title_);
}

void TMainWindowState::SetPainting(const std::string& file) {
    SetPainting(file, TitleForFile(file));
}

void TMainWindowState::SetPainting(const std::string& file, const std::string& title) {
    Change([&] {
        PaintingFile_ = file;
        Title_ = title;
    });
}

void TMainWindowState::SetTool(int mode, bool currentColorOnly) {
    Change([&] {
        ToolMode_ = mode;
        if (mode == tmRegion) RegionCurrentColorOnly_ = currentColorOnly;
    });
}

void TMainWindowState::SetClipboardHasPicture(bool has) {
    Change([&] { ClipboardHasPicture_ = has; });
}

void TMainWindowState::SetFeatures(const TFeatureSet& features) {
    Change([&] { Features_ = features; });
}

void TMainWindowState::EnableFeature(bool TFeatureSet::*feature) {
    Change([&] { Features_.*feature = true; });
}

void TMainWindowState::SetImport(bool available, bool holdsPicture) {
    Change([&] {
        ImportAvailable_ = available;
        HoldsSourcePicture_ = holdsPicture;
    });
}

void TMainWindowState::SetHoldsSourcePicture(bool holds) {
    Change([&] { HoldsSourcePicture_ = holds; });
}

TEnablingState TMainWindowState::Enabling(const TPaintingDocument& document,
                                          const TPaintingView& view) const {
    TEnablingState s;
    s.HasPainting = document.HasPainting();
    s.Untitled = Untitled();
    s.OutlinesOnly = view.OutlinesOnly();
    s.SelectionEmpty = document.Selection().Empty();
    s.UndoArmed = document.UndoCaption() != UndoCaption;
    s.HoldsSourcePicture = HoldsSourcePicture_;
    s.ClipboardHasPicture = ClipboardHasPicture_;
    s.ToolMode = ToolMode_;
    s.RegionCurrentColorOnly = RegionCurrentColorOnly_;
    s.Features = Features_;
    s.Features.Import = ImportAvailable_;
    return s;
}

} // namespace pigmentaria
