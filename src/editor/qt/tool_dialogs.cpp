#include "editor/qt/tool_dialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>

namespace pigmentaria {

QWidget* TQtToolDialogs::Owner() const {
    return Parent_ ? Parent_ : QApplication::activeWindow();
}

std::optional<TColor> TQtToolDialogs::ChooseColor(TColor initial, bool fullOpen) {
    // The toolkit's dialog always shows its custom colours; `fullOpen` has nothing to add.
    (void)fullOpen;
    const QColorDialog::ColorDialogOptions options;
    const QColor c = QColorDialog::getColor(
        QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)), Owner(), "Color", options);
    if (!c.isValid()) return std::nullopt;
    return MakeColor(c.red(), c.green(), c.blue());
}

QString ToQtFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf('|');
    if (bar < 0) return filter;
    QString patterns = filter.mid(bar + 1);
    patterns.replace(';', ' ');
    QString name = filter.left(bar);
    // A description that already names its patterns keeps them once.
    if (name.contains('(')) return name;
    return name + " (" + patterns + ")";
}

QString TQtToolDialogs::ChooseExportFile(const QString& folder, const QStringList& filters) {
    QFileDialog dialog(Owner(), "Export Painting", folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("bmp");
    QStringList qt;
    for (const QString& f : filters)
        qt << ToQtFilter(f);
    dialog.setNameFilters(qt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

QString TQtToolDialogs::ChoosePaletteFile(const QString& folder, const QString& filter) {
    QFileDialog dialog(Owner(), "Save Palette", folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix("kvl");
    dialog.setNameFilter(ToQtFilter(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().front();
}

std::optional<QString> TQtToolDialogs::AskPaletteDescription(const QString& preset) {
    if (NameAsker_) return NameAsker_(preset);
    bool ok = false;
    const QString text = QInputDialog::getText(Owner(), "Enter Palette Description", "",
                                               QLineEdit::Normal, preset, &ok);
    if (!ok) return std::nullopt;
    return text;
}

} // namespace pigmentaria
