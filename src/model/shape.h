#pragma once
// The painting's shapes: flat-coloured closed polygons in drawing order, the selection, the two
// outline simplifications and the hit test.
#include "platform/color.h"
#include "platform/raster.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <unordered_set>
#include <vector>

namespace pigmentaria {

struct TShapePoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TShapePoint&, const TShapePoint&) = default;
};

struct TPaintShape {
    TColor Color = 0;
    TColor AcquiredColor = 0;
    // Bounding box of the outline, inclusive on all four sides; -1 until a vertex sets it.
    std::int32_t Left = -1, Top = -1, Right = -1, Bottom = -1;
    std::vector<TShapePoint> Points;
    // Neighbours in the shape list. A shape taken out of the list keeps its own links, so that it
    // can be put back between its former neighbours.
    TPaintShape* Prev = nullptr;
    TPaintShape* Next = nullptr;

    // Grows bounds that are already set over one more vertex.
    void ExtendBounds(std::int32_t x, std::int32_t y) {
        if (x < Left) Left = x;
        if (y < Top) Top = y;
        if (x > Right) Right = x;
        if (y > Bottom) Bottom = y;
    }
    // The true minimum and maximum of the vertices; -1 on all sides without vertices.
    void RecomputeBounds();

    // A deep copy that belongs to no list: every field but the links, and its own outline.
    std::unique_ptr<TPaintShape> Clone() const;
};

using TShapePtr = std::unique_ptr<TPaintShape>;

// A new record equal to the source in every field, links included, with its own outline.
TShapePtr CopyShape(const TPaintShape& source);
// A shape with one colour and the given outline, bounds from its vertices, no links.
TShapePtr MakeShape(TColor color, std::vector<TShapePoint> points, TColor acquired = 0);
// The frame shape of a painting of W × H: the black rectangle every painting starts with.
TShapePtr MakeFrameShape(std::int32_t width, std::int32_t height);

// A chain of shapes linked through their own Next links and owned as a whole: what an import or a
// re-trace sets aside so that its undo can bring the former painting back.
class TShapeChain {
public:
    TShapeChain() = default;
    explicit TShapeChain(TPaintShape* first) : First_(first) {}
    TShapeChain(TShapeChain&& other) noexcept : First_(other.First_) { other.First_ = nullptr; }
    TShapeChain& operator=(TShapeChain&& other) noexcept;
    TShapeChain(const TShapeChain&) = delete;
    TShapeChain& operator=(const TShapeChain&) = delete;
    ~TShapeChain() { Free(); }

    TPaintShape* First() const { return First_; }
    TPaintShape* Release() {
        TPaintShape* f = First_;
        First_ = nullptr;
        return f;
    }
    void Free();

private:
    TPaintShape* First_ = nullptr;
};

// The painting's shape list; owns every shape linked into it. List order is drawing order.
class TShapeList {
public:
    TShapeList() = default;
    TShapeList(TShapeList&& other) noexcept;
    TShapeList& operator=(TShapeList&& other) noexcept;
    TShapeList(const TShapeList&) = delete;
    TShapeList& operator=(const TShapeList&) = delete;
    ~TShapeList() { FreeAll(); }

    TPaintShape* First() const { return First_; }
    TPaintShape* Last() const { return Last_; }
    bool Empty() const { return First_ == nullptr; }

    // Links a shape after the last one and returns it.
    TPaintShape* Append(TShapePtr shape);
    // Takes a linked shape out of the list. The shape's own Prev and Next stay as they were.
    TShapePtr Unlink(TPaintShape* shape);
    void UnlinkAndFree(TPaintShape* shape) { Unlink(shape); }
    // Puts an unlinked shape back through its own links: after its Prev (or first) and before its
    // Next (or last). Neighbours restored in list order come back in their former order.
    TPaintShape* Relink(TShapePtr shape);
    // Forgets the list without freeing it; the chain keeps the shapes.
    TShapeChain Detach();
    // Takes a chain over as the whole list (the former list must be empty); the last shape is
    // found by following the Next links.
    void Adopt(TShapeChain chain);
    // Unlinks and frees every shape.
    void FreeAll();

    // The frame shape's right and bottom: the painting's size.
    std::int32_t PaintingWidth() const { return First_ ? First_->Right : 0; }
    std::int32_t PaintingHeight() const { return First_ ? First_->Bottom : 0; }

