#include "convert/qt/modify_form.h"

#include "convert/qt/color_reduction_form.h"
#include "image/qt/filter_dialog.h"
#include "image/qt/pg_dialogs.h"
#include "image/qt/pg_image.h"
#include "image/qt/qt_clipboard.h"
#include "platform/help_topics.h"
#include "platform/qt/progress_form.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QSlider>
#include <QSpinBox>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace pigmentaria {

// The template group: a painting a person can paint, beside the default conversion.
inline constexpr const char* TemplateGroupCaption = "Template";
inline constexpr const char* ColorsByStepCaption = "Colors by step";
inline constexpr const char* ColorsByCountCaption = "Colors by count";
inline constexpr const char* PaletteSizeCaption = "Palette size";
inline constexpr const char* MinRegionAreaCaption = "Min. area (px)";
inline constexpr const char* MinRegionWidthCaption = "Min. width (px)";
inline constexpr const char* MatchToPaintsCaption = "Match to paints";
inline constexpr const char* PaintsFileCaption = "Paints";
inline constexpr const char* MinOffHint = "0 keeps every region";

// The controller's long work runs behind the program's progress window.
class TModifyForm::TJobs final : public IImportJobs {
public:
    explicit TJobs(TJobRunner& runner) : Runner_(runner) {}
    TImportJobEnd Run(const std::string& message, bool cancellable,
                      std::function<void(IProgressSink&)> work, std::string& failure) override {
        TJobReport report;
        const std::optional<bool> done = Runner_.Run<bool>(
            QString::fromStdString(message), cancellable,
            [work = std::move(work)](IProgressSink& p) {
                work(p);
                return true;
            },
            report);
        if (done) return TImportJobEnd::Done;
        failure = report.Failure;
        return report.Status == TJobStatus::Failed ? TImportJobEnd::Failed
                                                   : TImportJobEnd::Cancelled;
    }

private:
    TJobRunner& Runner_;
};

