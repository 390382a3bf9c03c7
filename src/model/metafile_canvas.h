#pragma once
// A canvas that records what is drawn on it and writes the recording as a Windows metafile (with
// a placeable header, so that other programs give it its size) or as an enhanced metafile.
#include "platform/canvas.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pigmentaria {

class TMetafileCanvas final : public TCanvas {
public:
    // The picture's size in pixels; both formats describe it at 96 pixels to the inch.
    TMetafileCanvas(int width, int height);

    int Width() const { return Width_; }
    int Height() const { return Height_; }

    void Polygon(const TPoint* points, std::size_t count) override;
    using TCanvas::Polygon;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Rectangle(int left, int top, int right, int bottom) override;
    bool IsMetafile() const override { return true; }

    // A Windows metafile behind its 22-byte placeable header. Coordinates beyond the 16-bit range
    // of the format are held at its limits.
    std::vector<std::uint8_t> WindowsMetafile() const;
    // An enhanced metafile.
    std::vector<std::uint8_t> EnhancedMetafile() const;

    // One recorded call with the pen and brush it was drawn with.
    struct TOp {
        enum class TKind { Polygon, MoveTo, LineTo, Rectangle } Kind;
        TPen Pen;
        TBrush Brush;
        std::vector<TPoint> Points;
    };
    const std::vector<TOp>& Ops() const { return Ops_; }

private:
    int Width_;
    int Height_;
    std::vector<TOp> Ops_;
};

} // namespace pigmentaria
