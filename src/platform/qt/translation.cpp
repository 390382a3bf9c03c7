#include "platform/qt/translation.h"

#include <QAbstractButton>
#include <QAction>
#include <QActionEvent>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTranslator>
#include <QVariant>

#include <algorithm>
#include <vector>

namespace pigmentaria {

namespace WindowText {
QString Tr(const char* source) {
    return QCoreApplication::translate(TranslationContext, source);
}
QString Tr(const QString& source) {
    if (source.isEmpty()) return source;
    return Tr(source.toUtf8().constData());
}
QString Tr(const std::string& source) {
    return Tr(source.c_str());
}
QString TrFilled(const QString& text, std::initializer_list<const char*> patterns) {
    return TrFilled(text, std::span<const char* const>(patterns.begin(), patterns.size()));
}
QString TrFilled(const QString& text, std::span<const char* const> patterns) {
    static const QRegularExpression part(QStringLiteral(R"(%(\d))"));
    // The pattern with the most fixed text first: of "fits: %1" and "fits: %1 (under %2 pt:
    // %3)", a line of the second is the second's.
    std::vector<const char*> byFixedText(patterns.begin(), patterns.end());
    const auto fixed = [](const char* p) {
        const QString s = QString::fromUtf8(p);
        return s.size() - 2 * s.count(part);
    };
    std::stable_sort(byFixedText.begin(), byFixedText.end(),
                     [&fixed](const char* a, const char* b) { return fixed(a) > fixed(b); });
    for (const char* pattern : byFixedText) {
        // The pattern as an expression: its fixed text literally, each "%n" any text.
        const QString source = QString::fromUtf8(pattern);
        QString expression = QStringLiteral("^");
        std::vector<int> numbers;
        qsizetype at = 0;
        for (auto m = part.globalMatch(source); m.hasNext();) {
            const QRegularExpressionMatch one = m.next();
            expression += QRegularExpression::escape(source.mid(at, one.capturedStart() - at)) +
                          QStringLiteral("(.+?)");
            numbers.push_back(one.captured(1).toInt());
            at = one.capturedEnd();
        }
        expression += QRegularExpression::escape(source.mid(at)) + QStringLiteral("$");
        const QRegularExpressionMatch filled = QRegularExpression(expression).match(text);
        if (!filled.hasMatch()) continue;
        // The translation's "%n" filled in one pass, so a part that itself holds "%2" stays as
        // it is.
        const QString translated = Tr(pattern);
        QString shown;
        at = 0;
        for (auto m = part.globalMatch(translated); m.hasNext();) {
            const QRegularExpressionMatch one = m.next();
            shown += translated.mid(at, one.capturedStart() - at);
            const auto found = std::find(numbers.begin(), numbers.end(), one.captured(1).toInt());
            shown += found == numbers.end()
                         ? one.captured()
                         : filled.captured(static_cast<int>(found - numbers.begin()) + 1);
            at = one.capturedEnd();
        }
        return shown + translated.mid(at);
    }
    return Tr(text);
}
} // namespace WindowText

std::string TranslationFileName(const std::string& language) {
    return "pigmentaria_" + language + ".qm";
}

std::unique_ptr<QTranslator> InstallTranslation(const std::filesystem::path& folder,
                                                const QLocale& locale) {
    // The captions are written in English: English needs no catalogue, and a language after
    // English in the user's list is not wanted over it.
    for (const QString& ui : locale.uiLanguages()) {
        const QString language = ui.section('-', 0, 0).toLower();
        if (language == "en" || language == "c") return nullptr;
        auto translator = std::make_unique<QTranslator>();
        const auto file = folder / TranslationFileName(language.toStdString());
        if (translator->load(QString::fromStdString(file.string()))) {
            // Qt's own dialogs (the file dialog's labels and columns) in the same language, where
            // the system has Qt's catalogues; owned by ours, so it goes with it.
            auto* qt = new QTranslator(translator.get());
            if (qt->load(QStringLiteral("qtbase_") + language,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                QCoreApplication::installTranslator(qt);
            QCoreApplication::installTranslator(translator.get());
            return translator;
        }
    }
    return nullptr;
}

namespace {

// The caption as a person reads it: shortcut marks gone ("&&" is a plain "&").
QString WithoutMarks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == '&') {
            if (i + 1 < text.size() && text.at(i + 1) == '&') out += '&', ++i;
            continue;
        }
        out += text.at(i);
    }
    return out;
}

// What an action shows as its tool tip when none is set: its text without marks and dots.
QString AsTip(const QString& text) {
    QString s = WithoutMarks(text);
    s.remove(QStringLiteral("..."));
    return s;
}

// The source of a property's current value: the value itself, unless it is the translation an
// earlier walk put there, whose source was kept on the object.
QString SourceOf(const QObject* o, const QByteArray& key, const QString& current) {
    const QVariant shown = o->property("_pg_shown_" + key);
    if (shown.isValid() && shown.toString() == current)
        return o->property("_pg_source_" + key).toString();
    return current;
}

// Shows `translate(source)` in place of `current` through `set`, and keeps the source for the
// next walk. A text without a translation is left alone.
template <class TSet>
void Apply(QObject* o, const QByteArray& key, const QString& current,
           const std::function<QString(const QString&)>& translate, TSet set) {
    if (current.isEmpty()) return;
    const QString source = SourceOf(o, key, current);
    const QString shown = translate(source);
    if (shown != source) {
        o->setProperty("_pg_source_" + key, source);
        o->setProperty("_pg_shown_" + key, shown);
    } else if (o->property("_pg_shown_" + key).isValid()) {
        o->setProperty("_pg_source_" + key, QVariant());
        o->setProperty("_pg_shown_" + key, QVariant());
    }
    if (shown != current) set(shown);
}

// A text that repeats the caption (a tool tip, an accessible name) follows the caption's
// translation; any other is translated on its own.
std::function<QString(const QString&)> Following(const QString& captionSource,
                                                 const TTextMap& map) {
    return [captionSource, &map](const QString& source) {
        if (!captionSource.isEmpty() && source != captionSource) {
            if (source == WithoutMarks(captionSource)) return WithoutMarks(map(captionSource));
            if (source == AsTip(captionSource)) return AsTip(map(captionSource));
        }
        return map(source);
    };
}

void TranslateAction(QAction* a, const TTextMap& map) {
    if (a->isSeparator()) return;
    const QString textSource = SourceOf(a, "text", a->text());
    const auto follow = Following(textSource, map);
    // The tips first: while they still read as the untranslated caption they are recognised.
    Apply(a, "toolTip", a->toolTip(), follow, [a](const QString& s) { a->setToolTip(s); });
    Apply(a, "statusTip", a->statusTip(), follow, [a](const QString& s) { a->setStatusTip(s); });
    Apply(a, "text", a->text(), map, [a](const QString& s) { a->setText(s); });
}

// The caption a widget shows of its own, if it has one, and how it is set.
struct TCaption {
    QByteArray Key;
    QString Text;
    std::function<void(const QString&)> Set;
};

TCaption CaptionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return {"text", b->text(), [b](const QString& s) { b->setText(s); }};
    if (auto* l = qobject_cast<QLabel*>(w))
        return {"text", l->text(), [l](const QString& s) { l->setText(s); }};
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return {"title", g->title(), [g](const QString& s) { g->setTitle(s); }};
    if (w->isWindow() || qobject_cast<QDockWidget*>(w) || qobject_cast<QToolBar*>(w)) {
        // "[*]" marks where a window shows that its painting has changed.
        QString title = w->windowTitle();
        const bool mark = title.endsWith("[*]");
        if (mark) title.chop(3);
        return {"windowTitle", title,
                [w, mark](const QString& s) { w->setWindowTitle(mark ? s + "[*]" : s); }};
    }
    return {};
}

} // namespace

