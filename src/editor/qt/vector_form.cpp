#include "editor/qt/vector_form.h"

#include "convert/tracer.h"
#include "editor/qt/main_window_ports.h"
#include "editor/qt/tool_icons.h"
#include "editor/qt/zoom_form.h"
#include "editor/zoom_rules.h"
#include "image/qt/pg_image.h"
#include "image/qt/qt_clipboard.h"
#include "model/render.h"
#include "palette/color_functions.h"
#include "platform/help_topics.h"
#include "platform/qt/image_surface.h"
#include "platform/qt/keyboard.h"
#include "platform/qt/progress_form.h"
#include "platform/qt/value_label.h"
#include "platform/qt/window_text.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QSessionManager>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

namespace pigmentaria {

namespace {

QString Plain(const char* caption) {
    return QString(caption).remove('&');
}

QColor ToQColor(TColor c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

// A swatch shows its colour, and says it to a screen reader after what it is (its hint).
void SetSwatch(QLabel* swatch, std::optional<TColor> color) {
    swatch->setStyleSheet(
        color
            ? QString("background:%1; border:1px solid palette(dark);").arg(ToQColor(*color).name())
            : QString("border:1px solid palette(dark);"));
    QString what = swatch->toolTip();
    if (what.endsWith('.')) what.chop(1);
    swatch->setAccessibleName(QString::fromStdString(SwatchSpokenText(what.toStdString(), color)));
}

} // namespace

TVectorForm::TVectorForm(TAppContext& context, QWidget* parent)
    : QMainWindow(parent), Ctx_(context),
      NoImport_(std::make_unique<TNoImportDialog>(context.Dialogs)), Import_(NoImport_.get()),
      DialogsPort_(std::make_unique<TMainDialogsAdapter>(context.Dialogs)),
      ImportPort_(std::make_unique<TPictureImportAdapter>(*Import_)),
      Controller_(context.App, context.Document, context.View, *DialogsPort_) {
    setObjectName("VectorForm");
    Controller_.SetImport(*ImportPort_);
    ShowTitle();
    setAcceptDrops(true);
    PGImage1_ = new TPGImage(this);
    PGImage1_->setObjectName("PGImage1");
    PGImage1_->setAccessibleName("Painting");
    PGImage1_->viewport()->setAccessibleName("Painting view");
    PGImage1_->SetActionMode(amNone);
    PGImage1_->SetWheelZooms(false);
    // Hidden until the window is first shown.
    PGImage1_->hide();
    setCentralWidget(PGImage1_);
    connect(PGImage1_, &TPGImage::PicBoxMouseDown, this, &TVectorForm::ViewerMouseDown);
    connect(PGImage1_, &TPGImage::PicBoxMouseMove, this, &TVectorForm::ViewerMouseMove);
    connect(PGImage1_, &TPGImage::WheelZoomRequest, this, &TVectorForm::WheelZoom);
    connect(PGImage1_, &TPGImage::PicBoxPaint, this, [this](QPainter& p, const QRect& box) {
        if (!Numbers_.isNull() && Numbers_.size() == box.size())
            p.drawImage(box.topLeft(), Numbers_);
        if (!Marks_.isNull() && Marks_.size() == box.size()) p.drawImage(box.topLeft(), Marks_);
    });
    TemplateNumbers_ = std::make_unique<TLatestWorker<TNumberingResult>>([this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (std::optional<TNumberingResult> r = TemplateNumbers_->Take())
                    Ctx_.Document.AdoptLabels(std::move(*r));
            },
            Qt::QueuedConnection);
    });
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    Ctx_.Document.AddObserver(this);
    Ctx_.View.AddObserver(this);
    // The rule runs after every change the document, the view or the window's state tells; the
    // clipboard is asked only when it changes, not each time (on X11 every question is a round
    // trip to its owner).
    UpdateClipboardState();
    Controller_.State().SetListener([this] { StateChanged(); });
    Controller_.SetRecentFilesListener([this] { UpdateRecentMenu(); });
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
            &TVectorForm::UpdateClipboardState);
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& m) {
            if (!CommitData(m.allowsInteraction())) m.cancel();
        });
    ShowColors();
    // A painting the document already holds is shown at once.
    if (Ctx_.Document.HasPainting()) ShowRendering();
    CheckZoomEntry();
    // The entries start as the rule says; from here on, changes are told.
    RunEnablingRule();
}

TVectorForm::~TVectorForm() {
    Controller_.State().SetListener({});
    Controller_.SetRecentFilesListener({});
    Ctx_.View.RemoveObserver(this);
    Ctx_.Document.RemoveObserver(this);
}

void TVectorForm::SetImportDialog(IImportDialog* dialog) {
    Import_ = dialog ? dialog : NoImport_.get();
    ImportPort_->Attach(*Import_);
    Controller_.SetImport(*ImportPort_);
}

void TVectorForm::EnableFeature(bool TFeatureSet::*feature) {
    Controller_.State().EnableFeature(feature);
}

void TVectorForm::SetFeatures(const TFeatureSet& features) {
    Controller_.State().SetFeatures(features);
}

// ---- Menus, tool bar, status bar

