#include "print/qt/print_form.h"

#include "platform/qt/translation.h"
#include "platform/qt/value_label.h"
#include "platform/qt/window_text.h"
#include "print/legibility_text.h"
#include "print/print_layout.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <cstring>
#include <functional>

namespace pigmentaria {

namespace {

enum TMouseKind { mkDown, mkMove, mkUp };

// The page edits and the overlap edit refuse what their rules do not accept.
// The placement frame (a lime outline the mouse drags) and its size handle: children of the
// sample panel, which clips them, reporting the mouse in the panel's coordinates.
class TPanelChild final : public QWidget {
public:
    using TMouse = std::function<void(int kind, QPoint panel)>;
    TPanelChild(QWidget* panel, bool handle, TMouse mouse)
        : QWidget(panel), Handle_(handle), Mouse_(std::move(mouse)) {
        setCursor(handle ? Qt::SizeFDiagCursor : Qt::SizeAllCursor);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (Handle_) {
            p.fillRect(rect(), QColor(0, 128, 0));
            p.setPen(QColor(0, 255, 0));
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        } else {
            p.setPen(QColor(0, 255, 0));
            p.setBrush(Qt::NoBrush);
            p.drawRect(rect().adjusted(0, 0, -1, -1));
        }
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) Mouse_(mkDown, At(e));
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (e->buttons() & Qt::LeftButton) Mouse_(mkMove, At(e));
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) Mouse_(mkUp, At(e));
    }

private:
    QPoint At(QMouseEvent* e) const { return mapToParent(e->position().toPoint()); }
    bool Handle_;
    TMouse Mouse_;
};

QImage ToImage(const TRaster24& raster) {
    QImage image(raster.Width(), raster.Height(), QImage::Format_BGR888);
    for (int y = 0; y < raster.Height(); ++y)
        std::memcpy(image.scanLine(y), raster.Row(y), 3 * static_cast<std::size_t>(raster.Width()));
    return image;
}

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

QRadioButton* Radio(const QString& caption, QWidget* parent) {
    auto* b = new QRadioButton(caption, parent);
    b->setAccessibleName(QString(caption).remove('&'));
    return b;
}

QCheckBox* Check(const QString& caption, QWidget* parent) {
    auto* b = new QCheckBox(caption, parent);
    b->setAccessibleName(QString(caption).remove('&'));
    return b;
}

QPushButton* Button(const QString& caption, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setAccessibleName(QString(caption).remove('&'));
    // Return in an edit ends the edit; it never prints.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLabel* Label(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

} // namespace

