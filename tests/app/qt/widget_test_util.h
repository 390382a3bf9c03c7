#pragma once
// What the window tests share: the application object made before the first test
// (widget_test_env.cpp), answers given in place of the user, the program's objects and windows
// over a temporary folder, and small paintings built in code.
#include "app/qt/app_windows.h"
#include "editor/qt/app_context.h"
#include "editor/qt/form_dialogs.h"
#include "model/painting_file.h"
#include "model/shape.h"
#include "platform/qt/progress_form.h"

#include "../../test_util.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace pigmentaria::test {

// Answers the window's questions from queues; records every message.
class TScriptedDialogs final : public IFormDialogs {
public:
    void Error(const std::string& text) override { Errors.push_back(text); }
    void Warning(const std::string& text) override { Warnings.push_back(text); }
    bool Confirm(const std::string& text) override {
        Warnings.push_back(text);
        return true;
    }
    TSaveAnswer AskYesNoCancel(const QString& text) override {
        Questions.push_back(text.toStdString());
        if (Answers.empty()) return TSaveAnswer::Cancel;
        const TSaveAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    QString ChooseOpenPainting(const QString&) override { return Next(OpenFiles); }
    QString ChooseSavePainting(const QString&, const QString&) override { return Next(SaveFiles); }
    QString ChoosePicture(const QString&) override { return Next(Pictures); }

    std::vector<std::string> Errors, Warnings, Questions;
    std::deque<TSaveAnswer> Answers;
    std::deque<QString> OpenFiles, SaveFiles, Pictures;

private:
    static QString Next(std::deque<QString>& q) {
        if (q.empty()) return {};
        QString s = q.front();
        q.pop_front();
        return s;
    }
};

// Folders that keep the settings file ("kv.ini") and the palette folder in `folder`.
inline TAppFolders FoldersIn(const std::filesystem::path& folder) {
    TAppFolders f;
    f.ProgramFolder = folder;
    f.GetEnv = [](const char*) -> const char* { return nullptr; };
    f.IsWritable = [](const std::filesystem::path&) { return true; };
    return f;
}

// The program's owning objects without any window but the progress window, for a test of one
// window: make it with Context(), which has the job runner.
struct TTestCore {
    TTestCore() : Core(FoldersIn(Dir.Path()), Dialogs), Jobs(Progress) {
        Core.Context.Jobs = &Jobs;
    }
    TAppContext& Context() { return Core.Context; }
    TTempDir Dir;
    TScriptedDialogs Dialogs;
    TAppCore Core;
    TProgressForm Progress;
    TJobRunner Jobs;
};

// Every window of the program as it starts (none shown), over a temporary folder.
struct TTestWindows {
    explicit TTestWindows(const std::filesystem::path& dataFolder = {})
        : Windows(dataFolder, &Dialogs, FoldersIn(Dir.Path())) {}
    TTempDir Dir;
    TScriptedDialogs Dialogs;
    TAppWindows Windows;
};

// A painting of `w` x `h` with a grid of `cols` x `rows` rectangles of different colours.
inline TShapeList GridPainting(int w, int h, int cols, int rows) {
    TShapeList list;
    auto rect = [&](int l, int t, int r, int b, TColor c) {
        auto s = std::make_unique<TPaintShape>();
        s->Color = s->AcquiredColor = c;
        s->Points = {{l, t}, {r, t}, {r, b}, {l, b}};
        s->RecomputeBounds();
        list.Append(std::move(s));
    };
    rect(0, 0, w, h, 0);
    const int cw = w / cols, rh = h / rows;
    for (int j = 0; j < rows; ++j)
        for (int i = 0; i < cols; ++i)
            rect(i * cw + 1, j * rh + 1, (i + 1) * cw - 1, (j + 1) * rh - 1,
                 MakeColor((i * 37) % 256, (j * 53) % 256, ((i + j) * 91) % 256));
    return list;
}

inline void WriteGridPainting(const std::filesystem::path& file, int w, int h, int cols, int rows) {
    WritePaintingFile(file, GridPainting(w, h, cols, rows), "", TPrintLayoutBlock{});
}

// Runs the event loop until `done` holds or the time runs out.
inline bool WaitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Runs `act` once `window` shows (a modal window's loop is running then).
inline void WhenShown(QWidget* window, std::function<void()> act) {
    auto* timer = new QTimer(window);
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, window, [timer, window, act] {
        if (!window->isVisible()) return;
        timer->stop();
        timer->deleteLater();
        act();
    });
    timer->start();
}

} // namespace pigmentaria::test
