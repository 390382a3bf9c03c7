#pragma once
// What the desktop program says when it cannot reach a window system (no display, a display that
// is not up yet or has gone): a plain error and exit status 1, the way desktop programs end
// there, not an abort with a core dump.
#include <string>

namespace pigmentaria {

inline constexpr int NoWindowSystemExitCode = 1;

// "pigmentaria: cannot open the display ":5" ..." naming the display the environment asked for
// (nullptr or empty when none is set) and the command line program as the way to work without one.
std::string NoWindowSystemText(const char* display);

} // namespace pigmentaria
