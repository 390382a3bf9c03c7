// The desktop program started where no window system can be reached ends with a message and
// status 1, not with an abort.
#include "test_util.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/wait.h>

namespace pigmentaria {
namespace {

TEST(DesktopStart, WithoutADisplayItSaysSoAndExitsWithStatusOne) {
    test::TTempDir dir;
    const std::filesystem::path log = dir / "stderr.txt";
    // A display number no server listens on, and the X11 platform asked for by name.
    const std::string command = std::string("env -u WAYLAND_DISPLAY DISPLAY=:9731 ") +
                                "QT_QPA_PLATFORM=xcb HOME=" + dir.Path().string() + " '" +
                                PIGMENTARIA_DESKTOP + "' >/dev/null 2>'" + log.string() + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 1);
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("pigmentaria: cannot open the display \":9731\""), std::string::npos)
        << text.str();
}

} // namespace
} // namespace pigmentaria