namespace {

QString Text(const char* s) {
    return QString::fromUtf8(s);
}

// A caption as a menu shows it: "&&" for one "&", other "&" marks the shortcut letter.
QString MenuText(const std::string& s) {
    return QString::fromStdString(s);
}

// A file name in a caption: its "&" are not shortcut marks.
QString Literal(const std::string& s) {
    return QString::fromStdString(s).replace("&", "&&");
}

QString Plain(const QString& caption) {
    QString out;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&';
            ++i;
            if (i < caption.size() && caption[i] != '&') out += caption[i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

QAction* AddAction(QMenu* menu, const QString& caption, const QKeySequence& keys = {}) {
    QAction* a = menu->addAction(caption);
    if (!keys.isEmpty()) a->setShortcut(keys);
    // Screen readers and tests know an entry by its caption without the shortcut marks.
    a->setObjectName(Plain(caption));
    return a;
}

// A track bar with the labels under its two ends, in a box of its own.
QSlider* TrackBarBox(QWidget* parent, QVBoxLayout* into, const TTrackBarSpec& bar) {
    auto* box = new QGroupBox(Text(bar.Caption), parent);
    box->setAccessibleName(Text(bar.Caption));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    auto* slider = new QSlider(Qt::Horizontal, box);
    slider->setRange(bar.Minimum, bar.Maximum);
    slider->setTickInterval(bar.Tick);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setPageStep(bar.Tick);
    slider->setValue(bar.Default);
    slider->setAccessibleName(Text(bar.Caption));
    if (*bar.Hint) {
        slider->setToolTip(Text(bar.Hint));
        slider->setAccessibleDescription(Text(bar.Hint));
    }
    layout->addWidget(slider);
    auto* ends = new QHBoxLayout;
    auto* low = new QLabel(Text(bar.LowLabel), box);
    auto* high = new QLabel(Text(bar.HighLabel), box);
    QFont small = low->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    low->setFont(small);
    high->setFont(small);
    ends->addWidget(low, 1, Qt::AlignLeft);
    ends->addWidget(high, 1, Qt::AlignRight);
    layout->addLayout(ends);
    into->addWidget(box);
    return slider;
}

} // namespace

TModifyForm::TModifyForm(TImportContext context, QWidget* parent)
    : QDialog(parent), Messages_(context.Messages), Jobs_(std::make_unique<TJobs>(context.Jobs)),
      Controller_(*this, {context.Settings, std::move(context.PaletteFolder), context.Messages,
                          *Jobs_, std::move(context.Adopt), std::move(context.MakeTemplate)}) {
    setWindowTitle(ModifyFormCaption);
    setObjectName("ModifyForm");
    setSizeGripEnabled(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    MenuBar_ = new QMenuBar(this);
    MenuBar_->setNativeMenuBar(false);
    MenuBar_->setAccessibleName("Menu bar");
    layout->setMenuBar(MenuBar_);
    CreateToolBar();
    layout->addWidget(ToolBar1_);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    PGImage1_ = new TPGImage(this);
    PGImage1_->setObjectName("PGImage1");
    PGImage1_->setAccessibleName("Working picture");
    PGImage1_->SetActionMode(amCreateSelection);
    PGImage1_->SetStretch(sZoomKAR);
    PGImage1_->SetStretchMode(smPrecise);
    PGImage1_->SetZoomFactor(1.0);
    PGImage1_->SetCenter(true);
    // The zoom belongs to the session (it is the scale of the painting): Ctrl+wheel asks it.
    PGImage1_->SetWheelZooms(false);
    body->addWidget(PGImage1_, 1);
    CreateAdvancedPanel();
    body->addWidget(AdvancedControls_);
    layout->addLayout(body, 1);
    CreateMenus();

    connect(PGImage1_, &TPGImage::SelectionMade, this, &TModifyForm::PGImage1SelectionMade);
    connect(PGImage1_, &TPGImage::WheelZoomRequest, this, [this](int steps, QPoint) {
        if (steps > 0)
            EnlargeClick();
        else if (steps < 0)
            ReduceClick();
    });

    resize(ModifyFormClientWidth, ModifyFormClientHeight);
    Controller_.ReadSettings();
    ShowControls();
    ShowZoom();
}

TModifyForm::~TModifyForm() = default;

// ---- Building

void TModifyForm::CreateToolBar() {
    ToolBar1_ = new QToolBar(this);
    ToolBar1_->setObjectName("ToolBar1");
    ToolBar1_->setAccessibleName("Tool bar");
    ToolBar1_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto button = [this](const char* caption, const char* hint = nullptr) {
        auto* b = new QToolButton(ToolBar1_);
        b->setText(Text(caption));
        b->setAccessibleName(Text(hint ? hint : caption));
        if (hint) b->setToolTip(Text(hint));
        b->setAutoRaise(true);
        ToolBar1_->addWidget(b);
        return b;
    };
    Enlarge_ = button(EnlargeCaption);
    Reduce_ = button(ReduceCaption);
    ZoomButton_ = button("Zoom", ZoomMenuHint);
    ZoomMenu_ = new QMenu(ZoomButton_);
    ZoomMenu_->setObjectName("ZoomMenu");
    ZoomGroup_ = new QActionGroup(ZoomMenu_);
    ZoomGroup_->setExclusive(true);
    for (std::size_t i = 0; i < ImportZoomMenu.size(); ++i) {
        QAction* a = ZoomMenu_->addAction(Text(ImportZoomMenu[i].Caption));
        a->setCheckable(true);
        a->setObjectName(Text(ImportZoomMenu[i].Caption));
        ZoomGroup_->addAction(a);
        ZoomItems_[i] = a;
        connect(a, &QAction::triggered, this, [this, i] { ZoomLevelClick(static_cast<int>(i)); });
    }
    ZoomButton_->setMenu(ZoomMenu_);
    ZoomButton_->setPopupMode(QToolButton::InstantPopup);
    ToolBar1_->addSeparator();
    Import_ = button(ImportCaption);
    MakeTemplate_ = button(MakeTemplateCaption);
    Cancel_ = button(CancelCaption);
    ToolBar1_->addSeparator();
    AdvancedCheck_ = new QCheckBox(Text(AdvancedCaption), ToolBar1_);
    AdvancedCheck_->setAccessibleName(Text(AdvancedCaption));
    ToolBar1_->addWidget(AdvancedCheck_);

    // The button that shows the buttons a narrow dialog has no room for.
    if (auto* more = ToolBar1_->findChild<QToolButton*>("qt_toolbar_ext_button"))
        more->setAccessibleName("More tools");
    connect(Enlarge_, &QToolButton::clicked, this, &TModifyForm::EnlargeClick);
    connect(Reduce_, &QToolButton::clicked, this, &TModifyForm::ReduceClick);
    connect(Import_, &QToolButton::clicked, this, &TModifyForm::Import1Click);
    connect(MakeTemplate_, &QToolButton::clicked, this, &TModifyForm::MakeTemplateClick);
    connect(Cancel_, &QToolButton::clicked, this, &TModifyForm::Cancel1Click);
    connect(AdvancedCheck_, &QCheckBox::toggled, this, &TModifyForm::SetAdvanced);
}

void TModifyForm::CreateAdvancedPanel() {
    AdvancedControls_ = new QWidget(this);
    AdvancedControls_->setObjectName("AdvancedControls");
    AdvancedControls_->setAccessibleName("Advanced controls");
    AdvancedControls_->setFixedWidth(AdvancedPanelWidth);
    auto* panel = new QVBoxLayout(AdvancedControls_);
    panel->setContentsMargins(4, 4, 4, 4);

    auto* reduction = new QGroupBox(Text(ColorReductionGroupCaption), AdvancedControls_);
    reduction->setAccessibleName(Text(ColorReductionGroupCaption));
    auto* r = new QVBoxLayout(reduction);
    r->setContentsMargins(4, 4, 4, 4);
    ColorDepth_ = TrackBarBox(reduction, r, ColorDepthSpec);
    ColorDepth_->setObjectName("ColorDepth");
    SimplificationLevel_ = TrackBarBox(reduction, r, SimplificationLevelSpec);
    SimplificationLevel_->setObjectName("SimplificationLevel");
    Preview_ = new QPushButton(Text(PreviewReductionCaption), reduction);
    Preview_->setObjectName("Preview");
    Preview_->setAccessibleName(Text(PreviewReductionCaption));
    r->addWidget(Preview_);
    ReduceIntoOriginal_ = new QPushButton(Text(ReduceIntoOriginalCaption), reduction);
    ReduceIntoOriginal_->setObjectName("ReduceIntoOriginal");
    ReduceIntoOriginal_->setAccessibleName(Text(ReduceIntoOriginalCaption));
    ReduceIntoOriginal_->setFlat(true);
    r->addWidget(ReduceIntoOriginal_);
    panel->addWidget(reduction);

    auto* tracing = new QGroupBox(Text(TracingGroupCaption), AdvancedControls_);
    tracing->setAccessibleName(Text(TracingGroupCaption));
    auto* t = new QVBoxLayout(tracing);
    t->setContentsMargins(4, 4, 4, 4);
    OutlineMethod_ = new QGroupBox(Text(OutlineMethodCaption), tracing);
    OutlineMethod_->setObjectName("OutlineMethod");
    OutlineMethod_->setAccessibleName(Text(OutlineMethodCaption));
    // Three columns do not fit the panel's width at today's font sizes: the items wrap to a
    // second row rather than losing their captions.
    auto* columns = new QGridLayout(OutlineMethod_);
    columns->setContentsMargins(2, 2, 2, 2);
    columns->setSpacing(2);
    OutlineGroup_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < OutlineMethodItems.size(); ++i) {
        auto* item = new QRadioButton(Text(OutlineMethodItems[i]), OutlineMethod_);
        item->setAccessibleName(Text(OutlineMethodItems[i]));
        OutlineGroup_->addButton(item, static_cast<int>(i));
        columns->addWidget(item, static_cast<int>(i / 2), static_cast<int>(i % 2));
        OutlineItems_[i] = item;
    }
    OutlineItems_[0]->setChecked(true);
    t->addWidget(OutlineMethod_);
    AbstractionLevel_ = TrackBarBox(tracing, t, AbstractionLevelSpec);
    AbstractionLevel_->setObjectName("AbstractionLevel");
    EliminateLines_ = new QCheckBox(Text(EliminateLinesCaption), tracing);
    EliminateLines_->setObjectName("EliminateLines");
    EliminateLines_->setAccessibleName(Text(EliminateLinesCaption));
    EliminateLines_->setChecked(true);
    t->addWidget(EliminateLines_);
    panel->addWidget(tracing);
    CreateTemplateGroup(panel);
    panel->addStretch(1);

    for (QSlider* s : {ColorDepth_, SimplificationLevel_, AbstractionLevel_})
        connect(s, &QSlider::valueChanged, this, &TModifyForm::ControlsEdited);
    connect(OutlineGroup_, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) ControlsEdited();
    });
    connect(EliminateLines_, &QCheckBox::toggled, this, &TModifyForm::ControlsEdited);
    connect(Preview_, &QPushButton::clicked, this, &TModifyForm::PreviewClick);
    connect(ReduceIntoOriginal_, &QPushButton::clicked, this,
            &TModifyForm::ReduceIntoOriginalClick);
}

