#pragma once
// Numbers and names as text, the same whatever the user's locale: files and command-line
// arguments always use a full stop for the decimal point, so a painting made in one country reads
// the same in another. What a window shows may follow the user's locale instead: the functions
// take the decimal point to use, a full stop unless told otherwise.
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace pigmentaria {

// A whole decimal number typed by a person: an optional sign and digits, nothing before or
// after; nothing when the text is not one or does not fit.
std::optional<long long> ParseWhole(std::string_view text);

// A finite decimal number: an optional sign, digits with at most one decimal point, an optional
// exponent ("2", "-0.5", ".5", "1e3"), nothing before or after. With another decimal point (a
// window's text in the user's locale) that character stands for the point and a full stop is
// refused.
std::optional<double> ParseReal(std::string_view text, char decimalPoint = '.');

// Up to `digits` significant digits in the shortest of plain or exponent form, trailing zeros
// dropped, as printf's "%.15g" writes it in the C locale: 0.9, 8.5, 1e+20.
std::string FormatGeneral(double value, int digits = 15, char decimalPoint = '.');

// Exactly `decimals` digits after the point, rounded as printf's "%.2f" in the C locale.
std::string FormatFixed(double value, int decimals, char decimalPoint = '.');

// A pattern's "%1", "%2"... replaced by the parts in turn ("Image Size: %1 x %2"). The window
// translates the pattern and fills the same parts in.
std::string FillParts(std::string_view pattern, std::initializer_list<std::string> parts);

// The text without the blanks (spaces, tabs, a line end's CR) at either end.
std::string_view TrimBlanks(std::string_view text);

// Every "key=value" line of a text, LF or CR LF ended: the key without blanks around it, the value
// as written after the first '='. Lines without '=' are skipped.
void ForEachKeyLine(std::string_view text,
                    const std::function<void(std::string_view key, std::string_view value)>& line);

// Letter case of the ASCII letters only: names of options, extensions and keywords compare the
// same in every locale (a Turkish locale maps "I" elsewhere).
std::string ToLower(std::string s);
std::string ToUpper(std::string s);

} // namespace pigmentaria