void TVectorForm::CreateMenus() {
    auto act = [](QMenu* menu, const char* caption, QKeySequence key = {}) {
        QAction* a = menu->addAction(caption);
        if (!key.isEmpty()) a->setShortcut(key);
        a->setObjectName(Plain(caption));
        return a;
    };
    menuBar()->setAccessibleName("Main menu");
    FileMenu_ = menuBar()->addMenu("&File");
    A_.OpenPainting = act(FileMenu_, "&Open Painting", QKeySequence("Ctrl+O"));
    A_.Save = act(FileMenu_, "&Save");
    A_.SaveAs = act(FileMenu_, "Save &As");
    A_.SavePalette = act(FileMenu_, "Save Pa&lette");
    A_.ExportPainting = act(FileMenu_, "&Export Painting");
    FileMenu_->addSeparator();
    A_.ImportPicture = act(FileMenu_, "&Import Picture", QKeySequence("Ctrl+I"));
    A_.NewTemplate = act(FileMenu_, "&New Template...", QKeySequence("Ctrl+N"));
    A_.ImportClipboard = act(FileMenu_, "Import From &Clipboard...", QKeySequence("Ctrl+L"));
    A_.ReImport = act(FileMenu_, "&Re-Import...");
    FileMenu_->addSeparator();
    for (int i = 0; i < RecentFileCount; ++i) {
        A_.Recent[static_cast<std::size_t>(i)] = FileMenu_->addAction(QString("&%1").arg(i + 1));
        A_.Recent[static_cast<std::size_t>(i)]->setVisible(false);
        connect(A_.Recent[static_cast<std::size_t>(i)], &QAction::triggered, this,
                [this, i] { OpenRecent(i); });
    }
    FileMenu_->addSeparator();
    A_.Print = act(FileMenu_, "&Print...", QKeySequence("Ctrl+P"));
    A_.PrintPalette = act(FileMenu_, "Print Palette...");
    FileMenu_->addSeparator();
    A_.Exit = act(FileMenu_, "E&xit", QKeySequence("Ctrl+X"));

    EditMenu_ = menuBar()->addMenu("&Edit");
    A_.Undo = act(EditMenu_, UndoCaption, QKeySequence("Ctrl+Z"));
    EditMenu_->addSeparator();
    A_.CopySelected = act(EditMenu_, "&Copy Selected Shape(s)", QKeySequence("Ctrl+C"));
    A_.CopyBitmap = act(EditMenu_, "Copy Painting as &Bitmap", QKeySequence("Ctrl+B"));
    A_.DeleteSelected = act(EditMenu_, "D&elete Selected Shape(s)", QKeySequence(Qt::Key_Delete));
    EditMenu_->addSeparator();
    A_.SelectAll = act(EditMenu_, "Select &All", QKeySequence("Ctrl+A"));
    QMenu* special = EditMenu_->addMenu("&Select Special...");
    A_.SelectSpecial = special->menuAction();
    A_.SelectSpecial->setObjectName("Select Special...");
    A_.SelectCurrentColor = act(special, "Select Current Color");
    A_.SelectRegion = act(special, "Select Region");
    A_.SelectColorInRegion = act(special, "Select Current Color In Region");
    A_.DeselectAll = act(EditMenu_, "&Deselect All", QKeySequence("Ctrl+D"));

    SpecialMenu_ = menuBar()->addMenu("&Special");
    A_.Smooth = act(SpecialMenu_, "Smooth Selected Shapes");
    A_.ReacquireAll = act(SpecialMenu_, "Re-Acquire Colors for All Shapes");
    A_.ReacquireSelected = act(SpecialMenu_, "Re-Acquire Colors for Selected Shapes");
    A_.Retrace = act(SpecialMenu_, "Re-Trace Painting");
    SpecialMenu_->addSeparator();
    A_.ViewOutlinesOnly = act(SpecialMenu_, "View Outlines Only");
    A_.ViewOutlinesOnly->setCheckable(true);
    A_.ViewTemplate = act(SpecialMenu_, "View Template");
    A_.ViewTemplate->setCheckable(true);

    HelpMenu_ = menuBar()->addMenu("&Help");
    A_.HelpContents = act(HelpMenu_, "Help Contents");
    A_.QuickReference = act(HelpMenu_, "Quick Reference");
    A_.WebSite = act(HelpMenu_, "Pigmentaria on the &Web");
    HelpMenu_->addSeparator();
    A_.About = act(HelpMenu_, "About Pigmentaria...");

    for (QMenu* m : {FileMenu_, EditMenu_, SpecialMenu_, HelpMenu_})
        connect(m, &QMenu::aboutToShow, this, &TVectorForm::RecheckEnabling);

    connect(A_.OpenPainting, &QAction::triggered, this, &TVectorForm::OpenPaintingClick);
    connect(A_.Save, &QAction::triggered, this, &TVectorForm::SaveClick);
    connect(A_.SaveAs, &QAction::triggered, this, &TVectorForm::SaveAsClick);
    connect(A_.ImportPicture, &QAction::triggered, this, &TVectorForm::ImportPictureClick);
    connect(A_.ImportClipboard, &QAction::triggered, this, &TVectorForm::ImportClipboardClick);
    connect(A_.ReImport, &QAction::triggered, this, &TVectorForm::ReImportClick);
    connect(A_.NewTemplate, &QAction::triggered, this, &TVectorForm::NewTemplateClick);
    connect(A_.Exit, &QAction::triggered, this, &QWidget::close);
    connect(A_.Undo, &QAction::triggered, this, [this] { Ctx_.Document.UndoLast(); });
    connect(A_.SelectAll, &QAction::triggered, this, [this] { Ctx_.Document.SelectAll(); });
    connect(A_.DeselectAll, &QAction::triggered, this, [this] { Ctx_.Document.DeselectAll(); });
    connect(A_.Retrace, &QAction::triggered, this, &TVectorForm::RetraceClick);
    connect(A_.ViewOutlinesOnly, &QAction::triggered, this,
            [this](bool on) { Ctx_.View.SetOutlinesOnly(on); });
    connect(A_.ViewTemplate, &QAction::triggered, this,
            [this](bool on) { Ctx_.View.SetTemplateView(on); });
    connect(A_.HelpContents, &QAction::triggered, this, [this] { ShowHelp(HelpContents); });
    connect(A_.QuickReference, &QAction::triggered, this, [this] { ShowHelp(HelpQuickReference); });
    // There is no site to visit: the entry opens the help's home page.
    connect(A_.WebSite, &QAction::triggered, this, [this] { ShowHelp(HelpContents); });
    connect(A_.About, &QAction::triggered, this, [this] {
        if (About_) About_();
    });
}

