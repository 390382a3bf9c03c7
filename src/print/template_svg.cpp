#include "print/template_svg.h"

#include "image/painting_export.h"
#include "platform/text_parse.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <unordered_set>
#include <utility>

namespace pigmentaria {

namespace {

void AppendNumber(std::string& out, double v) {
    out += FormatFixed(v, 3);
}

// Text of a label: digits as number placement writes them, anything else escaped.
void AppendEscaped(std::string& out, const std::string& text) {
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
}

// Every segment of the shapes' outlines once, whichever way round a shape runs it, as runs of
// segments in the shapes' order; the frame shape behind them all is left out.
void AppendBorders(std::string& out, const TShapeList& shapes) {
    struct TSegmentHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& k) const {
            return std::hash<std::uint64_t>()(k.first * 0x9E3779B97F4A7C15ULL ^ k.second);
        }
    };
    std::unordered_set<std::pair<std::uint64_t, std::uint64_t>, TSegmentHash> drawn;
    auto key = [](TShapePoint p) {
        return (std::uint64_t(std::uint32_t(p.X)) << 32) | std::uint32_t(p.Y);
    };
    std::vector<TShapePoint> run;
    auto flush = [&] {
        if (run.size() >= 2) {
            if (out.back() != '"') out += ' ';
            AppendSvgPathData(out, run, false);
        }
        run.clear();
    };
    for (const TPaintShape& s : shapes) {
        if (&s == shapes.First() || s.Points.size() < 2) continue;
        const std::size_t n = s.Points.size();
        for (std::size_t i = 0; i < n; ++i) {
            const TShapePoint a = s.Points[i], b = s.Points[(i + 1) % n];
            const std::uint64_t ka = key(a), kb = key(b);
            if (ka == kb || !drawn.insert({std::min(ka, kb), std::max(ka, kb)}).second) {
                flush();
                continue;
            }
            if (run.empty()) run.push_back(a);
            run.push_back(b);
        }
        flush();
    }
}

} // namespace

std::string TemplateSvg(const TShapeList& shapes, const std::vector<TPrintLabel>& labels,
                        const TPrintedLabels& printed) {
    const int w = shapes.PaintingWidth(), h = shapes.PaintingHeight();
    const TPaintingPixelSize size = printed.PixelSize();
    // Millimetres per painting pixel, and the unit the drawing's size is given in.
    const bool placed = size.Placed();
    const double mmX = placed ? size.MmX : MmPerInch / 96, mmY = placed ? size.MmY : mmX;
    std::string out;
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"";
    AppendNumber(out, w * mmX);
    out += "mm\" height=\"";
    AppendNumber(out, h * mmY);
    out += "mm\" viewBox=\"0 0 " + std::to_string(w) + " " + std::to_string(h) + "\">\n";
    // Vertices are pixel positions: the path runs through pixel centres. The cells tile the
    // picture, so they are filled first, each its own path for editing elsewhere, and every
    // border is then drawn once, over all of them: where two cells meet they share their points.
    out += "<g transform=\"translate(0.5 0.5)\" fill=\"#ffffff\" stroke=\"none\" "
           "fill-rule=\"evenodd\">\n";
    for (const TPaintShape& s : shapes) {
        if (s.Points.empty()) continue;
        out += "<path d=\"";
        AppendSvgPathData(out, s.Points, true);
        out += "\"/>\n";
    }
    out += "</g>\n";
    out += "<path transform=\"translate(0.5 0.5)\" fill=\"none\" stroke=\"#000000\" "
           "stroke-linejoin=\"round\" stroke-linecap=\"round\" stroke-width=\"";
    AppendNumber(out, TemplateSvgLineMm / std::min(mmX, mmY));
    out += "\" d=\"";
    AppendBorders(out, shapes);
    out += "\"/>\n";
    // Label boxes are in the shapes' coordinates, so they share the shift.
    out += "<g transform=\"translate(0.5 0.5)\" font-family=\"Arial, Liberation Sans, "
           "sans-serif\" font-style=\"italic\" "
           "text-anchor=\"middle\" dominant-baseline=\"central\" fill=\"#000000\">\n";
    for (const TPrintLabel& l : labels) {
        // Points to painting pixels along the height, which the digits' ink fills.
        const double px = printed.DrawnSize(l) * MmPerInch / 72.0 / mmY;
        out += "<text x=\"";
        AppendNumber(out, (l.Left + l.Right) / 2.0);
        out += "\" y=\"";
        AppendNumber(out, (l.Top + l.Bottom) / 2.0);
        out += "\" font-size=\"";
        AppendNumber(out, px);
        out += "\">";
        AppendEscaped(out, l.Text);
        out += "</text>\n";
    }
    out += "</g>\n</svg>\n";
    return out;
}

} // namespace pigmentaria
