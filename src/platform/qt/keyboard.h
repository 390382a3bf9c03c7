#pragma once
// A window whose tool bar buttons have no menu entry of their own is worked from the keyboard by
// tabbing to the buttons, as to any other control.

class QToolBar;

namespace pigmentaria {

// Every button of `bar`, as it stands (not its labels or separators), takes Tab focus (a tool bar's
// buttons take none by default).
void TabThroughToolBar(QToolBar* bar);

} // namespace pigmentaria
