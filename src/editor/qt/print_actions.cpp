#include "editor/qt/print_actions.h"

#include "editor/qt/zoom_form.h"
#include "platform/help_topics.h"
#include "platform/qt/progress_form.h"
#include "platform/qt/window_text.h"
#include "print/numbers.h"
#include "print/palette_printout.h"
#include "print/print_run.h"
#include "print/qt/preview_sheet.h"
#include "print/template_job.h"

#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QTimer>

#include <stdexcept>

namespace pigmentaria {

namespace {

// What a failed job says, and that a cancelled one says nothing.
void TellReport(const TJobReport& report, IMessageSink* messages) {
    if (!messages) return;
    ReplayMessages(report.Messages, *messages);
    if (report.Status == TJobStatus::Failed) messages->Error(report.Failure);
}

// What the progress window says until the clean-up tells its own steps.
constexpr const char* SimplifyingMessage = "Simplifying For Printing...";

} // namespace

TPrintActions::TPrintActions(TContext context)
    : C_(std::move(context)), Doc_(*C_.Document), Choice_(C_.SystemPrinters),
      Form_(std::make_unique<TPrintForm>(C_.Parent)),
      Preview_(std::make_unique<TPreviewForm>(Form_.get())), MinMm_(DefaultTemplateMinMm) {
    TPrintForm* form = Form_.get();
    Reports_ = std::make_unique<TLatestWorker<TDialogLegibility>>([this, form] {
        QMetaObject::invokeMethod(
            form, [this] { ShowReport(); }, Qt::QueuedConnection);
    });
    if (!C_.Dialogs) OwnDialogs_ = std::make_unique<TQtPrinterDialogs>();
    Form_->SetMessages(C_.Messages);
    SetZoomForm(C_.Zoom);
    QObject::connect(Form_.get(), &TPrintForm::PaintingChanged, Form_.get(),
                     [this] { WriteBlock(true); });
    QObject::connect(Form_.get(), &TPrintForm::LayoutRecomputed, Form_.get(),
                     [this] { WriteBlock(false); });
    QObject::connect(Form_.get(), &TPrintForm::ChangePrinterRequested, Form_.get(),
                     [this] { ChangeClick(); });
    QObject::connect(Form_.get(), &TPrintForm::PrintRequested, Form_.get(),
                     [this] { PrintPages(); });
    QObject::connect(Form_.get(), &TPrintForm::PreviewRequested, Form_.get(),
                     [this] { PreviewPages(); });
    QObject::connect(Form_.get(), &TPrintForm::HelpRequested, Form_.get(), [this] {
        if (C_.Help) C_.Help(HelpPrintSetup);
    });
    QObject::connect(Form_.get(), &TPrintForm::SampleChanged, Form_.get(),
                     [this] { QueueReport(); });
    QObject::connect(Form_.get(), &TPrintForm::SimplifyRequested, Form_.get(),
                     [this] { SimplifyClick(); });
    ShowPrinter();
    Doc_.AddObserver(this);
}

TPrintActions::~TPrintActions() {
    Doc_.RemoveObserver(this);
    Reports_.reset();
}

void TPrintActions::SetZoomForm(TZoomForm* zoom) {
    C_.Zoom = zoom;
    if (!zoom) return;
    Preview_->SetCustomZoom(
        [zoom](int h, int w, double z, int pw, int ph) { return zoom->Execute(h, w, z, pw, ph); });
}

IPrinterDialogs& TPrintActions::Dialogs() {
    return C_.Dialogs ? *C_.Dialogs : *OwnDialogs_;
}

void TPrintActions::Tell(const std::string& error) {
    if (C_.Messages) C_.Messages->Error(error);
}

void TPrintActions::ShowPrinter() {
    Form_->SetPrinterLabels(Choice_.PrinterLabel(), Choice_.Note());
}

void TPrintActions::DocumentChanged(TDocumentEvent event) {
    switch (event) {
    case TDocumentEvent::PrintLayoutChanged: {
        if (Writing_) return;
        // A painting read from a file brings its layout, and its paper for the printer.
        const TPrintLayoutBlock& block = Doc_.PrintLayout();
        Form_->State().ApplyBlock(block);
        const TPaperChoice paper = PaperOfBlock(block);
        if (paper.PaperSize != 0 && !Choice_.Printer().Printing()) {
            Choice_.Printer().ApplyPaper(paper);
            ShowPrinter();
        }
        Form_->UpdateControls();
        break;
    }
    case TDocumentEvent::PaintingReplaced:
        // The next showing places a frame for the new painting's proportions. A painting
        // simplified from the dialog keeps its size, and the frame stays where it is.
        if (!Simplifying_) Form_->State().HideFrame();
        Form_->UpdateControls();
        WriteBlock(false);
        break;
    case TDocumentEvent::CurrentColorChanged:
        Form_->SetCurrentColor(Doc_.CurrentColor());
        break;
    case TDocumentEvent::TemplateChanged:
        // A template prints as one: numbered outlines in black.
        if (Doc_.Template()) {
            TPrintDialogState& state = Form_->State();
            state.SetPrintNumbers(true);
            state.SetOutlinesOnly(true);
            state.SetOutlinesBlack(true);
            Form_->UpdateControls();
            WriteBlock(false);
        }
        break;
    case TDocumentEvent::ShapesChanged:
    case TDocumentEvent::LabelsChanged:
        QueueReport();
        break;
    default:
        break;
    }
}

void TPrintActions::WriteBlock(bool modified) {
    Writing_ = true;
    Doc_.SetPrintLayout(Form_->State().Block(Choice_.Printer().Paper()));
    Writing_ = false;
    if (modified) Doc_.SetModified(true);
}

void TPrintActions::PrepareDialog() {
    TPrintDialogState& state = Form_->State();
    TQtPrinter& printer = Choice_.Printer();
    state.SetPrinter(printer.Metrics(), printer.Paper().Orientation);
    state.SetScreenDpi(Form_->logicalDpiX(), Form_->logicalDpiY());
    state.SetPaintingSize(Doc_.Shapes().PaintingWidth(), Doc_.Shapes().PaintingHeight());
    ShowPrinter();
    Form_->SetCurrentColor(Doc_.CurrentColor());
    const std::optional<std::string> problem = state.Show();
    Form_->UpdateControls();
    if (problem) Tell(*problem);
    // What the dialog shows (a fresh frame, a raised overlap) is what the painting keeps.
    WriteBlock(false);
}

bool TPrintActions::PrintClick() {
    if (!Doc_.HasPainting()) return false;
    PrepareDialog();
    const bool printed = Form_->exec() == QDialog::Accepted;
    // The measured regions of a large painting take tens of megabytes: kept while the dialog
    // shows only.
    {
        std::lock_guard lock(Measured_->Lock);
        Measured_->Measured.reset();
    }
    ShapesCopy_.reset();
    return printed;
}

void TPrintActions::ChangeClick() {
    Choice_.Setup(Dialogs(), Form_.get());
    TQtPrinter& printer = Choice_.Printer();
    TPrintDialogState& state = Form_->State();
    state.SetPrinter(printer.Metrics(), printer.Paper().Orientation);
    const std::optional<std::string> problem = state.PrinterChanged();
    ShowPrinter();
    Form_->UpdateControls();
    if (problem) Tell(*problem);
    WriteBlock(true);
}

QString TPrintActions::SuggestedPdf(const QString& ending) const {
    const QString file = C_.PaintingFile ? C_.PaintingFile() : QString();
    if (file.isEmpty()) return QDir::home().filePath("painting" + ending);
    const QFileInfo info(file);
    return info.dir().filePath(info.completeBaseName() + ending);
}

bool TPrintActions::EnsureNumbers() {
    TPrintDialogState& state = Form_->State();
    if (!state.NumbersWanted()) return true;
    if (!C_.Runner) return false;
    auto input = std::make_shared<TNumberingInput>(Doc_.NumberingInput());
    const std::optional<TTemplateNumbering> asTemplate = TemplateNumbering();
    TJobReport report;
    std::optional<TNumberingResult> result = C_.Runner->Run<TNumberingResult>(
        PlacingNumbersMessage, true,
        [input, asTemplate](TJobContext& c) {
            if (!asTemplate) return PlaceNumbers(*input, c.Progress);
            return TNumberingResult{
                PlaceTemplateNumbers(input->Shapes, input->Palette, *asTemplate),
                {},
                input->Generation};
        },
        report);
    TellReport(report, C_.Messages);
    if (!result || !Doc_.AdoptLabels(std::move(*result))) return false;
    state.MarkNumbersAdded();
    return true;
}

bool TPrintActions::PrintPages() {
    if (!C_.Runner || !Doc_.HasPainting()) return false;
    if (!Form_->RecomputeForPrint()) return false;
    WriteBlock(false);
    TPrintDialogState& state = Form_->State();
    if (!state.HasPages()) return false;
    if (!Choice_.ReadyForJob(Dialogs(), Form_.get(), SuggestedPdf(".pdf"), true)) return false;
    ShowPrinter();

    auto input = std::make_shared<TPrintRunInput>();
    input->Painting = std::make_unique<TPrintSnapshot>(Doc_.PrintSnapshot());
    input->Painting->Template = TemplateNumbering();
    input->Settings = state.Settings();
    input->Layout = state.Layout();
    input->NumbersAdded = state.NumbersAdded();
    input->Title = (C_.Title ? C_.Title() : QString("Pigmentaria")).toStdString();
    TQtPrinter* printer = &Choice_.Printer();
    TJobReport report;
    std::optional<TPrintRunResult> result = C_.Runner->Run<TPrintRunResult>(
        PrintingMessage, true,
        [input, printer](TJobContext& c) {
            return PrintRun(std::move(*input), *printer, c.Progress);
        },
        report);
    TellReport(report, C_.Messages);
    if (!result) return false;
    if (result->Numbering && Doc_.AdoptLabels(std::move(*result->Numbering)))
        state.MarkNumbersAdded();
    TellDestination(PageCountText(result->Pages));
    Form_->accept();
    return true;
}

bool TPrintActions::PreviewPages() {
    if (!Doc_.HasPainting()) return false;
    if (!Form_->RecomputeForPrint()) return false;
    WriteBlock(false);
    TPrintDialogState& state = Form_->State();
    if (!state.HasPages()) return false;
    if (!EnsureNumbers()) return false;
    // The preview draws on this thread from the painting itself: the print dialog and the
    // preview are modal, so it cannot change meanwhile.
    TPrintSource source;
    source.Shapes = &Doc_.Shapes();
    source.Selection = &Doc_.Selection();
    source.CurrentColor = Doc_.CurrentColor().value_or(static_cast<TColor>(-1));
    source.Labels = &Doc_.NumberLabels();
    TPrintSettings settings = state.Settings();
    TPrintLayout layout = state.Layout();
    TPagePrinter pages(settings, layout, source);
    // The numbers of this showing are placed already.
    pages.AddNumbersIfAsked();
    const bool print =
        Preview_->Execute(settings.PagesAcross, settings.PagesDown, [&](int row, int column) {
            return RenderPreviewSheet(pages, layout, row, column);
        });
    if (print) return PrintPages();
    return false;
}

bool TPrintActions::SimplifyClick() {
    if (!C_.Runner || !Doc_.HasPainting()) return false;
    if (!Form_->RecomputeForPrint()) return false;
    // The document measures the minimum on the layout it keeps: the dialog's, as it shows.
    WriteBlock(false);
    TSimplifyRequest request;
    request.MinMm = MinMm_;
    request.Printer = Choice_.Printer().Metrics();
    std::optional<TSimplifyInput> input = Doc_.SimplifyInput(request);
    if (!input) return false;
    TJobReport report;
    std::optional<TSimplifyResult> result = C_.Runner->Run<TSimplifyResult>(
        SimplifyingMessage, true,
        [in = std::move(*input)](IProgressSink& p) mutable { return Simplify(std::move(in), p); },
        report);
    TellReport(report, C_.Messages);
    if (!result) return false;
    Simplifying_ = true;
    const bool adopted = Doc_.AdoptSimplify(std::move(*result));
    Simplifying_ = false;
    if (!adopted) return false;
    // The simplified painting has no numbers: printing places them again.
    Form_->State().ForgetNumbers();
    Form_->UpdateControls();
    return true;
}

void TPrintActions::SetMinDiameterMm(double mm) {
    MinMm_ = mm;
    QueueReport();
}

void TPrintActions::QueueReport() {
    if (ReportQueued_) return;
    ReportQueued_ = true;
    QTimer::singleShot(0, Form_.get(), [this] {
        ReportQueued_ = false;
        RequestReport();
    });
}

void TPrintActions::RequestReport() {
    Form_->SetSimplifyEnabled(Doc_.HasPainting());
    // A hidden dialog follows nothing: the main window's edits would each start a report.
    if (!Form_->isVisible()) return;
    const TPrintDialogState& state = Form_->State();
    if (!Doc_.HasPainting() || !state.HasPages()) {
        Form_->SetLegibilityNote(Doc_.HasPainting() ? "No pages to print" : "No painting");
        Reports_->Drop();
        Asked_.reset();
        ShownKey_.reset();
        return;
    }
    TDialogLegibilityInput in;
    in.Generation = Doc_.Generation();
    if (!ShapesCopy_ || ShapesGeneration_ != in.Generation) {
        ShapesCopy_ = std::make_shared<const TShapeList>(Doc_.Shapes().Clone());
        ShapesGeneration_ = in.Generation;
    }
    in.Shapes = ShapesCopy_;
    in.Layout = state.Layout();
    in.Settings = state.Settings();
    in.MinDiameterMm = MinMm_;
    in.DecimalPoint = WindowDecimalPoint();
    in.Cache = Measured_;
    if (Doc_.Template()) in.TemplateScale = Doc_.Template()->OutlineScale;
    if (in.Settings.PrintNumbers) {
        // The numbers printing will use: this showing's when placed, else placed afresh. A
        // template's are placed for the layout, so those of another layout do not do.
        if (state.NumbersAdded())
            in.Labels = Doc_.NumberLabels();
        else if (PlacedLabels_ && PlacedGeneration_ == in.Generation && !Doc_.Template())
            in.Labels = *PlacedLabels_;
        else
            in.Palette = Doc_.PaintingPalette();
    }
    const TDialogLegibilityKey key = DialogLegibilityKey(in);
    if (Asked_ && *Asked_ == key) return;
    Asked_ = key;
    if (ShownKey_ && *ShownKey_ == key) {
        // Back to the layout whose report shows.
        Form_->SetLegibilityLines(ShownLines_, true);
        Reports_->Drop();
        return;
    }
    if (ShownLines_.empty())
        Form_->SetLegibilityNote("Measuring the print...");
    else
        Form_->SetLegibilityLines(ShownLines_, false);
    Reports_->Request([in = std::move(in)](IProgressSink& p) { return DialogLegibility(in, p); });
}

void TPrintActions::ShowReport() {
    std::optional<TDialogLegibility> r = Reports_->Take();
    if (!r) {
        const std::string failure = Reports_->Failure();
        if (!failure.empty()) Form_->SetLegibilityNote(QString::fromStdString(failure));
        return;
    }
    if (r->PlacedLabels) {
        PlacedLabels_ = std::move(r->PlacedLabels);
        PlacedGeneration_ = r->Generation;
    }
    ShownKey_ = Asked_;
    Shown_ = r->Report;
    ShownLines_ = r->Lines;
    Form_->SetLegibilityLines(ShownLines_, true);
}

bool TPrintActions::ReportCurrent() const {
    return !ReportQueued_ && Asked_ && ShownKey_ == Asked_;
}

bool TPrintActions::PrintPaletteClick() {
    if (!Doc_.HasPainting() || !C_.Runner) return false;
    TQtPrinter& printer = Choice_.Printer();
    // The palette sheet is offered a file of its own, so that it does not replace the template;
    // the template's file is offered again when the pages are printed next.
    const bool pdf = printer.IsPdf();
    const std::string templateFile = pdf ? printer.PdfFile() : std::string();
    if (!templateFile.empty()) printer.SetPdfFile(SuggestedPdf("-palette.pdf").toStdString());
    const bool confirmed = Dialogs().ConfirmPrint(printer.QtPrinter(), C_.Parent);
    printer.Adopt();
    ShowPrinter();
    const auto restore = [&] {
        if (pdf && printer.IsPdf() && !templateFile.empty()) {
            printer.SetPdfFile(templateFile);
            ShowPrinter();
        }
    };
    if (!confirmed) {
        restore();
        return false;
    }
    if (!Choice_.ReadyForJob(Dialogs(), C_.Parent, SuggestedPdf("-palette.pdf"), false)) {
        restore();
        return false;
    }
    auto painting = std::make_shared<TNamedPalette>(Doc_.PaintingPalette());
    // The names come from the palette loaded from a palette file, when there is one.
    std::shared_ptr<TNamedPalette> custom;
    if (!Doc_.CustomPalette().Empty())
        custom = std::make_shared<TNamedPalette>(Doc_.CustomPalette());
    TJobReport report;
    if (const std::optional<TTemplateTraits>& t = Doc_.Template()) {
        // A template's sheet: every paint's share, and with tubes its recipe and amounts.
        auto shapes = std::make_shared<const TShapeList>(Doc_.Shapes().Clone());
        C_.Runner->Run<bool>(
            PaletteJobMessage, true,
            [shapes, painting, traits = *t, layout = Doc_.PrintLayout(), &printer](TJobContext&) {
                const TTemplatePaintSheet sheet = TemplatePaintSheet(
                    *shapes, *painting, traits.Request, traits.OutlineScale, layout);
                if (sheet.Recipes)
                    PrintRecipeSheet(printer, *sheet.Recipes);
                else
                    PrintPaintShares(printer, sheet.Shares);
                return true;
            },
            report);
    } else {
        C_.Runner->Run<bool>(
            PaletteJobMessage, true,
            [painting, custom, &printer](TJobContext& c) {
                PrintPalette(printer, *painting, custom.get(), c.Progress);
                return true;
            },
            report);
    }
    TellReport(report, C_.Messages);
    if (report.Status == TJobStatus::Done) TellDestination("The palette");
    restore();
    return report.Status == TJobStatus::Done;
}

std::optional<TTemplateNumbering> TPrintActions::TemplateNumbering() const {
    const std::optional<TTemplateTraits>& t = Doc_.Template();
    if (!t) return std::nullopt;
    const TPrintDialogState& state = Form_->State();
    return TTemplateNumbering{t->OutlineScale, state.Layout(), state.Settings().Frame};
}

void TPrintActions::TellDestination(const std::string& what) {
    if (!C_.Status) return;
    TQtPrinter& printer = Choice_.Printer();
    C_.Status(QString::fromStdString(
        PrintDestinationText(what, printer.Name(), printer.IsPdf() ? printer.PdfFile() : "")));
}

} // namespace pigmentaria
