#include "platform/qt/value_label.h"

#include <QLabel>
#include <QRegularExpression>
#include <QString>

namespace pigmentaria {

void ShowValue(QLabel* label, const QString& text, const QString& emptyName) {
    label->setText(text);
    // Rich text would be read with its tags; the name is what a person sees.
    QString spoken =
        Qt::mightBeRichText(text) ? QString(text).remove(QRegularExpression("<[^>]*>")) : text;
    spoken.replace('\n', ' ');
    label->setAccessibleName(spoken.isEmpty() ? emptyName : spoken);
}

} // namespace pigmentaria