void TModifyForm::CreateTemplateGroup(QVBoxLayout* panel) {
    TemplateGroup_ = new QGroupBox(Text(TemplateGroupCaption), AdvancedControls_);
    TemplateGroup_->setObjectName("TemplateGroup");
    TemplateGroup_->setAccessibleName(Text(TemplateGroupCaption));
    auto* grid = new QGridLayout(TemplateGroup_);
    grid->setContentsMargins(4, 2, 4, 4);
    grid->setVerticalSpacing(2);
    auto* modes = new QButtonGroup(TemplateGroup_);
    const auto radio = [&](const char* caption, int row) {
        auto* b = new QRadioButton(Text(caption), TemplateGroup_);
        b->setAccessibleName(Text(caption));
        modes->addButton(b, row);
        grid->addWidget(b, row, 0, 1, 2);
        return b;
    };
    ColorsByStep_ = radio(ColorsByStepCaption, 0);
    ColorsByCount_ = radio(ColorsByCountCaption, 1);
    ColorsByStep_->setChecked(true);
    const auto spin = [&](const char* caption, const TWholeRange& range, int row,
                          const char* hint) {
        auto* label = new QLabel(Text(caption), TemplateGroup_);
        auto* box = new QSpinBox(TemplateGroup_);
        box->setRange(range.Min, range.Max);
        box->setValue(range.Default);
        box->setAccessibleName(Text(caption));
        if (hint) box->setSpecialValueText(Text("Off"));
        if (hint) box->setToolTip(Text(hint));
        label->setBuddy(box);
        grid->addWidget(label, row, 0);
        grid->addWidget(box, row, 1);
        return box;
    };
    PaletteSize_ = spin(PaletteSizeCaption, TemplatePaletteSizeRange, 2, nullptr);
    PaletteSize_->setObjectName("PaletteSize");
    MinRegionArea_ = spin(MinRegionAreaCaption, TemplateMinAreaRange, 3, MinOffHint);
    MinRegionArea_->setObjectName("MinRegionArea");
    MinRegionWidth_ = spin(MinRegionWidthCaption, TemplateMinWidthRange, 4, MinOffHint);
    MinRegionWidth_->setObjectName("MinRegionWidth");
    MatchToPaints_ = new QCheckBox(Text(MatchToPaintsCaption), TemplateGroup_);
    MatchToPaints_->setObjectName("MatchToPaints");
    MatchToPaints_->setAccessibleName(Text(MatchToPaintsCaption));
    grid->addWidget(MatchToPaints_, 5, 0, 1, 2);
    PaintsFile_ = new QComboBox(TemplateGroup_);
    PaintsFile_->setObjectName("PaintsFile");
    PaintsFile_->setAccessibleName(Text(PaintsFileCaption));
    PaintsFile_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    PaintsFile_->setMinimumContentsLength(4);
    // Screen readers on this platform name a combo box by its label.
    auto* paintsLabel = new QLabel(Text(PaintsFileCaption), TemplateGroup_);
    paintsLabel->setBuddy(PaintsFile_);
    auto* paintsRow = new QHBoxLayout;
    paintsRow->addWidget(paintsLabel);
    paintsRow->addWidget(PaintsFile_, 1);
    grid->addLayout(paintsRow, 6, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    panel->addWidget(TemplateGroup_);

    connect(modes, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on) TemplateEdited();
    });
    for (QSpinBox* b : {PaletteSize_, MinRegionArea_, MinRegionWidth_})
        connect(b, &QSpinBox::valueChanged, this, &TModifyForm::TemplateEdited);
    connect(MatchToPaints_, &QCheckBox::toggled, this, &TModifyForm::TemplateEdited);
    connect(PaintsFile_, &QComboBox::currentIndexChanged, this, &TModifyForm::TemplateEdited);
}

