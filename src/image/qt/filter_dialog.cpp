#include "image/qt/filter_dialog.h"

#include "image/qt/qt_raster.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QThreadPool>
#include <QVBoxLayout>

namespace pigmentaria {

namespace {

// Work for the thread pool that posts its outcome back to the window's thread.
template <class Work> void RunInPool(Work work) {
    QThreadPool::globalInstance()->start(std::move(work));
}

template <class Call> void PostToGui(Call call) {
    QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
}

QLabel* PreviewLabel(QWidget* parent, const QString& name) {
    auto* label = new QLabel(parent);
    label->setFixedSize(FilterPreviewBox.Width + 4, FilterPreviewBox.Height + 4);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameShape(QFrame::StyledPanel);
    label->setAccessibleName(name);
    return label;
}

} // namespace

TFilterDialogForm::TFilterDialogForm(TFilterKind kind, QWidget* parent)
    : QDialog(parent), Kind_(kind), Model_(FilterDialogModel(kind)) {
    setWindowTitle(QString::fromStdString(Model_.Caption));
    setObjectName(QString("FilterDialog_") + FilterName(kind));
    Build();
}

TFilterDialogForm::~TFilterDialogForm() {
    StopPreviews();
}

void TFilterDialogForm::Build() {
    auto* layout = new QVBoxLayout(this);

    auto* previews = new QHBoxLayout;
    SourceView_ = PreviewLabel(this, "Source preview");
    ResultView_ = PreviewLabel(this, "Filtered preview");
    previews->addWidget(SourceView_);
    previews->addWidget(ResultView_);
    layout->addLayout(previews);

    auto* bars = new QGridLayout;
    int row = 0;
    for (std::size_t i = 0; i < Model_.TrackBars.size(); ++i) {
        const TFilterTrackBar& t = Model_.TrackBars[i];
        const QString caption = QString::fromStdString(t.Caption);
        auto* label = new QLabel(caption, this);
        auto* slider = new QSlider(Qt::Horizontal, this);
        slider->setRange(t.Minimum, t.Maximum);
        slider->setTickInterval(t.Tick);
        slider->setTickPosition(QSlider::TicksBelow);
        slider->setPageStep(t.Tick);
        slider->setSingleStep(1);
        slider->setValue(t.Default);
        slider->setMinimumWidth(240);
        slider->setAccessibleName(caption);
        slider->setObjectName(QString("TrackBar%1").arg(i + 1));
        label->setBuddy(slider);
        auto* value = new QLabel(this);
        value->setMinimumWidth(56);
        value->setAccessibleName(caption + " value");
        bars->addWidget(label, row, 0);
        bars->addWidget(slider, row, 1);
        bars->addWidget(value, row, 2);
        auto* scale = new QHBoxLayout;
        std::array<QLabel*, 3> scales{};
        for (int k = 0; k < 3; ++k) {
            scales[static_cast<std::size_t>(k)] = new QLabel(
                QString::fromStdString(t.ScaleLabels[static_cast<std::size_t>(k)]), this);
            scale->addWidget(scales[static_cast<std::size_t>(k)], 1,
                             k == 0   ? Qt::AlignLeft
                             : k == 1 ? Qt::AlignHCenter
                                      : Qt::AlignRight);
        }
        bars->addLayout(scale, row + 1, 1);
        row += 2;
        Sliders_.push_back(slider);
        Values_.push_back(value);
        Scales_.push_back(scales);
        connect(slider, &QSlider::valueChanged, this, &TFilterDialogForm::ControlsChanged);
    }
    layout->addLayout(bars);

    if (!Model_.CheckBox.empty()) {
        Check_ = new QCheckBox(QString::fromStdString(Model_.CheckBox), this);
        Check_->setAccessibleName(QString::fromStdString(Model_.CheckBox));
        layout->addWidget(Check_);
        connect(Check_, &QCheckBox::toggled, this, &TFilterDialogForm::ControlsChanged);
    }
    if (Model_.Radio) {
        QWidget* holder;
        if (!Model_.Radio->Title.empty()) {
            holder = new QGroupBox(QString::fromStdString(Model_.Radio->Title), this);
            holder->setAccessibleName(QString::fromStdString(Model_.Radio->Title));
        } else {
            holder = new QWidget(this);
        }
        auto* radios = new QHBoxLayout(holder);
        auto* group = new QButtonGroup(this);
        const std::string* captions[2] = {&Model_.Radio->First, &Model_.Radio->Second};
        for (int k = 0; k < 2; ++k) {
            auto* r = new QRadioButton(QString::fromStdString(*captions[k]), holder);
            r->setAccessibleName(QString::fromStdString(*captions[k]));
            group->addButton(r, k);
            radios->addWidget(r);
            Radios_[static_cast<std::size_t>(k)] = r;
        }
        Radios_[0]->setChecked(true);
        layout->addWidget(holder);
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on) ControlsChanged();
        });
    }

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(FilterOkCaption, QDialogButtonBox::AcceptRole);
    QPushButton* cancel = buttons->addButton(FilterCancelCaption, QDialogButtonBox::RejectRole);
    ok->setAccessibleName(FilterOkCaption);
    cancel->setAccessibleName(FilterCancelCaption);
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QSlider* TFilterDialogForm::TrackBar(int index) const {
    return index >= 0 && index < static_cast<int>(Sliders_.size())
               ? Sliders_[static_cast<std::size_t>(index)]
               : nullptr;
}

