#include "editor/qt/import_dialog.h"

#include <QFileInfo>

namespace pigmentaria {

bool TNoImportDialog::ExecuteOnFile(const QString& file) {
    Messages_.Error(QString(NoImportDialogMessage).arg(QFileInfo(file).fileName()).toStdString());
    return false;
}

bool TNoImportDialog::ExecuteOnPicture(std::unique_ptr<TPixelGraphic>) {
    Messages_.Error(QString(NoImportDialogMessage).arg("the clipboard's picture").toStdString());
    return false;
}

} // namespace pigmentaria