void TModifyForm::ShowPaintsFiles() {
    Updating_ = true;
    PaintsFile_->clear();
    // Listed by its description, as the palette window lists it; the file name in the entry's
    // tip and data.
    for (const TImportController::TPaintsEntry& f : Controller_.PaintsFiles()) {
        const QString name = QString::fromStdString(f.Name);
        PaintsFile_->addItem(QString::fromStdString(f.Shown), name);
        PaintsFile_->setItemData(PaintsFile_->count() - 1, name, Qt::ToolTipRole);
    }
    Updating_ = false;
}

void TModifyForm::ShowTemplate() {
    Updating_ = true;
    const TTemplateImportSettings& t = Controller_.TemplateSettings();
    (t.ColorMode == TColorMode::ByCount ? ColorsByCount_ : ColorsByStep_)->setChecked(true);
    PaletteSize_->setValue(t.PaletteSize);
    MinRegionArea_->setValue(t.MinAreaPixels);
    MinRegionWidth_->setValue(t.MinWidthPixels);
    MatchToPaints_->setChecked(t.MatchToPaints);
    PaintsFile_->setCurrentIndex(Controller_.PaintsIndex());
    const TTemplateGroupRules rules = Controller_.TemplateRules();
    ColorDepth_->setEnabled(rules.ColorDepthEnabled);
    PaletteSize_->setEnabled(rules.PaletteSizeEnabled);
    MatchToPaints_->setEnabled(rules.MatchToPaintsEnabled);
    PaintsFile_->setEnabled(rules.PaintsFileEnabled);
    Updating_ = false;
}

