#include "print/qt/new_template_dialog.h"

#include "image/qt/qt_raster.h"
#include "platform/help_topics.h"
#include "platform/qt/translation.h"
#include "platform/qt/value_label.h"
#include "platform/qt/window_text.h"
#include "print/qt/raster_page_text.h"
#include "print/template_preview.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSize>
#include <QPixmap>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace pigmentaria {

namespace {

// The preview area, in the window's own pixels.
constexpr int PreviewSide = 360;
// Changes closer together than this run one preview.
constexpr int PreviewDelayMs = 150;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// The legibility line in the window's language: each part translated by its pattern.
QString LegibilityLine(const TTemplateResult& result) {
    const QString separator = TemplateLegibilitySeparator;
    QStringList parts = Text(TemplateLegibilityText(result, WindowDecimalPoint())).split(separator);
    for (QString& part : parts)
        part = WindowText::TrFilled(part, TemplateLegibilityPatterns);
    return parts.join(separator);
}

template <class Widget> Widget* Named(Widget* w, const QString& name) {
    w->setAccessibleName(name);
    return w;
}

QPushButton* Button(const QString& caption, QWidget* parent) {
    return Named(new QPushButton(caption, parent), QString(caption).remove('&'));
}

QRadioButton* Radio(const QString& caption, QWidget* parent) {
    return Named(new QRadioButton(caption, parent), QString(caption).remove('&'));
}

} // namespace

std::vector<TTemplatePaper> DefaultPrinterPapers() {
    std::vector<TTemplatePaper> out;
    const QPrinterInfo printer = QPrinterInfo::defaultPrinter();
    if (printer.isNull()) return out;
    for (const QPageSize& size : printer.supportedPageSizes()) {
        if (!size.isValid()) continue;
        const QSizeF mm = size.size(QPageSize::Millimeter);
        out.push_back({size.name().toStdString(), PaperUser,
                       static_cast<int>(std::lround(mm.width() * 10)),
                       static_cast<int>(std::lround(mm.height() * 10))});
    }
    return out;
}

QImage PreviewImage(const TRaster24& raster) {
    return RasterToImage(raster);
}

TNewTemplateDialog::TNewTemplateDialog(TNewTemplateContext context, QWidget* parent)
    : QDialog(parent), Context_(std::move(context)),
      Settings_(NewTemplateSettings(Context_.Settings)) {
    setWindowTitle("New Template");
    setAccessibleName("New Template");
    BuildControls();
    FillPapers();
    FillPaintSets();
    ShowSettings();
    Runner_ = std::make_unique<TTemplatePreviewRunner>(
        [this](std::shared_ptr<TTemplatePreview> preview) {
            // On the worker: the window takes it on its own thread.
            QMetaObject::invokeMethod(
                this, [this, preview] { Adopt(preview); }, Qt::QueuedConnection);
        },
        DrawOnRaster);
}

TNewTemplateDialog::~TNewTemplateDialog() {
    // The worker stops before the controls it reports to go.
    Runner_.reset();
}

