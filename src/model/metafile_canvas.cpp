#include "model/metafile_canvas.h"

#include "platform/metafile_records.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>
#include <utility>

namespace pigmentaria {

using namespace metafile;

namespace {

constexpr int PixelsPerInch = 96;
// The reference device of our enhanced metafiles: 1920 × 960 pixels on 508 × 254 mm is exactly
// 96 pixels to the inch, so the frame in hundredths of a millimetre gives back the pixel size.
constexpr int DevicePixelsX = 1920, DevicePixelsY = 960;
constexpr int DeviceMillimetresX = 508, DeviceMillimetresY = 254;
// A Windows metafile counts points in 16 bits.
constexpr std::size_t MaxWmfPoints = 32767;

enum : std::uint16_t { PS_SOLID = 0, PS_NULL = 5, BS_SOLID = 0, BS_NULL = 1 };

std::int16_t Clamp16(std::int64_t v) {
    return static_cast<std::int16_t>(std::clamp<std::int64_t>(v, INT16_MIN, INT16_MAX));
}

std::uint16_t PenStyle(const TPen& p) {
    return p.Style == TPenStyle::Solid ? PS_SOLID : PS_NULL;
}
std::uint16_t BrushStyle(const TBrush& b) {
    return b.Style == TBrushStyle::Solid ? BS_SOLID : BS_NULL;
}

// The objects a metafile's playback holds, shared by both formats' writers: slots handed out as
// Windows does (each new object takes the lowest free index) and the pen and brush selected now.
// A writer records what the table decides through its CreatePen, CreateBrush, Select and Delete,
// in its own format.
class TObjectTable {
public:
    // Selects `pen` and `brush`, creating each that differs from the one selected; the object it
    // replaces is deleted once the new one is selected.
    template <class Writer> void Use(Writer& w, const TPen& pen, const TBrush& brush) {
        if (!Pen_ || !(pen == Pen_->Pen)) {
            const int slot = Take();
            w.CreatePen(slot, pen);
            SwitchTo(w, slot, Pen_);
            Pen_->Pen = pen;
        }
        if (!Brush_ || !(brush == Brush_->Brush)) {
            const int slot = Take();
            w.CreateBrush(slot, brush);
            SwitchTo(w, slot, Brush_);
            Brush_->Brush = brush;
        }
    }
    // Deletes the objects still selected, as a metafile leaves nothing behind.
    template <class Writer> void Finish(Writer& w) {
        if (Pen_) Delete(w, Pen_->Slot);
        if (Brush_) Delete(w, Brush_->Slot);
        Pen_.reset();
        Brush_.reset();
    }
    const TPen& Pen() const { return Pen_->Pen; }
    const TBrush& Brush() const { return Brush_->Brush; }
    // The most objects held at once: the size of the table the header announces.
    std::size_t Capacity() const { return Used_.size(); }

private:
    struct TPenSlot {
        int Slot;
        TPen Pen;
    };
    struct TBrushSlot {
        int Slot;
        TBrush Brush;
    };
    int Take() {
        for (std::size_t i = 0; i < Used_.size(); ++i)
            if (!Used_[i]) {
                Used_[i] = true;
                return static_cast<int>(i);
            }
        Used_.push_back(true);
        return static_cast<int>(Used_.size() - 1);
    }
    template <class Writer> void Delete(Writer& w, int slot) {
        w.Delete(slot);
        Used_[static_cast<std::size_t>(slot)] = false;
    }
    template <class Writer, class Selected>
    void SwitchTo(Writer& w, int slot, std::optional<Selected>& current) {
        w.Select(slot);
        if (current) Delete(w, current->Slot);
        current = Selected{slot, {}};
    }

    std::vector<bool> Used_;
    std::optional<TPenSlot> Pen_;
    std::optional<TBrushSlot> Brush_;
};

class TWmfWriter {
public:
    TWmfWriter(int width, int height) {
        W_.U32(PlaceableMagic);
        W_.U16(0);
        W_.I16(0);
        W_.I16(0);
        W_.I16(Clamp16(width));
        W_.I16(Clamp16(height));
        W_.U16(PixelsPerInch);
        W_.U32(0);
        W_.U16(PlaceableChecksum(W_.Bytes().data()));
        W_.U16(1); // memory metafile
        W_.U16(9);
        W_.U16(0x0300);
        W_.U32(0); // size in words, patched at the end
        W_.U16(0); // objects, patched
        W_.U32(0); // largest record, patched
        W_.U16(0);
        Begin(META_SETWINDOWORG);
        W_.I16(0);
        W_.I16(0);
        End();
        Begin(META_SETWINDOWEXT);
        W_.I16(Clamp16(height));
        W_.I16(Clamp16(width));
        End();
        Begin(META_SETPOLYFILLMODE);
        W_.U16(1); // alternate
        End();
    }