void TVectorForm::CreateToolBar() {
    QToolBar* bar = addToolBar("Tools");
    bar->setObjectName("ToolBar1");
    bar->setAccessibleName("Tools");
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    auto button = [&](TToolIcon icon, const char* hint, const char* name, bool toggle) {
        QAction* a = bar->addAction(ToolIcon(icon), hint);
        a->setToolTip(hint);
        a->setStatusTip(hint);
        a->setObjectName(name);
        a->setCheckable(toggle);
        if (QWidget* b = bar->widgetForAction(a)) b->setAccessibleName(hint);
        return a;
    };
    A_.SelectionTool = button(TToolIcon::Selection, "Select shapes with the Selection tool.",
                              "SelectionTool", true);
    A_.BrushstrokeTool =
        button(TToolIcon::Brushstroke, "Paint individual shapes with the Brushstroke tool.",
               "BrushstrokeTool", true);
    A_.EyedropperTool =
        button(TToolIcon::Eyedropper, "Select Paint Color from Image.", "EyedropperTool", true);
    A_.RegionTool =
        button(TToolIcon::Region, "Select shapes in a rectangular region.", "RegionTool", true);
    A_.ColorInRegionTool =
        button(TToolIcon::ColorInRegion, "Select current color within rectangular region.",
               "ColorInRegionTool", true);
    A_.MergeTool =
        button(TToolIcon::MergeCell, "Merge a cell into its neighbour.", "MergeTool", true);
    bar->addSeparator();
    A_.SelectAllButton =
        button(TToolIcon::SelectAll, "Select all shapes.", "SelectAllButton", false);
    A_.SelectColorButton = button(TToolIcon::SelectColor, "Select all shapes of current color.",
                                  "SelectColorButton", false);
    A_.PaintBucketButton =
        button(TToolIcon::PaintBucket, "Paint selected shapes with the Paint Bucket tool.",
               "PaintBucketButton", false);
    A_.SmoothButton = button(TToolIcon::Smooth, "Smooth selected shapes.", "SmoothButton", false);
    bar->addSeparator();
    A_.PaletteButton =
        button(TToolIcon::Palette, "Work with the current palette.", "PaletteButton", false);
    A_.ColorDialogButton =
        button(TToolIcon::ColorDialog, "Select paint color from Windows Palette.",
               "ColorDialogButton", false);

    ZoomMenu_ = new QMenu("Zoom", this);
    ZoomMenu_->setObjectName("ZoomMenu");
    ZoomGroup_ = new QActionGroup(this);
    ZoomGroup_->setExclusive(true);
    A_.CustomZoom = ZoomMenu_->addAction(CustomZoomCaption);
    A_.CustomZoom->setCheckable(true);
    A_.CustomZoom->setObjectName("CustomZoom");
    ZoomGroup_->addAction(A_.CustomZoom);
    connect(A_.CustomZoom, &QAction::triggered, this, &TVectorForm::CustomZoomClick);
    for (std::size_t i = 0; i < ZoomLevels.size(); ++i) {
        QAction* a = ZoomMenu_->addAction(ZoomLevels[i].Caption);
        a->setCheckable(true);
        a->setObjectName(QString("Zoom%1").arg(ZoomLevels[i].Caption).remove('%'));
        ZoomGroup_->addAction(a);
        A_.ZoomLevel[i] = a;
        const double f = ZoomLevels[i].Factor;
        connect(a, &QAction::triggered, this, [this, f] { SetZoomLevel(f); });
    }
    A_.ZoomLevel[3]->setChecked(true);
    ZoomMenu_->addSeparator();
    A_.ZoomIn = ZoomMenu_->addAction("Zoom In");
    A_.ZoomIn->setObjectName("ZoomIn");
    A_.ZoomIn->setShortcuts({QKeySequence::ZoomIn, QKeySequence("Ctrl+=")});
    connect(A_.ZoomIn, &QAction::triggered, this, [this] { StepZoom(+1); });
    A_.ZoomOut = ZoomMenu_->addAction("Zoom Out");
    A_.ZoomOut->setObjectName("ZoomOut");
    A_.ZoomOut->setShortcuts(QKeySequence::ZoomOut);
    connect(A_.ZoomOut, &QAction::triggered, this, [this] { StepZoom(-1); });
    connect(ZoomMenu_, &QMenu::aboutToShow, this, &TVectorForm::UpdateZoomMenu);
    A_.ZoomButton = new QToolButton(bar);
    A_.ZoomButton->setIcon(ToolIcon(TToolIcon::Zoom));
    A_.ZoomButton->setToolTip("Zoom...");
    A_.ZoomButton->setAccessibleName("Zoom...");
    A_.ZoomButton->setObjectName("ZoomButton");
    A_.ZoomButton->setMenu(ZoomMenu_);
    A_.ZoomButton->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(A_.ZoomButton);
    bar->addSeparator();
    // The help button has no hint of its own; it is named after what it opens.
    A_.HelpButton = bar->addAction(ToolIcon(TToolIcon::Help), "Quick Reference");
    A_.HelpButton->setObjectName("HelpButton");
    TabThroughToolBar(bar);
    // The button that shows the buttons a narrow window has no room for.
    if (auto* more = bar->findChild<QToolButton*>("qt_toolbar_ext_button"))
        more->setAccessibleName("More tools");

    auto mode = [this](QAction* a, int m, bool colorOnly) {
        connect(a, &QAction::triggered, this, [this, m, colorOnly] { SetToolMode(m, colorOnly); });
    };
    CreateToolGroup(bar);
    mode(A_.SelectionTool, tmSelection, false);
    mode(A_.BrushstrokeTool, tmBrushstroke, false);
    mode(A_.EyedropperTool, tmEyedropper, false);
    mode(A_.RegionTool, tmRegion, false);
    mode(A_.ColorInRegionTool, tmRegion, true);
    mode(A_.MergeTool, tmMerge, false);
    connect(A_.SelectRegion, &QAction::triggered, A_.RegionTool, &QAction::trigger);
    connect(A_.SelectColorInRegion, &QAction::triggered, A_.ColorInRegionTool, &QAction::trigger);
    connect(A_.SelectCurrentColor, &QAction::triggered, A_.SelectColorButton, &QAction::trigger);
    connect(A_.SelectAllButton, &QAction::triggered, this, [this] {
        const auto mods = QGuiApplication::keyboardModifiers();
        Ctx_.Document.SelectAllButton(
            {(mods & Qt::ShiftModifier) != 0, (mods & Qt::ControlModifier) != 0});
    });
    connect(A_.HelpButton, &QAction::triggered, this, [this] { ShowHelp(HelpQuickReference); });

    // Merging cells closes the Special menu; the tool controller does the merging.
    SpecialMenu_->addSeparator();
    A_.MergeCell = SpecialMenu_->addAction("Merge Cell");
    A_.MergeCell->setObjectName("Merge Cell");
    A_.MergeCell->setCheckable(true);
    connect(A_.MergeCell, &QAction::triggered, this, [this] {
        A_.MergeTool->trigger();
        // The entry's own check toggled as it was chosen; it shows the tool, chosen again or not.
        A_.MergeCell->setChecked(ToolMode() == tmMerge);
    });
    A_.MergeTouching = SpecialMenu_->addAction("Merge Touching Shapes of One Colour");
    A_.MergeTouching->setObjectName("Merge Touching Shapes of One Colour");
}

