#pragma once
// The zoom menu's limit, and the custom zoom dialog's three fields: typing a
// height, a width or a percentage keeps the other two in proportion to the picture.
#include "image/zoom_levels.h"

#include <array>
#include <optional>
#include <string>

namespace pigmentaria {

// A level is offered only while both rendered sides stay below this.
inline constexpr int ZoomSideLimit = 2500;

// Whether a level may be chosen for a painting of width x height.
bool ZoomLevelAllowed(int width, int height, double factor);

// The fixed level equal to a zoom factor (its index in ZoomLevels), if any.
std::optional<int> ZoomLevelIndex(double factor);

// Zooming in or out by a key (Ctrl+plus, Ctrl+minus): the nearest fixed level above (direction >
// 0) or below the zoom that a painting of width x height allows; the zoom itself when none is left.
double SteppedZoomLevel(double zoom, int direction, int width, int height);

// The zoom that shows a whole painting of width x height in a box of boxWidth x boxHeight, at
// most 100% and in whole hundredths of a percent: a painting larger than the screen (a template,
// on its fine grid) opens whole. 100% when either size is not positive.
double FitZoom(int width, int height, int boxWidth, int boxHeight);

// A number as the user types it: digits with an optional fraction after '.' or ',' (so the
// dialog reads the same whatever the desktop's language), surrounding blanks allowed.
std::optional<double> ReadZoomNumber(const std::string& text);
// A decimal number with up to four decimals and no trailing zeros, with '.' or the decimal point
// given (the window's, in the user's language), never the process locale's.
std::string FormatZoomNumber(double value, char decimalPoint = '.');

enum class TZoomField { Height, Width, Percent };

struct TZoomFields {
    std::string Height;
    std::string Width;
    std::string Percent;
    friend bool operator==(const TZoomFields&, const TZoomFields&) = default;
};

// The dialog as it opens: the picture box's height and width, the zoom as a percentage.
TZoomFields InitialZoomFields(int boxHeight, int boxWidth, double zoom, char decimalPoint = '.');

// After the user changed one field of a picture of width x height: the other two follow it
// (Width and Height truncated; Percent written with `decimalPoint`). A field that does not read as
// a number changes nothing else.
TZoomFields ZoomFieldChanged(const TZoomFields& fields, TZoomField changed, int width, int height,
                             char decimalPoint = '.');

// "Ok" is enabled while Percent is above 1 and Height and Width are both below 2,500; any field
// that does not read as a number disables it.
bool ZoomOkEnabled(const TZoomFields& fields);

// The zoom factor the dialog's "Ok" sets: Percent × 0.01. None while "Ok" is disabled.
std::optional<double> ZoomFromFields(const TZoomFields& fields);

} // namespace pigmentaria
