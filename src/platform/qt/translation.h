#pragma once
// The windows in the user's language. The program's captions stay written in English where the
// windows make them; they are the source texts of one translation catalogue (context
// "Pigmentaria"). A window translator watches the application: when a window shows, or the
// language changes, it walks the window's widgets and menus and puts each caption's translation
// in its place. Under English no catalogue is loaded and nothing is touched.
//
// A text that a window sets while it is on screen (a status line, a message put together at run
// time) is translated where it is set, with WindowText::Tr; a text with variable parts is
// translated as its fixed template, before the parts are filled in ("%1").
#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>

class QLocale;
class QTranslator;
class QWidget;

namespace pigmentaria {

inline constexpr const char* TranslationContext = "Pigmentaria";
inline constexpr const char* TranslationFolderName = "translations";

namespace WindowText {
// The caption in the window language; the source itself when there is no translation.
QString Tr(const char* source);
QString Tr(const QString& source);
QString Tr(const std::string& source);
// A value text the core put together from one of `patterns` ("Image Size: %1 x %2"): the
// pattern's translation with the text's parts in place of "%1", "%2"... Of the patterns the text
// fits, the one with the most fixed text is taken. A text that fits none is translated as a
// whole.
QString TrFilled(const QString& text, std::span<const char* const> patterns);
QString TrFilled(const QString& text, std::initializer_list<const char*> patterns);
// The English caption of a window whose title has been translated (without "[*]"): what the
// program knows the window by.
QString SourceTitle(const QWidget* window);
} // namespace WindowText

// The catalogue file of a language ("de": "pigmentaria_de.qm").
std::string TranslationFileName(const std::string& language);

// Loads the catalogue of the first of the locale's user-interface languages that has one in
// `folder`, and installs it in the application, with Qt's own catalogue of that language when
// the system has it. Null for English, or when no catalogue fits.
std::unique_ptr<QTranslator> InstallTranslation(const std::filesystem::path& folder,
                                                const QLocale& locale);

// Maps one source text to what is shown (for the walk below).
using TTextMap = std::function<QString(const QString& source)>;

// Puts `map` of every caption of `window` and all its widgets, menus and actions in place:
// window titles, label, button, group box and tab texts, combo box items, table headers, menu
// titles, action texts, tool tips, status tips, placeholder texts, and accessible names that are
// the caption without its "&". The source of each translated text is kept on the object, so a
// second walk (or one with another language) starts from the source again, never from a
// translation.
void TranslateWindow(QWidget* window, const TTextMap& map);
// The same for one widget's own texts and actions, not its children.
void TranslateWidget(QWidget* widget, const TTextMap& map);

// Application-wide: translates each window as it shows and again when the language changes,
// and each widget that shows later inside a shown window.
class TWindowTranslator final : public QObject {
public:
    TWindowTranslator();
    ~TWindowTranslator() override;
    TWindowTranslator(const TWindowTranslator&) = delete;
    TWindowTranslator& operator=(const TWindowTranslator&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace pigmentaria