// The six tools are one exclusive choice, the same actions in the tool bar and the "Tools" menu,
// each with a key of its own. A tool button that is pressed, activated from the keyboard or
// toggled by assistive technology chooses its tool; the chosen one cannot be switched off.
void TVectorForm::CreateToolGroup(QToolBar* bar) {
    ToolGroup_ = new QActionGroup(this);
    ToolGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    ToolsMenu_ = new QMenu("&Tools", this);
    ToolsMenu_->setObjectName("Tools");
    ToolsMenu_->menuAction()->setObjectName("Tools");
    menuBar()->insertMenu(HelpMenu_->menuAction(), ToolsMenu_);
    connect(ToolsMenu_, &QMenu::aboutToShow, this, &TVectorForm::RecheckEnabling);
    const struct {
        QAction* Action;
        const char* Key;
        int Mode;
        bool ColorOnly;
    } tools[] = {{A_.SelectionTool, "S", tmSelection, false},
                 {A_.BrushstrokeTool, "B", tmBrushstroke, false},
                 {A_.EyedropperTool, "I", tmEyedropper, false},
                 {A_.RegionTool, "R", tmRegion, false},
                 {A_.ColorInRegionTool, "C", tmRegion, true},
                 {A_.MergeTool, "M", tmMerge, false}};
    for (const auto& t : tools) {
        QAction* a = t.Action;
        ToolGroup_->addAction(a);
        a->setShortcut(QKeySequence(t.Key));
        ToolsMenu_->addAction(a);
        // A check that comes from the button alone (an accessible toggle) chooses the tool too;
        // unchecking the chosen tool checks it again.
        connect(a, &QAction::toggled, this,
                [this, a, m = t.Mode, colorOnly = t.ColorOnly](bool on) {
                    const bool chosen =
                        ToolMode() == m && (m != tmRegion || RegionCurrentColorOnly() == colorOnly);
                    if (on && !chosen)
                        SetToolMode(m, colorOnly);
                    else if (!on && chosen)
                        a->setChecked(true);
                });
    }
    // The zoom levels are reachable from the menu bar too, not only from the tool bar's button.
    SpecialMenu_->addSeparator();
    SpecialMenu_->addMenu(ZoomMenu_);
    ZoomMenu_->menuAction()->setObjectName("Zoom");
}

QString TVectorForm::JobStatus() const {
    return JobStatus_->text();
}

void TVectorForm::ShowJobStatus(const QString& text) {
    ShowValue(JobStatus_, text, "Last job");
}

void TVectorForm::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setAccessibleName("Status");
    bar->setSizeGripEnabled(false);
    auto swatch = [&](const char* hint, const char* name) {
        auto* s = new QLabel(bar);
        s->setFixedSize(18, 18);
        s->setToolTip(hint);
        s->setObjectName(name);
        SetSwatch(s, std::nullopt);
        return s;
    };
    UnderCursorSwatch_ = swatch("Color under cursor", "UnderCursorSwatch");
    bar->addWidget(UnderCursorSwatch_);
    auto* selected = new QLabel("Selected Color: ", bar);
    bar->addWidget(selected);
    SelectedSwatch_ = swatch("Currently selected color.", "SelectedSwatch");
    bar->addWidget(SelectedSwatch_);
    auto* paint = new QLabel("Paint Color: ", bar);
    bar->addWidget(paint);
    PaintSwatch_ = swatch("Paint color.", "PaintSwatch");
    bar->addWidget(PaintSwatch_);
    PaintLabel_ = new QLabel(bar);
    PaintLabel_->setObjectName("PaintLabel");
    bar->addWidget(PaintLabel_, 1);
    // Where the last print went, kept beside the colours.
    JobStatus_ = new QLabel(bar);
    JobStatus_->setObjectName("JobStatus");
    JobStatus_->setAccessibleName("Last job");
    bar->addPermanentWidget(JobStatus_);
    for (QLabel* l : {selected, paint})
        l->setAccessibleName(l->text().trimmed().remove(':'));
}

