#pragma once
// Answers for the tools' own dialogs (colour, export file, palette file, palette description),
// queued by a test, and presses on the main window's viewer.
#include "editor/qt/tool_dialogs.h"
#include "image/qt/pg_image.h"

#include <QCoreApplication>
#include <QMouseEvent>

#include <deque>

namespace pigmentaria::test {

class TScriptedToolDialogs final : public IToolDialogs {
public:
    std::optional<TColor> ChooseColor(TColor initial, bool) override {
        ColorAsked.push_back(initial);
        return Take(Colors);
    }
    QString ChooseExportFile(const QString&, const QStringList& filters) override {
        ExportFilters = filters;
        return Take(ExportFiles).value_or(QString());
    }
    QString ChoosePaletteFile(const QString& folder, const QString&) override {
        PaletteFolders.push_back(folder);
        return Take(PaletteFiles).value_or(QString());
    }
    std::optional<QString> AskPaletteDescription(const QString& preset) override {
        DescriptionPresets.push_back(preset);
        return Take(Descriptions);
    }

    std::deque<std::optional<TColor>> Colors;
    std::deque<std::optional<QString>> ExportFiles, PaletteFiles, Descriptions;
    std::vector<TColor> ColorAsked;
    std::vector<QString> PaletteFolders, DescriptionPresets;
    QStringList ExportFilters;

private:
    template <class T> static std::optional<T> Take(std::deque<std::optional<T>>& q) {
        if (q.empty()) return std::nullopt;
        auto v = q.front();
        q.pop_front();
        return v;
    }
};

// A left press on the viewer at a pixel of the rendered painting.
inline void PressViewer(TPGImage* v, QPoint box, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    const QPoint at = v->BoxToViewport(box);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at),
                      v->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::LeftButton,
                      mods);
    QCoreApplication::sendEvent(v->viewport(), &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(at),
                        v->viewport()->mapToGlobal(QPointF(at)), Qt::LeftButton, Qt::NoButton,
                        mods);
    QCoreApplication::sendEvent(v->viewport(), &release);
}

} // namespace pigmentaria::test