void TNewTemplateDialog::BuildControls() {
    auto* form = new QFormLayout;
    auto row = [&](const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption + ":", this);
        label->setBuddy(field);
        field->setAccessibleName(QString(caption).remove('&'));
        form->addRow(label, field);
    };
    Difficulty_ = new QComboBox(this);
    for (TTemplateDifficulty d : {TTemplateDifficulty::Beginner, TTemplateDifficulty::Standard,
                                  TTemplateDifficulty::Expert, TTemplateDifficulty::Custom})
        Difficulty_->addItem(DifficultyName(d), static_cast<int>(d));
    row("&Difficulty", Difficulty_);
    Paints_ = new QSpinBox(this);
    Paints_->setRange(MinTemplatePaints, MaxTemplatePaints);
    row("&Paints", Paints_);
    CellMm_ = new QDoubleSpinBox(this);
    CellMm_->setRange(MinTemplateCellMm, MaxTemplateCellMm);
    CellMm_->setDecimals(1);
    CellMm_->setSingleStep(0.5);
    row("&Smallest cell (mm)", CellMm_);
    Paper_ = new QComboBox(this);
    row("Pape&r", Paper_);
    PagesAcross_ = new QSpinBox(this);
    PagesAcross_->setRange(1, MaxTemplatePages);
    row("Pages &Across", PagesAcross_);
    PagesDown_ = new QSpinBox(this);
    PagesDown_->setRange(1, MaxTemplatePages);
    row("Pages Do&wn", PagesDown_);
    CanvasSize_ = new QLabel(this);
    ShowValue(CanvasSize_, "Canvas size", "Canvas size");
    form->addRow(CanvasSize_);
    PaintSet_ = new QComboBox(this);
    PaintSet_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    row("Paint s&et", PaintSet_);

    ShowTemplate_ = Radio("Show &Template", this);
    ShowPainting_ = Radio("Show Pai&nting", this);
    auto* group = new QButtonGroup(this);
    group->addButton(ShowTemplate_);
    group->addButton(ShowPainting_);
    ShowTemplate_->setChecked(true);
    auto* radios = new QHBoxLayout;
    radios->addWidget(ShowTemplate_);
    radios->addWidget(ShowPainting_);
    radios->addStretch();
    Preview_ = Named(new QLabel(this), "Preview");
    Preview_->setFixedSize(PreviewSide, PreviewSide);
    Preview_->setAlignment(Qt::AlignCenter);
    Preview_->setFrameShape(QFrame::StyledPanel);
    Legibility_ = new QLabel(this);
    Legibility_->setWordWrap(true);
    Legibility_->setFixedWidth(PreviewSide);
    Legibility_->setMinimumHeight(Legibility_->fontMetrics().lineSpacing() * 2);
    Legibility_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto* right = new QVBoxLayout;
    right->addLayout(radios);
    right->addWidget(Preview_);
    right->addWidget(Legibility_);

    Create_ = Button("&Create", this);
    Cancel_ = Button("Cancel", this);
    Help_ = Button("&Help", this);
    Create_->setDefault(true);
    Help_->setEnabled(static_cast<bool>(Context_.Help));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {Create_, Cancel_, Help_})
        buttons->addWidget(b);

    auto* top = new QHBoxLayout;
    top->addLayout(form);
    top->addSpacing(12);
    top->addLayout(right);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addLayout(buttons);
    all->setSizeConstraint(QLayout::SetFixedSize);

    Debounce_ = new QTimer(this);
    Debounce_->setSingleShot(true);
    Debounce_->setInterval(PreviewDelayMs);
    connect(Debounce_, &QTimer::timeout, this, &TNewTemplateDialog::StartPreview);

    connect(Difficulty_, &QComboBox::activated, this, [this](int index) {
        Settings_.ChooseDifficulty(
            static_cast<TTemplateDifficulty>(Difficulty_->itemData(index).toInt()));
        SettingsChanged();
    });
    connect(Paints_, &QSpinBox::valueChanged, this, [this](int v) {
        Settings_.SetPaints(v);
        SettingsChanged();
    });
    connect(CellMm_, &QDoubleSpinBox::valueChanged, this, [this](double v) {
        Settings_.SetMinMm(v);
        SettingsChanged();
    });
    connect(Paper_, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(Papers_.size()))
            Settings_.SetPaper(Papers_[static_cast<std::size_t>(index)]);
        SettingsChanged();
    });
    connect(PagesAcross_, &QSpinBox::valueChanged, this, [this](int v) {
        Settings_.PagesAcross = v;
        SettingsChanged();
    });
    connect(PagesDown_, &QSpinBox::valueChanged, this, [this](int v) {
        Settings_.PagesDown = v;
        SettingsChanged();
    });
    connect(PaintSet_, &QComboBox::activated, this, &TNewTemplateDialog::PaintSetActivated);
    connect(ShowTemplate_, &QRadioButton::toggled, this, [this] { ShowPreview(); });
    connect(Create_, &QPushButton::clicked, this, [this] {
        if (HasCurrentTemplate()) accept();
    });
    connect(Cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(Help_, &QPushButton::clicked, this, [this] {
        if (Context_.Help) Context_.Help(HelpNewTemplate);
    });
}