void TVectorForm::ShowColors() {
    const TPaintingDocument& doc = Ctx_.Document;
    SetSwatch(SelectedSwatch_, doc.CurrentColor());
    SetSwatch(PaintSwatch_, doc.PaintColor());
    // The label's decimals as the user's language writes them.
    ShowValue(PaintLabel_,
              QString::fromStdString(
                  PaintLabelText(doc.PaintColor(), &doc.CustomPalette(), WindowDecimalPoint())),
              "Paint color");
}

// ---- Title, enabling

void TVectorForm::ShowTitle() {
    // The toolkit shows the modified flag where the placeholder stands.
    const QString title = Title() + "[*]";
    if (windowTitle() != title) setWindowTitle(title);
}

void TVectorForm::StateChanged() {
    ShowTitle();
    RunEnablingRule();
}

// The rule runs once more as a menu opens and as the window comes to the front: the import part
// can take or let go of its picture in its own windows, which tell no one, so it is asked again
// here; and the entries the user is about to use are right whatever was missed while the window
// was in the back.
void TVectorForm::RecheckEnabling() {
    Controller_.State().SetHoldsSourcePicture(Import_->HoldsPicture());
    RunEnablingRule();
}

TEnablingState TVectorForm::EnablingState() const {
    return Controller_.State().Enabling(Ctx_.Document, Ctx_.View);
}

void TVectorForm::UpdateClipboardState() {
    // Images, metafiles and drawings other programs offer.
    Controller_.State().SetClipboardHasPicture(
        ClipboardPictureChoice(QGuiApplication::clipboard()->mimeData()).Kind !=
        TClipboardPictureKind::None);
}

namespace {

// Which flag of the enabling rule enables which action; the tool bar's buttons also need the
// tool bar enabled.
struct TActionRule {
    QAction* TVectorForm::TActions::*Action;
    bool TEnablingFlags::*Enabled;
    bool OnToolBar = false;
};
using TA = TVectorForm::TActions;
using TF = TEnablingFlags;
constexpr TActionRule ActionRules[] = {
    {&TA::OpenPainting, &TF::OpenPainting},
    {&TA::Save, &TF::Save},
    {&TA::SaveAs, &TF::SaveAs},
    {&TA::SavePalette, &TF::SavePalette},
    {&TA::ExportPainting, &TF::ExportPainting},
    {&TA::ImportPicture, &TF::ImportPicture},
    {&TA::NewTemplate, &TF::NewTemplate},
    {&TA::ImportClipboard, &TF::ImportClipboard},
    {&TA::ReImport, &TF::ReImport},
    {&TA::Print, &TF::Print},
    {&TA::PrintPalette, &TF::PrintPalette},
    {&TA::Exit, &TF::Exit},
    {&TA::Undo, &TF::Undo},
    {&TA::CopySelected, &TF::CopySelected},
    {&TA::CopyBitmap, &TF::CopyBitmap},
    {&TA::DeleteSelected, &TF::DeleteSelected},
    {&TA::SelectAll, &TF::SelectAll},
    {&TA::SelectSpecial, &TF::SelectSpecial},
    {&TA::DeselectAll, &TF::DeselectAll},
    {&TA::Smooth, &TF::Smooth},
    {&TA::ReacquireAll, &TF::ReacquireAll},
    {&TA::ReacquireSelected, &TF::ReacquireSelected},
    {&TA::Retrace, &TF::Retrace},
    {&TA::ViewOutlinesOnly, &TF::ViewOutlinesOnly},
    {&TA::ViewTemplate, &TF::ViewTemplate},
    {&TA::MergeCell, &TF::MergeCell},
    {&TA::MergeTouching, &TF::MergeTouching},
    {&TA::SelectionTool, &TF::SelectionTool, true},
    {&TA::BrushstrokeTool, &TF::BrushstrokeTool, true},
    {&TA::EyedropperTool, &TF::EyedropperTool, true},
    {&TA::RegionTool, &TF::RegionTool, true},
    {&TA::ColorInRegionTool, &TF::ColorInRegionTool, true},
    {&TA::MergeTool, &TF::MergeTool, true},
    {&TA::SelectAllButton, &TF::SelectAllButton, true},
    {&TA::SelectColorButton, &TF::SelectColorButton, true},
    {&TA::PaintBucketButton, &TF::PaintBucketButton, true},
    {&TA::SmoothButton, &TF::SmoothButton, true},
    {&TA::PaletteButton, &TF::PaletteButton, true},
    {&TA::ColorDialogButton, &TF::ColorDialogButton, true},
    {&TA::ZoomIn, &TF::ZoomButton, true},
    {&TA::ZoomOut, &TF::ZoomButton, true},
    {&TA::HelpButton, &TF::HelpButton, true},
};

// The six toggle buttons (and the menu entry that chooses the merge tool) and the flag that
// holds each one down.
struct TDownRule {
    QAction* TVectorForm::TActions::*Action;
    bool TEnablingFlags::*Down;
};
constexpr TDownRule DownRules[] = {
    {&TA::SelectionTool, &TF::SelectionDown},
    {&TA::BrushstrokeTool, &TF::BrushstrokeDown},
    {&TA::EyedropperTool, &TF::EyedropperDown},
    {&TA::RegionTool, &TF::RegionDown},
    {&TA::ColorInRegionTool, &TF::ColorInRegionDown},
    {&TA::MergeTool, &TF::MergeDown},
    {&TA::MergeCell, &TF::MergeDown},
};

} // namespace

