#include "editor/zoom_rules.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pigmentaria {

bool ZoomLevelAllowed(int width, int height, double factor) {
    return width * factor < ZoomSideLimit && height * factor < ZoomSideLimit;
}

std::optional<int> ZoomLevelIndex(double factor) {
    for (std::size_t i = 0; i < ZoomLevels.size(); ++i)
        if (std::fabs(ZoomLevels[i].Factor - factor) < 1e-9) return static_cast<int>(i);
    return std::nullopt;
}

double SteppedZoomLevel(double zoom, int direction, int width, int height) {
    double best = zoom;
    for (const TZoomLevel& l : ZoomLevels) {
        if (!ZoomLevelAllowed(width, height, l.Factor)) continue;
        const bool beyond = direction > 0 ? l.Factor > zoom + 1e-9 : l.Factor < zoom - 1e-9;
        if (beyond && (best == zoom || std::fabs(l.Factor - zoom) < std::fabs(best - zoom)))
            best = l.Factor;
    }
    return best;
}

std::optional<double> ReadZoomNumber(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t'))
        ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t'))
        --e;
    std::string s = text.substr(b, e - b);
    if (s.empty()) return std::nullopt;
    for (char& c : s)
        if (c == ',') c = '.';
    // from_chars reads the C form whatever the process locale says.
    double v = 0;
    const auto [end, ec] =
        std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    if (ec != std::errc() || end != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string FormatZoomNumber(double value, char decimalPoint) {
    if (!std::isfinite(value)) return "0";
    // Rounded to the fourth decimal first, so that 33.33335 and its neighbours agree.
    std::string s = FormatFixed(std::round(value * 10000.0) / 10000.0, 4, '.');
    while (!s.empty() && s.back() == '0')
        s.pop_back();
    if (!s.empty() && s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    for (char& c : s)
        if (c == '.') c = decimalPoint;
    return s;
}

namespace {

std::string Whole(double v) {
    if (!std::isfinite(v) || std::fabs(v) > 2e9) return "0";
    return std::to_string(static_cast<long long>(std::trunc(v)));
}

} // namespace

TZoomFields InitialZoomFields(int boxHeight, int boxWidth, double zoom, char decimalPoint) {
    return {std::to_string(boxHeight), std::to_string(boxWidth),
            FormatZoomNumber(zoom * 100.0, decimalPoint)};
}

TZoomFields ZoomFieldChanged(const TZoomFields& fields, TZoomField changed, int width, int height,
                             char decimalPoint) {
    TZoomFields f = fields;
    // Without a picture size there is nothing to keep in proportion.
    if (width <= 0 || height <= 0) return f;
    switch (changed) {
    case TZoomField::Height:
        if (const auto h = ReadZoomNumber(f.Height)) {
            f.Width = Whole(*h * width / height);
            f.Percent = FormatZoomNumber(*h / height * 100.0, decimalPoint);
        }
        break;
    case TZoomField::Width:
        if (const auto w = ReadZoomNumber(f.Width)) {
            f.Height = Whole(*w * height / width);
            f.Percent = FormatZoomNumber(*w / width * 100.0, decimalPoint);
        }
        break;
    case TZoomField::Percent:
        if (const auto p = ReadZoomNumber(f.Percent)) {
            f.Width = Whole(*p * 0.01 * width);
            f.Height = Whole(*p * 0.01 * height);
        }
        break;
    }
    return f;
}

bool ZoomOkEnabled(const TZoomFields& fields) {
    const auto h = ReadZoomNumber(fields.Height);
    const auto w = ReadZoomNumber(fields.Width);
    const auto p = ReadZoomNumber(fields.Percent);
    if (!h || !w || !p) return false;
    return *p > 1 && *h < ZoomSideLimit && *w < ZoomSideLimit;
}

std::optional<double> ZoomFromFields(const TZoomFields& fields) {
    if (!ZoomOkEnabled(fields)) return std::nullopt;
    return *ReadZoomNumber(fields.Percent) * 0.01;
}

double FitZoom(int width, int height, int boxWidth, int boxHeight) {
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) return 1.0;
    const double fit = std::min(
        {1.0, static_cast<double>(boxWidth) / width, static_cast<double>(boxHeight) / height});
    return std::max(0.0001, std::floor(fit * 10000) / 10000);
}

} // namespace pigmentaria
