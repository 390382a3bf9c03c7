#include "app/qt/app_windows.h"
#include "platform/help_topics.h"

#include "image/qt/pg_image.h"
#include "test_util.h"
#include "widget_test_util.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QProgressBar>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

struct AppWindowsTest : ::testing::Test {
    test::TTestWindows App{PIGMENTARIA_DATA_SOURCE};
    test::TScriptedDialogs& Dialogs = App.Dialogs;
    TAppWindows& Windows = App.Windows;
};

QString AccessibleName(QObject* o) {
    QAccessibleInterface* i = QAccessible::queryAccessibleInterface(o);
    return i ? i->text(QAccessible::Name) : QString();
}

// Every action of a menu, its submenus included.
void MenuActions(QMenu* menu, std::vector<QAction*>& out) {
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        out.push_back(a);
        if (a->menu()) MenuActions(a->menu(), out);
    }
}

TEST_F(AppWindowsTest, EveryWindowHasItsCaption) {
    std::vector<QString> captions;
    for (QWidget* w : Windows.Windows())
        captions.push_back(w->windowTitle().remove("[*]"));
    EXPECT_EQ(captions,
              (std::vector<QString>{"Pigmentaria - (Untitled)", "Progress", "Pigmentaria",
                                    "Palette", "About Pigmentaria", "Print Setup",
                                    "Enter Palette Description", "Print Preview",
                                    "Modifying Original Image", "Color Reduction", "New Template",
                                    "Edit Palette", "Custom Zoom", "Preview", "Pigmentaria Help"}));
    EXPECT_EQ(Windows.SplashScreen().size(), QSize(607, 208));
    EXPECT_EQ(Windows.SplashScreen().Timer().interval(), 2500);
    EXPECT_EQ(Windows.AboutBox().size(), QSize(290, 301));
}

TEST_F(AppWindowsTest, EveryControlAndMenuItemHasAnAccessibleName) {
    for (QWidget* window : Windows.Windows()) {
        window->show();
        std::vector<QWidget*> widgets{window};
        for (QWidget* w : window->findChildren<QWidget*>())
            widgets.push_back(w);
        for (QWidget* w : widgets) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QAbstractSlider*>(w) || qobject_cast<QComboBox*>(w) ||
                                 qobject_cast<QProgressBar*>(w) || qobject_cast<QTextBrowser*>(w) ||
                                 qobject_cast<TPGImage*>(w) || qobject_cast<QToolBar*>(w);
            // Scroll bars and the tool bar's own extension button belong to their owners.
            if (!control || w->objectName().startsWith("qt_")) continue;
            if (qobject_cast<QScrollBar*>(w)) continue;
            EXPECT_FALSE(AccessibleName(w).trimmed().isEmpty())
                << window->windowTitle().toStdString() << ": " << w->metaObject()->className()
                << " " << w->objectName().toStdString();
        }
        window->hide();
    }
    // Menu items: their captions without "&"; tool bar buttons: their hints.
    TVectorForm& main = Windows.VectorForm();
    std::vector<QAction*> actions;
    for (QAction* top : main.menuBar()->actions()) {
        EXPECT_FALSE(top->text().remove('&').isEmpty());
        MenuActions(top->menu(), actions);
    }
    MenuActions(main.ZoomMenu(), actions);
    EXPECT_GT(actions.size(), 35u);
    for (QAction* a : actions) {
        if (!a->isVisible()) continue; // the unused recent-file entries
        EXPECT_FALSE(a->text().remove('&').trimmed().isEmpty()) << a->objectName().toStdString();
    }
    for (QMenu* m : main.findChildren<QMenu*>()) {
        QAccessibleInterface* i = QAccessible::queryAccessibleInterface(m);
        ASSERT_NE(i, nullptr);
        for (int c = 0; c < i->childCount(); ++c) {
            QAccessibleInterface* item = i->child(c);
            if (item->role() == QAccessible::Separator) continue;
            EXPECT_FALSE(item->text(QAccessible::Name).isEmpty())
                << m->title().toStdString() << " item " << c;
            // No shortcut marks ("Pen & Ink" keeps its ampersand).
            EXPECT_FALSE(item->text(QAccessible::Name).contains(QRegularExpression("&\\S")))
                << m->title().toStdString() << " item " << c << " "
                << item->text(QAccessible::Name).toStdString();
        }
    }
    QToolBar* bar = main.findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    int buttons = 0;
    for (QToolButton* b : bar->findChildren<QToolButton*>()) {
        if (b->objectName().startsWith("qt_")) continue;
        ++buttons;
        EXPECT_FALSE(AccessibleName(b).isEmpty());
        if (b->defaultAction() && !b->defaultAction()->toolTip().isEmpty() &&
            b->defaultAction() != main.Actions().HelpButton) {
            EXPECT_EQ(AccessibleName(b), b->defaultAction()->toolTip());
        }
    }
    EXPECT_EQ(buttons, 14);
    // The edits are named after their labels.
    EXPECT_EQ(AccessibleName(Windows.ZoomForm().PercentEdit()), "Percent");
    EXPECT_EQ(AccessibleName(Windows.ZoomForm().HeightEdit()), "Height");
}

