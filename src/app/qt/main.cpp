// The desktop program: names the application, creates its windows, shows the splash screen and
// runs until the main window closes. A file named on the command line is opened (a painting) or
// taken to the import (a picture) once the main window is up.
#include "app/data_folder.h"
#include "app/qt/app_windows.h"
#include "editor/qt/tool_icons.h"
#include "editor/window_title.h"

#include <QApplication>
#include <QTimer>

#include <clocale>

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
    main.show();
    const QStringList args = QApplication::arguments();
    if (args.size() > 1) {
        const QString file = args.at(1);
        QTimer::singleShot(0, &main, [&main, file] { main.OpenOrImport(file); });
    }
    return QApplication::exec();
}
