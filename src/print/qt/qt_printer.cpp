#include "print/qt/qt_printer.h"

#include "print/qt/qt_app.h"

#include <QFileInfo>
#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace pigmentaria {

namespace {

QPageSize PageSizeOf(const TPaperChoice& paper) {
    switch (paper.PaperSize) {
    case PaperLetter:
        return QPageSize(QPageSize::Letter);
    case PaperLegal:
        return QPageSize(QPageSize::Legal);
    case PaperA4:
        return QPageSize(QPageSize::A4);
    case PaperA3:
        return QPageSize(QPageSize::A3);
    default:
        break;
    }
    if (paper.UserPaperWidth > 0 && paper.UserPaperLength > 0)
        return QPageSize(QSizeF(paper.UserPaperWidth / 10.0, paper.UserPaperLength / 10.0),
                         QPageSize::Millimeter, QString(), QPageSize::ExactMatch);
    return QPageSize(LocalePaperCode() == PaperLetter ? QPageSize::Letter : QPageSize::A4);
}

int Round(double v) {
    return static_cast<int>(std::lround(v));
}

} // namespace

int LocalePaperCode() {
    return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? PaperLetter
                                                                              : PaperA4;
}

TQtPrinter::TQtPrinter() {
    EnsureQtGui();
    Printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
}

TQtPrinter::~TQtPrinter() {
    // A job never ended is given up, not left half-written.
    if (Painter_) AbortDoc();
}

std::unique_ptr<TQtPrinter> TQtPrinter::Pdf(const std::string& fileName, const TPaperChoice& paper,
                                            int dpi) {
    std::unique_ptr<TQtPrinter> p(new TQtPrinter());
    p->Printer_->setOutputFormat(QPrinter::PdfFormat);
    // An empty name would switch the printer back to the system's: the file is named later.
    if (!fileName.empty()) p->Printer_->setOutputFileName(QString::fromStdString(fileName));
    p->PdfDpi_ = dpi > 0 ? dpi : DefaultPrinterDpi;
    p->Printer_->setResolution(p->PdfDpi_);
    p->ApplyPaper(paper);
    return p;
}

std::unique_ptr<TQtPrinter> TQtPrinter::System(const std::string& name) {
    std::unique_ptr<TQtPrinter> p(new TQtPrinter());
    if (!name.empty()) p->Printer_->setPrinterName(QString::fromStdString(name));
    return p;
}

std::string TQtPrinter::Name() const {
    if (IsPdf()) return "PDF: " + PdfFile();
    return Printer_->printerName().toStdString();
}

bool TQtPrinter::IsPdf() const {
    return Printer_->outputFormat() == QPrinter::PdfFormat;
}

std::string TQtPrinter::PdfFile() const {
    // While a job runs the printer writes to the part file; the file meant is the target.
    if (!TargetFile_.empty()) return TargetFile_;
    return Printer_->outputFileName().toStdString();
}

void TQtPrinter::SetPdfFile(const std::string& fileName) {
    if (Printing()) throw std::logic_error("the PDF file cannot change during a job");
    const QPageLayout layout = Printer_->pageLayout();
    Printer_->setOutputFormat(QPrinter::PdfFormat);
    if (!fileName.empty()) Printer_->setOutputFileName(QString::fromStdString(fileName));
    Printer_->setPageLayout(layout);
    Adopt();
}

void TQtPrinter::Adopt() {
    if (!IsPdf()) return;
    Printer_->setResolution(PdfDpi_);
    Printer_->setPageMargins(QMarginsF(PdfMarginIn, PdfMarginIn, PdfMarginIn, PdfMarginIn),
                             QPageLayout::Inch);
}

TPrinterMetrics TQtPrinter::Metrics() const {
    TPrinterMetrics m;
    m.DpiX = Printer_->logicalDpiX();
    m.DpiY = Printer_->logicalDpiY();
    const QRectF paper = Printer_->paperRect(QPrinter::DevicePixel);
    const QRectF page = Printer_->pageRect(QPrinter::DevicePixel);
    m.PhysicalWidth = Round(paper.width());
    m.PhysicalHeight = Round(paper.height());
    m.PhysicalOffsetX = Round(page.left() - paper.left());
    m.PhysicalOffsetY = Round(page.top() - paper.top());
    m.PrintableWidth = Round(page.width());
    m.PrintableHeight = Round(page.height());
    return m;
}

