#include "print/qt/printer_choice.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace pigmentaria {

bool TQtPrinterDialogs::SetupPrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle("Printer Setup");
    // Only the printer and its paper: every page is printed.
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

bool TQtPrinterDialogs::ConfirmPrint(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    return dialog.exec() == QDialog::Accepted;
}

QString TQtPrinterDialogs::ChoosePdfFile(QWidget* parent, const QString& suggested) {
    return QFileDialog::getSaveFileName(parent, "Print to PDF File", suggested,
                                        "PDF Files (*.pdf)");
}

TPrinterChoice::TPrinterChoice(bool systemPrinters) {
    const TPaperChoice paper{poPortrait, LocalePaperCode(), 0, 0};
    if (systemPrinters && !QPrinterInfo::availablePrinterNames().isEmpty()) {
        Printer_ = TQtPrinter::System("");
        // A default printer that the print service cannot name is no printer at all.
        if (!Printer_->QtPrinter().isValid() || Printer_->IsPdf()) Printer_.reset();
    }
    if (!Printer_) {
        NoPrinter_ = true;
        Printer_ = TQtPrinter::Pdf("", paper);
    }
}

QString TPrinterChoice::PrinterLabel() const {
    if (!Printer_->IsPdf()) return QString::fromStdString(Printer_->Name());
    const QString file = QString::fromStdString(Printer_->PdfFile());
    if (file.isEmpty()) return PdfPrinterName;
    return QString(PdfPrinterName) + ": " + QFileInfo(file).fileName();
}

QString TPrinterChoice::Note() const {
    return NoPrinter_ && Printer_->IsPdf() ? QString(NoPrinterNote) : QString();
}

bool TPrinterChoice::Setup(IPrinterDialogs& dialogs, QWidget* parent) {
    const bool ok = dialogs.SetupPrinter(Printer_->QtPrinter(), parent);
    Printer_->Adopt();
    return ok;
}

bool TPrinterChoice::ReadyForJob(IPrinterDialogs& dialogs, QWidget* parent,
                                 const QString& suggested, bool ask) {
    if (!Printer_->IsPdf()) return true;
    const QString last = QString::fromStdString(Printer_->PdfFile());
    if (!ask && !last.isEmpty()) return true;
    QString file = dialogs.ChoosePdfFile(parent, last.isEmpty() ? suggested : last);
    if (file.isEmpty()) return false;
    if (QFileInfo(file).suffix().isEmpty()) file += ".pdf";
    Printer_->SetPdfFile(file.toStdString());
    return true;
}

} // namespace pigmentaria
