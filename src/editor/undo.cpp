#include "editor/undo.h"

namespace pigmentaria {

void TUndoState::Arm(const std::string& caption) {
    Discard();
    Caption_ = caption;
    Armed_ = true;
}

void TUndoState::SnapshotAll(const TShapeList& shapes, const std::string& caption) {
    Arm(caption);
    for (TPaintShape* s = shapes.First(); s; s = s->Next)
        Entries_.push_back({CopyShape(*s), s});
}

void TUndoState::SnapshotSelected(const TSelection& selection, const std::string& caption) {
    Arm(caption);
    for (TPaintShape* s : selection)
        Entries_.push_back({CopyShape(*s), s});
}

void TUndoState::SnapshotShape(TPaintShape& shape, const std::string& caption) {
    Arm(caption);
    Entries_.push_back({CopyShape(shape), &shape});
}

void TUndoState::SnapshotColor(const TShapeList& shapes, TColor color, const std::string& caption) {
    Arm(caption);
    for (TPaintShape* s = shapes.First(); s; s = s->Next)
        if (s->Color == color) Entries_.push_back({CopyShape(*s), s});
}

void TUndoState::SnapshotForDeletion(const std::string& caption) {
    Arm(caption);
}

void TUndoState::AddDeleted(TShapePtr unlinked) {
    Entries_.push_back({std::move(unlinked), nullptr});
}

void TUndoState::SnapshotReplacedList(TShapeChain former, const std::string& caption) {
    Arm(caption);
    FormerList_ = std::move(former);
    ReplacedList_ = true;
}

void TUndoState::Discard() {
    Entries_.clear();
    FormerList_.Free();
    ReplacedList_ = false;
    Armed_ = false;
    Caption_ = UndoCaption;
}

bool TUndoState::Undo(TShapeList& shapes, TSelection& selection) {
    if (!Armed_) return false;
    if (ReplacedList_) {
        // The shapes made since are freed; the former list comes back whole.
        selection.Clear();
        shapes.FreeAll();
        shapes.Adopt(std::move(FormerList_));
    } else {
        // Deleted shapes go back through their own links in the reverse order of their
        // unlinking, so that neighbours deleted together return in their former order.
        for (auto it = Entries_.rbegin(); it != Entries_.rend(); ++it)
            if (!it->LiveShape) shapes.Relink(std::move(it->SavedCopy));
        for (TUndoEntry& e : Entries_) {
            if (!e.LiveShape) continue;
            // The saved contents replace the live ones; the list links stay those of the list,
            // which no change that takes a snapshot of this kind alters.
            TPaintShape& live = *e.LiveShape;
            TPaintShape& saved = *e.SavedCopy;
            live.Color = saved.Color;
            live.AcquiredColor = saved.AcquiredColor;
            live.Left = saved.Left;
            live.Top = saved.Top;
            live.Right = saved.Right;
            live.Bottom = saved.Bottom;
            live.Points = std::move(saved.Points);
        }
    }
    Discard();
    return true;
}

} // namespace pigmentaria
