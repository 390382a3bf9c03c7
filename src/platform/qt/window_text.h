#pragma once
// Numbers as a window shows them: with the decimal point of the user's language. Files and
// arguments keep their full stop (platform/text_parse.h); only what a person reads on screen
// follows the locale.
namespace pigmentaria {

// The decimal point of the user's locale (QLocale's default), for the text functions that take
// one (FormatGeneral, FormatFixed, ParseReal, PaintLabelText, the print layout's texts). A full
// stop when the locale's point is not one plain character.
char WindowDecimalPoint();

} // namespace pigmentaria
