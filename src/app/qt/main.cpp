// The desktop program: names the application, creates its windows, shows the splash screen and
// runs until the main window closes. A file named on the command line is opened (a painting) or
// taken to the import (a picture) once the main window is up, after a recovery copy left by a
// crash has been offered back.
#include "app/data_folder.h"
#include "app/qt/app_windows.h"
#include "app/qt/recovery_watcher.h"
#include "editor/qt/tool_icons.h"
#include "editor/window_title.h"

#include <QApplication>
#include <QTimer>

#include <clocale>
#include <cstdlib>
#include <string_view>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("pigmentaria");
    QGuiApplication::setDesktopFileName("pigmentaria");
    QApplication::setWindowIcon(pigmentaria::ApplicationIcon());
    // Qt has set the user's locale; files and numbers are read and written locale-free anyway.
    std::setlocale(LC_ALL, "");

    const auto data = pigmentaria::DataFolderForProgram(pigmentaria::RunningExecutable())
                          .value_or(std::filesystem::path());
    pigmentaria::TAppWindows windows(data);
    windows.Help().InstallF1();

    windows.SplashScreen().ShowModal();
    pigmentaria::TVectorForm& main = windows.VectorForm();
    pigmentaria::TRecoveryWatcher recovery(main, pigmentaria::RecoveryFolder());
    main.show();
    recovery.CheckAtStart();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        const QString file = args.at(1);
        QTimer::singleShot(0, &main, [&main, file] { main.OpenOrImport(file); });
    }
    // For the test of recovery after a killed process: an edit made as a user would, once the
    // painting given is open.
    if (const char* edit = std::getenv("PIGMENTARIA_TEST_EDIT");
        edit && std::string_view(edit) == "delete-all")
        QTimer::singleShot(0, &main, [&main] {
            main.Document().SelectAll();
            main.Document().DeleteSelection();
        });
    return QApplication::exec();
}
