#include "platform/text_parse.h"

#include <array>
#include <charconv>
#include <cmath>

namespace pigmentaria {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// from_chars takes a minus sign but no plus sign: a plus sign in front is dropped when a digit
// (or, for reals, a decimal point) follows it.
std::string_view WithoutPlus(std::string_view text, bool real) {
    if (text.size() > 1 && text[0] == '+' && (IsDigit(text[1]) || (real && text[1] == '.')))
        return text.substr(1);
    return text;
}

std::string ReplaceChar(std::string text, char from, char to) {
    for (char& c : text)
        if (c == from) c = to;
    return text;
}

} // namespace

std::optional<long long> ParseWhole(std::string_view text) {
    text = WithoutPlus(text, false);
    if (text.empty()) return std::nullopt;
    long long v = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, v, 10);
    if (ec != std::errc() || at != end) return std::nullopt;
    return v;
}

std::optional<double> ParseReal(std::string_view text, char decimalPoint) {
    std::string own;
    if (decimalPoint != '.') {
        if (text.find('.') != std::string_view::npos) return std::nullopt;
        own = ReplaceChar(std::string(text), decimalPoint, '.');
        text = own;
    }
    text = WithoutPlus(text, true);
    if (text.empty()) return std::nullopt;
    // from_chars would read "inf" and "nan"; a number typed by a person is neither.
    const char first = text[0] == '-' && text.size() > 1 ? text[1] : text[0];
    if (!IsDigit(first) && first != '.') return std::nullopt;
    double v = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, v, std::chars_format::general);
    if (ec != std::errc() || at != end || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string FormatGeneral(double value, int digits, char decimalPoint) {
    std::array<char, 64> buf;
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                         std::chars_format::general, digits);
    std::string text = ec == std::errc() ? std::string(buf.data(), end) : std::string();
    return decimalPoint == '.' ? text : ReplaceChar(std::move(text), '.', decimalPoint);
}

std::string FormatFixed(double value, int decimals, char decimalPoint) {
    // Room for the largest double written out in full, its sign, point and decimals.
    std::array<char, 400> buf;
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                         std::chars_format::fixed, decimals);
    std::string text =
        ec == std::errc() ? std::string(buf.data(), end) : FormatGeneral(value, 17, '.');
    return decimalPoint == '.' ? text : ReplaceChar(std::move(text), '.', decimalPoint);
}

std::string ToLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string ToUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string FillParts(std::string_view pattern, std::initializer_list<std::string> parts) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const std::size_t n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < parts.size()) {
                out += *(parts.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

std::string_view TrimBlanks(std::string_view t) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!t.empty() && blank(t.front()))
        t.remove_prefix(1);
    while (!t.empty() && blank(t.back()))
        t.remove_suffix(1);
    return t;
}

void ForEachKeyLine(std::string_view text,
                    const std::function<void(std::string_view key, std::string_view value)>& line) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view l = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        const std::size_t eq = l.find('=');
        if (eq == std::string_view::npos) continue;
        line(TrimBlanks(l.substr(0, eq)), l.substr(eq + 1));
    }
}

} // namespace pigmentaria
