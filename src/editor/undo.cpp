#include "editor/undo.h"

#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace pigmentaria {

std::string RedoCaptionFor(const std::string& undoCaption) {
    const std::string undo = UndoCaption;
    if (undoCaption.compare(0, undo.size(), undo) != 0) return RedoCaption;
    return RedoCaption + undoCaption.substr(undo.size());
}

const std::string& TUndoState::Caption() const {
    static const std::string none = UndoCaption;
    return Undo_.empty() ? none : Undo_.back().Caption;
}

std::string TUndoState::RedoCaption() const {
    return Redo_.empty() ? std::string(pigmentaria::RedoCaption)
                         : RedoCaptionFor(Redo_.back().Caption);
}

const std::vector<TUndoEntry>& TUndoState::Entries() const {
    static const std::vector<TUndoEntry> none;
    return Undo_.empty() ? none : Undo_.back().Entries;
}

void TUndoState::SetDepth(std::size_t steps) {
    Depth_ = steps < 1 ? 1 : steps;
    while (Undo_.size() > Depth_)
        Undo_.pop_front();
}

TUndoState::TStep& TUndoState::Begin(const std::string& caption, TKind kind, TSnapshotOf of) {
    // A new change makes the undone ones unreachable: their shapes (owned by deletion steps that
    // were undone are live again, so only copies and set-aside lists are freed here).
    Redo_.clear();
    if (Undo_.size() >= Depth_) Undo_.pop_front();
    TStep& step = Undo_.emplace_back();
    step.Caption = caption;
    step.Kind = kind;
    step.Of = of;
    return step;
}

void TUndoState::Save(TStep& step, TPaintShape& shape) {
    if (step.Of == TSnapshotOf::Everything) {
        step.Entries.push_back({CopyShape(shape), &shape});
    } else {
        step.Entries.push_back({nullptr, &shape});
        step.Colors.emplace_back(shape.Color, shape.AcquiredColor);
    }
}

void TUndoState::SnapshotAll(const TShapeList& shapes, const std::string& caption, TSnapshotOf of) {
    TStep& step = Begin(caption, TKind::Contents, of);
    for (TPaintShape* s = shapes.First(); s; s = s->Next)
        Save(step, *s);
}

void TUndoState::SnapshotSelected(const TSelection& selection, const std::string& caption,
                                  TSnapshotOf of) {
    TStep& step = Begin(caption, TKind::Contents, of);
    for (TPaintShape* s : selection)
        Save(step, *s);
}

void TUndoState::SnapshotShape(TPaintShape& shape, const std::string& caption, TSnapshotOf of) {
    TStep& step = Begin(caption, TKind::Contents, of);
    Save(step, shape);
}

void TUndoState::SnapshotColor(const TShapeList& shapes, TColor color, const std::string& caption,
                               TSnapshotOf of) {
    TStep& step = Begin(caption, TKind::Contents, of);
    for (TPaintShape* s = shapes.First(); s; s = s->Next)
        if (s->Color == color) Save(step, *s);
}

void TUndoState::SnapshotForDeletion(const std::string& caption) {
    Begin(caption, TKind::Deletion);
}

void TUndoState::AddDeleted(TShapePtr unlinked) {
    // Only ever called right after SnapshotForDeletion, so the last step is the deletion.
    if (Undo_.empty() || Undo_.back().Kind != TKind::Deletion) return;
    Undo_.back().Entries.push_back({std::move(unlinked), nullptr});
}

void TUndoState::SnapshotReplacedList(TShapeChain former, const std::string& caption) {
    TStep& step = Begin(caption, TKind::ReplacedList);
    step.Former = std::move(former);
}

void TUndoState::SnapshotArrangement(const TShapeList& shapes, const std::string& caption) {
    TStep& step = Begin(caption, TKind::Arrangement);
    for (TPaintShape* s = shapes.First(); s; s = s->Next)
        step.Order.push_back(s);
}

void TUndoState::SaveBeforeChange(TPaintShape& shape) {
    // Only ever called right after SnapshotArrangement, so the last step is the arrangement.
    if (Undo_.empty() || Undo_.back().Kind != TKind::Arrangement) return;
    TStep& step = Undo_.back();
    for (const TUndoEntry& e : step.Entries)
        if (e.LiveShape == &shape) return;
    Save(step, shape);
}

void TUndoState::AddRemoved(TShapePtr unlinked) {
    if (Undo_.empty() || Undo_.back().Kind != TKind::Arrangement) return;
    Undo_.back().Outside.push_back(std::move(unlinked));
}

void TUndoState::Discard() {
    // Steps to redo hold undone deletions as live pointers only, so freeing them frees no live
    // shape; a set-aside list to redo is the newer painting, freed with its step.
    Redo_.clear();
    Undo_.clear();
}

