#pragma once
// One level of undo for every change to the shape list: a snapshot of the shapes a change is
// about to touch, named by the Edit menu caption that offers to undo it.
#include "model/shape.h"

#include <string>
#include <vector>

namespace pigmentaria {

inline constexpr const char* UndoCaption = "&Undo";
inline constexpr const char* UndoBrushstroke = "&Undo Brushstroke";
inline constexpr const char* UndoDelete = "&Undo Delete";
inline constexpr const char* UndoPaint = "&Undo Paint";
inline constexpr const char* UndoSmooth = "&Undo Smooth";
inline constexpr const char* UndoColorAcquisition = "&Undo Color Acquisition";
inline constexpr const char* UndoReplaceColor = "&Undo Replace Color";
inline constexpr const char* UndoReplacePalette = "&Undo Replace Palette";
inline constexpr const char* UndoImport = "&Undo Import";
inline constexpr const char* UndoRetrace = "&Undo Retrace Painting";
inline constexpr const char* UndoSimplify = "&Undo Simplify";

struct TUndoEntry {
    // The shape as it was before the change. For a deleted shape this is the unlinked shape
    // itself, kept alive so that its links still lead to its former neighbours.
    TShapePtr SavedCopy;
    // The shape in the list the copy belongs to; none for a deleted shape.
    TPaintShape* LiveShape = nullptr;
};

class TUndoState {
public:
    const std::string& Caption() const { return Caption_; }
    bool Enabled() const { return Armed_; }

    // Each snapshot discards the previous state first.
    void SnapshotAll(const TShapeList& shapes, const std::string& caption);
    void SnapshotSelected(const TSelection& selection, const std::string& caption);
    void SnapshotShape(TPaintShape& shape, const std::string& caption);
    void SnapshotColor(const TShapeList& shapes, TColor color, const std::string& caption);
    // Arms the state for a deletion; the deleted shapes are handed over one by one as they are
    // unlinked, in the order of unlinking.
    void SnapshotForDeletion(const std::string& caption);
    void AddDeleted(TShapePtr unlinked);
    // An import or re-trace: the former list is set aside whole, to come back on undo.
    void SnapshotReplacedList(TShapeChain former, const std::string& caption);

    // Frees every entry and any set-aside list; live shapes are never freed here.
    void Discard();

    // Puts the snapshot back into `shapes`; false when there was nothing to undo. The caller
    // re-renders and rebuilds the palette. The selection is cleared when the list is replaced.
    bool Undo(TShapeList& shapes, TSelection& selection);

    const std::vector<TUndoEntry>& Entries() const { return Entries_; }

private:
    void Arm(const std::string& caption);

    std::vector<TUndoEntry> Entries_;
    TShapeChain FormerList_;
    bool ReplacedList_ = false;
    bool Armed_ = false;
    std::string Caption_ = UndoCaption;
};

} // namespace pigmentaria