void TVectorForm::RunEnablingRule() {
    const TEnablingFlags e = ComputeEnabling(EnablingState());
    for (const TActionRule& r : ActionRules)
        (A_.*r.Action)->setEnabled(e.*r.Enabled && (!r.OnToolBar || e.ToolBar));
    for (const TDownRule& r : DownRules)
        (A_.*r.Action)->setChecked(e.*r.Down);
    A_.ZoomButton->setEnabled(e.ZoomButton && e.ToolBar);
    ZoomMenu_->menuAction()->setEnabled(e.ZoomButton && e.ToolBar);
    const TSaveKeys keys = SaveShortcuts(e.Save);
    auto sequences = [](const std::vector<std::string>& k) {
        QList<QKeySequence> list;
        for (const std::string& s : k)
            list << QKeySequence(QString::fromStdString(s));
        return list;
    };
    // The rule runs on every change; the keys are registered again only when they move.
    if (const auto k = sequences(keys.Save); A_.Save->shortcuts() != k) A_.Save->setShortcuts(k);
    if (const auto k = sequences(keys.SaveAs); A_.SaveAs->shortcuts() != k)
        A_.SaveAs->setShortcuts(k);
    A_.Undo->setText(QString::fromStdString(Ctx_.Document.UndoCaption()));
    A_.ViewOutlinesOnly->setChecked(Ctx_.View.OutlinesOnly());
    A_.ViewTemplate->setChecked(Ctx_.View.TemplateView());
    PGImage1_->SetActionMode(e.ViewerAction);
    if (e.ClearViewerSelection) PGImage1_->SetSelection(false);
    setWindowModified(Ctx_.Document.Modified());
}

void TVectorForm::SetToolMode(int mode, bool currentColorOnly) {
    PGImage1_->SetPicBoxCursor(ToolCursor(mode));
    Controller_.State().SetTool(mode, currentColorOnly);
}

// ---- Document and view events

void TVectorForm::DocumentChanged(TDocumentEvent event) {
    switch (event) {
    case TDocumentEvent::PaintingRendered:
        ShowRendering();
        break;
    case TDocumentEvent::SelectionChanged:
        RebuildMarks();
        RunEnablingRule();
        break;
    case TDocumentEvent::ZoomChanged:
        ZoomChanged();
        break;
    case TDocumentEvent::ShapesChanged:
        RequestTemplateNumbers();
        RunEnablingRule();
        break;
    case TDocumentEvent::LabelsChanged:
        RebuildNumbers();
        break;
    case TDocumentEvent::TemplateChanged:
        if (Ctx_.Document.Template()) {
            // Made on a grid finer than the screen's, a template opens whole.
            const TShapeList& shapes = Ctx_.Document.Shapes();
            // Before the window first shows its viewer has no size yet: the window's stands in.
            const QSize box =
                PGImage1_->isVisible() ? PGImage1_->viewport()->size() : size() - QSize(0, 120);
            SetZoomLevel(FitZoom(shapes.PaintingWidth(), shapes.PaintingHeight(), box.width() - 4,
                                 box.height() - 4));
            CustomZoomChecked_ = !ZoomLevelIndex(Ctx_.View.Zoom()).has_value();
            CheckZoomEntry();
        }
        RunEnablingRule();
        break;
    case TDocumentEvent::ModifiedChanged:
    case TDocumentEvent::UndoCaptionChanged:
    case TDocumentEvent::ViewModeChanged:
    case TDocumentEvent::SourcePictureChanged:
        RunEnablingRule();
        break;
    case TDocumentEvent::PaintColorChanged:
    case TDocumentEvent::CurrentColorChanged:
    case TDocumentEvent::CustomPaletteChanged:
        ShowColors();
        break;
    case TDocumentEvent::PaintingReplaced:
    case TDocumentEvent::PaletteRebuilt:
    case TDocumentEvent::PrintLayoutChanged:
        break;
    }
}

void TVectorForm::ShowRendering() {
    const TRaster24& r = Ctx_.View.Rendered();
    if (r.Empty()) {
        PGImage1_->SetPixelGraphic(nullptr);
    } else {
        auto picture = std::make_unique<TPixelGraphic>();
        picture->AssignRaster24(r);
        PGImage1_->SetPixelGraphic(std::move(picture));
    }
    RebuildNumbers();
    RebuildMarks();
}

void TVectorForm::RebuildNumbers() {
    const TRaster24& r = Ctx_.View.Rendered();
    const std::vector<TNumberLabel>& labels = Ctx_.Document.NumberLabels();
    if (!Ctx_.View.TemplateView() || r.Empty() || labels.empty()) {
        if (!Numbers_.isNull()) {
            Numbers_ = QImage();
            PGImage1_->viewport()->update();
        }
        return;
    }
    Numbers_ = QImage(r.Width(), r.Height(), QImage::Format_ARGB32_Premultiplied);
    Numbers_.fill(Qt::transparent);
    QPainter p(&Numbers_);
    p.setPen(Qt::black);
    const double zoom = Ctx_.View.Zoom();
    QFont font("Liberation Sans");
    for (const TNumberLabel& label : labels) {
        const QRectF box(label.Left * zoom, label.Top * zoom, (label.Right - label.Left) * zoom,
                         (label.Bottom - label.Top) * zoom);
        // The label's box holds its number as printed: the text fills its height.
        const int size = static_cast<int>(box.height() * 0.9);
        if (size < 3) continue;
        font.setPixelSize(size);
        p.setFont(font);
        p.drawText(box, Qt::AlignCenter | Qt::TextDontClip, QString::fromStdString(label.Text));
    }
    p.end();
    PGImage1_->viewport()->update();
}

