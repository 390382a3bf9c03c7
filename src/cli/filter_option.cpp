#include "cli/filter_option.h"

#include "platform/text_parse.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace pigmentaria::cli {

namespace {

double ParseNumber(const std::string& filter, const std::string& key, const std::string& value) {
    const auto v = ParseReal(value);
    if (!v)
        throw std::invalid_argument("filter " + filter + ": " + key + "=" + value +
                                    " is not a number");
    return *v;
}

bool ParseSwitch(const std::string& filter, const std::string& key, const std::string& value,
                 const char* on, const char* off) {
    const std::string v = ToLower(value);
    if (v == on) return true;
    if (v == off) return false;
    throw std::invalid_argument("filter " + filter + ": " + key + " takes " + on + " or " + off);
}

TDistributionShape ParseShape(const std::string& filter, const std::string& value) {
    const std::string v = ToLower(value);
    if (v == "gaussian") return dsGaussian;
    if (v == "tent") return dsTent;
    if (v == "rect") return dsRect;
    throw std::invalid_argument("filter " + filter + ": shape takes gaussian, tent or rect");
}

void SetConvolution(TConvolutionSettings& c, const std::string& filter, const std::string& key,
                    const std::string& value) {
    if (key == "sigma")
        c.StdDeviation = ParseNumber(filter, key, value);
    else if (key == "strength")
        c.Strength = ParseNumber(filter, key, value);
    else if (key == "shape")
        c.Shape = ParseShape(filter, value);
    else if (key == "distance")
        c.UseDistance = ParseSwitch(filter, key, value, "on", "off");
    else
        throw std::invalid_argument("filter " + filter + " has no setting \"" + key + "\"");
}

void SetTriple(int (&values)[3], const char* const names[3], const std::string& filter,
               const std::string& key, const std::string& value) {
    for (int i = 0; i < 3; ++i)
        if (key == names[i]) {
            values[i] = static_cast<int>(std::lround(ParseNumber(filter, key, value)));
            return;
        }
    throw std::invalid_argument("filter " + filter + " has no setting \"" + key + "\"");
}

} // namespace

TFilterKind ParseFilterOption(const std::string& text, TFilterSettings& s) {
    const std::size_t colon = text.find(':');
    const std::string name = ToLower(text.substr(0, colon));
    const auto kind = FilterKindFromName(name);
    if (!kind) throw std::invalid_argument("unknown filter \"" + name + "\"");
    if (colon == std::string::npos) return *kind;
    std::string rest = text.substr(colon + 1);
    std::size_t start = 0;
    while (start <= rest.size()) {
        const std::size_t comma = std::min(rest.find(',', start), rest.size());
        const std::string item = rest.substr(start, comma - start);
        start = comma + 1;
        if (item.empty()) continue;
        const std::size_t eq = item.find('=');
        if (eq == std::string::npos)
            throw std::invalid_argument("filter " + name + ": \"" + item +
                                        "\" is not SETTING=VALUE");
        const std::string key = ToLower(item.substr(0, eq)), value = item.substr(eq + 1);
        static const char* const rgb[] = {"r", "g", "b"};
        static const char* const cmy[] = {"c", "m", "y"};
        static const char* const ycc[] = {"y", "cb", "cr"};
        static const char* const hls[] = {"h", "l", "s"};
        static const char* const hsv[] = {"h", "s", "v"};
        switch (*kind) {
        case TFilterKind::Smooth:
            SetConvolution(s.Smooth, name, key, value);
            break;
        case TFilterKind::Sharpen:
            SetConvolution(s.Sharpen, name, key, value);
            break;
        case TFilterKind::Detail:
            SetConvolution(s.Detail, name, key, value);
            break;
        case TFilterKind::Contour:
            if (key == "background")
                s.ContourWhiteBackground = ParseSwitch(name, key, value, "white", "black");
            else
                SetConvolution(s.Contour, name, key, value);
            break;
        case TFilterKind::Blur:
            if (key == "radius")
                s.BlurRadius = ParseNumber(name, key, value);
            else if (key == "strength")
                s.BlurStrength = ParseNumber(name, key, value);
            else
                throw std::invalid_argument("filter blur has no setting \"" + key + "\"");
            break;
        case TFilterKind::GrayScale:
            if (key != "weighting")
                throw std::invalid_argument("filter grayscale has no setting \"" + key + "\"");
            s.GrayRGBWeighting = ParseSwitch(name, key, value, "on", "off");
            break;
        case TFilterKind::BCG:
            if (key == "brightness")
                s.Brightness = static_cast<int>(std::lround(ParseNumber(name, key, value)));
            else if (key == "contrast")
                s.Contrast = ParseNumber(name, key, value);
            else if (key == "gamma")
                s.Gamma = ParseNumber(name, key, value);
            else if (key == "apply")
                s.BCGUseY = ParseSwitch(name, key, value, "y", "rgb");
            else
                throw std::invalid_argument("filter bcg has no setting \"" + key + "\"");
            break;
        case TFilterKind::RGB:
            SetTriple(s.RGB, rgb, name, key, value);
            break;
        case TFilterKind::CMY:
            SetTriple(s.CMY, cmy, name, key, value);
            break;
        case TFilterKind::YCbCr:
            SetTriple(s.YCbCr, ycc, name, key, value);
            break;
        case TFilterKind::HLS:
            SetTriple(s.HLS, hls, name, key, value);
            break;
        case TFilterKind::HSV:
            SetTriple(s.HSV, hsv, name, key, value);
            break;
        case TFilterKind::Negative:
            throw std::invalid_argument("filter negative has no settings");
        }
    }
    return *kind;
}

} // namespace pigmentaria::cli