    std::size_t Count() const;

    // A list of deep copies of every shape, in the same order, sharing nothing with this one: a
    // snapshot that work on another thread may read or change while this list goes on.
    TShapeList Clone() const;

    template <class Shape> class Iterator {
    public:
        explicit Iterator(Shape* s) : S_(s) {}
        Shape& operator*() const { return *S_; }
        Shape* operator->() const { return S_; }
        Iterator& operator++() {
            S_ = S_->Next;
            return *this;
        }
        friend bool operator==(const Iterator&, const Iterator&) = default;

    private:
        Shape* S_;
    };
    Iterator<TPaintShape> begin() { return Iterator<TPaintShape>(First_); }
    Iterator<TPaintShape> end() { return Iterator<TPaintShape>(nullptr); }
    Iterator<const TPaintShape> begin() const { return Iterator<const TPaintShape>(First_); }
    Iterator<const TPaintShape> end() const { return Iterator<const TPaintShape>(nullptr); }

private:
    TPaintShape* First_ = nullptr;
    TPaintShape* Last_ = nullptr;
};

std::size_t CountVertices(const TPaintShape& shape);
// Vertices of every shape from `from` to the end of the list.
std::size_t CountVertices(const TPaintShape* from);

// The selected shapes in the order they were selected; each at most once.
class TSelection {
public:
    void Clear() {
        Nodes_.clear();
        Members_.clear();
    }
    void Add(TPaintShape* shape);
    void Remove(const TPaintShape* shape);
    // Removes, in one pass, every selected shape the predicate accepts.
    template <class Pred> void RemoveIf(Pred pred) {
        std::erase_if(Nodes_, [&](TPaintShape* s) {
            if (!pred(s)) return false;
            Members_.erase(s);
            return true;
        });
    }
    bool IsSelected(const TPaintShape* shape) const { return Members_.count(shape) != 0; }
    bool Empty() const { return Nodes_.empty(); }
    std::size_t Size() const { return Nodes_.size(); }
    const std::vector<TPaintShape*>& Shapes() const { return Nodes_; }
    auto begin() const { return Nodes_.begin(); }
    auto end() const { return Nodes_.end(); }

private:
    std::vector<TPaintShape*> Nodes_;
    // The same shapes as a set, so that selecting every shape of a large painting stays linear.
    std::unordered_set<const TPaintShape*> Members_;
};

// The selection of `from` carried over to `clone` (a Clone of it): the shapes at the same
// positions, in the same selection order.
TSelection CloneSelection(const TSelection& selection, const TShapeList& from,
                          const TShapeList& clone);

// Keeps the vertices at positions 0, n, 2n, … (n >= 1).
void ThinOutline(TPaintShape& shape, int step);
// Drops vertices that lie on the line from the last kept vertex to the next one; the first and
// the last vertex stay. True when no corner was found: the outline is a line out and back.
bool RemoveCollinearVertices(TPaintShape& shape);
// Thin with step 2, then remove collinear vertices; bounds are left as they were.
void SmoothShape(TPaintShape& shape);

// The shape whose painted area covers pixel (x, y) of a picture the shapes were drawn on filled
// at scale `zoom`: among the shapes of the picture's colour there whose scaled bounds hold the
// pixel, the last in list order whose polygon covers it. Decided from the polygons alone, by the
// same rules the raster canvas draws with.
TPaintShape* ShapeAtPixel(const TShapeList& shapes, const TPixelSurface& picture, double zoom,
                          int x, int y);
// True when the shape drawn filled at scale `zoom` paints pixel (x, y): the coverage rule of the
// hit test for one shape, for callers that find their candidates faster than by a list walk.
bool ShapeCoversPixel(const TPaintShape& shape, double zoom, int x, int y);

// Coordinate × scale, truncated toward zero, as every drawing of a shape places its vertices.
// Out-of-range products are held at the int32 limits rather than left undefined.
inline std::int32_t ScaleCoord(std::int32_t v, double scale) {
    const double p = static_cast<double>(v) * scale;
    if (!(p > -2147483648.0)) return p != p ? 0 : INT32_MIN;
    if (p >= 2147483647.0) return INT32_MAX;
    return static_cast<std::int32_t>(p);
}

} // namespace pigmentaria
