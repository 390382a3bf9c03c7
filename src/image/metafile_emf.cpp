// The records of an enhanced metafile, played onto the raster.
#include "image/metafile_playback.h"

namespace pigmentaria::metafile_playback {

void TPlayer::PlayEmf() {
    const std::uint8_t* d = M_.Data.data();
    const std::size_t n = M_.Data.size();
    // The frame, on the reference device, is stretched over the whole target.
    const double devX = GetI32(d, n, 72), devY = GetI32(d, n, 76);
    const double mmX = GetI32(d, n, 80), mmY = GetI32(d, n, 84);
    double fl = 0, ft = 0, fw = 0, fh = 0;
    if (devX > 0 && devY > 0 && mmX > 0 && mmY > 0) {
        fl = GetI32(d, n, 24) * devX / (mmX * 100.0);
        ft = GetI32(d, n, 28) * devY / (mmY * 100.0);
        fw = (double(GetI32(d, n, 32)) - GetI32(d, n, 24)) * devX / (mmX * 100.0);
        fh = (double(GetI32(d, n, 36)) - GetI32(d, n, 28)) * devY / (mmY * 100.0);
        DevicePpi_ = devX * 25.4 / mmX;
    }
    if (!(std::abs(fw) >= 0.5 && std::abs(fh) >= 0.5)) {
        fl = GetI32(d, n, 8);
        ft = GetI32(d, n, 12);
        fw = double(GetI32(d, n, 16)) - fl + 1;
        fh = double(GetI32(d, n, 20)) - ft + 1;
    }
    if (!(std::abs(fw) >= 0.5 && std::abs(fh) >= 0.5)) return;
    OutSx_ = Target_.Width() / fw;
    OutSy_ = Target_.Height() / fh;
    OutOx_ = -fl * OutSx_;
    OutOy_ = -ft * OutSy_;
    Objects_.resize(std::min<std::size_t>(GetU16(d, n, 56), MaxObjects));
    std::size_t at = GetU32(d, n, 4);
    while (at + 8 <= n) {
        const std::uint32_t type = GetU32(d, n, at), size = GetU32(d, n, at + 4);
        if (size < 8 || size > n - at) break;
        if (type == EMR_EOF) break;
        if (!EmfRecord(type, d + at, size)) break;
        at += size;
    }
}

std::vector<TXY> TPlayer::EmfPoints(const std::uint8_t* p, std::size_t s, std::size_t at,
                                    std::size_t count, bool small) const {
    std::vector<TXY> pts;
    const std::size_t each = small ? 4 : 8;
    if (at > s || (s - at) / each < count) return pts;
    pts.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        if (small)
            pts.push_back({double(GetI16(p, s, at + 4 * i)), double(GetI16(p, s, at + 4 * i + 2))});
        else
            pts.push_back({double(GetI32(p, s, at + 8 * i)), double(GetI32(p, s, at + 8 * i + 4))});
    }
    return pts;
}

std::optional<TDib> TPlayer::EmfDib(const std::uint8_t* p, std::size_t s, std::size_t offInfo,
                                    std::size_t cbInfo, std::size_t offBits,
                                    std::size_t cbBits) const {
    if (offInfo > s || cbInfo > s - offInfo || offBits > s || cbBits > s - offBits || cbInfo == 0)
        return std::nullopt;
    return ReadDib(p + offInfo, cbInfo, p + offBits, cbBits, false);
}

void TPlayer::PolyBezier(std::vector<TXY> pts, bool fromCurrent) {
    std::vector<TXY> flat;
    TXY start = fromCurrent ? Dc_.Current : (pts.empty() ? TXY{} : pts[0]);
    const std::size_t first = fromCurrent ? 0 : 1;
    if (!fromCurrent) flat.push_back(start);
    for (std::size_t i = first; i + 2 < pts.size(); i += 3) {
        Bezier(flat, start, pts[i], pts[i + 1], pts[i + 2]);
        start = pts[i + 2];
    }
    if (fromCurrent) {
        LinesFromCurrent(flat);
    } else if (!flat.empty()) {
        Figure(Out(flat), false, false);
    }
}