TTemplateImportSettings TModifyForm::TemplateShown() const {
    TTemplateImportSettings t;
    t.ColorMode = ColorsByCount_->isChecked() ? TColorMode::ByCount : TColorMode::ByStep;
    t.PaletteSize = PaletteSize_->value();
    t.MinAreaPixels = MinRegionArea_->value();
    t.MinWidthPixels = MinRegionWidth_->value();
    t.MatchToPaints = MatchToPaints_->isChecked();
    if (PaintsFile_->currentIndex() >= 0)
        t.PaintsFile = PaintsFile_->currentData().toString().toStdString();
    return t;
}

void TModifyForm::TemplateEdited() {
    if (!Updating_) Controller_.TemplateChanged();
}

void TModifyForm::CreateMenus() {
    FileMenu_ = MenuBar_->addMenu(Text(FileMenuCaption));
    ReOpen_ = AddAction(FileMenu_, Text(ReOpenCaption), QKeySequence("Ctrl+R"));
    SaveAs_ = AddAction(FileMenu_, Text(SaveAsCaption));
    ImportNow_ = AddAction(FileMenu_, Text(ImportNowCaption));
    CancelItem_ = AddAction(FileMenu_, Text(CancelCaption));
    connect(FileMenu_, &QMenu::aboutToShow, this, &TModifyForm::File1Click);
    connect(ReOpen_, &QAction::triggered, this, &TModifyForm::ReOpen1Click);
    connect(SaveAs_, &QAction::triggered, this, &TModifyForm::SaveAs1Click);
    connect(ImportNow_, &QAction::triggered, this, &TModifyForm::Import1Click);
    connect(CancelItem_, &QAction::triggered, this, &TModifyForm::Cancel1Click);

    EditMenu_ = MenuBar_->addMenu(Text(EditMenuCaption));
    Copy_ = AddAction(EditMenu_, Text(CopyCaption), QKeySequence("Ctrl+C"));
    Paste_ = AddAction(EditMenu_, Text(PasteCaption), QKeySequence("Ctrl+V"));
    connect(EditMenu_, &QMenu::aboutToShow, this, &TModifyForm::Edit1Click);
    connect(Copy_, &QAction::triggered, this, &TModifyForm::Copy1Click);
    connect(Paste_, &QAction::triggered, this, &TModifyForm::Paste1Click);

    StylesMenu_ = MenuBar_->addMenu(Text(StartingPointsCaption));
    for (TPaintingStyle style : StartingPoints) {
        QAction* a = AddAction(StylesMenu_, MenuText(StyleCaption(style)));
        StyleActions_[style] = a;
        connect(a, &QAction::triggered, this, [this, style] { StyleClick(style); });
    }
    EffectsMenu_ = MenuBar_->addMenu(Text(AdvancedEffectsCaption));
    for (const TFilterMenuItem& item : AdvancedEffectsItems) {
        QAction* a = AddAction(EffectsMenu_, Text(item.Caption));
        FilterActions_[item.Kind] = a;
        connect(a, &QAction::triggered, this, [this, kind = item.Kind] { FilterClick(kind); });
    }
    AdjustMenu_ = MenuBar_->addMenu(Text(AdjustColorsCaption));
    for (const TFilterMenuItem& item : AdjustColorsItems) {
        QAction* a = AddAction(AdjustMenu_, Text(item.Caption));
        FilterActions_[item.Kind] = a;
        connect(a, &QAction::triggered, this, [this, kind = item.Kind] { FilterClick(kind); });
    }
    HelpMenu_ = MenuBar_->addMenu(Text(HelpMenuCaption));
    QAction* first = AddAction(HelpMenu_, Text(ImportingFirstPictureCaption));
    QAction* reference = AddAction(HelpMenu_, Text(QuickReferenceCaption));
    connect(first, &QAction::triggered, this, [this] {
        if (Help_) Help_(HelpImportingFirstPicture);
    });
    connect(reference, &QAction::triggered, this, [this] {
        if (Help_) Help_(HelpImportQuickReference);
    });
    for (QMenu* m : {FileMenu_, EditMenu_, StylesMenu_, EffectsMenu_, AdjustMenu_, HelpMenu_}) {
        m->setObjectName(Plain(m->title()));
        m->menuAction()->setObjectName(Plain(m->title()));
    }
}

