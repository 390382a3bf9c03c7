#include "print/qt/qt_printer.h"

#include "print/qt/qt_app.h"

#include <QLocale>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cmath>
#include <stdexcept>

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
    if (Painter_ && Painter_->isActive()) Painter_->end();
}

std::unique_ptr<TQtPrinter> TQtPrinter::Pdf(const std::string& fileName, const TPaperChoice& paper,
                                            int dpi) {
    std::unique_ptr<TQtPrinter> p(new TQtPrinter());
    p->Pdf_ = true;
    p->Printer_->setOutputFormat(QPrinter::PdfFormat);
    p->Printer_->setOutputFileName(QString::fromStdString(fileName));
    p->Printer_->setResolution(dpi > 0 ? dpi : DefaultPrinterDpi);
    p->ApplyPaper(paper);
    return p;
}

std::unique_ptr<TQtPrinter> TQtPrinter::System(const std::string& name) {
    std::unique_ptr<TQtPrinter> p(new TQtPrinter());
    if (!name.empty()) p->Printer_->setPrinterName(QString::fromStdString(name));
    return p;
}

std::string TQtPrinter::Name() const {
    if (Pdf_) return "PDF: " + Printer_->outputFileName().toStdString();
    return Printer_->printerName().toStdString();
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
    if (Pdf_) {
        Printer_->setPageLayout(QPageLayout(
            PageSizeOf(paper), o, QMarginsF(PdfMarginIn, PdfMarginIn, PdfMarginIn, PdfMarginIn),
            QPageLayout::Inch));
    } else {
        if (paper.PaperSize != 0) Printer_->setPageSize(PageSizeOf(paper));
        Printer_->setPageOrientation(o);
    }
}

void TQtPrinter::BeginDoc(const std::string& title) {
    Printer_->setDocName(QString::fromStdString(title));
    Painter_ = std::make_unique<QPainter>();
    if (!Painter_->begin(Printer_.get()))
        throw std::runtime_error("cannot start printing on " + Name());
    Canvas_ = std::make_unique<TQtPageCanvas>(*Painter_, *Printer_);
}

void TQtPrinter::NewPage() {
    Printer_->newPage();
}

void TQtPrinter::EndDoc() {
    if (Painter_) Painter_->end();
    Canvas_.reset();
    Painter_.reset();
}

TPageCanvas& TQtPrinter::Canvas() {
    if (!Canvas_) throw std::logic_error("no print job has been started");
    return *Canvas_;
}

} // namespace pigmentaria