TEST_F(AppWindowsTest, AboutBoxCountsShapesAndPointsWhenShown) {
    test::TTempDir dir;
    test::WriteGridPainting(dir / "a.kvp", 100, 100, 2, 2);
    ASSERT_TRUE(Windows.VectorForm().OpenFile(QString::fromStdString((dir / "a.kvp").string())));
    Windows.AboutBox().show();
    const std::string text = Windows.AboutBox().Comments()->text().toStdString();
    // No trace yet: the tracer's count is 0 while the opened painting's points are counted.
    EXPECT_EQ(text.rfind("Shape Count: 0.  Point Count: 20.  Memory blocks allocated: ", 0), 0u)
        << text;
    EXPECT_NE(text.find(".  Total size: "), std::string::npos);
    Windows.AboutBox().hide();
}

TEST_F(AppWindowsTest, HelpCommandsAndF1OpenTheirPages) {
    TVectorForm& main = Windows.VectorForm();
    THelpBrowser& help = Windows.Help();
    main.Actions().QuickReference->trigger();
    EXPECT_EQ(help.CurrentPage(), "quick-reference.html");
    EXPECT_TRUE(help.isVisible());
    main.Actions().HelpContents->trigger();
    EXPECT_EQ(help.CurrentPage(), "index.html");
    help.ShowContext(HelpImportingFirstPicture);
    EXPECT_EQ(help.CurrentPage(), "first-picture.html");
    // The maker's site is the help's home page.
    main.Actions().WebSite->trigger();
    EXPECT_EQ(help.CurrentPage(), "index.html");
    EXPECT_TRUE(help.Browser()->toPlainText().contains("Contents"));
    // F1 in a window opens that window's page.
    help.InstallF1();
    main.show();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(main.Viewer()->viewport(), &f1);
    EXPECT_EQ(help.CurrentPage(), "quick-reference.html");
    help.ShowContext(HelpPrintSetup);
    QCoreApplication::sendEvent(&help, &f1);
    EXPECT_EQ(help.CurrentPage(), "index.html");
    // Every page the table names exists and links only to pages that exist.
    for (const THelpTopic& t : HelpTopics()) {
        help.ShowContext(t.Context);
        EXPECT_EQ(help.CurrentPage().toStdString(), t.Page);
        EXPECT_FALSE(help.Browser()->toPlainText().contains("not installed"));
    }
    help.hide();
}

// F1 in a message box shows the help inside the box, above its modality; the box goes when it
// is answered, and the help window must not go with it (it belongs to the application).
TEST_F(AppWindowsTest, HelpOpenedFromAMessageBoxOutlivesTheBox) {
    THelpBrowser& help = Windows.Help();
    QPointer<THelpBrowser> alive(&help);
    help.InstallF1();
    auto box = std::make_unique<QMessageBox>(QMessageBox::Critical, "Pigmentaria", "Failed");
    box->setWindowModality(Qt::ApplicationModal);
    box->show();
    ASSERT_EQ(QApplication::activeModalWidget(), box.get());
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QCoreApplication::sendEvent(box.get(), &f1);
    EXPECT_EQ(help.parentWidget(), box.get());
    EXPECT_TRUE(help.isVisible());
    box.reset();
    ASSERT_TRUE(alive);
    EXPECT_EQ(help.parentWidget(), nullptr);
    EXPECT_TRUE(help.isVisible());
    EXPECT_FALSE(help.CurrentPage().isEmpty());
    help.hide();
}

} // namespace
} // namespace pigmentaria