    void Use(const TPen& pen, const TBrush& brush) { Objects_.Use(*this, pen, brush); }

    // The object records, as the table asks for them.
    void CreatePen(int slot, const TPen& pen) {
        (void)slot; // a Windows metafile's objects take the lowest free slot by themselves
        Begin(META_CREATEPENINDIRECT);
        W_.U16(PenStyle(pen));
        W_.I16(Clamp16(pen.Width));
        W_.I16(0);
        W_.U32(pen.Color & 0xFFFFFF);
        End();
    }
    void CreateBrush(int slot, const TBrush& brush) {
        (void)slot;
        Begin(META_CREATEBRUSHINDIRECT);
        W_.U16(BrushStyle(brush));
        W_.U32(brush.Color & 0xFFFFFF);
        W_.U16(0);
        End();
    }
    void Select(int slot) {
        Begin(META_SELECTOBJECT);
        W_.U16(static_cast<std::uint16_t>(slot));
        End();
    }
    void Delete(int slot) {
        Begin(META_DELETEOBJECT);
        W_.U16(static_cast<std::uint16_t>(slot));
        End();
    }

    void Polygon(const std::vector<TPoint>& p) {
        if (p.empty()) return;
        if (p.size() <= MaxWmfPoints) {
            Points(META_POLYGON, p.data(), p.size());
            return;
        }
        // Too many points for one polygon record. The interior is filled as a fan of rings from
        // the first vertex: the chords between neighbouring rings are each drawn twice and
        // cancel under the alternate rule, so the fill is the polygon's. The outline follows as
        // chained polylines, so that no chord shows.
        const TPen pen = Objects_.Pen();
        Use({pen.Color, pen.Width, TPenStyle::Clear}, Objects_.Brush());
        // Ring k is the first vertex and vertices a..b; neighbouring rings share vertex b.
        std::vector<std::pair<std::size_t, std::size_t>> rings;
        for (std::size_t a = 1, b; a + 1 < p.size(); a = b) {
            b = std::min(p.size() - 1, a + MaxWmfPoints - 2);
            rings.push_back({a, b});
        }
        Begin(META_POLYPOLYGON);
        W_.U16(static_cast<std::uint16_t>(rings.size()));
        for (const auto& [a, b] : rings)
            W_.U16(static_cast<std::uint16_t>(b - a + 2));
        for (const auto& [a, b] : rings) {
            Point(p[0]);
            for (std::size_t i = a; i <= b; ++i)
                Point(p[i]);
        }
        End();
        Use(pen, {Objects_.Brush().Color, TBrushStyle::Clear});
        std::vector<TPoint> closed(p);
        closed.push_back(p[0]);
        for (std::size_t a = 0; a + 1 < closed.size(); a += MaxWmfPoints - 1)
            Points(META_POLYLINE, closed.data() + a, std::min(MaxWmfPoints, closed.size() - a));
    }

    void MoveTo(TPoint p) { XY(META_MOVETO, p); }
    void LineTo(TPoint p) { XY(META_LINETO, p); }
    void Rectangle(int l, int t, int r, int b) {
        Begin(META_RECTANGLE);
        W_.I16(Clamp16(b));
        W_.I16(Clamp16(r));
        W_.I16(Clamp16(t));
        W_.I16(Clamp16(l));
        End();
    }