QRadioButton* TModifyForm::OutlineMethodItem(int index) const {
    return index >= 0 && index < 3 ? OutlineItems_[static_cast<std::size_t>(index)] : nullptr;
}

QAction* TModifyForm::StyleAction(TPaintingStyle style) const {
    return StyleActions_.at(style);
}

QAction* TModifyForm::FilterAction(TFilterKind kind) const {
    return FilterActions_.at(kind);
}

TFilterDialogForm& TModifyForm::FilterDialog(TFilterKind kind) {
    auto& form = FilterDialogs_[kind];
    if (!form) form = std::make_unique<TFilterDialogForm>(kind, this);
    return *form;
}

TColorReductionForm& TModifyForm::ColorReductionForm() {
    if (!ColorReduction_) ColorReduction_ = std::make_unique<TColorReductionForm>(this);
    return *ColorReduction_;
}

TPGSaveDialog& TModifyForm::PGSaveDialog1() {
    if (!SaveDialog_) SaveDialog_ = std::make_unique<TPGSaveDialog>(this, &Messages_);
    return *SaveDialog_;
}

// ---- The view of the session

void TModifyForm::ShowPicture() {
    auto copy = std::make_unique<TPixelGraphic>();
    copy->Assign(&Session().Picture());
    PGImage1_->SetPixelGraphic(copy->Empty() ? nullptr : std::move(copy));
    ShowZoom();
    ShowSelection();
}

void TModifyForm::ShowZoom() {
    const double zoom = Session().ZoomFactor();
    PGImage1_->SetZoomFactor(zoom);
    ZoomItems_[static_cast<std::size_t>(ImportZoomMenuCheck(zoom))]->setChecked(true);
    ShowToolBar();
}

void TModifyForm::ShowToolBar() {
    const TImportToolBarRules rules = Controller_.ToolBar();
    Reduce_->setEnabled(rules.ReduceEnabled);
    MakeTemplate_->setEnabled(rules.MakeTemplateEnabled);
}

void TModifyForm::ShowSelection() {
    if (const auto& s = Session().Selection()) {
        PGImage1_->SetSelectionRect({s->Left, s->Top, s->Right, s->Bottom});
        PGImage1_->SetSelection(true);
    } else {
        PGImage1_->SetSelection(false);
    }
}