void TNewTemplateDialog::FillPapers() {
    Papers_ = TemplatePapers(DefaultPrinterPapers());
    // A size kept from another printer stays choosable.
    if (Settings_.PaperCode == PaperUser) {
        const bool listed = std::any_of(Papers_.begin(), Papers_.end(), [&](const auto& p) {
            return p.Code == PaperUser && p.Width == Settings_.PaperWidth &&
                   p.Length == Settings_.PaperLength;
        });
        if (!listed)
            Papers_.push_back({PaperSizeName(Settings_.PaperWidth, Settings_.PaperLength),
                               PaperUser, Settings_.PaperWidth, Settings_.PaperLength});
    }
    Paper_->clear();
    for (const TTemplatePaper& p : Papers_)
        Paper_->addItem(Text(p.Name));
}

void TNewTemplateDialog::FillPaintSets() {
    PaintSets_.clear();
    PaintSets_.push_back({AnyColoursCaption, {}});
    for (TPaintSetEntry& e : ListPaintSets(Context_.PaletteFolder, Context_.BundledFolder))
        PaintSets_.push_back(std::move(e));
    const bool listed = std::any_of(PaintSets_.begin(), PaintSets_.end(),
                                    [&](const auto& e) { return e.Choice == Settings_.PaintSet; });
    // A file chosen with "Other palette file..." last time, when it is still there.
    if (!listed) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(Settings_.PaintSet.File, ec))
            PaintSets_.push_back({PaintSetCaption(Settings_.PaintSet), Settings_.PaintSet});
        else
            Settings_.PaintSet = {};
    }
    PaintSet_->clear();
    for (const TPaintSetEntry& e : PaintSets_)
        PaintSet_->addItem(Text(e.Caption));
    PaintSet_->addItem(OtherPaletteCaption);
}

void TNewTemplateDialog::ShowSettings() {
    const QSignalBlocker b1(Difficulty_), b2(Paints_), b3(CellMm_), b4(Paper_), b5(PagesAcross_),
        b6(PagesDown_), b7(PaintSet_);
    Difficulty_->setCurrentIndex(Difficulty_->findData(static_cast<int>(Settings_.Difficulty)));
    Paints_->setValue(Settings_.Paints);
    CellMm_->setValue(Settings_.MinMm);
    for (std::size_t i = 0; i < Papers_.size(); ++i) {
        const TTemplatePaper& p = Papers_[i];
        if (p.Code == Settings_.PaperCode &&
            (p.Code != PaperUser ||
             (p.Width == Settings_.PaperWidth && p.Length == Settings_.PaperLength)))
            Paper_->setCurrentIndex(static_cast<int>(i));
    }
    PagesAcross_->setValue(Settings_.PagesAcross);
    PagesDown_->setValue(Settings_.PagesDown);
    for (std::size_t i = 0; i < PaintSets_.size(); ++i)
        if (PaintSets_[i].Choice == Settings_.PaintSet) PaintSetShown_ = static_cast<int>(i);
    PaintSet_->setCurrentIndex(PaintSetShown_);
    if (Picture_)
        ShowValue(CanvasSize_,
                  WindowText::TrFilled(
                      Text(CanvasSizeText(Picture_->Width(), Picture_->Height(),
                                          TemplateRequestOf(Settings_), WindowDecimalPoint())),
                      {CanvasSizePattern}));
    Create_->setEnabled(HasCurrentTemplate());
}

void TNewTemplateDialog::SettingsChanged() {
    Settings_.Clamp();
    ShowSettings();
    UpdateLegibility();
    if (Showing_) Debounce_->start();
}

