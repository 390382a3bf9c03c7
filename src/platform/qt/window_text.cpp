#include "platform/qt/window_text.h"

#include <QLocale>

namespace pigmentaria {

char WindowDecimalPoint() {
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point.at(0).unicode() > ' ' && point.at(0).unicode() < 0x7f &&
        !point.at(0).isDigit())
        return static_cast<char>(point.at(0).unicode());
    return '.';
}

} // namespace pigmentaria
