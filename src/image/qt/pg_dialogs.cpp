#include "image/qt/pg_dialogs.h"

#include "image/qt/qt_raster.h"
#include "platform/qt/value_label.h"

#include <QApplication>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QThreadPool>
#include <QVBoxLayout>

namespace pigmentaria {

// ---- TPreviewBox

TPreviewBox::TPreviewBox(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void TPreviewBox::SetImage(const QImage& image) {
    Image_ = image;
    update();
}

QSize TPreviewBox::sizeHint() const {
    return minimumSize().isValid() ? minimumSize() : QSize(142, 132);
}

void TPreviewBox::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setPen(palette().color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    if (Image_.isNull()) return;
    // Centred, at its own size: the loader already made it fit.
    const QPoint at((width() - Image_.width()) / 2, (height() - Image_.height()) / 2);
    p.drawImage(at, Image_);
}

// ---- TPreviewLoader

TPreviewLoader::TPreviewLoader(TViewSize box, TShown shown)
    : Box_(box), Shown_(std::move(shown)), Alive_(std::make_shared<bool>(true)) {}

TPreviewLoader::~TPreviewLoader() {
    Cancel();
}

void TPreviewLoader::Load(const QString& file) {
    if (auto ticket = Queue_.Submit(file))
        Start(*ticket);
    else if (Abandon_)
        Abandon_->store(true);
}

void TPreviewLoader::Cancel() {
    Queue_.Cancel();
    if (Abandon_) Abandon_->store(true);
}

void TPreviewLoader::Start(const TLatestOnlyQueue<QString>::TTicket& ticket) {
    auto abandon = std::make_shared<std::atomic<bool>>(false);
    Abandon_ = abandon;
    ++Started_;
    std::weak_ptr<bool> alive = Alive_;
    TPreviewLoader* self = this;
    const TViewSize box = Box_;
    QThreadPool::globalInstance()->start([=] {
        std::optional<TRaster24> preview =
            LoadPicturePreview(ticket.Value.toStdString(), box, abandon.get());
        QImage image = preview ? RasterToImage(*preview) : QImage();
        QMetaObject::invokeMethod(
            qApp,
            [=] {
                // Only the window's thread ever looks at `alive`, so it cannot go meanwhile.
                if (alive.lock()) self->Arrived(ticket.Generation, ticket.Value, image);
            },
            Qt::QueuedConnection);
    });
}

void TPreviewLoader::Arrived(std::uint64_t generation, const QString& file, const QImage& image) {
    const auto done = Queue_.Finished(generation);
    if (done.Next)
        Start(*done.Next);
    else
        Abandon_.reset();
    if (done.Adopt && Shown_) Shown_(file, image);
}

// ---- TPGOpenDialog

TPGOpenDialog::TPGOpenDialog(QWidget* parent, IMessageSink* messages)
    : QFileDialog(parent), Messages_(messages) {
    setOption(QFileDialog::DontUseNativeDialog, true);
    setFileMode(QFileDialog::ExistingFile);
    setAcceptMode(QFileDialog::AcceptOpen);
    setWindowTitle("Open");

    auto* panel = new QWidget(this);
    panel->setObjectName("PreviewPanel");
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(6, 0, 0, 0);
    PreviewBox_ = new TPreviewBox(panel);
    PreviewBox_->setFixedSize(PictureDialogPreviewBox.Width + 4,
                              PictureDialogPreviewBox.Height + 4);
    PreviewBox_->setAccessibleName("Picture preview");
    InfoBox_ = new QLabel(panel);
    InfoBox_->setAccessibleName("Picture information");
    InfoBox_->setWordWrap(true);
    InfoBox_->setFixedWidth(PictureDialogPreviewBox.Width + 4);
    InfoBox_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    InfoBox_->setMinimumHeight(4 * fontMetrics().height() + 4);
    column->addWidget(PreviewBox_);
    column->addWidget(InfoBox_);
    column->addStretch(1);
    if (auto* grid = qobject_cast<QGridLayout*>(layout()))
        grid->addWidget(panel, 0, grid->columnCount(), grid->rowCount(), 1);

    Settle_.setSingleShot(true);
    Settle_.setInterval(PreviewSettleMs);
    connect(&Settle_, &QTimer::timeout, this, &TPGOpenDialog::Settled);
    connect(this, &QFileDialog::currentChanged, this, &TPGOpenDialog::SelectionChanged);
    // A file name typed in full is a selection too: its preview and information follow.
    if (auto* edit = findChild<QLineEdit*>("fileNameEdit"))
        connect(edit, &QLineEdit::textEdited, this, [this](const QString& text) {
            if (text.isEmpty()) return;
            const QString path = directory().absoluteFilePath(text);
            if (QFileInfo(path).isFile() && path != Pending_) SelectionChanged(path);
        });
    Loader_ = std::make_unique<TPreviewLoader>(PictureDialogPreviewBox,
                                               [this](const QString& file, const QImage& image) {
                                                   PreviewFile_ = file;
                                                   PreviewBox_->SetImage(image);
                                                   emit PreviewShown(file);
                                               });
}

TPGOpenDialog::~TPGOpenDialog() = default;

void TPGOpenDialog::showEvent(QShowEvent* event) {
    QFileDialog::showEvent(event);
    // Placed once the dialog's own place is settled.
    QTimer::singleShot(0, this, [this] {
        if (PreviewWindow_ && isVisible()) PreviewWindow_->PlaceBeside(this);
    });
}

void TPGOpenDialog::moveEvent(QMoveEvent* event) {
    QFileDialog::moveEvent(event);
    if (PreviewWindow_ && isVisible() && PreviewWindow_->isVisible())
        PreviewWindow_->PlaceBeside(this);
}

void TPGOpenDialog::SetShowInfo(bool on) {
    ShowInfo_ = on;
    InfoBox_->setVisible(on);
}

void TPGOpenDialog::SetOptions(unsigned options) {
    TNullMessages none;
    Options_ =
        EnforceShareAware(options, Messages_ ? *Messages_ : static_cast<IMessageSink&>(none));
    setOption(QFileDialog::DontConfirmOverwrite, !(Options_ & ofOverwritePrompt));
    setFileMode(Options_ & ofAllowMultiSelect        ? QFileDialog::ExistingFiles
                : Kind() == TPictureDialogKind::Save ? QFileDialog::AnyFile
                                                     : QFileDialog::ExistingFile);
}

void TPGOpenDialog::RebuildFileTypes() {
    Types_ = PictureFileTypes(Kind());
    QStringList filters;
    for (const TFileTypeEntry& t : Types_)
        filters << QString::fromStdString(FileTypeNameFilter(t));
    setNameFilters(filters);
    if (!filters.isEmpty()) selectNameFilter(filters.front());
}

void TPGOpenDialog::Clear() {
    InfoLines_.clear();
    InfoBox_->clear();
    PreviewBox_->SetImage({});
    PreviewFile_.clear();
}

void TPGOpenDialog::SelectionChanged(const QString& path) {
    Settle_.stop();
    Loader_->Cancel();
    Clear();
    Pending_ = path;
    Settle_.start();
}

void TPGOpenDialog::Settled() {
    SettledFile_ = Pending_;
    if (PreviewWindow_) PreviewWindow_->SelectionChanged(Pending_);
    if (Pending_.isEmpty() || QFileInfo(Pending_).isDir()) return;
    const TGraphicFileInfo info = GetGraphicFileInfo(Pending_.toStdString());
    InfoLines_ = InfoBoxLines(info);
    QStringList lines;
    for (const std::string& l : InfoLines_)
        lines << QString::fromStdString(l);
    ShowValue(InfoBox_, ShowInfo_ ? lines.join('\n') : QString(), "Picture information");
    if (!info.Ok) return;
    Loader_->Load(Pending_);
}

QString TPGOpenDialog::Execute(const QString& folder, const QString& name) {
    if (UseDefaultFilter_) RebuildFileTypes();
    if (!folder.isEmpty()) setDirectory(folder);
    if (!name.isEmpty()) selectFile(name);
    Clear();
    if (exec() != QDialog::Accepted) return {};
    return selectedFiles().value(0);
}

void TPGOpenDialog::done(int result) {
    // Closing: nothing more is loaded for the dialog.
    Settle_.stop();
    Loader_->Cancel();
    QFileDialog::done(result);
}

// ---- TPGSaveDialog

TPGSaveDialog::TPGSaveDialog(QWidget* parent, IMessageSink* messages)
    : TPGOpenDialog(parent, messages) {
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setWindowTitle("Save As");
    SetOptions(ofOverwritePrompt | ofHideReadOnly | ofShareAware);
    connect(this, &QFileDialog::filterSelected, this, &TPGSaveDialog::TypeChanged);
}

QString TPGSaveDialog::TypedName() const {
    if (auto* edit = findChild<QLineEdit*>("fileNameEdit")) return edit->text();
    return {};
}

void TPGSaveDialog::SetTypedName(const QString& name) {
    if (auto* edit = findChild<QLineEdit*>("fileNameEdit"))
        edit->setText(name);
    else
        selectFile(name);
}

void TPGSaveDialog::TypeChanged(const QString& nameFilter) {
    int index = -1;
    for (std::size_t i = 0; i < FileTypes().size(); ++i)
        if (QString::fromStdString(FileTypeNameFilter(FileTypes()[i])) == nameFilter)
            index = static_cast<int>(i);
    const std::string extension = ExtensionOfFileType(FileTypes(), index);
    // Qt adds it to a name typed without one, before it asks about overwriting.
    setDefaultSuffix(QString::fromStdString(extension));
    const QString name = TypedName();
    if (name.isEmpty() || extension.empty()) return;
    const QString folder = directory().absolutePath();
    const bool isFolder = QFileInfo(QDir(folder), name).isDir();
    SetTypedName(QString::fromStdString(
        FileNameForTypeChange(name.toStdString(), extension, folder.toStdString(), isFolder)));
}

QString TPGSaveDialog::Execute(const QString& folder, const QString& name) {
    if (UseDefaultFilter()) RebuildFileTypes();
    if (!folder.isEmpty()) setDirectory(folder);
    TypeChanged(selectedNameFilter());
    if (!name.isEmpty()) SetTypedName(name);
    if (exec() != QDialog::Accepted) return {};
    const QString chosen = selectedFiles().value(0);
    int index = -1;
    for (std::size_t i = 0; i < FileTypes().size(); ++i)
        if (QString::fromStdString(FileTypeNameFilter(FileTypes()[i])) == selectedNameFilter())
            index = static_cast<int>(i);
    return QString::fromStdString(
        FileNameWithTypeExtension(chosen.toStdString(), ExtensionOfFileType(FileTypes(), index)));
}

// ---- TOpenPreviewForm

namespace {
constexpr TViewSize OpenPreviewBox{240, 200};
}

TOpenPreviewForm::TOpenPreviewForm(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setWindowTitle(OpenPreviewCaption);
    setObjectName("OpenPreviewForm");
    auto* layout = new QVBoxLayout(this);
    Image_ = new TPreviewBox(this);
    Image_->setFixedSize(OpenPreviewBox.Width + 4, OpenPreviewBox.Height + 4);
    Image_->setAccessibleName("Preview image");
    Dimensions_ = new QLabel(this);
    Dimensions_->setAccessibleName("Dimensions");
    Dimensions_->setAlignment(Qt::AlignCenter);
    Description_ = new QLabel(this);
    Description_->setAccessibleName("Description");
    Description_->setAlignment(Qt::AlignCenter);
    Description_->setWordWrap(true);
    layout->addWidget(Image_, 0, Qt::AlignHCenter);
    layout->addWidget(Dimensions_);
    layout->addWidget(Description_);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Loader_ = std::make_unique<TPreviewLoader>(OpenPreviewBox,
                                               [this](const QString& file, const QImage& image) {
                                                   if (file != Current_) return;
                                                   if (image.isNull()) {
                                                       // The information was read but the picture
                                                       // cannot be shown: an empty box.
                                                       Image_->SetImage({});
                                                       Dimensions_->clear();
                                                       Description_->clear();
                                                   } else {
                                                       Image_->SetImage(image);
                                                       Image_->show();
                                                   }
                                                   emit PreviewShown(file);
                                               });
}

TOpenPreviewForm::~TOpenPreviewForm() = default;

bool TOpenPreviewForm::ImageShown() const {
    return !Image_->isHidden() && !Image_->Image().isNull();
}

void TOpenPreviewForm::ShowBeside() {
    Loader_->Cancel();
    Current_.clear();
    Anchor_ = nullptr;
    Image_->SetImage({});
    Dimensions_->clear();
    Description_->clear();
    adjustSize();
    // Placed once shown, when the window's frame is known.
    show();
    PlaceAtRightEdge();
}

void TOpenPreviewForm::PlaceBeside(const QWidget* dialog) {
    Anchor_ = dialog;
    Place();
}

void TOpenPreviewForm::Place() {
    if (!Anchor_) {
        PlaceAtRightEdge();
        return;
    }
    const QScreen* screen =
        Anchor_->screen() ? Anchor_->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect s = screen->availableGeometry();
    const QRect d = Anchor_->frameGeometry();
    const QSize size = frameSize();
    const TScreenRect at =
        OpenPreviewPlace({d.left(), d.top(), d.width(), d.height()}, size.width(), size.height(),
                         {s.left(), s.top(), s.width(), s.height()});
    move(at.Left, at.Top);
}

void TOpenPreviewForm::PlaceAtRightEdge() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        const QSize size = frameSize();
        move(s.left() + s.width() - size.width(), s.top() + (s.height() - size.height()) / 2);
    }
}

void TOpenPreviewForm::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isVisible()) Place();
}

void TOpenPreviewForm::SelectionChanged(const QString& file) {
    Current_ = file;
    Loader_->Cancel();
    const TGraphicFileInfo info = file.isEmpty() || QFileInfo(file).isDir()
                                      ? TGraphicFileInfo{}
                                      : GetGraphicFileInfo(file.toStdString());
    const TOpenPreviewTexts texts = OpenPreviewTexts(info);
    ShowValue(Dimensions_, QString::fromStdString(texts.Dimensions), "Dimensions");
    ShowValue(Description_, QString::fromStdString(texts.Description), "Description");
    if (!texts.ShowImage) {
        // The box keeps its room, empty: the window never shrinks to a sliver.
        Image_->SetImage({});
        return;
    }
    Loader_->Load(file);
}

} // namespace pigmentaria
