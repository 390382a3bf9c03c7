#pragma once
// Undo for every change to the shape list: before a change, a snapshot of the shapes it is about
// to touch, named by the Edit menu caption that offers to undo it. The steps form a history of a
// chosen depth (one step unless told otherwise): undoing a step puts its snapshot back and keeps
// what it replaced as a step to redo, and any new change drops the steps to redo.
#include "model/shape.h"

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
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
inline constexpr const char* UndoMergeCell = "&Undo Merge Cell";
inline constexpr const char* UndoMergeShapes = "&Undo Merge Shapes";

// The Edit menu's redo entry; with a step to redo it names the change, as the undo entry does.
inline constexpr const char* RedoCaption = "&Redo";
// "&Undo Paint" -> "&Redo Paint"; plain "&Redo" for plain "&Undo".
std::string RedoCaptionFor(const std::string& undoCaption);

// How many steps the desktop program keeps.
inline constexpr std::size_t EditorUndoDepth = 50;

// What a step holds for one shape.
struct TUndoEntry {
    // The shape as it is on the other side of the step: before the change while the step waits
    // to be undone, after it while it waits to be redone. For a deleted shape this is the unlinked
    // shape itself, kept alive so that its links still lead to its former neighbours. A
    // colour-only step keeps none: its colours are kept beside the entries, in entry order.
    TShapePtr SavedCopy;
    // The shape in the list the copy belongs to; none for a deleted shape (while it is deleted).
    TPaintShape* LiveShape = nullptr;
};

// What a snapshot of existing shapes must be able to put back.
enum class TSnapshotOf {
    // Every field: colours, bounds and outline (smoothing).
    Everything,
    // The colour alone: the change only repaints (paint, brushstroke, replace, re-acquire).
    Color,
};

class TUndoState {
public:
    TUndoState() = default;
    TUndoState(const TUndoState&) = delete;
    TUndoState& operator=(const TUndoState&) = delete;

    // The caption of the step to undo, "&Undo" when there is none.
    const std::string& Caption() const;
    bool Enabled() const { return !Undo_.empty(); }
    // The caption of the step to redo ("&Redo Paint"), "&Redo" when there is none.
    std::string RedoCaption() const;
    bool RedoEnabled() const { return !Redo_.empty(); }
    std::size_t UndoSteps() const { return Undo_.size(); }
    std::size_t RedoSteps() const { return Redo_.size(); }

    // How many steps can be undone one after the other (at least 1). Older steps beyond it are
    // freed, the oldest first.
    std::size_t Depth() const { return Depth_; }
    void SetDepth(std::size_t steps);

    // Each snapshot starts a new step on top of the history and drops every step to redo.
    void SnapshotAll(const TShapeList& shapes, const std::string& caption,
                     TSnapshotOf of = TSnapshotOf::Everything);
    void SnapshotSelected(const TSelection& selection, const std::string& caption,
                          TSnapshotOf of = TSnapshotOf::Everything);
    void SnapshotShape(TPaintShape& shape, const std::string& caption,
                       TSnapshotOf of = TSnapshotOf::Everything);
    void SnapshotColor(const TShapeList& shapes, TColor color, const std::string& caption,
                       TSnapshotOf of = TSnapshotOf::Everything);
    // Starts a step for a deletion; the deleted shapes are handed over one by one as they are
    // unlinked, in the order of unlinking.
    void SnapshotForDeletion(const std::string& caption);
    void AddDeleted(TShapePtr unlinked);
    // A change that replaces the whole list (an import, a re-trace, a simplification): the
    // former list is set aside whole, to come back on undo.
    void SnapshotReplacedList(TShapeChain former, const std::string& caption);
    // A change that reshapes, recolours, removes and reorders shapes (merging cells): the order
    // of the whole list is kept, each changed shape's contents from before its first change, and
    // the shapes taken out.
    void SnapshotArrangement(const TShapeList& shapes, const std::string& caption);
    // Before a shape changes within that step; a shape saved already keeps its first contents.
    void SaveBeforeChange(TPaintShape& shape);
    // A shape the change took out of the list, handed over once unlinked.
    void AddRemoved(TShapePtr unlinked);

    // Frees every step, to undo and to redo, and any set-aside list; live shapes are never freed
    // here.
    void Discard();

    // Puts the last step back into `shapes`; false when there was nothing to undo. The caller
    // re-renders and rebuilds the palette. The selection is cleared when the list is replaced.
    bool Undo(TShapeList& shapes, TSelection& selection);
    // Makes the last undone change again; false when there is none. Shapes it takes out of the
    // list leave the selection; the selection is cleared when the list is replaced.
    bool Redo(TShapeList& shapes, TSelection& selection);

    // The entries of the step to undo (none without one).
    const std::vector<TUndoEntry>& Entries() const;

    // The heap the history holds beyond the painting's own shapes: copies, colours, set-aside
    // shapes and lists, with their outlines.
    std::size_t HeapBytes() const;

private:
    enum class TKind {
        // Live shapes with their saved contents (or colours), swapped on undo and redo.
        Contents,
        // Deleted shapes: owned in SavedCopy while deleted, live again (LiveShape) once undone.
        Deletion,
        // The other whole list, in Former.
        ReplacedList,
        // Changed shapes with their saved contents, swapped; the list order of the other side,
        // in Order; and the shapes the other side lacks, owned in Outside.
        Arrangement,
    };
    struct TStep {
        std::string Caption;
        TKind Kind = TKind::Contents;
        TSnapshotOf Of = TSnapshotOf::Everything;
        std::vector<TUndoEntry> Entries;
        // A colour-only step's colours and acquired colours, one pair an entry.
        std::vector<std::pair<TColor, TColor>> Colors;
        TShapeChain Former;
        std::vector<TPaintShape*> Order;
        std::vector<TShapePtr> Outside;
    };

    TStep& Begin(const std::string& caption, TKind kind, TSnapshotOf of = TSnapshotOf::Everything);
    // Applies a step in either direction; afterwards it describes the way back.
    static void Apply(TStep& step, TShapeList& shapes, TSelection& selection);
    static void Save(TStep& step, TPaintShape& shape);
    // The saved contents of a step's shapes and the live ones change places.
    static void SwapContents(TStep& step);

    std::deque<TStep> Undo_;
    std::vector<TStep> Redo_;
    std::size_t Depth_ = 1;
};

} // namespace pigmentaria
