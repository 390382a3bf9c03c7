#include "editor/qt/tool_form.h"

#include "editor/qt/tool_dialogs.h"
#include "editor/qt/tool_icons.h"
#include "editor/qt/vector_form.h"
#include "editor/tool_cursors.h"
#include "palette/color_functions.h"
#include "platform/help_topics.h"
#include "platform/qt/image_surface.h"
#include "platform/qt/keyboard.h"
#include "platform/qt/value_label.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>
#include <system_error>

namespace pigmentaria {

namespace {

constexpr const char* NewPaletteItem = "(new palette)";
constexpr const char* PaletteFileFilter = "Pigmentaria Palette Files (*.kvl)|*.kvl";
constexpr const char* SavePaletteFilter = "Pigmentaria Palette Files|*.KVL";

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// One cell of a swatch grid as assistive technology sees it: a list item named by its number,
// name and colour, whose press action picks it as a click does.
class TSwatchCellAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TSwatchCellAccessible(TSwatchView* view, int index) : View_(view), Index_(index) {}
    bool isValid() const override { return View_ && Index_ < View_->CellCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return View_ ? View_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override {
        return View_ ? QAccessible::queryAccessibleInterface(View_.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? View_->CellText(Index_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = View_->CellRect(Index_);
        return QRect(View_->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invisible = !isValid() || !View_->isVisible();
        s.focusable = true;
        s.focused = isValid() && View_->hasFocus() && View_->CurrentCell() == Index_;
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid()) View_->ClickCell(Index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<TSwatchView> View_;
    int Index_;
};

class TSwatchViewAccessible final : public QAccessibleWidget {
public:
    explicit TSwatchViewAccessible(TSwatchView* view)
        : QAccessibleWidget(view, QAccessible::List) {}
    ~TSwatchViewAccessible() override {
        for (const QAccessible::Id id : Cells_)
            QAccessible::deleteAccessibleInterface(id);
    }
    int childCount() const override { return View()->CellCount(); }
    QAccessibleInterface* focusChild() const override {
        return View()->hasFocus() ? child(View()->CurrentCell()) : nullptr;
    }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        while (static_cast<int>(Cells_.size()) <= index)
            Cells_.push_back(QAccessible::registerAccessibleInterface(
                new TSwatchCellAccessible(View(), static_cast<int>(Cells_.size()))));
        return QAccessible::accessibleInterface(Cells_[static_cast<std::size_t>(index)]);
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (std::size_t i = 0; i < Cells_.size(); ++i)
            if (QAccessible::accessibleInterface(Cells_[i]) == child &&
                static_cast<int>(i) < childCount())
                return static_cast<int>(i);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint local = View()->mapFromGlobal(QPoint(x, y));
        for (int i = 0; i < childCount(); ++i)
            if (View()->CellRect(i).contains(local)) return child(i);
        return nullptr;
    }

private:
    TSwatchView* View() const { return static_cast<TSwatchView*>(widget()); }
    mutable std::vector<QAccessible::Id> Cells_;
};

// The palette window is a window to assistive technology (a plain widget would be a filler), and
// its swatch grids are lists of colours.
QAccessibleInterface* PaletteWindowAccessible(const QString& key, QObject* object) {
    if (!object || !object->isWidgetType()) return nullptr;
    if (key == QLatin1String("pigmentaria::TToolForm"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    if (key == QLatin1String("pigmentaria::TSwatchView"))
        return new TSwatchViewAccessible(static_cast<TSwatchView*>(object));
    return nullptr;
}

} // namespace

// ---- TSwatchView

TSwatchView::TSwatchView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(120, 80);
    setFocusPolicy(Qt::StrongFocus);
}

void TSwatchView::Redraw(const TNamedPalette* palette) {
    Palette_ = palette;
    if (width() <= 0 || height() <= 0) return;
    Picture_ = QImage(size(), QImage::Format_RGB32);
    TQImageSurface surface(Picture_);
    Cells_.clear();
    if (Palette_) {
        DrawPaletteSwatches(*Palette_, surface);
        Cells_ = PaletteSwatchCells(Palette_->Count(), width(), height());
        Current_ = std::clamp(Current_, 0, std::max(CellCount() - 1, 0));
    } else {
        Picture_.fill(QColor(RedOf(clBtnFace), GreenOf(clBtnFace), BlueOf(clBtnFace)));
    }
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
    update();
}

QString TSwatchView::CellText(int index) const {
    if (!Palette_ || index < 0 || index >= CellCount()) return {};
    return Q(SwatchCellSpokenText(index + 1, Palette_->Entries()[static_cast<std::size_t>(index)]));
}

QRect TSwatchView::CellRect(int index) const {
    if (index < 0 || index >= CellCount()) return {};
    const TSwatchCell& c = Cells_[static_cast<std::size_t>(index)];
    return QRect(c.Left, c.Top, c.Right - c.Left, c.Bottom - c.Top);
}

void TSwatchView::ClickCell(int index) {
    if (!Palette_ || index < 0 || index >= CellCount()) return;
    emit Clicked(Palette_->Entries()[static_cast<std::size_t>(index)].Color);
}

std::optional<TColor> TSwatchView::ColorAt(QPoint p) const {
    if (Picture_.isNull() || !Picture_.rect().contains(p)) return std::nullopt;
    const QRgb c = Picture_.pixel(p);
    return MakeColor(qRed(c), qGreen(c), qBlue(c));
}

void TSwatchView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    if (!Picture_.isNull()) p.drawImage(0, 0, Picture_);
    if (!hasFocus() || CellCount() == 0) return;
    // Black inside white, so the frame shows on any colour.
    const QRect r = CellRect(Current_);
    p.setBrush(Qt::NoBrush);
    p.setPen(Qt::white);
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawRect(r.adjusted(1, 1, -2, -2));
}

void TSwatchView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (const auto c = ColorAt(event->position().toPoint())) emit Clicked(*c);
}

void TSwatchView::keyPressEvent(QKeyEvent* event) {
    std::optional<TSwatchStep> step;
    switch (event->key()) {
    case Qt::Key_Left:
        step = TSwatchStep::Previous;
        break;
    case Qt::Key_Right:
        step = TSwatchStep::Next;
        break;
    case Qt::Key_Up:
        step = TSwatchStep::Up;
        break;
    case Qt::Key_Down:
        step = TSwatchStep::Down;
        break;
    case Qt::Key_Home:
        step = TSwatchStep::First;
        break;
    case Qt::Key_End:
        step = TSwatchStep::Last;
        break;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        ClickCell(Current_);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    SetCurrentCell(SwatchCellAfterStep(Cells_, Current_, *step));
}

void TSwatchView::SetCurrentCell(int index) {
    if (index == Current_) return;
    Current_ = index;
    update();
    if (QAccessible::isActive() && hasFocus()) {
        QAccessibleEvent event(this, QAccessible::Focus);
        event.setChild(Current_);
        QAccessible::updateAccessibility(&event);
    }
}

void TSwatchView::focusInEvent(QFocusEvent*) {
    update();
}

void TSwatchView::focusOutEvent(QFocusEvent*) {
    update();
}

void TSwatchView::resizeEvent(QResizeEvent*) {
    Redraw(Palette_);
}

// ---- TToolForm

TToolForm::TToolForm(TAppContext& context, IToolDialogs& dialogs,
                     std::filesystem::path bundledFolder, QWidget* parent)
    : QWidget(parent, Qt::Tool), Ctx_(context), Dialogs_(&dialogs),
      Bundled_(std::move(bundledFolder)) {
    QAccessible::installFactory(&PaletteWindowAccessible);
    setObjectName("ToolForm");
    setWindowTitle("Palette");
    resize(340, 340);
    auto* layout = new QVBoxLayout(this);
    auto* bar = new QToolBar(this);
    bar->setObjectName("PaletteTools");
    bar->setAccessibleName("Palette tools");
    auto button = [&](const char* text, const char* hint, const char* name) {
        QAction* a = bar->addAction(text);
        a->setToolTip(hint);
        a->setStatusTip(hint);
        a->setObjectName(name);
        return a;
    };
    Pick_ = button("Pick", "Select a paint color from the palette.", "PickButton");
    Replace_ = button("Replace", "Replace a color with the current paint color.", "ReplaceButton");
    // Grouped check buttons: one down releases the other; neither is down at first.
    for (QAction* a : {Pick_, Replace_})
        a->setCheckable(true);
    connect(Pick_, &QAction::triggered, this, [this] {
        Mode_ = TClickMode::Pick;
        Pick_->setChecked(true);
        Replace_->setChecked(false);
        PaintingPaletteImage_->setCursor(ToolCursor(tmEyedropper));
    });
    connect(Replace_, &QAction::triggered, this, [this] {
        Mode_ = TClickMode::Replace;
        Replace_->setChecked(true);
        Pick_->setChecked(false);
        PaintingPaletteImage_->setCursor(ToolCursor(tmBrushstroke));
    });
    bar->addSeparator();
    ReplacePalette_ = button("Use Palette", "Replace Painting Colors With Current Palette",
                             "ReplacePaletteButton");
    EditPalette_ = button("Edit", "Edit Palette.", "EditPaletteButton");
    HelpAction_ = button("?", "Help", "PaletteHelpButton");
    for (QAction* a : {Pick_, Replace_, ReplacePalette_, EditPalette_, HelpAction_})
        if (QWidget* w = bar->widgetForAction(a)) w->setAccessibleName(a->toolTip());
    TabThroughToolBar(bar);
    layout->addWidget(bar);

    ColorPages_ = new QTabWidget(this);
    ColorPages_->setObjectName("ColorPages");
    ColorPages_->setAccessibleName("Palette pages");
    PaintingPaletteImage_ = new TSwatchView;
    PaintingPaletteImage_->setObjectName("PaintingPaletteImage");
    PaintingPaletteImage_->setAccessibleName("Painting colors");
    PaintingPaletteImage_->setCursor(ToolCursor(tmEyedropper));
    ColorPages_->addTab(PaintingPaletteImage_, "Painting Colors");
    auto* palettes = new QWidget;
    auto* pl = new QVBoxLayout(palettes);
    ComboBox1_ = new QComboBox;
    ComboBox1_->setObjectName("ComboBox1");
    ComboBox1_->setAccessibleName("Palette file");
    // Descriptions are cut for the list; the box never widens the window past the screen.
    ComboBox1_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1_->setMinimumContentsLength(24);
    pl->addWidget(ComboBox1_);
    CustomPalette_ = new TSwatchView;
    CustomPalette_->setObjectName("CustomPalette");
    CustomPalette_->setAccessibleName("Palette colors");
    CustomPalette_->setCursor(ToolCursor(tmEyedropper));
    pl->addWidget(CustomPalette_, 1);
    auto* note = new QLabel("Note: Paint colors shown are approximations only.  Monitors vary in "
                            "their ability to display colors.");
    note->setWordWrap(true);
    note->setAccessibleName(note->text());
    pl->addWidget(note);
    ColorPages_->addTab(palettes, "Palettes");
    layout->addWidget(ColorPages_, 1);
    RecipeLine_ = new QLabel(this);
    RecipeLine_->setObjectName("RecipeLine");
    RecipeLine_->setWordWrap(true);
    layout->addWidget(RecipeLine_);
    ShowRecipe();

    connect(PaintingPaletteImage_, &TSwatchView::Clicked, this, &TToolForm::PaintingSwatchClicked);
    connect(CustomPalette_, &TSwatchView::Clicked, this,
            [this](TColor c) { Ctx_.Document.SetPaintColor(c); });
    connect(ComboBox1_, &QComboBox::activated, this, &TToolForm::SelectPalette);
    connect(ColorPages_, &QTabWidget::currentChanged, this, &TToolForm::RedrawSwatches);
    connect(ReplacePalette_, &QAction::triggered, this, [this] { Ctx_.Document.ReplacePalette(); });
    connect(EditPalette_, &QAction::triggered, this, &TToolForm::EditPaletteClick);
    connect(HelpAction_, &QAction::triggered, this, [this] {
        if (Help_) Help_(HelpPaletteWindow);
    });
    Editor_ = new TPaletteEditor(Ctx_, Dialogs_, this);
    Ctx_.Document.AddObserver(this);
    ComboBox1_->addItem(NewPaletteItem);
    RedrawSwatches();
}

TToolForm::~TToolForm() {
    Ctx_.Document.RemoveObserver(this);
}

void TToolForm::AttachTo(TVectorForm& form) {
    connect(form.Actions().SavePalette, &QAction::triggered, this, &TToolForm::SavePaintingPalette);
    form.EnableFeature(&TFeatureSet::Palette);
    // The list is built once, when the main window is first shown and has read the settings.
    form.installEventFilter(this);
}

bool TToolForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Show && !Listed_) {
        Listed_ = true;
        QTimer::singleShot(0, this, &TToolForm::ListPalettes);
    }
    return QWidget::eventFilter(watched, event);
}

void TToolForm::DocumentChanged(TDocumentEvent event) {
    switch (event) {
    case TDocumentEvent::PaletteRebuilt:
        setWindowTitle(Q(PaletteCountCaption(Ctx_.Document.PaintingPalette())));
        RedrawSwatches();
        break;
    case TDocumentEvent::CustomPaletteChanged:
        RedrawSwatches();
        break;
    case TDocumentEvent::PaintColorChanged:
    case TDocumentEvent::TemplateChanged:
        ShowRecipe();
        break;
    default:
        break;
    }
}

void TToolForm::ShowRecipe() {
    const QString line =
        QString::fromStdString(Ctx_.Document.PaintRecipeLine(Ctx_.Document.PaintColor()));
    ShowValue(RecipeLine_, line, "Recipe");
    RecipeLine_->setVisible(!line.isEmpty());
}

void TToolForm::RedrawSwatches() {
    PaintingPaletteImage_->Redraw(&Ctx_.Document.PaintingPalette());
    CustomPalette_->Redraw(&Ctx_.Document.CustomPalette());
}

void TToolForm::PaintingSwatchClicked(TColor color) {
    if (Mode_ == TClickMode::Replace)
        Ctx_.Document.ReplaceColor(color);
    else
        Ctx_.Document.SetPaintColor(color);
}

bool TToolForm::LoadCustom(const std::filesystem::path& file) {
    TNamedPalette palette;
    bool ok = true;
    try {
        LoadPalette(palette, file);
    } catch (const std::exception& e) {
        // The colours read before the faulty line stay.
        Ctx_.Dialogs.Error(e.what());
        ok = false;
    }
    Ctx_.Document.SetCustomPalette(std::move(palette));
    return ok;
}

void TToolForm::ListPalettes() {
    ComboBox1_->clear();
    ComboBox1_->addItem(NewPaletteItem);
    Paths_.clear();
    const std::filesystem::path user = Ctx_.App.PaletteFolder();
    try {
        EnsurePaletteFolder(user);
    } catch (const std::exception& e) {
        Ctx_.Dialogs.Error(e.what());
    }
    std::error_code ec;
    std::vector<std::filesystem::path> folders;
    if (!Bundled_.empty() && std::filesystem::is_directory(Bundled_, ec))
        folders.push_back(Bundled_);
    // The same folder twice (the bundled palettes kept where the user's go) is listed once.
    if (folders.empty() || !std::filesystem::equivalent(folders.front(), user, ec))
        folders.push_back(user);
    // A file that does not load is left out of the list; one message names each such file.
    std::vector<std::string> problems;
    for (const auto& folder : folders)
        for (const TPaletteFileInfo& info : ListPaletteFiles(folder, &problems)) {
            ComboBox1_->addItem(QString());
            SetListedDescription(ComboBox1_->count() - 1, Q(info.Description));
            Paths_.push_back(info.Path);
        }
    if (!problems.empty()) {
        std::string text = "These palette files are left out of the list:";
        for (const std::string& p : problems)
            text += "\n" + p;
        Ctx_.Dialogs.Error(text);
    }
    std::size_t selected = 0;
    const std::string remembered = Ctx_.App.Settings().PalettePath;
    for (std::size_t i = 0; i < Paths_.size(); ++i)
        if (!remembered.empty() && Paths_[i].string() == remembered) selected = i;
    SelectPalette(Paths_.empty() ? 0 : static_cast<int>(selected) + 1);
}

void TToolForm::SetListedDescription(int index, const QString& description) {
    ComboBox1_->setItemText(
        index, QString::fromStdString(ListedPaletteDescription(description.toStdString())));
    ComboBox1_->setItemData(index, description, Qt::UserRole);
    ComboBox1_->setItemData(index, description, Qt::ToolTipRole);
}

QString TToolForm::CurrentDescription() const {
    const QVariant full = ComboBox1_->currentData(Qt::UserRole);
    return full.isValid() ? full.toString() : ComboBox1_->currentText();
}

void TToolForm::SelectPalette(int index) {
    if (index < 0 || index >= ComboBox1_->count()) index = 0;
    ComboBox1_->setCurrentIndex(index);
    if (index == 0)
        Ctx_.Document.SetCustomPalette(TNamedPalette{});
    else
        LoadCustom(Paths_[static_cast<std::size_t>(index - 1)]);
    RememberSelection();
    RedrawSwatches();
}

void TToolForm::RememberSelection() {
    const int index = ComboBox1_->currentIndex();
    Ctx_.App.Settings().PalettePath =
        index >= 1 ? Paths_[static_cast<std::size_t>(index - 1)].string() : std::string();
}

void TToolForm::EditPaletteClick() {
    NewPaletteFile_.clear();
    if (ComboBox1_->currentIndex() <= 0) {
        const std::filesystem::path folder = Ctx_.App.PaletteFolder();
        try {
            EnsurePaletteFolder(folder);
        } catch (const std::exception&) {
        }
        const QString file = Dialogs_->ChoosePaletteFile(Q(folder.string()), PaletteFileFilter);
        if (file.isEmpty()) return;
        NewPaletteFile_ = file.toStdString();
    }
    Editor_->Edit(
        CurrentDescription(),
        [this](const TNamedPalette& p, const QString& d) { SaveEditedPalette(p, d); },
        [this] {
            // The edits are dropped: the file's colours come back.
            if (ComboBox1_->currentIndex() >= 1)
                LoadCustom(Paths_[static_cast<std::size_t>(ComboBox1_->currentIndex() - 1)]);
            else
                Ctx_.Document.SetCustomPalette(TNamedPalette{});
        });
}

void TToolForm::SaveEditedPalette(const TNamedPalette& palette, const QString& description) {
    int index = ComboBox1_->currentIndex();
    if (index <= 0) {
        if (NewPaletteFile_.empty()) return;
        ComboBox1_->addItem(QString());
        Paths_.push_back(NewPaletteFile_);
        index = ComboBox1_->count() - 1;
    }
    const std::filesystem::path file = Paths_[static_cast<std::size_t>(index - 1)];
    try {
        SavePalette(palette, file, description.toStdString());
    } catch (const std::exception& e) {
        Ctx_.Dialogs.Error(e.what());
        return;
    }
    Ctx_.Document.SetCustomPalette(palette);
    SetListedDescription(index, description);
    ComboBox1_->setCurrentIndex(index);
    RememberSelection();
    RedrawSwatches();
}

void TToolForm::SavePaintingPalette() {
    const auto description = Dialogs_->AskPaletteDescription(CurrentDescription());
    if (!description) return;
    const std::filesystem::path folder = Ctx_.App.PaletteFolder();
    try {
        EnsurePaletteFolder(folder);
    } catch (const std::exception&) {
    }
    const QString file = Dialogs_->ChoosePaletteFile(Q(folder.string()), SavePaletteFilter);
    if (file.isEmpty()) return;
    // The painting's colours in order of first use, without names.
    TNamedPalette colors;
    for (const TPaletteEntry& e : Ctx_.Document.PaintingPalette().Entries())
        colors.Add(e.Color, "");
    try {
        SavePalette(colors, file.toStdString(), description->toStdString());
    } catch (const std::exception& e) {
        Ctx_.Dialogs.Error(e.what());
    }
}

// ---- TPaletteEditor

TPaletteEditor::TPaletteEditor(TAppContext& context, IToolDialogs*& dialogs, QWidget* parent)
    : QDialog(parent), Ctx_(context), Dialogs_(dialogs) {
    setObjectName("PaletteEditor");
    setWindowTitle("Edit Palette");
    resize(320, 360);
    auto* layout = new QVBoxLayout(this);
    PaletteName_ = new QLineEdit;
    PaletteName_->setObjectName("PaletteName");
    PaletteName_->setAccessibleName("Palette name");
    layout->addWidget(PaletteName_);
    DrawGrid1_ = new QTableWidget(0, 2);
    DrawGrid1_->setObjectName("DrawGrid1");
    DrawGrid1_->setAccessibleName("Palette colors");
    DrawGrid1_->setHorizontalHeaderLabels({"Color", "Color Name"});
    QFont bold = DrawGrid1_->horizontalHeader()->font();
    bold.setBold(true);
    DrawGrid1_->horizontalHeader()->setFont(bold);
    DrawGrid1_->setColumnWidth(0, 64);
    DrawGrid1_->setColumnWidth(1, 178);
    DrawGrid1_->setSelectionMode(QAbstractItemView::SingleSelection);
    DrawGrid1_->setCornerButtonEnabled(false);
    for (QAbstractButton* corner : DrawGrid1_->findChildren<QAbstractButton*>())
        corner->setAccessibleName("Grid corner");
    layout->addWidget(DrawGrid1_, 1);
    auto* buttons = new QHBoxLayout;
    auto add = [&](const char* text, void (TPaletteEditor::*slot)()) {
        auto* b = new QPushButton(text);
        b->setObjectName(QString(text).remove(' '));
        b->setAccessibleName(text);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        buttons->addWidget(b);
    };
    add("New Color", &TPaletteEditor::NewColorClick);
    add("Delete Color", &TPaletteEditor::DeleteColorClick);
    add("Ok", &TPaletteEditor::OkClick);
    add("Cancel", &TPaletteEditor::CancelClick);
    layout->addLayout(buttons);
    // Each change of a name is kept at once.
    connect(DrawGrid1_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (Filling_ || item->column() != 1) return;
        SetPaletteName(Working_, item->row() + 1, item->text().toStdString());
    });
}

int TPaletteEditor::Edit(const QString& description,
                         std::function<void(const TNamedPalette&, const QString&)> save,
                         std::function<void()> cancel) {
    Save_ = std::move(save);
    Cancel_ = std::move(cancel);
    Working_ = Ctx_.Document.CustomPalette();
    PaletteName_->setText(description);
    FillGrid();
    return exec();
}

void TPaletteEditor::FillGrid() {
    Filling_ = true;
    const int n = PaletteCount(Working_);
    DrawGrid1_->setRowCount(n);
    for (int r = 0; r < n; ++r) {
        const auto c = static_cast<TColor>(PaletteColorAt(Working_, r + 1));
        auto* swatch = new QTableWidgetItem;
        swatch->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        swatch->setBackground(QColor(RedOf(c), GreenOf(c), BlueOf(c)));
        DrawGrid1_->setItem(r, 0, swatch);
        DrawGrid1_->setItem(r, 1, new QTableWidgetItem(Q(PaletteNameAt(Working_, r + 1))));
    }
    Filling_ = false;
}

void TPaletteEditor::NewColorClick() {
    if (const auto c = Dialogs_->ChooseColor(clWhite, true)) {
        AddPaletteColor(Working_, *c, "");
        FillGrid();
    }
}

void TPaletteEditor::DeleteColorClick() {
    const int row = DrawGrid1_->currentRow();
    if (row < 0 || row >= PaletteCount(Working_)) return;
    DeletePaletteColor(Working_, row + 1);
    FillGrid();
}

void TPaletteEditor::OkClick() {
    if (Save_) Save_(Working_, PaletteName_->text());
    accept();
}

void TPaletteEditor::CancelClick() {
    if (Cancel_) Cancel_();
    reject();
}

// ---- TPaletteNameForm

TPaletteNameForm::TPaletteNameForm(QWidget* parent) : QDialog(parent) {
    setObjectName("PaletteNameForm");
    setWindowTitle("Enter Palette Description");
    auto* layout = new QVBoxLayout(this);
    PaletteDescription_ = new QLineEdit;
    PaletteDescription_->setObjectName("PaletteDescription");
    PaletteDescription_->setAccessibleName("Palette description");
    layout->addWidget(PaletteDescription_);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton("Ok");
    ok->setObjectName("Ok");
    ok->setDefault(true);
    auto* cancel = new QPushButton("Cancel");
    cancel->setObjectName("Cancel");
    for (QPushButton* b : {ok, cancel})
        b->setAccessibleName(b->text());
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

std::optional<QString> TPaletteNameForm::Ask(const QString& preset) {
    PaletteDescription_->setText(preset);
    if (exec() != QDialog::Accepted) return std::nullopt;
    return PaletteDescription_->text();
}

} // namespace pigmentaria