QString WindowText::SourceTitle(const QWidget* window) {
    QString title = window->windowTitle();
    if (title.endsWith("[*]")) title.chop(3);
    return SourceOf(window, "windowTitle", title).remove("[*]");
}

void TranslateWidget(QWidget* w, const TTextMap& map) {
    const TCaption caption = CaptionOf(w);
    const QString captionSource =
        caption.Key.isEmpty() ? QString() : SourceOf(w, caption.Key, caption.Text);
    const auto follow = Following(captionSource, map);
    Apply(w, "accessibleName", w->accessibleName(), follow,
          [w](const QString& s) { w->setAccessibleName(s); });
    Apply(w, "toolTip", w->toolTip(), follow, [w](const QString& s) { w->setToolTip(s); });
    Apply(w, "statusTip", w->statusTip(), follow, [w](const QString& s) { w->setStatusTip(s); });
    if (!caption.Key.isEmpty()) Apply(w, caption.Key, caption.Text, map, caption.Set);

    if (auto* e = qobject_cast<QLineEdit*>(w))
        Apply(w, "placeholderText", e->placeholderText(), map,
              [e](const QString& s) { e->setPlaceholderText(s); });
    if (auto* c = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < c->count(); ++i)
            Apply(w, "item" + QByteArray::number(i), c->itemText(i), map,
                  [c, i](const QString& s) { c->setItemText(i, s); });
    }
    if (auto* t = qobject_cast<QTabBar*>(w)) {
        for (int i = 0; i < t->count(); ++i) {
            Apply(w, "tab" + QByteArray::number(i), t->tabText(i), map,
                  [t, i](const QString& s) { t->setTabText(i, s); });
            Apply(w, "tabTip" + QByteArray::number(i), t->tabToolTip(i), map,
                  [t, i](const QString& s) { t->setTabToolTip(i, s); });
        }
    }
    if (auto* t = qobject_cast<QTableWidget*>(w)) {
        for (int i = 0; i < t->columnCount(); ++i)
            if (QTableWidgetItem* h = t->horizontalHeaderItem(i))
                Apply(w, "column" + QByteArray::number(i), h->text(), map,
                      [h](const QString& s) { h->setText(s); });
    }
    if (auto* m = qobject_cast<QMenu*>(w)) TranslateAction(m->menuAction(), map);
    for (QAction* a : w->actions())
        TranslateAction(a, map);
}

