#pragma once
// The drawing surface of a printed page: the shape-drawing canvas plus text. The printer, a PDF
// file and the preview sheet implement it; the page layout code draws only through it.
#include "platform/canvas.h"

#include <string>

namespace pigmentaria {

struct TPageFont {
    std::string Name = "Arial";
    // Points; the device turns them into pixels at its own resolution.
    int Size = 8;
    bool Bold = false;
    bool Italic = false;
    TColor Color = clBlack;
    friend bool operator==(const TPageFont&, const TPageFont&) = default;
};

class TPageCanvas : public TCanvas {
public:
    const TPageFont& Font() const { return Font_; }
    virtual void SetFont(const TPageFont& font) { Font_ = font; }

    // Text with its top-left corner at (x, y) in the font. A solid brush paints the text's box
    // behind it in the brush colour; a clear brush leaves the background as it is.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;

    // The brush over [left, right) × [top, bottom), no border.
    virtual void FillRect(int left, int top, int right, int bottom) = 0;

protected:
    TPageFont Font_;
};

} // namespace pigmentaria
