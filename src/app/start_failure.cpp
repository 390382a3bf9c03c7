#include "app/start_failure.h"

namespace pigmentaria {

std::string NoWindowSystemText(const char* display) {
    const std::string where = display && *display ? std::string("the display \"") + display + "\""
                                                  : std::string("a display (DISPLAY is not set)");
    return "pigmentaria: cannot open " + where +
           ". The desktop program needs a running X11 or Wayland session; pigmentaria-cli makes "
           "paintings and templates without one.";
}

} // namespace pigmentaria
