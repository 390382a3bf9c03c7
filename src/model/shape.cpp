#include "model/shape.h"

#include "platform/gdi_rules.h"

#include <algorithm>
#include <unordered_map>

namespace pigmentaria {

void TPaintShape::RecomputeBounds() {
    Left = Top = Right = Bottom = -1;
    if (Points.empty()) return;
    Left = Right = Points[0].X;
    Top = Bottom = Points[0].Y;
    for (const TShapePoint& p : Points) {
        Left = std::min(Left, p.X);
        Right = std::max(Right, p.X);
        Top = std::min(Top, p.Y);
        Bottom = std::max(Bottom, p.Y);
    }
}

TShapePtr TPaintShape::Clone() const {
    auto s = std::make_unique<TPaintShape>(*this);
    s->Prev = s->Next = nullptr;
    return s;
}

TShapePtr CopyShape(const TPaintShape& source) {
    return std::make_unique<TPaintShape>(source);
}

TShapePtr MakeShape(TColor color, std::vector<TShapePoint> points, TColor acquired) {
    auto s = std::make_unique<TPaintShape>();
    s->Color = color;
    s->AcquiredColor = acquired;
    s->Points = std::move(points);
    s->RecomputeBounds();
    return s;
}

TShapePtr MakeFrameShape(std::int32_t width, std::int32_t height) {
    return MakeShape(clBlack, {{0, 0}, {width, 0}, {width, height}, {0, height}});
}

TShapeChain& TShapeChain::operator=(TShapeChain&& other) noexcept {
    if (this != &other) {
        Free();
        First_ = other.First_;
        other.First_ = nullptr;
    }
    return *this;
}

void TShapeChain::Free() {
    while (First_) {
        TShapePtr s(First_);
        First_ = s->Next;
    }
}

TShapeList::TShapeList(TShapeList&& other) noexcept : First_(other.First_), Last_(other.Last_) {
    other.First_ = other.Last_ = nullptr;
}

TShapeList& TShapeList::operator=(TShapeList&& other) noexcept {
    if (this != &other) {
        FreeAll();
        First_ = other.First_;
        Last_ = other.Last_;
        other.First_ = other.Last_ = nullptr;
    }
    return *this;
}

TPaintShape* TShapeList::Append(TShapePtr shape) {
    TPaintShape* s = shape.release();
    s->Prev = Last_;
    s->Next = nullptr;
    if (Last_)
        Last_->Next = s;
    else
        First_ = s;
    Last_ = s;
    return s;
}

TShapePtr TShapeList::Unlink(TPaintShape* shape) {
    if (shape->Prev)
        shape->Prev->Next = shape->Next;
    else
        First_ = shape->Next;
    if (shape->Next)
        shape->Next->Prev = shape->Prev;
    else
        Last_ = shape->Prev;
    return TShapePtr(shape);
}

TPaintShape* TShapeList::Relink(TShapePtr shape) {
    TPaintShape* s = shape.release();
    if (s->Prev)
        s->Prev->Next = s;
    else
        First_ = s;
    if (s->Next)
        s->Next->Prev = s;
    else
        Last_ = s;
    return s;
}

TShapeChain TShapeList::Detach() {
    TShapeChain chain(First_);
    First_ = Last_ = nullptr;
    return chain;
}

void TShapeList::Adopt(TShapeChain chain) {
    FreeAll();
    First_ = chain.Release();
    Last_ = First_;
    if (First_) First_->Prev = nullptr;
    while (Last_ && Last_->Next)
        Last_ = Last_->Next;
}

void TShapeList::FreeAll() {
    TShapeChain(First_).Free();
    First_ = Last_ = nullptr;
}

std::size_t TShapeList::Count() const {
    std::size_t n = 0;
    for (const TPaintShape* s = First_; s; s = s->Next)
        ++n;
    return n;
}

TShapeList TShapeList::Clone() const {
    TShapeList out;
    for (const TPaintShape* s = First_; s; s = s->Next)
        out.Append(s->Clone());
    return out;
}

TSelection CloneSelection(const TSelection& selection, const TShapeList& from,
                          const TShapeList& clone) {
    std::unordered_map<const TPaintShape*, TPaintShape*> twin;
    for (const TPaintShape *a = from.First(), *b = clone.First(); a && b; a = a->Next, b = b->Next)
        twin.emplace(a, const_cast<TPaintShape*>(b));
    TSelection out;
    for (const TPaintShape* s : selection)
        if (const auto it = twin.find(s); it != twin.end()) out.Add(it->second);
    return out;
}

std::size_t CountVertices(const TPaintShape& shape) {
    return shape.Points.size();
}

std::size_t CountVertices(const TPaintShape* from) {
    std::size_t n = 0;
    for (; from; from = from->Next)
        n += from->Points.size();
    return n;
}

void TSelection::Add(TPaintShape* shape) {
    if (Members_.insert(shape).second) Nodes_.push_back(shape);
}

void TSelection::Remove(const TPaintShape* shape) {
    if (Members_.erase(shape)) std::erase(Nodes_, shape);
}

void ThinOutline(TPaintShape& shape, int step) {
    if (step <= 1) return;
    std::vector<TShapePoint>& p = shape.Points;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < p.size(); i += static_cast<std::size_t>(step))
        p[kept++] = p[i];
    p.resize(kept);
}

