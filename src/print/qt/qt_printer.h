#pragma once
// The printer on Qt's printing: a CUPS printer by name, or "print to PDF file".
#include "print/printer.h"
#include "print/qt/qt_page_canvas.h"

#include <memory>
#include <string>

class QPainter;
class QPrinter;

namespace pigmentaria {

// Letter where the locale measures in inches, A4 elsewhere.
int LocalePaperCode();

class TQtPrinter final : public IPrinter {
public:
    // A PDF file at `dpi` on a paper code (user sizes from `paper`) and orientation.
    static std::unique_ptr<TQtPrinter> Pdf(const std::string& fileName, const TPaperChoice& paper,
                                           int dpi = DefaultPrinterDpi);
    // A system printer by name; the default printer for an empty name.
    static std::unique_ptr<TQtPrinter> System(const std::string& name);
    ~TQtPrinter() override;

    std::string Name() const override;
    TPrinterMetrics Metrics() const override;
    TPaperChoice Paper() const override;
    void ApplyPaper(const TPaperChoice& paper) override;

    // A PDF job is written to a file beside the one named and takes its name only when the job
    // ends well, so that a failed or cancelled job leaves any former file as it was. Throws
    // std::runtime_error when the job cannot be started (a folder that cannot be written) or
    // cannot be finished.
    void BeginDoc(const std::string& title) override;
    void NewPage() override;
    void EndDoc() override;
    // Cancels the job: a system printer's job is withdrawn, a PDF file being written removed.
    void AbortDoc() override;
    TPageCanvas& Canvas() override;

    // Whether the job goes to a PDF file (a printer dialog may switch between the two).
    bool IsPdf() const;
    std::string PdfFile() const;
    void SetPdfFile(const std::string& fileName);
    // After a printer dialog changed the printer: a PDF file gets the program's resolution and
    // margins again.
    void Adopt();
    bool Printing() const { return Painter_ != nullptr; }

    QPrinter& QtPrinter() { return *Printer_; }

private:
    TQtPrinter();
    void EndPainter();
    void DropPartFile();

    std::unique_ptr<QPrinter> Printer_;
    std::unique_ptr<QPainter> Painter_;
    std::unique_ptr<TQtPageCanvas> Canvas_;
    int PdfDpi_ = DefaultPrinterDpi;
    // While a PDF job runs: the file it is written to, and the name it takes at the end.
    std::string PartFile_, TargetFile_;
};

} // namespace pigmentaria
