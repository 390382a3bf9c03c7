#include "editor/qt/form_dialogs.h"

#include "editor/window_title.h"
#include "platform/qt/translation.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace pigmentaria {

QWidget* TQtFormDialogs::Owner() const {
    return Parent_ ? Parent_ : QApplication::activeWindow();
}

void TQtFormDialogs::Error(const std::string& text) {
    QMessageBox::critical(Owner(), ApplicationTitle, QString::fromStdString(text));
}

void TQtFormDialogs::Warning(const std::string& text) {
    QMessageBox::information(Owner(), ApplicationTitle, QString::fromStdString(text));
}

bool TQtFormDialogs::Confirm(const std::string& text) {
    return QMessageBox::question(Owner(), ApplicationTitle, QString::fromStdString(text),
                                 QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

TSaveAnswer TQtFormDialogs::AskYesNoCancel(const QString& text) {
    const auto answer = QMessageBox::question(
        Owner(), ApplicationTitle, WindowText::TrFilled(text, {SaveChangesPattern}),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
    if (answer == QMessageBox::Yes) return TSaveAnswer::Yes;
    if (answer == QMessageBox::No) return TSaveAnswer::No;
    return TSaveAnswer::Cancel;
}

QString TQtFormDialogs::ChooseOpenPainting(const QString& folder) {
    return QFileDialog::getOpenFileName(Owner(), "Open Painting", folder,
                                        QString(PaintingFilter) + ";;All Files (*)");
}

QString TQtFormDialogs::ChooseSavePainting(const QString& folder, const QString& name) {
    QString chosenFilter = PaintingFilter;
    const QString start = name.isEmpty() ? folder : name;
    const QString file = QFileDialog::getSaveFileName(
        Owner(), "Save As", start,
        QString("%1;;%2;;%3;;%4")
            .arg(PaintingFilter, WindowsMetafileFilter, EnhancedMetafileFilter, SvgDrawingFilter),
        &chosenFilter);
    if (file.isEmpty()) return file;
    return QString::fromStdString(
        SaveNameWithExtension(file.toStdString(), chosenFilter.toStdString()));
}

QString TQtFormDialogs::ChoosePicture(const QString& folder) {
    if (PictureChooser_) return PictureChooser_(folder);
    return QFileDialog::getOpenFileName(
        Owner(), "Import Picture", folder,
        "Pictures (*.bmp *.dib *.rle *.jpg *.jpeg *.jif *.png *.pcx *.pbm *.pgm *.ppm *.tga "
        "*.tif *.tiff *.wmf *.emf);;All Files (*)");
}

} // namespace pigmentaria