QLabel* TFilterDialogForm::ValueLabel(int index) const {
    return index >= 0 && index < static_cast<int>(Values_.size())
               ? Values_[static_cast<std::size_t>(index)]
               : nullptr;
}

QLabel* TFilterDialogForm::ScaleLabel(int index, int which) const {
    if (index < 0 || index >= static_cast<int>(Scales_.size()) || which < 0 || which > 2)
        return nullptr;
    return Scales_[static_cast<std::size_t>(index)][static_cast<std::size_t>(which)];
}

QRadioButton* TFilterDialogForm::Radio(int index) const {
    return index >= 0 && index < 2 ? Radios_[static_cast<std::size_t>(index)] : nullptr;
}

void TFilterDialogForm::ShowControls(const TFilterControls& c) {
    Updating_ = true;
    for (std::size_t i = 0; i < Sliders_.size(); ++i)
        Sliders_[i]->setValue(c.Positions[i]);
    if (Check_) Check_->setChecked(c.Checked);
    if (Radios_[0]) Radios_[static_cast<std::size_t>(c.Radio == 1 ? 1 : 0)]->setChecked(true);
    Updating_ = false;
    for (std::size_t i = 0; i < Sliders_.size(); ++i)
        Values_[i]->setText(QString::fromStdString(
            FilterValueLabel(Kind_, static_cast<int>(i), Sliders_[i]->value())));
}

TFilterControls TFilterDialogForm::ReadControls() const {
    TFilterControls c;
    for (std::size_t i = 0; i < Sliders_.size(); ++i)
        c.Positions[i] = Sliders_[i]->value();
    c.Checked = Check_ && Check_->isChecked();
    c.Radio = Radios_[1] && Radios_[1]->isChecked() ? 1 : 0;
    return c;
}

void TFilterDialogForm::ControlsChanged() {
    if (Updating_) return;
    const TFilterControls c = ReadControls();
    for (std::size_t i = 0; i < Sliders_.size(); ++i)
        Values_[i]->setText(
            QString::fromStdString(FilterValueLabel(Kind_, static_cast<int>(i), c.Positions[i])));
    SettingsFromControls(Kind_, c, Settings_);
    RequestResult();
}

