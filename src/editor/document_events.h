#pragma once
// What the windows watching a painting are told: one event for every change they must follow,
// from the document (the painting) and from the view (how the main window shows it).
#include <algorithm>
#include <cstddef>
#include <vector>

namespace pigmentaria {

enum class TDocumentEvent {
    // --- from the document
    // Shapes were added, removed, recoloured or reshaped: any edit, undo, import, open, re-trace.
    ShapesChanged,
    // An import or a re-trace put a new painting in place of the old (told before ShapesChanged):
    // the view returns to 100% and leaves the outlines-only view.
    PaintingReplaced,
    SelectionChanged,
    // The painting palette was rebuilt from the shapes' colours.
    PaletteRebuilt,
    // The named palette loaded from a palette file was replaced.
    CustomPaletteChanged,
    ModifiedChanged,
    // The Edit menu's undo caption (and with it whether undo is enabled).
    UndoCaptionChanged,
    // Number labels were placed or cleared.
    LabelsChanged,
    PaintColorChanged,
    CurrentColorChanged,
    // The print layout block stored with the painting.
    PrintLayoutChanged,
    // The picture held for Re-Import and Re-Trace.
    SourcePictureChanged,
    // The painting became a template (the New Template dialog made it), or another painting took
    // its place.
    TemplateChanged,
    // --- from the view
    ZoomChanged,
    // "View Outlines Only" went on or off.
    ViewModeChanged,
    // The rendered painting was rebuilt: show it.
    PaintingRendered,
};

// The event's name as written here, for logs and test messages.
inline const char* DocumentEventName(TDocumentEvent event) {
    switch (event) {
    case TDocumentEvent::ShapesChanged:
        return "ShapesChanged";
    case TDocumentEvent::PaintingReplaced:
        return "PaintingReplaced";
    case TDocumentEvent::SelectionChanged:
        return "SelectionChanged";
    case TDocumentEvent::PaletteRebuilt:
        return "PaletteRebuilt";
    case TDocumentEvent::CustomPaletteChanged:
        return "CustomPaletteChanged";
    case TDocumentEvent::ModifiedChanged:
        return "ModifiedChanged";
    case TDocumentEvent::UndoCaptionChanged:
        return "UndoCaptionChanged";
    case TDocumentEvent::LabelsChanged:
        return "LabelsChanged";
    case TDocumentEvent::TemplateChanged:
        return "TemplateChanged";
    case TDocumentEvent::PaintColorChanged:
        return "PaintColorChanged";
    case TDocumentEvent::CurrentColorChanged:
        return "CurrentColorChanged";
    case TDocumentEvent::PrintLayoutChanged:
        return "PrintLayoutChanged";
    case TDocumentEvent::SourcePictureChanged:
        return "SourcePictureChanged";
    case TDocumentEvent::ZoomChanged:
        return "ZoomChanged";
    case TDocumentEvent::ViewModeChanged:
        return "ViewModeChanged";
    case TDocumentEvent::PaintingRendered:
        return "PaintingRendered";
    }
    return "?";
}

class IDocumentObserver {
public:
    virtual ~IDocumentObserver() = default;
    virtual void DocumentChanged(TDocumentEvent event) = 0;
};

// The observers of one source, told in the order they were added. An observer may add or remove
// observers, itself included, while it is being told: one removed is not told again, one added
// hears from the next event on.
class TObserverList {
public:
    void Add(IDocumentObserver* observer) {
        if (observer && std::find(List_.begin(), List_.end(), observer) == List_.end())
            List_.push_back(observer);
    }
    void Remove(IDocumentObserver* observer) {
        const auto it = std::find(List_.begin(), List_.end(), observer);
        if (it == List_.end()) return;
        if (Depth_ > 0)
            *it = nullptr; // compacted once the notification is over
        else
            List_.erase(it);
    }
    void Notify(TDocumentEvent event) {
        TDepth depth(*this);
        const std::size_t count = List_.size();
        for (std::size_t i = 0; i < count; ++i)
            if (IDocumentObserver* o = List_[i]) o->DocumentChanged(event);
    }
    std::size_t Count() const {
        return static_cast<std::size_t>(std::count_if(
            List_.begin(), List_.end(), [](const IDocumentObserver* o) { return o != nullptr; }));
    }

private:
    struct TDepth {
        explicit TDepth(TObserverList& list) : List(list) { ++List.Depth_; }
        ~TDepth() {
            if (--List.Depth_ == 0) std::erase(List.List_, nullptr);
        }
        TObserverList& List;
    };

    std::vector<IDocumentObserver*> List_;
    int Depth_ = 0;
};

} // namespace pigmentaria
