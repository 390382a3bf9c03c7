#include "print/qt/qt_app.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace pigmentaria {

void EnsureQtGui() {
    if (QCoreApplication::instance()) return;
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
        !std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // Without a session (a terminal over ssh, CI) Qt complains about the missing runtime folder
    // on every run; a private one of our own keeps it quiet.
    if (!std::getenv("XDG_RUNTIME_DIR")) {
        const std::string runtime = "/tmp/pigmentaria-runtime-" + std::to_string(getuid());
        struct stat st {};
        if (mkdir(runtime.c_str(), 0700) == 0 ||
            (stat(runtime.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()))
            setenv("XDG_RUNTIME_DIR", runtime.c_str(), 0);
    }
    static int argc = 1;
    static char name[] = "pigmentaria";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace pigmentaria
