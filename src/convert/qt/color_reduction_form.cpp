#include "convert/qt/color_reduction_form.h"

#include "convert/modify_rules.h"
#include "image/qt/pg_image.h"

#include <QGuiApplication>
#include <QScreen>
#include <QVBoxLayout>

namespace pigmentaria {

TColorReductionForm::TColorReductionForm(QWidget* parent) : QDialog(parent) {
    setWindowTitle(ColorReductionFormCaption);
    setObjectName("ColorReductionForm");
    PGImage1_ = new TPGImage(this);
    PGImage1_->setObjectName("PGImage1");
    PGImage1_->setAccessibleName("Reduced picture");
    PGImage1_->SetProgressClockVisible(false);
    PGImage1_->SetCenter(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(PGImage1_);
}

void TColorReductionForm::Prepare(const TRaster24& reduced) {
    auto picture = std::make_unique<TPixelGraphic>();
    picture->AssignRaster24(reduced);
    PGImage1_->SetZoomFactor(1.0);
    PGImage1_->SetPixelGraphic(std::move(picture));
    // As large as the reduction, as far as the screen allows, centred on it.
    QSize size(reduced.Width() + 4, reduced.Height() + 4);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        size = size.boundedTo(s.size() * 9 / 10).expandedTo(QSize(200, 150));
        resize(size);
        move(s.center() - rect().center());
    } else {
        resize(size);
    }
}

void TColorReductionForm::Execute(const TRaster24& reduced) {
    Prepare(reduced);
    exec();
}

void TColorReductionForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    PGImage1_->viewport()->update();
}

} // namespace pigmentaria
