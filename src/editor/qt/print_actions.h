#pragma once
// The main window's printing: "&Print..." (the print dialog with its preview) and "Print
// Palette...", on the painting document. The print dialog's settings live with the painting: a
// painting read from a file hands its layout block to the dialog, and every change in the dialog
// goes back into the document's block and marks the painting modified. Numbers are placed at most
// once per showing of the dialog, as a job the document adopts; pages are printed on a worker
// behind the progress window and can be cancelled. The dialog's legibility report follows its
// layout, made on a worker of its own (only the newest layout's report is kept, the GUI thread
// never waits for it); "Simplify For Printing..." simplifies the painting for the dialog's
// layout behind the progress window, undoable from the main window.
#include "editor/document.h"
#include "platform/latest_worker.h"
#include "print/legibility_text.h"
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
        // Tells where a finished job went (the main window's status bar).
        std::function<void(const QString&)> Status;
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
    // "Simplify For Printing...": the painting simplified for the dialog's layout and the minimum
    // diameter; false when cancelled, failed or not offered.
    bool SimplifyClick();

    // The narrowest region the report and the simplification measure against, in millimetres.
    double MinDiameterMm() const { return MinMm_; }
    void SetMinDiameterMm(double mm);
    // The report shown is the one for the layout and painting the dialog shows now.
    bool ReportCurrent() const;
    // The report last shown; none before the first.
    const std::optional<TLegibilityReport>& ShownReport() const { return Shown_; }

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
    // How a template painting's numbers are placed for the dialog's print; none for others.
    std::optional<TTemplateNumbering> TemplateNumbering() const;
    void Tell(const std::string& error);
    // The status line after a job: what was printed and where it went.
    void TellDestination(const std::string& what);
    QString SuggestedPdf(const QString& ending) const;
    IPrinterDialogs& Dialogs();
    // The report for what the dialog shows, asked once the events of a change are all told.
    void QueueReport();
    void RequestReport();
    // On the GUI thread, when the worker has the newest report.
    void ShowReport();

    TContext C_;
    TPaintingDocument& Doc_;
    std::unique_ptr<IPrinterDialogs> OwnDialogs_;
    TPrinterChoice Choice_;
    std::unique_ptr<TPrintForm> Form_;
    std::unique_ptr<TPreviewForm> Preview_;
    bool Writing_ = false;
    bool Simplifying_ = false;
    double MinMm_;

    // The report: the painting copied once a generation for the worker, the numbers the worker
    // placed for a generation, what was asked last and what shows.
    std::shared_ptr<const TShapeList> ShapesCopy_;
    std::uint64_t ShapesGeneration_ = 0;
    std::optional<std::vector<TPrintLabel>> PlacedLabels_;
    std::uint64_t PlacedGeneration_ = 0;
    // The painting's regions as the worker measured them, for the next layout.
    std::shared_ptr<TDialogLegibilityCache> Measured_ = std::make_shared<TDialogLegibilityCache>();
    std::optional<TDialogLegibilityKey> Asked_, ShownKey_;
    std::optional<TLegibilityReport> Shown_;
    std::vector<std::string> ShownLines_;
    bool ReportQueued_ = false;
    // Last: it goes (its work stopped) before the dialog its results are posted to.
    std::unique_ptr<TLatestWorker<TDialogLegibility>> Reports_;
};

} // namespace pigmentaria
