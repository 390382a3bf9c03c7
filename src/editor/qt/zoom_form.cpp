#include "editor/qt/zoom_form.h"

#include "platform/qt/window_text.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace pigmentaria {

TZoomForm::TZoomForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle("Custom Zoom");
    setObjectName("ZoomForm");
    Height_ = new QLineEdit(this);
    Width_ = new QLineEdit(this);
    Percent_ = new QLineEdit(this);
    auto* form = new QFormLayout;
    auto add = [&](const char* caption, QLineEdit* edit, const char* name) {
        auto* label = new QLabel(caption, this);
        label->setBuddy(edit);
        edit->setObjectName(name);
        edit->setAccessibleName(QString(caption).remove('&'));
        form->addRow(label, edit);
    };
    add("&Height", Height_, "Height");
    add("&Width", Width_, "Width");
    add("&Percent", Percent_, "Percent");
    Ok_ = new QPushButton("Ok", this);
    Ok_->setDefault(true);
    Ok_->setAccessibleName("Ok");
    Cancel_ = new QPushButton("Cancel", this);
    Cancel_->setAccessibleName("Cancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Ok_);
    buttons->addWidget(Cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(Ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(Cancel_, &QPushButton::clicked, this, &QDialog::reject);
    // Only a field the user changed reacts; the ones it sets do not.
    connect(Height_, &QLineEdit::textEdited, this, [this] { Edited(TZoomField::Height); });
    connect(Width_, &QLineEdit::textEdited, this, [this] { Edited(TZoomField::Width); });
    connect(Percent_, &QLineEdit::textEdited, this, [this] { Edited(TZoomField::Percent); });
}

TZoomFields TZoomForm::Fields() const {
    return {Height_->text().toStdString(), Width_->text().toStdString(),
            Percent_->text().toStdString()};
}

void TZoomForm::Show(const TZoomFields& f) {
    auto set = [](QLineEdit* e, const std::string& text) {
        const QString t = QString::fromStdString(text);
        if (e->text() != t) e->setText(t);
    };
    set(Height_, f.Height);
    set(Width_, f.Width);
    set(Percent_, f.Percent);
    Ok_->setEnabled(ZoomOkEnabled(f));
}

void TZoomForm::Edited(TZoomField field) {
    Show(ZoomFieldChanged(Fields(), field, PictureWidth_, PictureHeight_, WindowDecimalPoint()));
}

void TZoomForm::Fill(int boxHeight, int boxWidth, double zoom, int pictureWidth,
                     int pictureHeight) {
    PictureWidth_ = pictureWidth;
    PictureHeight_ = pictureHeight;
    Show(InitialZoomFields(boxHeight, boxWidth, zoom, WindowDecimalPoint()));
}

std::optional<double> TZoomForm::EnteredZoom() const {
    return ZoomFromFields(Fields());
}

std::optional<double> TZoomForm::Execute(int boxHeight, int boxWidth, double zoom, int pictureWidth,
                                         int pictureHeight) {
    Fill(boxHeight, boxWidth, zoom, pictureWidth, pictureHeight);
    Percent_->setFocus();
    Percent_->selectAll();
    if (exec() != QDialog::Accepted) return std::nullopt;
    return EnteredZoom();
}

} // namespace pigmentaria
