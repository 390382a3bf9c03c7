#pragma once
// A label that shows a value (a size, a count, a page, a colour) is read by that value: its
// accessible name is the text on screen, so that a screen reader says "Total Print Size: 8.26" x
// 11.69"" and not only "Total Print Size". An empty value keeps the label's caption as its name.
#include <QString>

class QLabel;

namespace pigmentaria {

void ShowValue(QLabel* label, const QString& text, const QString& emptyName = {});

} // namespace pigmentaria