namespace {

void TranslateTree(QWidget* window, const TTextMap& map, QSet<QWidget*>& done) {
    if (done.contains(window)) return;
    done.insert(window);
    std::vector<QWidget*> widgets{window};
    for (QWidget* w : window->findChildren<QWidget*>())
        widgets.push_back(w);
    for (QWidget* w : widgets) {
        if (done.contains(w) && w != window) continue;
        done.insert(w);
        TranslateWidget(w, map);
        // Menus made without a parent in the window are reached through their actions.
        for (QAction* a : w->actions())
            if (QMenu* m = a->menu()) TranslateTree(m, map, done);
    }
}

} // namespace

void TranslateWindow(QWidget* window, const TTextMap& map) {
    QSet<QWidget*> done;
    TranslateTree(window, map, done);
}

TWindowTranslator::TWindowTranslator() {
    QCoreApplication::instance()->installEventFilter(this);
}

TWindowTranslator::~TWindowTranslator() {
    if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool TWindowTranslator::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    // An action whose text the program sets again (the Edit menu's "Undo ...") is translated
    // again at once, so that the menu and a screen reader never see the source.
    if ((type == QEvent::ActionChanged || type == QEvent::ActionAdded) && watched->isWidgetType()) {
        QAction* action = static_cast<QActionEvent*>(event)->action();
        TranslateAction(action, [](const QString& s) { return WindowText::Tr(s); });
        return false;
    }
    // A window that names its painting anew ("(Untitled)" again) while it shows.
    if (type == QEvent::WindowTitleChange && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->isWindow()) {
        TranslateWidget(static_cast<QWidget*>(watched),
                        [](const QString& s) { return WindowText::Tr(s); });
        return false;
    }
    if ((type == QEvent::Polish || type == QEvent::Show || type == QEvent::LanguageChange) &&
        watched->isWidgetType()) {
        auto* w = static_cast<QWidget*>(watched);
        const TTextMap map = [](const QString& s) { return WindowText::Tr(s); };
        // A window is translated before it is laid out for showing; a widget that shows later
        // inside it on its own.
        if (w->isWindow())
            TranslateWindow(w, map);
        else if (type == QEvent::Show)
            TranslateWidget(w, map);
    }
    return false;
}

} // namespace pigmentaria