    std::vector<std::uint8_t> Finish() {
        Objects_.Finish(*this);
        Begin(META_EOF);
        End();
        const std::size_t words = (W_.Size() - PlaceableSize) / 2;
        W_.PutU32(PlaceableSize + 6, static_cast<std::uint32_t>(words));
        W_.PutU16(PlaceableSize + 10, static_cast<std::uint16_t>(Objects_.Capacity()));
        W_.PutU32(PlaceableSize + 12, MaxRecord_);
        return std::move(W_.Bytes());
    }

private:
    void Begin(std::uint16_t function) {
        Start_ = W_.Size();
        W_.U32(0);
        W_.U16(function);
    }
    void End() {
        const auto words = static_cast<std::uint32_t>((W_.Size() - Start_) / 2);
        W_.PutU32(Start_, words);
        MaxRecord_ = std::max(MaxRecord_, words);
    }
    void Point(TPoint p) {
        W_.I16(Clamp16(p.X));
        W_.I16(Clamp16(p.Y));
    }
    void Points(std::uint16_t function, const TPoint* p, std::size_t n) {
        Begin(function);
        W_.U16(static_cast<std::uint16_t>(n));
        for (std::size_t i = 0; i < n; ++i)
            Point(p[i]);
        End();
    }
    void XY(std::uint16_t function, TPoint p) {
        Begin(function);
        W_.I16(Clamp16(p.Y));
        W_.I16(Clamp16(p.X));
        End();
    }
    TByteWriter W_;
    std::size_t Start_ = 0;
    std::uint32_t MaxRecord_ = 0;
    TObjectTable Objects_;
};

class TEmfWriter {
public:
    TEmfWriter(int width, int height) {
        W_.U32(EMR_HEADER);
        W_.U32(88);
        W_.I32(0);
        W_.I32(0);
        W_.I32(width - 1);
        W_.I32(height - 1);
        W_.I32(0);
        W_.I32(0);
        W_.I32(Hundredths(width, DevicePixelsX, DeviceMillimetresX));
        W_.I32(Hundredths(height, DevicePixelsY, DeviceMillimetresY));
        W_.U32(EmfSignature);
        W_.U32(0x10000);
        W_.U32(0); // bytes, patched
        W_.U32(0); // records, patched
        W_.U16(0); // handles, patched
        W_.U16(0);
        W_.U32(0);
        W_.U32(0);
        W_.U32(0);
        W_.I32(DevicePixelsX);
        W_.I32(DevicePixelsY);
        W_.I32(DeviceMillimetresX);
        W_.I32(DeviceMillimetresY);
        Records_ = 1;
        Begin(EMR_SETPOLYFILLMODE);
        W_.U32(1); // alternate
        End();
    }

    void Use(const TPen& pen, const TBrush& brush) { Objects_.Use(*this, pen, brush); }

    // The object records, as the table asks for them. Enhanced metafile handles count from 1:
    // handle 0 is the metafile itself.
    void CreatePen(int slot, const TPen& pen) {
        Begin(EMR_CREATEPEN);
        W_.U32(Handle(slot));
        W_.U32(PenStyle(pen));
        W_.I32(pen.Width);
        W_.I32(0);
        W_.U32(pen.Color & 0xFFFFFF);
        End();
    }
    void CreateBrush(int slot, const TBrush& brush) {
        Begin(EMR_CREATEBRUSHINDIRECT);
        W_.U32(Handle(slot));
        W_.U32(BrushStyle(brush));
        W_.U32(brush.Color & 0xFFFFFF);
        W_.U32(0);
        End();
    }
    void Select(int slot) { Object(EMR_SELECTOBJECT, slot); }
    void Delete(int slot) { Object(EMR_DELETEOBJECT, slot); }

    void Polygon(const std::vector<TPoint>& p) {
        if (p.empty()) return;
        std::int64_t l = INT64_MAX, t = INT64_MAX, r = INT64_MIN, b = INT64_MIN;
        for (const TPoint& q : p) {
            l = std::min<std::int64_t>(l, q.X);
            t = std::min<std::int64_t>(t, q.Y);
            r = std::max<std::int64_t>(r, q.X);
            b = std::max<std::int64_t>(b, q.Y);
        }
        const bool small = l >= INT16_MIN && t >= INT16_MIN && r <= INT16_MAX && b <= INT16_MAX;
        Begin(small ? EMR_POLYGON16 : EMR_POLYGON);
        W_.I32(static_cast<std::int32_t>(l));
        W_.I32(static_cast<std::int32_t>(t));
        W_.I32(static_cast<std::int32_t>(r));
        W_.I32(static_cast<std::int32_t>(b));
        W_.U32(static_cast<std::uint32_t>(p.size()));
        for (const TPoint& q : p) {
            if (small) {
                W_.I16(static_cast<std::int16_t>(q.X));
                W_.I16(static_cast<std::int16_t>(q.Y));
            } else {
                W_.I32(q.X);
                W_.I32(q.Y);
            }
        }
        End();
    }