void TVectorForm::RequestTemplateNumbers() {
    std::optional<TTemplateNumbersInput> input = Ctx_.Document.TemplateNumbersInput();
    if (!input) return;
    auto shared = std::make_shared<const TTemplateNumbersInput>(std::move(*input));
    TemplateNumbers_->Request([shared](IProgressSink&) { return PlaceTemplateNumbers(*shared); });
}

void TVectorForm::RebuildMarks() {
    const TRaster24& r = Ctx_.View.Rendered();
    const TSelection& selection = Ctx_.Document.Selection();
    if (selection.Empty() || r.Empty()) {
        Marks_ = QImage();
    } else {
        if (Marks_.width() != r.Width() || Marks_.height() != r.Height())
            Marks_ = QImage(r.Width(), r.Height(), QImage::Format_ARGB32_Premultiplied);
        Marks_.fill(Qt::transparent);
        TQImageSurface surface(Marks_);
        TRasterCanvas canvas(surface);
        MarkSelection(canvas, selection, Ctx_.View.Zoom());
    }
    PGImage1_->viewport()->update();
}

void TVectorForm::ViewerMouseDown(QMouseEvent* event, QPoint box) {
    if (event->button() != Qt::LeftButton || !Ctx_.Document.HasPainting()) return;
    const TShiftState shift{(event->modifiers() & Qt::ShiftModifier) != 0,
                            (event->modifiers() & Qt::ControlModifier) != 0};
    if (ToolMode() == tmSelection && !Ctx_.View.OutlinesOnly())
        Ctx_.View.ClickSelect(box.x(), box.y(), shift);
}

void TVectorForm::ViewerMouseMove(QMouseEvent*, QPoint box) {
    if (const auto c = Ctx_.View.PixelColor(box.x(), box.y())) SetSwatch(UnderCursorSwatch_, *c);
}

// A press on the window's own surface, away from every control, acts as the selection tool.
void TVectorForm::mousePressEvent(QMouseEvent* event) {
    QMainWindow::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !Ctx_.Document.HasPainting() ||
        Ctx_.View.OutlinesOnly())
        return;
    const QPoint box =
        PGImage1_->ViewportToBox(PGImage1_->viewport()->mapFrom(this, event->position().toPoint()));
    Ctx_.View.ClickSelect(box.x(), box.y(),
                          {(event->modifiers() & Qt::ShiftModifier) != 0,
                           (event->modifiers() & Qt::ControlModifier) != 0});
}

// ---- Files

bool TVectorForm::AskToSave() {
    return Controller_.AskToSave();
}

void TVectorForm::UpdateRecentMenu() {
    const TRecentFiles& recent = Ctx_.App.RecentFiles();
    for (int i = 0; i < RecentFileCount; ++i) {
        QAction* a = A_.Recent[static_cast<std::size_t>(i)];
        const bool shown = i < recent.Count();
        a->setVisible(shown);
        if (shown) {
            a->setText(QString::fromStdString(recent.Caption(i + 1)));
            a->setData(QString::fromStdString(recent.Paths()[static_cast<std::size_t>(i)]));
        }
    }
}

void TVectorForm::OpenPaintingClick() {
    Controller_.OpenPaintingClick();
}

void TVectorForm::OpenRecent(int index) {
    Controller_.OpenRecent(
        A_.Recent[static_cast<std::size_t>(index)]->data().toString().toStdString());
}

bool TVectorForm::OpenFile(const QString& file) {
    return Controller_.OpenFile(file.toStdString());
}

bool TVectorForm::RecoverPainting(const std::filesystem::path& copy, const QString& paintingFile) {
    return Controller_.RecoverPainting(copy, paintingFile.toStdString());
}

bool TVectorForm::SaveClick() {
    return Controller_.Save();
}

bool TVectorForm::SaveAsClick() {
    return Controller_.SaveAs();
}

void TVectorForm::OpenOrImport(const QString& file) {
    Controller_.OpenOrImport(file.toStdString());
}

// ---- Import

void TVectorForm::ImportPictureClick() {
    Controller_.ImportPictureClick();
}

void TVectorForm::ImportClipboardClick() {
    Controller_.ImportClipboardClick([] {
        TClipboardRead read = ReadClipboardPicture();
        return TPictureRead{std::move(read.Picture), std::move(read.Error)};
    });
}

void TVectorForm::ReImportClick() {
    Controller_.ReImportClick();
}

void TVectorForm::NewTemplateClick() {
    Controller_.NewTemplateClick();
}

void TVectorForm::BecomeUntitled() {
    Controller_.BecomeUntitled();
}

// ---- Zoom

void TVectorForm::UpdateZoomMenu() {
    const TShapeList& shapes = Ctx_.Document.Shapes();
    const int w = shapes.PaintingWidth(), h = shapes.PaintingHeight();
    for (std::size_t i = 0; i < ZoomLevels.size(); ++i)
        A_.ZoomLevel[i]->setEnabled(ZoomLevelAllowed(w, h, ZoomLevels[i].Factor));
    A_.CustomZoom->setEnabled(true);
}

void TVectorForm::CheckZoomEntry() {
    if (CustomZoomChecked_) {
        A_.CustomZoom->setChecked(true);
        return;
    }
    if (const auto i = ZoomLevelIndex(Ctx_.View.Zoom()))
        A_.ZoomLevel[static_cast<std::size_t>(*i)]->setChecked(true);
}

// A zoom set elsewhere (a new painting goes back to 100%) checks its level, or "Custom..." for a
// factor that is none of them.
void TVectorForm::ZoomChanged() {
    if (OwnZoomChange_) return;
    CustomZoomChecked_ = !ZoomLevelIndex(Ctx_.View.Zoom()).has_value();
    CheckZoomEntry();
}

void TVectorForm::SetZoomLevel(double zoom) {
    CustomZoomChecked_ = false;
    OwnZoomChange_ = true;
    Ctx_.View.SetZoom(zoom);
    OwnZoomChange_ = false;
    CheckZoomEntry();
}

