// The desktop program: names the application, creates its windows, shows the splash screen and
// runs until the main window closes. A file named on the command line is opened (a painting) or
// taken to the import (a picture) once the main window is up, after a recovery copy left by a
// crash has been offered back.
#include "app/data_folder.h"
#include "app/qt/app_windows.h"
#include "app/qt/recovery_watcher.h"
#include "app/start_failure.h"
#include "editor/qt/tool_icons.h"
#include "editor/window_title.h"
#include "platform/qt/translation.h"

#include <QApplication>
#include <QLocale>
#include <QTimer>
#include <QTranslator>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

// Qt ends a start whose platform cannot be initialised (most often: no display reachable) with a
// fatal message, that is an abort. While the application object is being made, a fatal message is
// the window system missing, and the program says so and exits instead.
QtMessageHandler QtHandler = nullptr;

void StartMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n%s\n", qPrintable(qFormatLogMessage(type, context, message)),
                     pigmentaria::NoWindowSystemText(std::getenv("DISPLAY")).c_str());
        std::fflush(stderr);
        std::_Exit(pigmentaria::NoWindowSystemExitCode);
    }
    if (QtHandler)
        QtHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

} // namespace

int main(int argc, char** argv) {
    QtHandler = qInstallMessageHandler(StartMessages);
    QApplication app(argc, argv);
    qInstallMessageHandler(QtHandler);
    QApplication::setApplicationName("pigmentaria");
    QGuiApplication::setDesktopFileName("pigmentaria");
    QApplication::setWindowIcon(pigmentaria::ApplicationIcon());
    // Qt has set the user's locale; files and numbers are read and written locale-free anyway.
    std::setlocale(LC_ALL, "");

    const auto data = pigmentaria::DataFolderForProgram(pigmentaria::RunningExecutable())
                          .value_or(std::filesystem::path());
    // The windows in the user's language, before the first of them is made.
    const auto translation = pigmentaria::InstallTranslation(
        data / pigmentaria::TranslationFolderName, QLocale::system());
    pigmentaria::TWindowTranslator windowTranslator;
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