    void MoveTo(TPoint p) { XY(EMR_MOVETOEX, p); }
    void LineTo(TPoint p) { XY(EMR_LINETO, p); }
    void Rectangle(int l, int t, int r, int b) {
        Begin(EMR_RECTANGLE);
        W_.I32(l);
        W_.I32(t);
        W_.I32(r);
        W_.I32(b);
        End();
    }

    std::vector<std::uint8_t> Finish() {
        Objects_.Finish(*this);
        Begin(EMR_EOF);
        W_.U32(0);
        W_.U32(16);
        W_.U32(20);
        End();
        W_.PutU32(48, static_cast<std::uint32_t>(W_.Size()));
        W_.PutU32(52, Records_);
        W_.PutU16(56, static_cast<std::uint16_t>(Objects_.Capacity() + 1));
        return std::move(W_.Bytes());
    }

private:
    static std::int32_t Hundredths(int pixels, int devicePixels, int deviceMillimetres) {
        return static_cast<std::int32_t>(
            std::lround(double(pixels) * deviceMillimetres * 100.0 / devicePixels));
    }
    void Begin(std::uint32_t type) {
        Start_ = W_.Size();
        W_.U32(type);
        W_.U32(0);
    }
    void End() {
        W_.PutU32(Start_ + 4, static_cast<std::uint32_t>(W_.Size() - Start_));
        ++Records_;
    }
    void XY(std::uint32_t type, TPoint p) {
        Begin(type);
        W_.I32(p.X);
        W_.I32(p.Y);
        End();
    }
    static std::uint32_t Handle(int slot) { return static_cast<std::uint32_t>(slot) + 1; }
    void Object(std::uint32_t type, int slot) {
        Begin(type);
        W_.U32(Handle(slot));
        End();
    }

    TByteWriter W_;
    std::size_t Start_ = 0;
    std::uint32_t Records_ = 0;
    TObjectTable Objects_;
};

template <class Writer> std::vector<std::uint8_t> Write(Writer w, const auto& ops) {
    for (const TMetafileCanvas::TOp& op : ops) {
        using K = TMetafileCanvas::TOp::TKind;
        switch (op.Kind) {
        case K::Polygon:
            w.Use(op.Pen, op.Brush);
            w.Polygon(op.Points);
            break;
        case K::MoveTo:
            w.MoveTo(op.Points[0]);
            break;
        case K::LineTo:
            w.Use(op.Pen, op.Brush);
            w.LineTo(op.Points[0]);
            break;
        case K::Rectangle:
            w.Use(op.Pen, op.Brush);
            w.Rectangle(op.Points[0].X, op.Points[0].Y, op.Points[1].X, op.Points[1].Y);
            break;
        }
    }
    return w.Finish();
}

} // namespace

TMetafileCanvas::TMetafileCanvas(int width, int height)
    : Width_(std::max(width, 0)), Height_(std::max(height, 0)) {}

void TMetafileCanvas::Polygon(const TPoint* points, std::size_t count) {
    if (count == 0) return;
    Ops_.push_back(
        {TOp::TKind::Polygon, Pen_, Brush_, std::vector<TPoint>(points, points + count)});
}

void TMetafileCanvas::MoveTo(int x, int y) {
    TCanvas::MoveTo(x, y);
    Ops_.push_back({TOp::TKind::MoveTo, Pen_, Brush_, {{x, y}}});
}

void TMetafileCanvas::LineTo(int x, int y) {
    Current_ = {x, y};
    Ops_.push_back({TOp::TKind::LineTo, Pen_, Brush_, {{x, y}}});
}

void TMetafileCanvas::Rectangle(int left, int top, int right, int bottom) {
    Ops_.push_back({TOp::TKind::Rectangle, Pen_, Brush_, {{left, top}, {right, bottom}}});
}

std::vector<std::uint8_t> TMetafileCanvas::WindowsMetafile() const {
    return Write(TWmfWriter(Width_, Height_), Ops_);
}

std::vector<std::uint8_t> TMetafileCanvas::EnhancedMetafile() const {
    return Write(TEmfWriter(Width_, Height_), Ops_);
}

} // namespace pigmentaria