TPrintForm::TPrintForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Print Setup");
    setObjectName("PrintForm");
    State_.SetDecimalPoint(WindowDecimalPoint());

    auto* root = new QVBoxLayout(this);

    // ---- The printer
    auto* printer = new QGroupBox("Printer", this);
    printer->setAccessibleName("Printer");
    auto* pg = new QGridLayout(printer);
    PrinterName_ = Label(printer, "PrinterName");
    PrinterName_->setAccessibleName("Printer Name");
    PaperSize_ = Label(printer, "PaperSize");
    PaperSize_->setAccessibleName("Paper Size");
    Orientation_ = Label(printer, "Orientation");
    Orientation_->setAccessibleName("Orientation");
    PrinterNote_ = Label(printer, "PrinterNote");
    PrinterNote_->setAccessibleName("Printer Note");
    PrinterNote_->setWordWrap(true);
    Change_ = Button("Change...", printer);
    pg->addWidget(PrinterName_, 0, 0, 1, 2);
    pg->addWidget(Change_, 0, 2, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    pg->addWidget(PaperSize_, 1, 0);
    pg->addWidget(Orientation_, 1, 1);
    pg->addWidget(PrinterNote_, 2, 0, 1, 3);
    pg->setColumnStretch(1, 1);
    root->addWidget(printer);

    auto* middle = new QHBoxLayout;
    root->addLayout(middle);

    // ---- The sample with the placement frame, the sizes under it
    auto* left = new QVBoxLayout;
    middle->addLayout(left);
    Panel2_ = new QWidget(this);
    Panel2_->setObjectName("Panel2");
    Panel2_->setAccessibleName("Print Sample");
    Panel2_->setFixedSize(SamplePanelWidth, SamplePanelHeight);
    Sample_ = new QLabel(Panel2_);
    Sample_->setObjectName("SampleImage");
    Sample_->setAccessibleName("Sample");
    Sample_->setGeometry(SampleImageLeft, SampleImageTop, SampleSize, SampleSize);
    ImageSizer_ = new TPanelChild(Panel2_, false, [this](int k, QPoint p) { FrameMouse(k, p); });
    ImageSizer_->setObjectName("ImageSizer");
    ImageSizer_->setToolTip(FrameHint);
    ImageSizer_->setAccessibleName(FrameHint);
    ImageSizer_->hide();
    SizeControl_ = new TPanelChild(Panel2_, true, [this](int k, QPoint p) { HandleMouse(k, p); });
    SizeControl_->setObjectName("SizeControl");
    SizeControl_->setToolTip(SizeHandleHint);
    SizeControl_->setAccessibleName(SizeHandleHint);
    SizeControl_->resize(SizeHandleSize, SizeHandleSize);
    SizeControl_->hide();
    left->addWidget(Panel2_, 0, Qt::AlignHCenter);
    PrintSize_ = Label(this, "PrintSize");
    PrintSize_->setAccessibleName("Total Print Size");
    ImageSize_ = Label(this, "ImageSize");
    ImageSize_->setAccessibleName("Image Size");
    left->addWidget(PrintSize_);
    left->addWidget(ImageSize_);
    // Room for the longest sizes, so that the dialog keeps its width while they change.
    const int sizesWidth = PrintSize_->fontMetrics().horizontalAdvance(
        QString("Total Print Size: 999.99\" x 999.99\""));
    PrintSize_->setMinimumWidth(sizesWidth);
    ImageSize_->setMinimumWidth(sizesWidth);
    UnderSample_ = new QVBoxLayout;
    left->addLayout(UnderSample_);
    // ---- How legible the print is, and the way to make it more so
    Legibility_ = new QGroupBox("Legibility", this);
    Legibility_->setObjectName("Legibility");
    Legibility_->setAccessibleName("Legibility");
    auto* lg = new QVBoxLayout(Legibility_);
    lg->setSpacing(2);
    for (int i = 0; i < LegibilityLineCount; ++i) {
        LegibilityLines_[i] = Label(Legibility_, QString("LegibilityLine%1").arg(i + 1));
        LegibilityLines_[i]->setWordWrap(true);
        lg->addWidget(LegibilityLines_[i]);
    }
    Simplify_ = Button("&Simplify For Printing...", Legibility_);
    Simplify_->setToolTip("Merge the regions too small to paint at this size, and trace again");
    lg->addWidget(Simplify_, 0, Qt::AlignLeft);
    UnderSample_->addWidget(Legibility_);
    left->addStretch(1);

    // ---- The page grid, outlines and fills, what to print
    auto* right = new QVBoxLayout;
    middle->addLayout(right, 1);

    auto* pages = new QGroupBox("Pages", this);
    pages->setAccessibleName("Pages");
    auto* gg = new QGridLayout(pages);
    const auto edit = [&](const QString& caption, const QString& name, int row) {
        auto* label = new QLabel(caption, pages);
        auto* e = new QLineEdit(pages);
        e->setObjectName(name);
        e->setAccessibleName(QString(caption).remove('&').remove(':'));
        label->setBuddy(e);
        e->setMaximumWidth(60);
        gg->addWidget(label, row, 0);
        gg->addWidget(e, row, 1);
        return e;
    };
    PagesAcross_ = edit("Pages &Across:", "PagesAcross", 0);
    PagesDown_ = edit("Pages &Down:", "PagesDown", 1);
    OverLap_ = edit("&Overlap (inches):", "OverLap", 2);
    // Any text may be typed: one that is not a number is told in an error box when the edit
    // is left, and the layout stays as it was.
    PagesAcross_->setMaxLength(PageEditMaxLength);
    PagesDown_->setMaxLength(PageEditMaxLength);
    Marks_ = Check("Print Registration Marks", pages);
    PageNumbers_ = Check("Print Page Numbers", pages);
    gg->addWidget(Marks_, 3, 0, 1, 2);
    gg->addWidget(PageNumbers_, 4, 0, 1, 2);
    right->addWidget(pages);

    auto* drawing = new QGroupBox("Outlines and Fill", this);
    drawing->setAccessibleName("Outlines and Fill");
    auto* dg = new QGridLayout(drawing);
    OutlinesOnly_ = Radio("Print Outlines Only", drawing);
    FillShapes_ = Radio("Fill Shapes With. . .", drawing);
    OutlineGroup_ = new QButtonGroup(this);
    OutlineGroup_->addButton(OutlinesOnly_);
    OutlineGroup_->addButton(FillShapes_);
    OutlineBlack_ = Check("Print Outlines in Black", drawing);
    LineWeightLabel_ = new QLabel("Line Weight", drawing);
    LineWeight_ = new QSlider(Qt::Horizontal, drawing);
    LineWeight_->setObjectName("LineWeight");
    LineWeight_->setAccessibleName("Line Weight");
    LineWeight_->setRange(MinLineWeight, MaxLineWeight);
    LineWeight_->setPageStep(1);
    LineWeight_->setTickPosition(QSlider::TicksBelow);
    LineWeight_->setTickInterval(1);
    LineWeightLabel_->setBuddy(LineWeight_);
    FillWith_ = new QGroupBox(drawing);
    FillWith_->setObjectName("FillWith");
    FillWith_->setAccessibleName("Fill With");
    auto* fg = new QHBoxLayout(FillWith_);
    FillGroup_ = new QButtonGroup(this);
    const char* fills[] = {"Gray", "Color", "Black"};
    for (int i = 0; i < 3; ++i) {
        QRadioButton* b = Radio(fills[i], FillWith_);
        FillGroup_->addButton(b, i);
        fg->addWidget(b);
    }
    dg->addWidget(OutlinesOnly_, 0, 0, 1, 2);
    dg->addWidget(OutlineBlack_, 1, 1);
    dg->addWidget(LineWeightLabel_, 2, 1);
    dg->addWidget(LineWeight_, 3, 1);
    dg->addWidget(FillShapes_, 4, 0, 1, 2);
    dg->addWidget(FillWith_, 5, 1);
    dg->setColumnMinimumWidth(0, 16);
    right->addWidget(drawing);

    auto* what = new QGroupBox("What to Print", this);
    what->setAccessibleName("What to Print");
    auto* wg = new QGridLayout(what);
    PrintAll_ = Radio("Print All Shapes", what);
    PrintSelected_ = Radio("Print Selected Shapes", what);
    PrintCurrentColor_ = Radio("Print Current Color", what);
    WhatGroup_ = new QButtonGroup(this);
    WhatGroup_->addButton(PrintAll_, wpAll);
    WhatGroup_->addButton(PrintSelected_, wpSelected);
    WhatGroup_->addButton(PrintCurrentColor_, wpCurrentColor);
    CurrColor_ = Label(what, "CurrColor");
    CurrColor_->setAccessibleName("Current Color");
    CurrColor_->setFixedSize(28, 16);
    CurrColor_->setFrameShape(QFrame::Box);
    CurrColor_->setAutoFillBackground(true);
    Numbers_ = Check("#'s?", what);
    Numbers_->setToolTip("Number the painting and print the numbers");
    wg->addWidget(PrintAll_, 0, 0);
    wg->addWidget(Numbers_, 0, 1, Qt::AlignRight);
    wg->addWidget(PrintSelected_, 1, 0);
    wg->addWidget(PrintCurrentColor_, 2, 0);
    wg->addWidget(CurrColor_, 2, 1, Qt::AlignRight);
    right->addWidget(what);
    right->addStretch(1);
    // Tab reads the groups as they are laid out: each choice followed by what belongs to it.
    setTabOrder(LineWeight_, FillShapes_);
    setTabOrder(PrintAll_, Numbers_);

    // ---- The buttons
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Print_ = Button("Print", this);
    Preview_ = Button("Preview", this);
    Cancel_ = Button("Cancel", this);
    Help_ = Button("Help", this);
    for (QPushButton* b : {Print_, Preview_, Cancel_, Help_})
        buttons->addWidget(b);
    root->addLayout(buttons);

    // ---- What the controls do
    for (QLineEdit* e : {PagesAcross_, PagesDown_, OverLap_}) {
        connect(e, &QLineEdit::textEdited, this, [this, e] { Edited(e); });
        connect(e, &QLineEdit::editingFinished, this, &TPrintForm::EditFinished);
    }
    // Setting the controls from the state tells the toggles again; only the user's are taken.
    const auto choice = [this](auto change) {
        return [this, change](auto... args) {
            if (!Updating_) Changed(change(args...));
        };
    };
    connect(Marks_, &QCheckBox::toggled, this,
            choice([this](bool on) { return State_.SetRegistrationMarks(on); }));
    connect(OutlineBlack_, &QCheckBox::toggled, this,
            choice([this](bool on) { return State_.SetOutlinesBlack(on); }));
    connect(OutlinesOnly_, &QRadioButton::toggled, this,
            choice([this](bool on) { return on && State_.SetOutlinesOnly(true); }));
    connect(FillShapes_, &QRadioButton::toggled, this,
            choice([this](bool on) { return on && State_.SetOutlinesOnly(false); }));
    connect(LineWeight_, &QSlider::valueChanged, this,
            choice([this](int position) { return State_.SetLineWeight(position); }));
    connect(FillGroup_, &QButtonGroup::idToggled, this,
            choice([this](int id, bool on) { return on && State_.SetFillWith(id); }));
    connect(WhatGroup_, &QButtonGroup::idToggled, this,
            choice([this](int id, bool on) { return on && State_.SetWhatToPrint(id); }));
    connect(Numbers_, &QCheckBox::toggled, this, [this](bool on) {
        if (Updating_) return;
        State_.SetPrintNumbers(on);
        // The report measures the numbers that print.
        emit SampleChanged();
    });
    connect(PageNumbers_, &QCheckBox::toggled, this, [this](bool on) {
        if (!Updating_) State_.SetPageNumbers(on);
    });
    connect(Change_, &QPushButton::clicked, this, &TPrintForm::ChangePrinterRequested);
    connect(Print_, &QPushButton::clicked, this, &TPrintForm::PrintRequested);
    connect(Preview_, &QPushButton::clicked, this, &TPrintForm::PreviewRequested);
    connect(Cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(Help_, &QPushButton::clicked, this, &TPrintForm::HelpRequested);
    connect(Simplify_, &QPushButton::clicked, this, &TPrintForm::SimplifyRequested);

    SetLegibilityNote("No painting");
    SetSimplifyEnabled(false);
    UpdateControls();
}

TPrintForm::~TPrintForm() {
    // An edit that has the focus when the window goes would tell its end of editing to a window
    // that is half gone.
    for (QLineEdit* e : {PagesAcross_, PagesDown_, OverLap_})
        disconnect(e, nullptr, this, nullptr);
}

QRadioButton* TPrintForm::FillWithButton(int fill) const {
    return qobject_cast<QRadioButton*>(FillGroup_->button(fill));
}

void TPrintForm::SetPrinterLabels(const QString& name, const QString& note) {
    ShowValue(PrinterName_, name, "Printer Name");
    ShowValue(PrinterNote_, note, "Printer Note");
    PrinterNote_->setVisible(!note.isEmpty());
}

void TPrintForm::SetCurrentColor(std::optional<TColor> color) {
    QPalette p = CurrColor_->palette();
    p.setColor(QPalette::Window, color ? QColor(RedOf(*color), GreenOf(*color), BlueOf(*color))
                                       : palette().color(QPalette::Button));
    CurrColor_->setPalette(p);
    CurrColor_->setToolTip(
        color
            ? QString("RGB(%1, %2, %3)").arg(RedOf(*color)).arg(GreenOf(*color)).arg(BlueOf(*color))
            : QString("No colour is selected"));
}

void TPrintForm::SetLegibilityLines(const std::vector<std::string>& lines, bool current) {
    for (int i = 0; i < LegibilityLineCount; ++i) {
        const QString text = i < static_cast<int>(lines.size())
                                 ? WindowText::TrFilled(Text(lines[static_cast<std::size_t>(i)]),
                                                        LegibilityLinePatterns)
                                 : QString();
        ShowValue(LegibilityLines_[i], text);
        LegibilityLines_[i]->setEnabled(current);
        LegibilityLines_[i]->setVisible(!text.isEmpty());
    }
}

void TPrintForm::SetLegibilityNote(const QString& note) {
    SetLegibilityLines({note.toStdString()}, true);
}

void TPrintForm::SetSimplifyEnabled(bool enabled) {
    Simplify_->setEnabled(enabled);
}

void TPrintForm::UpdateControls() {
    Updating_ = true;
    const TPrintSettings& s = State_.Settings();
    const TPrintEditTexts& t = State_.Texts();
    // Only a text that differs is set again, so that the cursor stays where the user typed.
    if (PagesAcross_->text() != Text(t.PagesAcross)) PagesAcross_->setText(Text(t.PagesAcross));
    if (PagesDown_->text() != Text(t.PagesDown)) PagesDown_->setText(Text(t.PagesDown));
    if (OverLap_->text() != Text(t.Overlap)) OverLap_->setText(Text(t.Overlap));
    Marks_->setChecked(s.RegistrationMarks);
    (s.OutlinesOnly ? OutlinesOnly_ : FillShapes_)->setChecked(true);
    OutlineBlack_->setChecked(s.OutlinesBlack);
    LineWeight_->setValue(s.LineWeight);
    LineWeight_->setToolTip(Text(LineWeightHint(s.LineWeight)));
    if (QAbstractButton* b = FillGroup_->button(s.FillWith)) b->setChecked(true);
    if (QAbstractButton* b = WhatGroup_->button(s.WhatToPrint)) b->setChecked(true);
    Numbers_->setChecked(s.PrintNumbers);
    PageNumbers_->setChecked(s.PageNumbers);
    SampleBitmap_ = ToImage(DrawPrintSample(State_.Layout()));
    Sample_->setPixmap(QPixmap::fromImage(SampleBitmap_));
    UpdateEnabling();
    UpdateLabels();
    UpdateFrame();
    Updating_ = false;
    emit SampleChanged();
}

void TPrintForm::UpdateEnabling() {
    const TPrintControlsEnabled e = State_.Enabled();
    OutlinesOnly_->setEnabled(e.OutlinesOnly);
    OutlineBlack_->setEnabled(e.OutlinesBlack);
    LineWeight_->setEnabled(e.LineWeight);
    LineWeightLabel_->setEnabled(e.LineWeight);
    FillWith_->setEnabled(e.FillWith);
    Print_->setEnabled(State_.HasPages());
    Preview_->setEnabled(State_.HasPages());
}

void TPrintForm::UpdateLabels() {
    ShowValue(PaperSize_, Text(State_.PrinterSheetLabel()), "Paper Size");
    ShowValue(Orientation_, Text(State_.OrientationLabel()), "Orientation");
    ShowValue(PrintSize_, WindowText::TrFilled(Text(State_.PrintSizeLabel()), {PrintSizePattern}),
              "Total Print Size");
    ShowValue(ImageSize_, WindowText::TrFilled(Text(State_.ImageSizeLabel()), {ImageSizePattern}),
              "Image Size");
}

void TPrintForm::UpdateFrame() {
    const TPlacementFrame& f = State_.Frame();
    ImageSizer_->setVisible(f.Visible);
    SizeControl_->setVisible(f.Visible);
    if (!f.Visible) return;
    ImageSizer_->setGeometry(f.Left, f.Top, std::max(1, f.Width), std::max(1, f.Height));
    const TPoint h = State_.Handle();
    SizeControl_->move(h.X, h.Y);
    SizeControl_->raise();
}

void TPrintForm::Changed(bool changed) {
    // A choice may switch another (what to print leaves outlines only) and their enabling.
    UpdateControls();
    if (changed) emit PaintingChanged();
}

void TPrintForm::Edited(QLineEdit* edit) {
    const std::string text = edit->text().toStdString();
    bool changed = false;
    if (edit == PagesAcross_) changed = State_.EditPagesAcross(text);
    if (edit == PagesDown_) changed = State_.EditPagesDown(text);
    if (edit == OverLap_) changed = State_.EditOverlap(text);
    UpdateEnabling();
    if (changed) emit PaintingChanged();
}

void TPrintForm::EditFinished() {
    Report(State_.Recompute(), false);
    UpdateControls();
    // The overlap may have been raised: the painting keeps what the edit shows.
    emit LayoutRecomputed();
}

bool TPrintForm::RecomputeForPrint() {
    const std::optional<std::string> problem = State_.Recompute();
    Report(problem, true);
    UpdateControls();
    return !problem;
}

void TPrintForm::Report(const std::optional<std::string>& problem, bool always) {
    if (!problem) {
        Reported_.reset();
        return;
    }
    if (!always && Reported_ && *Reported_ == State_.Texts()) return;
    Reported_ = State_.Texts();
    if (Messages_) Messages_->Error(*problem);
}

void TPrintForm::FrameMouse(int kind, QPoint panel) {
    const TPoint at{panel.x(), panel.y()};
    bool moved = false;
    if (kind == mkDown) State_.FrameMouseDown(at);
    if (kind == mkMove) moved = State_.FrameMouseMove(at);
    if (kind == mkUp) State_.FrameMouseUp();
    UpdateFrame();
    UpdateLabels();
    if (moved) {
        emit PaintingChanged();
        emit SampleChanged();
    }
}

void TPrintForm::HandleMouse(int kind, QPoint panel) {
    const TPoint at{panel.x(), panel.y()};
    bool sized = false;
    if (kind == mkDown) State_.HandleMouseDown(at);
    if (kind == mkMove) sized = State_.HandleMouseMove(at);
    if (kind == mkUp) State_.HandleMouseUp();
    UpdateFrame();
    UpdateLabels();
    if (sized) {
        emit PaintingChanged();
        emit SampleChanged();
    }
}

} // namespace pigmentaria