bool TPlayer::EmfRecord(std::uint32_t type, const std::uint8_t* p, std::size_t s) {
    auto i32 = [&](std::size_t at) { return double(GetI32(p, s, at)); };
    auto u32 = [&](std::size_t at) { return GetU32(p, s, at); };
    switch (type) {
    case EMR_SETWINDOWEXTEX:
        Dc_.WEx = i32(8), Dc_.WEy = i32(12);
        return true;
    case EMR_SETWINDOWORGEX:
        Dc_.WOx = i32(8), Dc_.WOy = i32(12);
        return true;
    case EMR_SETVIEWPORTEXTEX:
        Dc_.VEx = i32(8), Dc_.VEy = i32(12);
        return true;
    case EMR_SETVIEWPORTORGEX:
        Dc_.VOx = i32(8), Dc_.VOy = i32(12);
        return true;
    case EMR_SCALEVIEWPORTEXTEX:
        if (i32(12) != 0 && i32(20) != 0)
            Dc_.VEx = Dc_.VEx * i32(8) / i32(12), Dc_.VEy = Dc_.VEy * i32(16) / i32(20);
        return true;
    case EMR_SCALEWINDOWEXTEX:
        if (i32(12) != 0 && i32(20) != 0)
            Dc_.WEx = Dc_.WEx * i32(8) / i32(12), Dc_.WEy = Dc_.WEy * i32(16) / i32(20);
        return true;
    case EMR_SETMAPMODE:
        if (u32(8) >= MM_TEXT && u32(8) <= MM_ANISOTROPIC) Dc_.MapMode = static_cast<int>(u32(8));
        return true;
    case EMR_SETROP2:
        Dc_.Mix = std::clamp<int>(static_cast<int>(u32(8)), 1, 16);
        return true;
    case EMR_SETBKMODE:
        Dc_.BkMode = static_cast<int>(u32(8));
        return true;
    case EMR_SETBKCOLOR:
        Dc_.BkColor = Color(u32(8));
        return true;
    case EMR_SAVEDC:
        SaveDc();
        return true;
    case EMR_RESTOREDC:
        RestoreDc(GetI32(p, s, 8));
        return true;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM: {
        double m[6];
        for (int i = 0; i < 6; ++i) {
            m[i] = GetF32(p, s, 8 + 4 * std::size_t(i));
            if (!std::isfinite(m[i]) || std::abs(m[i]) > 1e7) return true;
        }
        const std::uint32_t mode = type == EMR_SETWORLDTRANSFORM ? 4 : u32(32);
        double& a = Dc_.M11;
        double& b = Dc_.M12;
        double& c = Dc_.M21;
        double& d = Dc_.M22;
        if (mode == 1) { // identity
            a = d = 1, b = c = Dc_.Dx = Dc_.Dy = 0;
        } else if (mode == 2) { // left multiply: new = m × current
            const double na = m[0] * a + m[1] * c, nb = m[0] * b + m[1] * d;
            const double nc = m[2] * a + m[3] * c, nd = m[2] * b + m[3] * d;
            const double ndx = m[4] * a + m[5] * c + Dc_.Dx, ndy = m[4] * b + m[5] * d + Dc_.Dy;
            a = na, b = nb, c = nc, d = nd, Dc_.Dx = ndx, Dc_.Dy = ndy;
        } else if (mode == 3) { // right multiply: new = current × m
            const double na = a * m[0] + b * m[2], nb = a * m[1] + b * m[3];
            const double nc = c * m[0] + d * m[2], nd = c * m[1] + d * m[3];
            const double ndx = Dc_.Dx * m[0] + Dc_.Dy * m[2] + m[4];
            const double ndy = Dc_.Dx * m[1] + Dc_.Dy * m[3] + m[5];
            a = na, b = nb, c = nc, d = nd, Dc_.Dx = ndx, Dc_.Dy = ndy;
        } else if (mode == 4) { // set
            a = m[0], b = m[1], c = m[2], d = m[3], Dc_.Dx = m[4], Dc_.Dy = m[5];
        }
        return true;
    }
    case EMR_CREATEPEN: {
        TObject* o = Slot(u32(8));
        if (!o) return true;
        *o = TObject();
        o->Kind = TObject::okPen;
        o->Pen.Null = (u32(12) & 0x0F) == 5;
        o->Pen.Width = i32(16);
        o->Pen.Color = Color(u32(24));
        return true;
    }
    case EMR_EXTCREATEPEN: {
        TObject* o = Slot(u32(8));
        if (!o) return true;
        *o = TObject();
        o->Kind = TObject::okPen;
        const std::uint32_t style = u32(28);
        o->Pen.Null = (style & 0x0F) == 5 || u32(36) == 1;
        // Cosmetic pens are one pixel whatever their width says.
        o->Pen.Width = (style & 0x10000) ? i32(32) : 0;
        o->Pen.Color = Color(u32(40));
        return true;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        TObject* o = Slot(u32(8));
        if (!o) return true;
        *o = TObject();
        o->Kind = TObject::okBrush;
        o->Brush = MakeBrush(u32(12), u32(16), u32(20));
        return true;
    }
    case EMR_CREATEDIBPATTERNBRUSHPT:
    case EMR_CREATEMONOBRUSH: {
        TObject* o = Slot(u32(8));
        if (!o) return true;
        *o = TObject();
        o->Kind = TObject::okBrush;
        o->Brush = PatternBrush(EmfDib(p, s, u32(16), u32(20), u32(24), u32(28)));
        return true;
    }
    case EMR_CREATEPALETTE: {
        TObject* o = Slot(u32(8));
        if (!o) return true;
        *o = TObject();
        o->Kind = TObject::okPalette;
        o->Palette = PaletteEntries(p, s, 16, GetU16(p, s, 14));
        return true;
    }
    case EMR_SELECTOBJECT: {
        const std::uint32_t ih = u32(8);
        if (ih & 0x80000000u) {
            StockObject(ih & 0x7FFFFFFF);
        } else {
            Select(ih);
        }
        return true;
    }
    case EMR_DELETEOBJECT:
        if (u32(8) < Objects_.size()) Objects_[u32(8)] = TObject();
        return true;
    case EMR_INTERSECTCLIPRECT:
        IntersectClip({i32(8), i32(12)}, {i32(16), i32(20)});
        return true;
    case EMR_EXTSELECTCLIPRGN:
        if (u32(12) == 5) { // copy: no region resets, a region clips to its bounds
            ResetClip();
            if (u32(8) >= 32 && s >= 48) {
                // Region rectangles are in device units of the reference device.
                const TXY a{i32(32) * OutSx_ + OutOx_, i32(36) * OutSy_ + OutOy_};
                const TXY b{i32(40) * OutSx_ + OutOx_, i32(44) * OutSy_ + OutOy_};
                Dc_.ClipL = Pixel(a.X), Dc_.ClipT = Pixel(a.Y);
                Dc_.ClipR = Pixel(b.X), Dc_.ClipB = Pixel(b.Y);
            }
        }
        return true;
    case EMR_MOVETOEX:
        Dc_.Current = {i32(8), i32(12)};
        if (InPath_) PathOpen_ = false;
        return true;
    case EMR_LINETO:
        LinesFromCurrent({{i32(8), i32(12)}});
        return Drawn();
    case EMR_POLYGON:
    case EMR_POLYGON16:
    case EMR_POLYLINE:
    case EMR_POLYLINE16: {
        const bool small = type == EMR_POLYGON16 || type == EMR_POLYLINE16;
        auto pts = EmfPoints(p, s, 28, u32(24), small);
        Figure(Out(pts), type == EMR_POLYGON || type == EMR_POLYGON16, true);
        return Drawn();
    }
    case EMR_POLYLINETO:
    case EMR_POLYLINETO16:
        LinesFromCurrent(EmfPoints(p, s, 28, u32(24), type == EMR_POLYLINETO16));
        return Drawn();
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIER16:
        PolyBezier(EmfPoints(p, s, 28, u32(24), type == EMR_POLYBEZIER16), false);
        return Drawn();
    case EMR_POLYBEZIERTO:
    case EMR_POLYBEZIERTO16:
        PolyBezier(EmfPoints(p, s, 28, u32(24), type == EMR_POLYBEZIERTO16), true);
        return Drawn();
    case EMR_POLYPOLYGON:
    case EMR_POLYPOLYGON16:
    case EMR_POLYPOLYLINE:
    case EMR_POLYPOLYLINE16: {
        const bool small = type == EMR_POLYPOLYGON16 || type == EMR_POLYPOLYLINE16;
        const std::size_t rings = u32(24);
        if (rings > s / 4) return true;
        std::size_t at = 32 + 4 * rings;
        std::vector<std::vector<TXY>> all;
        for (std::size_t i = 0; i < rings; ++i) {
            const std::size_t count = u32(32 + 4 * i);
            auto pts = EmfPoints(p, s, at, count, small);
            if (pts.size() != count) break;
            all.push_back(Out(pts));
            at += count * (small ? 4 : 8);
        }
        if (type == EMR_POLYPOLYGON || type == EMR_POLYPOLYGON16) {
            if (InPath_) {
                for (auto& r : all)
                    PathFigures_.push_back({std::move(r), true});
            } else {
                DrawRings(all, true, true);
            }
        } else {
            for (auto& r : all)
                Figure(std::move(r), false, false);
        }
        return Drawn();
    }
    case EMR_RECTANGLE:
        Figure(Rect(i32(8), i32(12), i32(16), i32(20)), true, true);
        return Drawn();
    case EMR_ROUNDRECT:
        Figure(RoundRect(i32(8), i32(12), i32(16), i32(20), i32(24), i32(28)), true, true);
        return Drawn();
    case EMR_ELLIPSE:
        Figure(Ellipse(i32(8), i32(12), i32(16), i32(20)), true, true);
        return Drawn();
    case EMR_ARC:
    case EMR_CHORD:
    case EMR_PIE:
        Arc(i32(8), i32(12), i32(16), i32(20), {i32(24), i32(28)}, {i32(32), i32(36)},
            type == EMR_ARC     ? 0
            : type == EMR_CHORD ? 1
                                : 2);
        return Drawn();
    case EMR_SETPIXELV: {
        ApplyClip();
        const TPoint q = ToPixel({i32(8), i32(12)});
        Surface_.SetPixel(q.X, q.Y, Color(u32(16)));
        return Drawn();
    }
    case EMR_BEGINPATH:
        PathFigures_.clear();
        InPath_ = true;
        PathOpen_ = false;
        return true;
    case EMR_ENDPATH:
        InPath_ = false;
        return true;
    case EMR_CLOSEFIGURE:
        if (!PathFigures_.empty()) {
            PathFigures_.back().Closed = true;
            if (!PathFigures_.back().Points.empty()) Dc_.Current = PathFigures_.back().Points[0];
        }
        PathOpen_ = false;
        return true;
    case EMR_FILLPATH:
        PathEnded(true, false);
        return Drawn();
    case EMR_STROKEANDFILLPATH:
        PathEnded(true, true);
        return Drawn();
    case EMR_STROKEPATH:
        PathEnded(false, true);
        return Drawn();
    case EMR_SELECTCLIPPATH:
    case EMR_ABORTPATH:
        PathFigures_.clear();
        InPath_ = false;
        return true;
    case EMR_BITBLT:
    case EMR_STRETCHBLT: {
        if (s < 100) return true;
        const TXY d0{i32(8 + 16), i32(12 + 16)};
        const TXY d1{d0.X + i32(16 + 16), d0.Y + i32(20 + 16)};
        const std::uint32_t rop = u32(40);
        const std::uint32_t cbInfo = u32(88);
        if (cbInfo == 0) {
            Blit(d0, d1, nullptr, 0, 0, 1, 1, rop);
            return Drawn();
        }
        auto dib = EmfDib(p, s, u32(84), cbInfo, u32(92), u32(96));
        if (!dib) return true;
        double sw = i32(16 + 16), sh = i32(20 + 16);
        if (type == EMR_STRETCHBLT && s >= 108) sw = i32(100), sh = i32(104);
        Blit(d0, d1, &*dib, i32(44), i32(48), sw, sh, rop);
        return Drawn();
    }
    case EMR_STRETCHDIBITS:
    case EMR_SETDIBITSTODEVICE: {
        const bool stretch = type == EMR_STRETCHDIBITS;
        if (s < (stretch ? 80u : 76u)) return true;
        auto dib = EmfDib(p, s, u32(48), u32(52), u32(56), u32(60));
        if (!dib) return true;
        const double sw = i32(40), sh = i32(44);
        const double dw = stretch ? i32(72) : sw, dh = stretch ? i32(76) : sh;
        const double sy = dib->TopDown ? i32(36) : dib->Height - i32(36) - sh;
        const TXY d0{i32(24), i32(28)};
        Blit(d0, {d0.X + dw, d0.Y + dh}, &*dib, i32(32), sy, sw, sh,
             stretch ? u32(68) : 0x00CC0020u);
        return Drawn();
    }
    default:
        return true; // not drawn by us: skipped
    }
}

} // namespace pigmentaria::metafile_playback
