#include "app/qt/about_box.h"

#include "app/about_info.h"
#include "editor/qt/tool_icons.h"
#include "platform/qt/translation.h"
#include "platform/qt/value_label.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace pigmentaria {

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setWindowTitle("About Pigmentaria");
    setObjectName("AboutBox");
    setFixedSize(290, 301);
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationIconPixmap(64));
    icon->setAlignment(Qt::AlignCenter);
    icon->setAccessibleName("Pigmentaria icon");
    auto* product = new QLabel("Pigmentaria", this);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    product->setAlignment(Qt::AlignCenter);
    auto* version = new QLabel(VersionText, this);
    version->setAlignment(Qt::AlignCenter);
    auto* thanks = new QLabel(JpegAcknowledgement, this);
    thanks->setWordWrap(true);
    thanks->setAlignment(Qt::AlignCenter);
    Comments_ = new QLabel(this);
    Comments_->setObjectName("Comments");
    Comments_->setWordWrap(true);
    Comments_->setAlignment(Qt::AlignCenter);
    Comments_->setFrameShape(QFrame::StyledPanel);
    Ok_ = new QPushButton("Ok", this);
    Ok_->setDefault(true);
    Ok_->setAccessibleName("Ok");
    connect(Ok_, &QPushButton::clicked, this, &QDialog::accept);
    for (QLabel* l : {product, version, thanks})
        l->setAccessibleName(l->text());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(product);
    layout->addWidget(version);
    layout->addWidget(thanks);
    layout->addWidget(Comments_, 1);
    layout->addWidget(Ok_, 0, Qt::AlignHCenter);
}

void TAboutBox::showEvent(QShowEvent* event) {
    const QString text =
        Source_ ? WindowText::TrFilled(QString::fromStdString(Source_()), {AboutBoxCommentsPattern})
                : QString();
    ShowValue(Comments_, text, "Comments");
    if (const QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

} // namespace pigmentaria
