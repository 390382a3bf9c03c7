#include "platform/qt/keyboard.h"

#include <QAbstractButton>
#include <QAction>
#include <QToolBar>

namespace pigmentaria {

void TabThroughToolBar(QToolBar* bar) {
    for (QAction* a : bar->actions())
        if (auto* button = qobject_cast<QAbstractButton*>(bar->widgetForAction(a)))
            button->setFocusPolicy(Qt::TabFocus);
}

} // namespace pigmentaria