bool RemoveCollinearVertices(TPaintShape& shape) {
    std::vector<TShapePoint>& p = shape.Points;
    bool line = true;
    if (p.size() < 3) return line;
    // Kept vertices are compacted to the front; p[kept - 1] is the previous vertex P.
    std::size_t kept = 1;
    std::size_t m = 1;
    for (; m + 1 < p.size(); ++m) {
        const TShapePoint prev = p[kept - 1], mid = p[m], next = p[m + 1];
        bool keep;
        if (mid.X == prev.X) {
            keep = next.X != prev.X;
            if (keep) line = false;
        } else if (next.X == prev.X) {
            keep = true; // a turnaround, not a corner
        } else {
            // Equal slopes from P, compared exactly.
            const std::int64_t a = (std::int64_t(mid.Y) - prev.Y) * (std::int64_t(next.X) - prev.X);
            const std::int64_t b = (std::int64_t(next.Y) - prev.Y) * (std::int64_t(mid.X) - prev.X);
            keep = a != b;
            if (keep) line = false;
        }
        if (keep) p[kept++] = mid;
    }
    p[kept++] = p[m];
    p.resize(kept);
    return line;
}

void SmoothShape(TPaintShape& shape) {
    ThinOutline(shape, 2);
    RemoveCollinearVertices(shape);
}

bool ShapeCoversPixel(const TPaintShape& shape, double zoom, int x, int y) {
    thread_local std::vector<TPoint> pts;
    pts.clear();
    for (const TShapePoint& p : shape.Points)
        pts.push_back({ScaleCoord(p.X, zoom), ScaleCoord(p.Y, zoom)});
    return gdi::PolygonCoversPixel(pts.data(), pts.size(), x, y, true, true);
}

TPaintShape* ShapeAtPixel(const TShapeList& shapes, const TPixelSurface& picture, double zoom,
                          int x, int y) {
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height()) return nullptr;
    const TColor c = picture.GetPixel(x, y);
    // Later candidates paint over earlier ones, so the last one covering the pixel wins.
    for (TPaintShape* s = shapes.Last(); s; s = s->Prev) {
        if (s->Color != c) continue;
        if (ScaleCoord(s->Left, zoom) > x || x > ScaleCoord(s->Right, zoom) ||
            ScaleCoord(s->Top, zoom) > y || y > ScaleCoord(s->Bottom, zoom))
            continue;
        if (ShapeCoversPixel(*s, zoom, x, y)) return s;
    }
    return nullptr;
}

} // namespace pigmentaria
