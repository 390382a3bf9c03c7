#pragma once
// What the main window itself knows beside the document and the view, as far as its enabling
// rule reads it: the title and the painting file, the tool chosen, whether the clipboard offers
// a picture, the parts of the program this build has, and whether the import part still holds a
// picture. Every change goes through a setter, and a setter that changes something tells the
// listener once; the window runs its rule on that.
#include "editor/enabling.h"

#include <functional>
#include <string>

namespace pigmentaria {

class TPaintingDocument;
class TPaintingView;

class TMainWindowState {
public:
    TMainWindowState();

    void SetListener(std::function<void()> listener) { Listener_ = std::move(listener); }

    // "Pigmentaria - NAME", or the untitled title with no file.
    const std::string& Title() const { return Title_; }
    bool Untitled() const;
    // The painting file last opened or saved; empty for an untitled painting.
    const std::string& PaintingFile() const { return PaintingFile_; }
    // The title follows the file's name; a painting without a file is untitled.
    void SetPainting(const std::string& file);
    // Keeps the file the dialogs start from but shows the painting as untitled, as a recovered
    // painting that had no name is.
    void SetPainting(const std::string& file, const std::string& title);

    int ToolMode() const { return ToolMode_; }
    bool RegionCurrentColorOnly() const { return RegionCurrentColorOnly_; }
    // The restriction to the current colour is kept for the region tool only.
    void SetTool(int mode, bool currentColorOnly);

    bool ClipboardHasPicture() const { return ClipboardHasPicture_; }
    void SetClipboardHasPicture(bool has);

    // The parts switched on; Import is on only while an import part that can import is attached.
    const TFeatureSet& Features() const { return Features_; }
    void SetFeatures(const TFeatureSet& features);
    void EnableFeature(bool TFeatureSet::*feature);
    void SetImport(bool available, bool holdsPicture);
    void SetHoldsSourcePicture(bool holds);

    TEnablingState Enabling(const TPaintingDocument& document, const TPaintingView& view) const;

private:
    // Runs `change` and tells the listener when it changed anything.
    template <class F> void Change(F change);

    std::function<void()> Listener_;
    std::string Title_;
    std::string PaintingFile_;
    int ToolMode_ = tmSelection;
    bool RegionCurrentColorOnly_ = false;
    bool ClipboardHasPicture_ = false;
    TFeatureSet Features_ = TFeatureSet::None();
    bool ImportAvailable_ = false;
    bool HoldsSourcePicture_ = false;
};

} // namespace pigmentaria
