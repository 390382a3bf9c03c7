#pragma once
// The printer the print dialog, its preview and the palette printout go to, and the dialogs that
// choose it: a system printer (through CUPS), or a PDF file when the machine has no printer or
// the user asks for one. Page size and orientation are the chosen printer's.
#include "print/qt/qt_printer.h"

#include <QString>

#include <memory>

class QPrinter;
class QWidget;

namespace pigmentaria {

// The printer dialogs, behind one interface so that tests answer them without a dialog on screen.
class IPrinterDialogs {
public:
    virtual ~IPrinterDialogs() = default;
    // The printer setup ("Change..."): the printer or a PDF file, its paper and orientation, set
    // on `printer`. True when the user confirmed.
    virtual bool SetupPrinter(QPrinter& printer, QWidget* parent) = 0;
    // The print dialog before a print that asks first (the palette printout); false on Cancel.
    virtual bool ConfirmPrint(QPrinter& printer, QWidget* parent) = 0;
    // The PDF file to write, `suggested` offered; empty on Cancel.
    virtual QString ChoosePdfFile(QWidget* parent, const QString& suggested) = 0;
};

// Qt's print dialog and file dialog.
class TQtPrinterDialogs final : public IPrinterDialogs {
public:
    bool SetupPrinter(QPrinter& printer, QWidget* parent) override;
    bool ConfirmPrint(QPrinter& printer, QWidget* parent) override;
    QString ChoosePdfFile(QWidget* parent, const QString& suggested) override;
};

inline constexpr const char* NoPrinterNote = "No printer is installed: printing writes a PDF file.";
inline constexpr const char* PdfPrinterName = "PDF file";

class TPrinterChoice {
public:
    // Starts on the system's default printer, or on a PDF file when there is none or when
    // `systemPrinters` is off (tests, machines without a print service).
    explicit TPrinterChoice(bool systemPrinters = true);
    TPrinterChoice(const TPrinterChoice&) = delete;
    TPrinterChoice& operator=(const TPrinterChoice&) = delete;

    TQtPrinter& Printer() { return *Printer_; }
    const TQtPrinter& Printer() const { return *Printer_; }
    // The machine offered no printer when the choice was made.
    bool NoPrinterInstalled() const { return NoPrinter_; }

    // The printer's name for the dialog's label: the printer, or "PDF file" and the file's name.
    QString PrinterLabel() const;
    // What the dialog says under it: that printing writes a PDF file when there is no printer.
    QString Note() const;

    // "Change...": the setup dialog on the printer, whatever its answer.
    bool Setup(IPrinterDialogs& dialogs, QWidget* parent);
    // Before a job that writes a PDF file: its name, asked with the last one (or `suggested`)
    // offered, unless one is named already and `ask` is off (a print dialog just named it).
    // True when the job may start (at once for a system printer).
    bool ReadyForJob(IPrinterDialogs& dialogs, QWidget* parent, const QString& suggested, bool ask);

private:
    std::unique_ptr<TQtPrinter> Printer_;
    bool NoPrinter_ = false;
};

} // namespace pigmentaria