void TUndoState::Apply(TStep& step, TShapeList& shapes, TSelection& selection) {
    switch (step.Kind) {
    case TKind::ReplacedList: {
        // The current list and the set-aside one change places, each kept whole.
        selection.Clear();
        TShapeChain current = shapes.Detach();
        shapes.Adopt(std::move(step.Former));
        step.Former = std::move(current);
        break;
    }
    case TKind::Deletion: {
        const bool deleted = !step.Entries.empty() && !step.Entries.front().LiveShape;
        if (deleted) {
            // Back through their own links in the reverse order of their unlinking, so that
            // neighbours deleted together return in their former order.
            for (auto it = step.Entries.rbegin(); it != step.Entries.rend(); ++it)
                it->LiveShape = shapes.Relink(std::move(it->SavedCopy));
        } else {
            // Deleted again in the order of the first deletion, which leaves every shape's own
            // links as they were then.
            for (TUndoEntry& e : step.Entries) {
                selection.Remove(e.LiveShape);
                e.SavedCopy = shapes.Unlink(e.LiveShape);
                e.LiveShape = nullptr;
            }
        }
        break;
    }
    case TKind::Contents:
        // The saved contents and the live ones change places; the list links stay those of the
        // list, which no change that takes a snapshot of this kind alters.
        SwapContents(step);
        break;
    case TKind::Arrangement: {
        SwapContents(step);
        // The list is laid out again in the other side's order; what that side lacks is kept
        // aside, out of the selection.
        std::vector<TPaintShape*> current;
        for (TPaintShape* s = shapes.First(); s; s = s->Next)
            current.push_back(s);
        std::unordered_map<TPaintShape*, TShapePtr> owned;
        for (TPaintShape* s = shapes.Detach().Release(); s;) {
            TPaintShape* next = s->Next;
            owned.emplace(s, TShapePtr(s));
            s = next;
        }
        for (TShapePtr& s : step.Outside) {
            TPaintShape* raw = s.get();
            owned.emplace(raw, std::move(s));
        }
        step.Outside.clear();
        const std::unordered_set<TPaintShape*> wanted(step.Order.begin(), step.Order.end());
        for (TPaintShape* s : step.Order)
            shapes.Append(std::move(owned[s]));
        for (TPaintShape* s : current)
            if (!wanted.count(s)) {
                selection.Remove(s);
                step.Outside.push_back(std::move(owned[s]));
            }
        step.Order = std::move(current);
        break;
    }
    }
}

void TUndoState::SwapContents(TStep& step) {
    for (std::size_t i = 0; i < step.Entries.size(); ++i) {
        TPaintShape& live = *step.Entries[i].LiveShape;
        if (step.Of == TSnapshotOf::Color) {
            std::swap(live.Color, step.Colors[i].first);
            std::swap(live.AcquiredColor, step.Colors[i].second);
            continue;
        }
        TPaintShape& saved = *step.Entries[i].SavedCopy;
        std::swap(live.Color, saved.Color);
        std::swap(live.AcquiredColor, saved.AcquiredColor);
        std::swap(live.Left, saved.Left);
        std::swap(live.Top, saved.Top);
        std::swap(live.Right, saved.Right);
        std::swap(live.Bottom, saved.Bottom);
        std::swap(live.Points, saved.Points);
    }
}

bool TUndoState::Undo(TShapeList& shapes, TSelection& selection) {
    if (Undo_.empty()) return false;
    TStep step = std::move(Undo_.back());
    Undo_.pop_back();
    Apply(step, shapes, selection);
    Redo_.push_back(std::move(step));
    return true;
}

bool TUndoState::Redo(TShapeList& shapes, TSelection& selection) {
    if (Redo_.empty()) return false;
    TStep step = std::move(Redo_.back());
    Redo_.pop_back();
    Apply(step, shapes, selection);
    Undo_.push_back(std::move(step));
    return true;
}

std::size_t TUndoState::HeapBytes() const {
    auto shapeBytes = [](const TPaintShape& s) {
        return sizeof(TPaintShape) + s.Points.capacity() * sizeof(TShapePoint);
    };
    auto stepBytes = [&](const TStep& step) {
        std::size_t n = step.Caption.capacity() + step.Entries.capacity() * sizeof(TUndoEntry) +
                        step.Colors.capacity() * sizeof(step.Colors[0]);
        for (const TUndoEntry& e : step.Entries)
            if (e.SavedCopy) n += shapeBytes(*e.SavedCopy);
        for (const TPaintShape* s = step.Former.First(); s; s = s->Next)
            n += shapeBytes(*s);
        n += step.Order.capacity() * sizeof(TPaintShape*) +
             step.Outside.capacity() * sizeof(TShapePtr);
        for (const TShapePtr& s : step.Outside)
            n += shapeBytes(*s);
        return n;
    };
    std::size_t n = 0;
    for (const TStep& s : Undo_)
        n += stepBytes(s);
    for (const TStep& s : Redo_)
        n += stepBytes(s);
    return n;
}

} // namespace pigmentaria