TPaperChoice TQtPrinter::Paper() const {
    const QPageLayout layout = Printer_->pageLayout();
    TPaperChoice c;
    c.Orientation = layout.orientation() == QPageLayout::Landscape ? poLandscape : poPortrait;
    switch (layout.pageSize().id()) {
    case QPageSize::Letter:
        c.PaperSize = PaperLetter;
        break;
    case QPageSize::Legal:
        c.PaperSize = PaperLegal;
        break;
    case QPageSize::A4:
        c.PaperSize = PaperA4;
        break;
    case QPageSize::A3:
        c.PaperSize = PaperA3;
        break;
    default: {
        const QSizeF mm = layout.pageSize().size(QPageSize::Millimeter);
        c.PaperSize = PaperUser;
        c.UserPaperWidth = Round(mm.width() * 10);
        c.UserPaperLength = Round(mm.height() * 10);
    }
    }
    return c;
}

void TQtPrinter::ApplyPaper(const TPaperChoice& paper) {
    const QPageLayout::Orientation o =
        paper.Orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    if (IsPdf()) {
        Printer_->setPageLayout(QPageLayout(
            PageSizeOf(paper), o, QMarginsF(PdfMarginIn, PdfMarginIn, PdfMarginIn, PdfMarginIn),
            QPageLayout::Inch));
    } else {
        if (paper.PaperSize != 0) Printer_->setPageSize(PageSizeOf(paper));
        Printer_->setPageOrientation(o);
    }
}

void TQtPrinter::BeginDoc(const std::string& title) {
    if (Printing()) throw std::logic_error("a print job is already running");
    if (IsPdf()) {
        TargetFile_ = Printer_->outputFileName().toStdString();
        if (TargetFile_.empty()) throw std::runtime_error("no PDF file is named to print to");
        // The part file sits beside the target, so that taking its name is a rename within one
        // folder; its own name ends in ".pdf" so that the printer keeps writing PDF.
        const std::filesystem::path target(TargetFile_);
        const std::filesystem::path folder =
            target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
        QTemporaryFile part(QString::fromStdString(
            (folder / ("." + target.filename().string() + ".XXXXXX.part.pdf")).string()));
        part.setAutoRemove(false);
        if (!part.open()) {
            TargetFile_.clear();
            throw std::runtime_error("cannot write " + target.string());
        }
        // A temporary file is the owner's alone; the PDF gets the file's rights it replaces, or
        // those of a new document.
        const QFileInfo former(QString::fromStdString(TargetFile_));
        part.setPermissions(former.exists() ? former.permissions()
                                            : QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ReadGroup | QFileDevice::ReadOther);
        PartFile_ = part.fileName().toStdString();
        part.close();
        Printer_->setOutputFileName(QString::fromStdString(PartFile_));
    }
    Printer_->setDocName(QString::fromStdString(title));
    Painter_ = std::make_unique<QPainter>();
    if (!Painter_->begin(Printer_.get())) {
        Painter_.reset();
        const std::string name = Name();
        DropPartFile();
        throw std::runtime_error("cannot start printing on " + name);
    }
    Canvas_ = std::make_unique<TQtPageCanvas>(*Painter_, *Printer_);
}

void TQtPrinter::NewPage() {
    if (!Printer_->newPage()) throw std::runtime_error("cannot start a new page on " + Name());
}

void TQtPrinter::EndPainter() {
    Canvas_.reset();
    if (Painter_ && Painter_->isActive()) Painter_->end();
    Painter_.reset();
}

void TQtPrinter::DropPartFile() {
    if (PartFile_.empty()) {
        TargetFile_.clear();
        return;
    }
    std::error_code ec;
    std::filesystem::remove(PartFile_, ec);
    Printer_->setOutputFileName(QString::fromStdString(TargetFile_));
    PartFile_.clear();
    TargetFile_.clear();
}

void TQtPrinter::EndDoc() {
    if (!Painter_) return;
    const bool ended = Painter_->end();
    EndPainter();
    if (PartFile_.empty()) {
        if (!ended || Printer_->printerState() == QPrinter::Error)
            throw std::runtime_error("printing on " + Name() + " failed");
        return;
    }
    const std::string part = PartFile_, target = TargetFile_;
    std::error_code ec;
    const bool written = ended && Printer_->printerState() != QPrinter::Error &&
                         std::filesystem::file_size(part, ec) > 0 && !ec;
    if (written) std::filesystem::rename(part, target, ec);
    if (!written || ec) {
        DropPartFile();
        throw std::runtime_error("cannot write " + target);
    }
    Printer_->setOutputFileName(QString::fromStdString(target));
    PartFile_.clear();
    TargetFile_.clear();
}

void TQtPrinter::AbortDoc() {
    if (!Painter_) return;
    // A system printer withdraws what it was sent; a PDF file being written goes.
    if (PartFile_.empty()) Printer_->abort();
    EndPainter();
    DropPartFile();
}

TPageCanvas& TQtPrinter::Canvas() {
    if (!Canvas_) throw std::logic_error("no print job has been started");
    return *Canvas_;
}

} // namespace pigmentaria