void TModifyForm::ShowControls() {
    Updating_ = true;
    const TConversionControls& c = Session().Controls;
    ColorDepth_->setValue(c.ColorDepth);
    SimplificationLevel_->setValue(c.SimplificationLevel);
    AbstractionLevel_->setValue(c.AbstractionLevel);
    OutlineItems_[static_cast<std::size_t>(OutlineMethodIndex(c.OutlineMethod))]->setChecked(true);
    EliminateLines_->setChecked(c.EliminateLines);
    Updating_ = false;
    ShowTemplate();
}

TConversionControls TModifyForm::ControlsShown() const {
    TConversionControls c = Session().Controls;
    c.ColorDepth = ColorDepth_->value();
    c.SimplificationLevel = SimplificationLevel_->value();
    c.AbstractionLevel = AbstractionLevel_->value();
    c.OutlineMethod = OutlineMethodFromIndex(std::max(0, OutlineGroup_->checkedId()));
    c.EliminateLines = EliminateLines_->isChecked();
    return c;
}

void TModifyForm::ControlsEdited() {
    if (!Updating_) Controller_.ControlsChanged();
}

void TModifyForm::ShowAdvanced(bool on) {
    {
        const QSignalBlocker quiet(AdvancedCheck_);
        AdvancedCheck_->setChecked(on);
    }
    AdvancedControls_->setVisible(on);
    EffectsMenu_->menuAction()->setVisible(on);
    AdjustMenu_->menuAction()->setVisible(on);
}

void TModifyForm::ShowReduction() {
    ColorReductionForm().Execute(Session().Reduced());
}

// ---- Showing the dialog

void TModifyForm::RunModal() {
    exec();
}

void TModifyForm::CloseDialog(bool imported) {
    if (imported)
        accept();
    else
        reject();
}

void TModifyForm::showEvent(QShowEvent* event) {
    switch (Controller_.PlacingOnShow()) {
    case TImportPlacing::Kept: {
        const TWindowPlace& p = Controller_.KeptPlace();
        setGeometry(p.Left, p.Top, p.Width, p.Height);
        break;
    }
    case TImportPlacing::Centred:
        if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
        break;
    case TImportPlacing::Stay:
        break;
    }
    QDialog::showEvent(event);
}

void TModifyForm::hideEvent(QHideEvent* event) {
    const QRect g = geometry();
    Controller_.DialogHidden({g.top(), g.left(), g.height(), g.width()},
                             isMaximized() || isMinimized());
    QDialog::hideEvent(event);
}

// ---- Filters

void TModifyForm::FilterClick(TFilterKind kind) {
    if (!HoldsPicture()) return;
    if (FilterDialog(kind).Execute(Session().Picture(), Session().Filters)) ApplyFilter(kind);
}

// ---- File

void TModifyForm::File1Click() {
    const TReOpenEntry entry = ReOpenEntry(Session().FileName());
    ReOpen_->setEnabled(entry.Enabled);
    ReOpen_->setText(entry.Enabled ? Literal(entry.Caption) : Text(ReOpenCaption));
    SaveAs_->setEnabled(HoldsPicture());
}

void TModifyForm::SaveAs1Click() {
    if (!HoldsPicture()) return;
    QString folder;
    if (!Session().FileName().empty())
        folder = QFileInfo(QString::fromStdString(Session().FileName())).absolutePath();
    const QString file = PGSaveDialog1().Execute(folder);
    if (!file.isEmpty()) SavePictureAs(file);
}

// ---- Edit

void TModifyForm::Edit1Click() {
    Paste_->setEnabled(ClipboardHoldsPicture());
    Copy_->setEnabled(HoldsPicture());
}

void TModifyForm::Copy1Click() {
    if (!HoldsPicture()) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    PutPictureOnClipboard(Session().ShownPicture());
    QApplication::restoreOverrideCursor();
}

void TModifyForm::Paste1Click() {
    if (!ClipboardHoldsPicture()) return;
    TClipboardRead read = ReadClipboardPicture();
    if (!read.Picture) {
        Messages_.Error(read.Error);
        return;
    }
    SetPicture(std::move(*read.Picture));
}

// ---- Selection

void TModifyForm::PGImage1SelectionMade() {
    const TViewRect r = PGImage1_->SelectionRect();
    Controller_.SelectionMade({r.Left, r.Top, r.Right, r.Bottom});
}

} // namespace pigmentaria