void TFilterDialogForm::Prepare(const TPixelGraphic& picture, const TFilterSettings& settings) {
    StopPreviews();
    Settings_ = settings;
    ShowControls(ControlsFromSettings(Kind_, settings));
    SourceImage_ = QImage();
    ResultImage_ = QImage();
    SourceView_->clear();
    ResultView_->clear();
    ResultsComputed_ = ResultsShown_ = 0;
    Source_.reset();

    // The source preview is made from a copy, so that the working picture may change as soon as
    // the dialog closes, whatever the pool is still doing.
    const std::uint64_t epoch = ++Epoch_;
    auto copy = std::make_shared<TPixelGraphic>();
    copy->Assign(&picture);
    auto abandon = std::make_shared<std::atomic<bool>>(false);
    SourceAbandon_ = abandon;
    QPointer<TFilterDialogForm> self(this);
    const TFilterKind kind = Kind_;
    RunInPool([self, epoch, copy, abandon, kind] {
        if (*abandon) return;
        auto source =
            std::make_shared<const TFilterPreviewSource>(FilterPreviewSource(*copy, kind));
        PostToGui([self, epoch, source] {
            if (self) self->SourceArrived(epoch, source);
        });
    });
}

void TFilterDialogForm::SourceArrived(std::uint64_t epoch,
                                      std::shared_ptr<const TFilterPreviewSource> source) {
    if (epoch != Epoch_) return;
    Source_ = std::move(source);
    SourceImage_ = RasterToImage(Source_->Shown);
    SourceView_->setPixmap(QPixmap::fromImage(SourceImage_));
    RequestResult();
}

void TFilterDialogForm::RequestResult() {
    if (!Source_) return; // the source's arrival asks for the result
    if (auto ticket = Queue_.Submit(Settings_)) {
        StartResult(*ticket);
    } else if (RunningAbandon_) {
        // The running computation is stale now: let it stop at its next row.
        RunningAbandon_->store(true);
    }
}

void TFilterDialogForm::StartResult(const TLatestOnlyQueue<TFilterSettings>::TTicket& ticket) {
    auto abandon = std::make_shared<std::atomic<bool>>(false);
    RunningAbandon_ = abandon;
    ++ResultsComputed_;
    QPointer<TFilterDialogForm> self(this);
    RunInPool([self, source = Source_, kind = Kind_, ticket, abandon] {
        std::optional<TRaster24> result =
            FilterPreviewResult(*source, kind, ticket.Value, abandon.get());
        QImage image = result ? RasterToImage(*result) : QImage();
        PostToGui([self, generation = ticket.Generation, image] {
            if (self) self->ResultArrived(generation, image);
        });
    });
}

void TFilterDialogForm::ResultArrived(std::uint64_t generation, QImage image) {
    const auto done = Queue_.Finished(generation);
    if (done.Adopt && !image.isNull()) {
        ResultImage_ = image;
        ResultView_->setPixmap(QPixmap::fromImage(ResultImage_));
        ++ResultsShown_;
    }
    if (done.Next)
        StartResult(*done.Next);
    else
        RunningAbandon_.reset();
    if (PreviewsSettled()) emit PreviewShown();
}

bool TFilterDialogForm::PreviewsSettled() const {
    return Source_ && !Queue_.Running() && (ResultsShown_ > 0 || Source_->Shown.Empty());
}

void TFilterDialogForm::StopPreviews() {
    ++Epoch_;
    if (SourceAbandon_) SourceAbandon_->store(true);
    if (RunningAbandon_) RunningAbandon_->store(true);
    Queue_.Cancel();
}

bool TFilterDialogForm::Execute(const TPixelGraphic& picture, TFilterSettings& settings) {
    Prepare(picture, settings);
    const bool ok = exec() == QDialog::Accepted;
    // Nothing the pool still computes is wanted once the dialog is closed.
    const TFilterControls c = ReadControls();
    StopPreviews();
    if (!ok) return false;
    SettingsFromControls(Kind_, c, settings);
    Settings_ = settings;
    return true;
}

} // namespace pigmentaria
