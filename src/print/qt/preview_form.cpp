#include "print/qt/preview_form.h"

#include "image/qt/pg_image.h"
#include "platform/qt/keyboard.h"
#include "platform/qt/translation.h"
#include "platform/qt/value_label.h"

#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QLabel>
#include <QMenu>
#include <QToolBar>

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include <cmath>
#include <cstring>

namespace pigmentaria {

namespace {

std::unique_ptr<TPixelGraphic> ToPicture(const QImage& sheet) {
    const QImage bgr = sheet.convertToFormat(QImage::Format_BGR888);
    auto picture = std::make_unique<TPixelGraphic>();
    picture->SetSize(bgr.width(), bgr.height(), ct24Bit);
    const std::size_t row = 3 * static_cast<std::size_t>(bgr.width());
    for (int y = 0; y < bgr.height(); ++y)
        std::memcpy(picture->ScanLine(y), bgr.constScanLine(y), row);
    return picture;
}

} // namespace

TPreviewForm::TPreviewForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle("Print Preview");
    setObjectName("PreviewForm");
    resize(720, 640);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);
    auto* bar = new QToolBar(this);
    bar->setObjectName("PreviewToolBar");
    bar->setAccessibleName("Preview Tool Bar");
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    const auto action = [&](const QString& caption, const QString& name) {
        QAction* a = bar->addAction(caption);
        a->setObjectName(name);
        a->setToolTip(caption);
        return a;
    };
    Close_ = action("Close", "CloseButton");
    bar->addSeparator();
    Previous_ = action("Previous Page", "PreviousPage");
    Next_ = action("Next Page", "NextPage");
    Up_ = action("Up One Row", "UpOneRow");
    Down_ = action("Down One Row", "DownOneRow");
    bar->addSeparator();
    ZoomIn_ = action("Zoom In", "ZoomIn");
    ZoomOut_ = action("Zoom Out", "ZoomOut");

    ZoomMenu_ = new QMenu("Zoom Menu", this);
    ZoomMenu_->setObjectName("PreviewZoomMenu");
    ZoomGroup_ = new QActionGroup(this);
    // The zoom buttons reach factors no entry names: then no entry is checked.
    ZoomGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    Custom_ = ZoomMenu_->addAction("Custom...");
    Custom_->setCheckable(true);
    ZoomGroup_->addAction(Custom_);
    connect(Custom_, &QAction::triggered, this, &TPreviewForm::CustomZoomClick);
    for (int i = 0; i < 9; ++i) {
        QAction* a = ZoomMenu_->addAction(PreviewZoomCaptions[i]);
        a->setCheckable(true);
        ZoomGroup_->addAction(a);
        const double zoom = PreviewZoomSteps[i];
        connect(a, &QAction::triggered, this, [this, zoom] { SetZoom(zoom); });
        Levels_[i] = a;
    }
    Levels_[3]->setChecked(true);
    ZoomButton_ = new QToolButton(bar);
    ZoomButton_->setObjectName("ZoomMenuButton");
    ZoomButton_->setText("Zoom");
    ZoomButton_->setToolTip("Zoom Menu");
    ZoomButton_->setAccessibleName("Zoom Menu");
    ZoomButton_->setMenu(ZoomMenu_);
    ZoomButton_->setPopupMode(QToolButton::InstantPopup);
    bar->addWidget(ZoomButton_);
    bar->addSeparator();
    Print_ = action("Print", "PrintButton");
    bar->addSeparator();
    PageInfo_ = new QLabel(bar);
    PageInfo_->setObjectName("PageInfo");
    PageInfo_->setAccessibleName("Page");
    // Room for the longest label, and a window wide enough that it never hides behind the bar's
    // extension button.
    PageInfo_->setMinimumWidth(
        PageInfo_->fontMetrics().horizontalAdvance("   Page: 9999   (Row 99  Col 99)"));
    bar->addWidget(PageInfo_);
    // The keys of a document viewer: pages by Page Up and Page Down, rows with Ctrl.
    Previous_->setShortcut(QKeySequence(Qt::Key_PageUp));
    Next_->setShortcut(QKeySequence(Qt::Key_PageDown));
    Up_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageUp));
    Down_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_PageDown));
    ZoomIn_->setShortcuts({QKeySequence::ZoomIn, QKeySequence("Ctrl+=")});
    ZoomOut_->setShortcuts(QKeySequence::ZoomOut);
    Print_->setShortcuts(QKeySequence::Print);
    TabThroughToolBar(bar);
    root->addWidget(bar);
    const QMargins m = root->contentsMargins();
    resize(std::max(width(), bar->sizeHint().width() + m.left() + m.right()), height());

    PGImage1_ = new TPGImage(this);
    PGImage1_->setObjectName("PGImage1");
    PGImage1_->setAccessibleName("Page Preview");
    PGImage1_->SetBackGroundColor(MakeColor(128, 128, 128));
    PGImage1_->SetCenter(true);
    root->addWidget(PGImage1_, 1);

    connect(Close_, &QAction::triggered, this, &QDialog::reject);
    connect(Next_, &QAction::triggered, this, [this] { Navigate(&TPreviewPages::Next); });
    connect(Previous_, &QAction::triggered, this, [this] { Navigate(&TPreviewPages::Previous); });
    connect(Down_, &QAction::triggered, this, [this] { Navigate(&TPreviewPages::DownOneRow); });
    connect(Up_, &QAction::triggered, this, [this] { Navigate(&TPreviewPages::UpOneRow); });
    connect(ZoomIn_, &QAction::triggered, this,
            [this] { SetZoom(PreviewZoomIn(PGImage1_->ZoomFactor())); });
    connect(ZoomOut_, &QAction::triggered, this,
            [this] { SetZoom(PreviewZoomOut(PGImage1_->ZoomFactor())); });
    connect(Print_, &QAction::triggered, this, [this] {
        PrintAsked_ = true;
        accept();
    });
}

