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

    // Throws std::runtime_error when the job cannot be started (a file that cannot be written).
    void BeginDoc(const std::string& title) override;
    void NewPage() override;
    void EndDoc() override;
    TPageCanvas& Canvas() override;

    QPrinter& QtPrinter() { return *Printer_; }

private:
    TQtPrinter();
    std::unique_ptr<QPrinter> Printer_;
    std::unique_ptr<QPainter> Painter_;
    std::unique_ptr<TQtPageCanvas> Canvas_;
    bool Pdf_ = false;
};

} // namespace pigmentaria
