// The windows from the keyboard: in every window Tab visits the controls in the order the window
// lays them out, as a reader goes through it.
#include "image/qt/filter_dialog.h"

#include "widget_test_util.h"

#include <QAbstractButton>
#include <QBoxLayout>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QScrollArea>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace pigmentaria {
namespace {

bool TakesTab(const QWidget* w) {
    return (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
}

void CollectLayout(QLayout* layout, std::vector<QWidget*>& out);

// `w` and the controls inside it, in the order its layout places them.
void CollectWidget(QWidget* w, std::vector<QWidget*>& out) {
    if (TakesTab(w)) out.push_back(w);
    if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < tabs->count(); ++i)
            CollectWidget(tabs->widget(i), out);
        return;
    }
    if (auto* stack = qobject_cast<QStackedWidget*>(w)) {
        for (int i = 0; i < stack->count(); ++i)
            CollectWidget(stack->widget(i), out);
        return;
    }
    if (auto* scroll = qobject_cast<QScrollArea*>(w)) {
        if (scroll->widget()) CollectWidget(scroll->widget(), out);
        return;
    }
    if (auto* main = qobject_cast<QMainWindow*>(w)) {
        for (QToolBar* bar : main->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly))
            CollectWidget(bar, out);
        if (main->centralWidget()) CollectWidget(main->centralWidget(), out);
        if (main->statusBar()) CollectWidget(main->statusBar(), out);
        return;
    }
    if (w->layout()) CollectLayout(w->layout(), out);
}

void CollectItem(QLayoutItem* item, std::vector<QWidget*>& out) {
    if (!item) return;
    if (QWidget* w = item->widget())
        CollectWidget(w, out);
    else if (QLayout* l = item->layout())
        CollectLayout(l, out);
}

void CollectLayout(QLayout* layout, std::vector<QWidget*>& out) {
    if (auto* grid = qobject_cast<QGridLayout*>(layout)) {
        // Row by row, left to right; a control standing beside several rows is read after
        // the last of them.
        struct TCell {
            int Row, Column, Index;
        };
        std::vector<TCell> cells;
        for (int i = 0; i < grid->count(); ++i) {
            int r, c, rs, cs;
            grid->getItemPosition(i, &r, &c, &rs, &cs);
            cells.push_back({r + rs - 1, c, i});
        }
        std::sort(cells.begin(), cells.end(), [](const TCell& a, const TCell& b) {
            return a.Row != b.Row ? a.Row < b.Row : a.Column < b.Column;
        });
        for (const TCell& cell : cells)
            CollectItem(grid->itemAt(cell.Index), out);
        return;
    }
    if (auto* form = qobject_cast<QFormLayout*>(layout)) {
        for (int r = 0; r < form->rowCount(); ++r)
            for (auto role :
                 {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
                CollectItem(form->itemAt(r, role), out);
        return;
    }
    std::vector<QLayoutItem*> items;
    for (int i = 0; i < layout->count(); ++i)
        items.push_back(layout->itemAt(i));
    if (auto* box = qobject_cast<QBoxLayout*>(layout))
        if (box->direction() == QBoxLayout::RightToLeft ||
            box->direction() == QBoxLayout::BottomToTop)
            std::reverse(items.begin(), items.end());
    for (QLayoutItem* item : items)
        CollectItem(item, out);
}

std::string Name(const QWidget* w) {
    QString n = w->accessibleName();
    if (n.isEmpty()) n = w->objectName();
    if (n.isEmpty()) n = w->metaObject()->className();
    return n.toStdString();
}

// The window's controls in the order Tab visits them, and in the order its layout shows them.
struct TOrders {
    std::vector<QWidget*> Tab, Layout;
};

TOrders OrdersOf(QWidget* window) {
    TOrders o;
    CollectWidget(window, o.Layout);
    const std::vector<QWidget*> shown = o.Layout;
    auto laid = [&shown](QWidget* w) {
        return std::find(shown.begin(), shown.end(), w) != shown.end();
    };
    for (QWidget* w = window->nextInFocusChain(); w && w != window; w = w->nextInFocusChain())
        if (TakesTab(w) && laid(w)) o.Tab.push_back(w);
    std::erase_if(o.Layout, [&o](QWidget* w) {
        return std::find(o.Tab.begin(), o.Tab.end(), w) == o.Tab.end();
    });
    // Tab goes round: the chain may start anywhere.
    if (!o.Layout.empty())
        std::rotate(o.Tab.begin(), std::find(o.Tab.begin(), o.Tab.end(), o.Layout.front()),
                    o.Tab.end());
    return o;
}

std::string Listing(const std::vector<QWidget*>& ws) {
    std::string s;
    for (const QWidget* w : ws)
        s += "\n    " + Name(w);
    return s;
}

// Every window of the program, the picture dialog and the filter dialogs too.
struct TEveryWindow {
    TEveryWindow() {
        Windows = App.Windows.Windows();
        Windows.push_back(&App.Windows.Import().PGOpenDialog());
        for (int k = 0; k <= static_cast<int>(TFilterKind::HSV); ++k)
            Windows.push_back(
                Filters
                    .emplace_back(std::make_unique<TFilterDialogForm>(static_cast<TFilterKind>(k)))
                    .get());
    }
    test::TTestWindows App{PIGMENTARIA_DATA_SOURCE};
    std::vector<std::unique_ptr<TFilterDialogForm>> Filters;
    std::vector<QWidget*> Windows;
};

TEST(Keyboard, TabVisitsEveryWindowsControlsInTheOrderTheyAreLaidOut) {
    TEveryWindow every;
    for (QWidget* window : every.Windows) {
        const TOrders o = OrdersOf(window);
        if (std::getenv("PIGMENTARIA_LIST_TABS"))
            std::cout << window->windowTitle().toStdString() << Listing(o.Tab) << "\n";
        EXPECT_EQ(o.Tab, o.Layout)
            << window->windowTitle().toStdString() << "\n  Tab:" << Listing(o.Tab)
            << "\n  laid out:" << Listing(o.Layout);
    }
}

// A tool bar button works from the keyboard when Tab reaches it, or a key or a menu entry does what
// it does.
TEST(Keyboard, EveryToolBarButtonIsReachedByTabAKeyOrAMenu) {
    TEveryWindow every;
    for (QWidget* window : every.Windows)
        for (QToolBar* bar : window->findChildren<QToolBar*>())
            for (QAction* a : bar->actions()) {
                auto* button = qobject_cast<QAbstractButton*>(bar->widgetForAction(a));
                if (!button) continue;
                const QList<QObject*> shownIn = a->associatedObjects();
                const bool inMenu = std::any_of(shownIn.begin(), shownIn.end(), [](QObject* o) {
                    return qobject_cast<QMenu*>(o) != nullptr;
                });
                EXPECT_TRUE((button->focusPolicy() & Qt::TabFocus) || !a->shortcuts().isEmpty() ||
                            inMenu)
                    << window->windowTitle().toStdString() << ": " << Name(button);
            }
}

} // namespace
} // namespace pigmentaria
