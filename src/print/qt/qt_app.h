#pragma once
// Qt's drawing and printing need a GUI application object; command-line runs without a display
// get one on the offscreen platform.

namespace pigmentaria {

// Creates the application object once if none exists yet; it lives until the program ends.
void EnsureQtGui();

} // namespace pigmentaria
