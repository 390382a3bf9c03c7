#include "print/template_svg.h"

#include "platform/text_parse.h"

#include <cstdio>

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
    // Vertices are pixel positions: the path runs through pixel centres.
    out += "<g transform=\"translate(0.5 0.5)\" fill=\"#ffffff\" stroke=\"#000000\" "
           "fill-rule=\"evenodd\" stroke-linejoin=\"round\" stroke-width=\"";
    AppendNumber(out, TemplateSvgLineMm / std::min(mmX, mmY));
    out += "\">\n";
    for (const TPaintShape& s : shapes) {
        if (s.Points.empty()) continue;
        out += "<path d=\"M";
        for (std::size_t i = 0; i < s.Points.size(); ++i) {
            if (i == 1) out += " L";
            out += ' ';
            out += std::to_string(s.Points[i].X);
            out += ' ';
            out += std::to_string(s.Points[i].Y);
        }
        out += " Z\"/>\n";
    }
    out += "</g>\n";
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