void TNewTemplateDialog::PaintSetActivated(int index) {
    if (index >= 0 && index < static_cast<int>(PaintSets_.size())) {
        Settings_.PaintSet = PaintSets_[static_cast<std::size_t>(index)].Choice;
        SettingsChanged();
        return;
    }
    const QString file = QFileDialog::getOpenFileName(this, "Other Palette File",
                                                      Text(Context_.PaletteFolder.string()),
                                                      "Palette files (*.kvl *.KVL);;All files (*)");
    if (!file.isEmpty()) {
        const std::filesystem::path path = file.toStdString();
        if (const std::optional<std::string> problem = PaletteFileProblem(path)) {
            Context_.Messages.Error(*problem);
        } else {
            const TPaintSetChoice choice{TPaintSetKind::Palette, path};
            const auto found = std::find_if(PaintSets_.begin(), PaintSets_.end(),
                                            [&](const auto& e) { return e.Choice == choice; });
            if (found == PaintSets_.end()) {
                PaintSets_.push_back({PaintSetCaption(choice), choice});
                PaintSet_->insertItem(static_cast<int>(PaintSets_.size()) - 1,
                                      Text(PaintSets_.back().Caption));
            }
            Settings_.PaintSet = choice;
        }
    }
    SettingsChanged();
}

int TNewTemplateDialog::PreviewPixels(int logical) const {
    return static_cast<int>(std::lround(logical * devicePixelRatioF()));
}

void TNewTemplateDialog::StartPreview() {
    if (!Picture_) return;
    Runner_->Request({Picture_, Settings_, PreviewPixels(Preview_->width() - 4),
                      PreviewPixels(Preview_->height() - 4)});
}

bool TNewTemplateDialog::HasCurrentTemplate() const {
    return Current_ && Current_->Result && Current_->Picture == Picture_ &&
           Current_->Settings == Settings_;
}

void TNewTemplateDialog::Adopt(std::shared_ptr<TTemplatePreview> preview) {
    // A preview of settings changed since is left: the one of the settings shown is coming.
    if (!preview || preview->Picture != Picture_ || !(preview->Settings == Settings_)) return;
    Current_ = std::move(preview);
    ShowPreview();
    UpdateLegibility();
    Create_->setEnabled(HasCurrentTemplate());
}

void TNewTemplateDialog::ShowPreview() {
    if (!Current_) {
        Preview_->clear();
        return;
    }
    const TRaster24& raster = ShowTemplate_->isChecked() ? Current_->Template : Current_->Painting;
    QPixmap pixmap = QPixmap::fromImage(PreviewImage(raster));
    pixmap.setDevicePixelRatio(devicePixelRatioF());
    Preview_->setPixmap(pixmap);
}

void TNewTemplateDialog::UpdateLegibility() {
    QString text;
    if (HasCurrentTemplate())
        text = LegibilityLine(*Current_->Result);
    else if (Current_ && Current_->Picture == Picture_ && Current_->Settings == Settings_)
        text = Text(Current_->Error);
    else
        text = WindowText::Tr("Making the preview...");
    ShowValue(Legibility_, text);
}

std::optional<TTemplateResult>
TNewTemplateDialog::Execute(std::shared_ptr<const TPixelGraphic> picture) {
    Picture_ = std::move(picture);
    Current_.reset();
    ShowSettings();
    ShowPreview();
    UpdateLegibility();
    Showing_ = true;
    StartPreview();
    const int answer = exec();
    Showing_ = false;
    Debounce_->stop();
    Runner_->Drop();
    std::optional<TTemplateResult> out;
    if (answer == QDialog::Accepted && HasCurrentTemplate()) {
        SetNewTemplateSettings(Context_.Settings, Settings_);
        // Held here alone once the runner has dropped it: the template is moved, not copied.
        out.emplace(std::move(*Current_->Result));
    }
    Current_.reset();
    Picture_.reset();
    return out;
}

} // namespace pigmentaria
