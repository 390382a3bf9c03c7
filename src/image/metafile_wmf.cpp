// The records of a Windows metafile, played onto the raster.
#include "image/metafile_playback.h"

namespace pigmentaria::metafile_playback {

void TPlayer::PlayWmf() {
    const std::uint8_t* d = M_.Data.data();
    const std::size_t n = M_.Data.size();
    // The placeable box is the window, stretched over the whole target.
    Dc_.MapMode = MM_ANISOTROPIC;
    Dc_.WOx = GetI16(d, n, 6);
    Dc_.WOy = GetI16(d, n, 8);
    Dc_.WEx = double(GetI16(d, n, 10)) - Dc_.WOx;
    Dc_.WEy = double(GetI16(d, n, 12)) - Dc_.WOy;
    Dc_.VEx = Target_.Width();
    Dc_.VEy = Target_.Height();
    DevicePpi_ = GetU16(d, n, 14) * Target_.Width() / std::max(1.0, Dc_.WEx);
    Objects_.resize(std::min<std::size_t>(GetU16(d, n, PlaceableSize + 10), MaxObjects));
    std::size_t at = PlaceableSize + 2 * std::size_t(GetU16(d, n, PlaceableSize + 2));
    while (at + 6 <= n) {
        const std::uint64_t words = GetU32(d, n, at);
        if (words < 3 || words > (n - at) / 2) break;
        const std::uint16_t fn = GetU16(d, n, at + 4);
        if (fn == META_EOF) break;
        if (!WmfRecord(fn, d + at + 6, std::size_t(words) * 2 - 6)) break;
        at += std::size_t(words) * 2;
    }
}

// Creates an object in the lowest free slot of the table.
void TPlayer::WmfCreate(TObject o) {
    for (TObject& slot : Objects_)
        if (slot.Kind == TObject::okNone) {
            slot = std::move(o);
            return;
        }
    if (Objects_.size() < MaxObjects) Objects_.push_back(std::move(o));
}

std::vector<TXY> TPlayer::WmfPoints(const std::uint8_t* p, std::size_t size, std::size_t at,
                                    std::size_t count) const {
    std::vector<TXY> pts;
    if (at > size || (size - at) / 4 < count) return pts;
    pts.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        pts.push_back(
            {double(GetI16(p, size, at + 4 * i)), double(GetI16(p, size, at + 4 * i + 2))});
    return pts;
}

// Plays one record; false stops the playing.
bool TPlayer::WmfRecord(std::uint16_t fn, const std::uint8_t* p, std::size_t s) {
    auto i16 = [&](std::size_t word) { return double(GetI16(p, s, 2 * word)); };
    auto u16 = [&](std::size_t word) { return GetU16(p, s, 2 * word); };
    auto u32 = [&](std::size_t word) { return GetU32(p, s, 2 * word); };
    switch (fn) {
    case META_SETWINDOWORG:
        Dc_.WOx = i16(1), Dc_.WOy = i16(0);
        return true;
    case META_SETWINDOWEXT:
        Dc_.WEx = i16(1), Dc_.WEy = i16(0);
        return true;
    case META_SETVIEWPORTORG:
        Dc_.VOx = i16(1), Dc_.VOy = i16(0);
        return true;
    case META_SETVIEWPORTEXT:
        Dc_.VEx = i16(1), Dc_.VEy = i16(0);
        return true;
    case META_OFFSETWINDOWORG:
        Dc_.WOx += i16(1), Dc_.WOy += i16(0);
        return true;
    case META_OFFSETVIEWPORTORG:
        Dc_.VOx += i16(1), Dc_.VOy += i16(0);
        return true;
    case META_SCALEWINDOWEXT:
        if (i16(2) != 0 && i16(0) != 0)
            Dc_.WEx = Dc_.WEx * i16(3) / i16(2), Dc_.WEy = Dc_.WEy * i16(1) / i16(0);
        return true;
    case META_SCALEVIEWPORTEXT:
        if (i16(2) != 0 && i16(0) != 0)
            Dc_.VEx = Dc_.VEx * i16(3) / i16(2), Dc_.VEy = Dc_.VEy * i16(1) / i16(0);
        return true;
    case META_SETROP2:
        Dc_.Mix = std::clamp<int>(u16(0), 1, 16);
        return true;
    case META_SETBKMODE:
        Dc_.BkMode = u16(0);
        return true;
    case META_SETBKCOLOR:
        Dc_.BkColor = Color(u32(0));
        return true;
    case META_SAVEDC:
        SaveDc();
        return true;
    case META_RESTOREDC:
        RestoreDc(GetI16(p, s, 0));
        return true;
    case META_CREATEPENINDIRECT: {
        TObject o;
        o.Kind = TObject::okPen;
        o.Pen.Null = (u16(0) & 0x0F) == 5;
        o.Pen.Width = i16(1);
        o.Pen.Color = Color(u32(3));
        WmfCreate(std::move(o));
        return true;
    }
    case META_CREATEBRUSHINDIRECT: {
        TObject o;
        o.Kind = TObject::okBrush;
        o.Brush = MakeBrush(u16(0), u32(1), u16(3));
        WmfCreate(std::move(o));
        return true;
    }
    case META_DIBCREATEPATTERNBRUSH: {
        TObject o;
        o.Kind = TObject::okBrush;
        o.Brush = PatternBrush(s > 4 ? ReadDib(p + 4, s - 4, nullptr, 0, true) : std::nullopt);
        WmfCreate(std::move(o));
        return true;
    }
    case META_CREATEPALETTE: {
        TObject o;
        o.Kind = TObject::okPalette;
        o.Palette = PaletteEntries(p, s, 4, u16(1));
        WmfCreate(std::move(o));
        return true;
    }
    case META_CREATEFONTINDIRECT:
    case META_CREATEPATTERNBRUSH:
    case META_CREATEREGION: {
        TObject o;
        o.Kind = TObject::okOther;
        WmfCreate(std::move(o));
        return true;
    }
    case META_SELECTOBJECT:
    case META_SELECTPALETTE:
        Select(u16(0));
        return true;
    case META_DELETEOBJECT:
        if (u16(0) < Objects_.size()) Objects_[u16(0)] = TObject();
        return true;
    case META_INTERSECTCLIPRECT:
        IntersectClip({i16(3), i16(2)}, {i16(1), i16(0)});
        return true;
    case META_MOVETO:
        Dc_.Current = {i16(1), i16(0)};
        return true;
    case META_LINETO:
        LinesFromCurrent({{i16(1), i16(0)}});
        return Drawn();
    case META_POLYGON:
    case META_POLYLINE: {
        auto pts = WmfPoints(p, s, 2, u16(0));
        if (fn == META_POLYGON)
            DrawRings({Out(pts)}, true, true);
        else
            DrawPolyline(Out(pts));
        return Drawn();
    }
    case META_POLYPOLYGON: {
        const std::size_t rings = u16(0);
        if (s < 2 + 2 * rings) return true;
        std::vector<std::vector<TXY>> all;
        std::size_t at = 2 + 2 * rings;
        for (std::size_t i = 0; i < rings; ++i) {
            const std::size_t count = u16(1 + i);
            auto pts = WmfPoints(p, s, at, count);
            if (pts.size() != count) break;
            all.push_back(Out(pts));
            at += 4 * count;
        }
        DrawRings(all, true, true);
        return Drawn();
    }
    case META_RECTANGLE:
        DrawRings({Rect(i16(3), i16(2), i16(1), i16(0))}, true, true);
        return Drawn();
    case META_ROUNDRECT:
        DrawRings({RoundRect(i16(5), i16(4), i16(3), i16(2), i16(1), i16(0))}, true, true);
        return Drawn();
    case META_ELLIPSE:
        DrawRings({Ellipse(i16(3), i16(2), i16(1), i16(0))}, true, true);
        return Drawn();
    case META_ARC:
    case META_CHORD:
    case META_PIE:
        Arc(i16(7), i16(6), i16(5), i16(4), {i16(3), i16(2)}, {i16(1), i16(0)},
            fn == META_ARC     ? 0
            : fn == META_CHORD ? 1
                               : 2);
        return Drawn();
    case META_SETPIXEL: {
        ApplyClip();
        const TPoint q = ToPixel({i16(3), i16(2)});
        Surface_.SetPixel(q.X, q.Y, Color(u32(0)));
        return Drawn();
    }
    case META_PATBLT:
        Blit({i16(5), i16(4)}, {i16(5) + i16(3), i16(4) + i16(2)}, nullptr, 0, 0, 1, 1, u32(0));
        return Drawn();
    case META_STRETCHDIB: {
        if (s < 22) return true;
        if (auto dib = ReadDib(p + 22, s - 22, nullptr, 0, true)) {
            // Source rows are counted from the bottom of a bottom-up bitmap.
            const double sy = dib->TopDown ? i16(5) : dib->Height - i16(5) - i16(3);
            Blit({i16(10), i16(9)}, {i16(10) + i16(8), i16(9) + i16(7)}, &*dib, i16(6), sy, i16(4),
                 i16(3), u32(0));
        }
        return Drawn();
    }
    case META_DIBSTRETCHBLT: {
        // The form without a bitmap is one word longer before the destination.
        if (s + 6 == std::size_t((fn >> 8) + 3) * 2) {
            Blit({i16(10), i16(9)}, {i16(10) + i16(8), i16(9) + i16(7)}, nullptr, 0, 0, 1, 1,
                 u32(0));
            return Drawn();
        }
        if (s < 20) return true;
        if (auto dib = ReadDib(p + 20, s - 20, nullptr, 0, true))
            Blit({i16(9), i16(8)}, {i16(9) + i16(7), i16(8) + i16(6)}, &*dib, i16(5), i16(4),
                 i16(3), i16(2), u32(0));
        return Drawn();
    }
    case META_DIBBITBLT: {
        if (s + 6 == std::size_t((fn >> 8) + 3) * 2) {
            Blit({i16(8), i16(7)}, {i16(8) + i16(6), i16(7) + i16(5)}, nullptr, 0, 0, 1, 1, u32(0));
            return Drawn();
        }
        if (s < 16) return true;
        if (auto dib = ReadDib(p + 16, s - 16, nullptr, 0, true))
            Blit({i16(7), i16(6)}, {i16(7) + i16(5), i16(6) + i16(4)}, &*dib, i16(3), i16(2),
                 i16(5), i16(4), u32(0));
        return Drawn();
    }
    default:
        return true; // not drawn by us: skipped
    }
}

} // namespace pigmentaria::metafile_playback
