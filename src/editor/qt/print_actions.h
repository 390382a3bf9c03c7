#pragma once
// The main window's printing: "&Print..." (the print dialog with its preview) and "Print
// Palette...", on the painting document. The print dialog's settings live with the painting: a
// painting read from a file hands its layout block to the dialog, and every change in the dialog
// goes back into the document's block and marks the painting modified. Numbers are placed at most
// once per showing of the dialog, as a job the document adopts; pages are printed on a worker
// behind the progress window and can be cancelled.
#include "editor/document.h"
#include "print/qt/preview_form.h"
#include "print/qt/print_form.h"
#include "print/qt/printer_choice.h"

#include <QString>

#include <functional>
#include <memory>

class QWidget;

namespace pigmentaria {

class TJobRunner;
class TZoomForm;

class TPrintActions final : private IDocumentObserver {
public:
    struct TContext {
        TPaintingDocument* Document = nullptr;
        // Where failures and edit problems are told.
        IMessageSink* Messages = nullptr;
        // Long work behind the progress window.
        TJobRunner* Runner = nullptr;
        // The owner of the dialogs (the main window).
        QWidget* Parent = nullptr;
        // The main window's caption: the print job's title.
        std::function<QString()> Title;
        // The painting's file, for the name a PDF file is offered; empty while untitled.
        std::function<QString()> PaintingFile;
        // Help by context number.
        std::function<void(int)> Help;
        // The custom zoom dialog of the preview; none leaves "Custom..." without effect.
        TZoomForm* Zoom = nullptr;
        // The printer dialogs; none uses Qt's.
        IPrinterDialogs* Dialogs = nullptr;
        // Off: printing starts on a PDF file whatever printers the machine has (tests).
        bool SystemPrinters = true;
    };

    explicit TPrintActions(TContext context);
    ~TPrintActions() override;
    TPrintActions(const TPrintActions&) = delete;
    TPrintActions& operator=(const TPrintActions&) = delete;

    // The preview's "Custom..." zoom dialog, when it is made after this.
    void SetZoomForm(TZoomForm* zoom);

    // "&Print...": the print dialog, modal. True when it closed after printing.
    bool PrintClick();
    // "Print Palette...": the print dialog, then the painting palette on the chosen printer.
    bool PrintPaletteClick();

    // ---- The steps of the dialog, for the window's buttons and for tests
    // Readies the dialog for showing: printer, painting, current colour, layout, frame.
    void PrepareDialog();
    // "Change...": the printer setup, whatever its answer; the frame is placed afresh.
    void ChangeClick();
    // "Print": the layout recomputed, every page printed; the dialog closes when it printed.
    bool PrintPages();
    // "Preview": numbers when asked, then the preview; its "Print" prints as "Print" does.
    bool PreviewPages();

    TPrintForm& PrintForm() { return *Form_; }
    TPreviewForm& PreviewForm() { return *Preview_; }
    TPrinterChoice& Printer() { return Choice_; }

private:
    void DocumentChanged(TDocumentEvent event) override;
    // The dialog's block into the document; a change of the painting marks it modified.
    void WriteBlock(bool modified);
    void ShowPrinter();
    // Numbers for this showing, when asked and not placed yet; false when cancelled or failed.
    bool EnsureNumbers();
    void Tell(const std::string& error);
    QString SuggestedPdf(const QString& ending) const;
    IPrinterDialogs& Dialogs();

    TContext C_;
    TPaintingDocument& Doc_;
    std::unique_ptr<IPrinterDialogs> OwnDialogs_;
    TPrinterChoice Choice_;
    std::unique_ptr<TPrintForm> Form_;
    std::unique_ptr<TPreviewForm> Preview_;
    bool Writing_ = false;
};

} // namespace pigmentaria