void TPreviewForm::Open(int across, int down, TPageDrawer draw) {
    setCursor(Qt::WaitCursor);
    Draw_ = std::move(draw);
    Pages_ = TPreviewPages(across, down);
    PrintAsked_ = false;
    SheetsDrawn_ = 0;
    DrawPage();
    SetZoom(PreviewOpeningZoom);
    UpdateLabel();
    unsetCursor();
}

bool TPreviewForm::Execute(int across, int down, TPageDrawer draw) {
    Open(across, down, std::move(draw));
    exec();
    // The pages are the dialog's who opened the preview: nothing of them is kept.
    Draw_ = nullptr;
    return PrintAsked_;
}

void TPreviewForm::Navigate(bool (TPreviewPages::*step)()) {
    if ((Pages_.*step)()) DrawPage();
    UpdateLabel();
}

void TPreviewForm::DrawPage() {
    if (!Draw_) return;
    Sheet_ = Draw_(Pages_.Row(), Pages_.Column());
    ++SheetsDrawn_;
    PGImage1_->SetPixelGraphic(ToPicture(Sheet_));
}

void TPreviewForm::UpdateLabel() {
    ShowValue(PageInfo_,
              WindowText::TrFilled(QString::fromStdString(Pages_.Label()), {PageLabelPattern}),
              "Page");
}

void TPreviewForm::SetZoom(double zoom, bool custom) {
    if (!(zoom > 0)) return;
    CustomChecked_ = custom;
    PGImage1_->SetZoomFactor(zoom);
    CheckZoomEntry();
}

void TPreviewForm::CheckZoomEntry() {
    QAction* checked = CustomChecked_ ? Custom_ : nullptr;
    if (!checked)
        for (int i = 0; i < 9; ++i)
            if (std::fabs(PGImage1_->ZoomFactor() - PreviewZoomSteps[i]) < 1e-9)
                checked = Levels_[i];
    for (QAction* a : ZoomGroup_->actions())
        a->setChecked(a == checked);
}

bool TPreviewForm::CustomZoomClick() {
    std::optional<double> zoom;
    if (CustomZoom_ && !Sheet_.isNull())
        zoom = CustomZoom_(PGImage1_->PicBoxHeight(), PGImage1_->PicBoxWidth(),
                           PGImage1_->ZoomFactor(), Sheet_.width(), Sheet_.height());
    if (!zoom || !(*zoom > 0)) {
        CheckZoomEntry();
        return false;
    }
    SetZoom(*zoom, true);
    return true;
}

void TPreviewForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        PGImage1_->viewport()->update();
        UpdateLabel();
    }
}

} // namespace pigmentaria