void TVectorForm::StepZoom(int direction) {
    if (!Ctx_.Document.HasPainting()) return;
    const TShapeList& shapes = Ctx_.Document.Shapes();
    const double z = SteppedZoomLevel(Ctx_.View.Zoom(), direction, shapes.PaintingWidth(),
                                      shapes.PaintingHeight());
    if (z != Ctx_.View.Zoom()) SetZoomLevel(z);
}

bool TVectorForm::CustomZoomClick() {
    std::optional<double> z;
    const TShapeList& shapes = Ctx_.Document.Shapes();
    if (ZoomForm_ && Ctx_.Document.HasPainting())
        z = ZoomForm_->Execute(PGImage1_->PicBoxHeight(), PGImage1_->PicBoxWidth(),
                               Ctx_.View.Zoom(), shapes.PaintingWidth(), shapes.PaintingHeight());
    if (!z) {
        // Cancel changes nothing, the menu's check included.
        CheckZoomEntry();
        return false;
    }
    CustomZoomChecked_ = true;
    OwnZoomChange_ = true;
    Ctx_.View.SetZoom(*z);
    OwnZoomChange_ = false;
    CheckZoomEntry();
    return true;
}

void TVectorForm::WheelZoom(int steps, QPoint pointer) {
    if (!Ctx_.Document.HasPainting()) return;
    const TShapeList& shapes = Ctx_.Document.Shapes();
    const int w = shapes.PaintingWidth(), h = shapes.PaintingHeight();
    // As large as the zoom menu allows: both sides below the limit.
    const double largest = (ZoomSideLimit - 1.0) / std::max(w, h);
    const double old = Ctx_.View.Zoom();
    const double z = pigmentaria::WheelZoom(old, steps, std::min(0.05, largest), largest);
    if (z == old) return;
    const TViewSize oldBox = PGImage1_->PicBoxSize();
    const TViewPoint oldScroll = PGImage1_->ScrollPosition();
    CustomZoomChecked_ = !ZoomLevelIndex(z).has_value();
    OwnZoomChange_ = true;
    Ctx_.View.SetZoom(z);
    OwnZoomChange_ = false;
    CheckZoomEntry();
    const QSize v = PGImage1_->viewport()->size();
    PGImage1_->SetScrollPosition(ScrollForZoomAbout({pointer.x(), pointer.y()}, oldScroll, oldBox,
                                                    PGImage1_->PicBoxSize(),
                                                    {v.width(), v.height()}, PGImage1_->Center()));
}

// ---- Long work

bool TVectorForm::RetraceClick() {
    auto input = Ctx_.View.RetraceInput();
    if (!input || !Ctx_.Jobs) return false;
    TJobReport report;
    auto result = Ctx_.Jobs->Run<TRetraceResult>(
        TracingMessage, true,
        [in = std::move(*input)](IProgressSink& progress) mutable {
            return Retrace(std::move(in), progress);
        },
        report);
    if (report.Status == TJobStatus::Failed) Ctx_.Dialogs.Error(report.Failure);
    // The tracer's messages are shown as the painting is adopted; the view then shows it at 100%.
    return result && Ctx_.Document.AdoptRetrace(std::move(*result));
}

// ---- Settings, closing

void TVectorForm::LoadSettingsFile() {
    const bool exists = Controller_.LoadSettings();
    const TWindowPlace& p = Ctx_.App.Settings().MainWindow;
    const QRect stored(p.Left, p.Top, p.Width, p.Height);
    bool onScreen = false;
    for (const QScreen* s : QGuiApplication::screens())
        if (s->availableGeometry().intersects(stored)) onScreen = true;
    // A file that could not be read leaves the design's place, which is no place of the user's.
    const bool userPlace = exists && !(p == TSettingsBlock{}.MainWindow);
    if (userPlace && onScreen && p.Width > 100 && p.Height > 100) {
        setGeometry(stored);
    } else if (const QScreen* s = screen()) {
        // A first start: a size that suits today's screens, in the middle of this one.
        const QRect avail = s->availableGeometry();
        const QSize size(std::min(1024, avail.width()), std::min(720, avail.height()));
        setGeometry(QRect(avail.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
}

void TVectorForm::SaveSettingsFile() {
    const QRect g = isMaximized() || isFullScreen() ? normalGeometry() : geometry();
    Controller_.SaveSettings({g.top(), g.left(), g.height(), g.width()});
}

bool TVectorForm::CommitData(bool allowsInteraction) {
    return Controller_.CommitData(allowsInteraction);
}

void TVectorForm::closeEvent(QCloseEvent* event) {
    if (Ctx_.Jobs && Ctx_.Jobs->Running()) {
        event->ignore();
        return;
    }
    if (!AskToSave()) {
        event->ignore();
        return;
    }
    SaveSettingsFile();
    event->accept();
}

void TVectorForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!FirstShow_) return;
    FirstShow_ = false;
    LoadSettingsFile();
    PGImage1_->show();
}

void TVectorForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) RecheckEnabling();
}

void TVectorForm::dragEnterEvent(QDragEnterEvent* event) {
    const QMimeData* m = event->mimeData();
    if (m->hasUrls() && !m->urls().isEmpty() && m->urls().first().isLocalFile())
        event->acceptProposedAction();
}

void TVectorForm::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile()) return;
    event->acceptProposedAction();
    const QString file = urls.first().toLocalFile();
    // Not inside the drop: the source application waits for it to end.
    QMetaObject::invokeMethod(
        this, [this, file] { OpenOrImport(file); }, Qt::QueuedConnection);
}

void TVectorForm::ShowHelp(int context) {
    if (Help_) Help_(context);
}

} // namespace pigmentaria
