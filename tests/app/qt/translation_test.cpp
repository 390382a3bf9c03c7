// The windows in German: every caption the windows show has its translation in the catalogue,
// the catalogue is complete, and a window shows the translation under German and its English
// caption again without it.
#include "app/about_info.h"
#include "app/qt/app_windows.h"
#include "convert/import_session.h"
#include "convert/reduction.h"
#include "convert/region_cleanup.h"
#include "convert/tracer.h"
#include "editor/import_entry.h"
#include "editor/qt/form_dialogs.h"
#include "editor/undo.h"
#include "editor/window_title.h"
#include "image/pg_progress.h"
#include "image/qt/filter_dialog.h"
#include "platform/qt/translation.h"
#include "print/legibility_text.h"
#include "print/new_template.h"
#include "print/numbers.h"
#include "print/preview.h"
#include "print/print_layout.h"

#include "widget_test_util.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <set>

namespace pigmentaria {
namespace {

const std::filesystem::path Translations = PIGMENTARIA_TRANSLATIONS;
const std::filesystem::path Catalogue =
    std::filesystem::path(PIGMENTARIA_DATA_SOURCE) / "translations" / "pigmentaria_de.ts";

// A text a person reads: one with a letter in it (numbers, units alone and symbols are not
// translated).
bool IsWords(const QString& s) {
    for (QChar c : s)
        if (c.isLetter()) return true;
    return false;
}

// A text a window fills in with values as it starts (sizes, colours, the folder a PDF goes to):
// put together at run time, it has no entry of its own.
bool IsValue(const QString& s) {
    return s.startsWith('/') || s.contains(QRegularExpression(R"(\d+" x \d+")")) ||
           s.startsWith("RGB:(") || s.startsWith("Paint color: red ");
}

// Every source text the window translator meets in every window of the program, with the
// window it was met in.
std::map<QString, QString> SourceTexts(TAppWindows& windows) {
    std::map<QString, QString> texts;
    auto walk = [&texts](QWidget* window) {
        const QString title = window->windowTitle();
        TranslateWindow(window, [&texts, &title](const QString& source) {
            if (IsWords(source) && !IsValue(source)) texts.emplace(source, title);
            return source;
        });
    };
    for (QWidget* w : windows.Windows())
        walk(w);
    walk(&windows.Import().PGOpenDialog());
    for (int k = 0; k <= static_cast<int>(TFilterKind::HSV); ++k) {
        TFilterDialogForm filter(static_cast<TFilterKind>(k));
        walk(&filter);
    }
    // The Edit menu names the step to undo and to redo as the painting changes.
    for (const char* undo :
         {UndoCaption, UndoBrushstroke, UndoDelete, UndoPaint, UndoSmooth, UndoColorAcquisition,
          UndoReplaceColor, UndoReplacePalette, UndoImport, UndoRetrace, UndoSimplify}) {
        texts.emplace(undo, "Edit menu");
        texts.emplace(QString::fromStdString(RedoCaptionFor(undo)), "Edit menu");
    }
    // The steps the progress window names, and the messages the windows give with no part of
    // their own.
    for (const char* message :
         {CleanupMessage, TracingMessage, ReductionMessage, SimplificationMessage, FilteringMessage,
          LoadingPictureMessage, PlacingNumbersMessage, ImageTooLargeMessage})
        texts.emplace(message, "messages");
    // The patterns of the value lines, filled in as the windows show them.
    for (const char* pattern : LegibilityLinePatterns)
        texts.emplace(pattern, "Print Setup");
    for (const char* pattern : TemplateLegibilityPatterns)
        texts.emplace(pattern, "New Template");
    texts.emplace("Making the preview...", "New Template");
    for (const char* pattern : {PrintSizePattern, ImageSizePattern, PageLabelPattern,
                                CanvasSizePattern, AboutBoxCommentsPattern})
        texts.emplace(pattern, "value lines");
    // The answers of the program's message boxes.
    QMessageBox box(QMessageBox::Question, ApplicationTitle, "?",
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Ok);
    walk(&box);
    return texts;
}

// The catalogue's entries: source to translation; `unfinished` collects the sources whose
// translation is empty or marked unfinished.
std::map<QString, QString> ReadCatalogue(std::vector<QString>& unfinished) {
    QFile file(QString::fromStdString(Catalogue.string()));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << Catalogue;
    QXmlStreamReader xml(&file);
    std::map<QString, QString> entries;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == u"source") {
            source = xml.readElementText();
        } else if (xml.name() == u"translation") {
            const bool open = !xml.attributes().value("type").isEmpty();
            const QString text = xml.readElementText();
            if (open || text.isEmpty()) unfinished.push_back(source);
            EXPECT_FALSE(entries.count(source)) << "twice: " << source.toStdString();
            entries[source] = text;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return entries;
}

TEST(Translation, EveryCaptionOfEveryWindowHasItsGermanTranslation) {
    test::TTestWindows app(PIGMENTARIA_DATA_SOURCE);
    const std::map<QString, QString> texts = SourceTexts(app.Windows);
    QTranslator german;
    ASSERT_TRUE(
        german.load(QString::fromStdString((Translations / TranslationFileName("de")).string())));
    // PIGMENTARIA_LIST_TEXTS=FILE writes every source text met, the ones without a translation
    // marked "missing", one a record.
    std::string missing;
    for (const auto& [source, window] : texts)
        if (german.translate(TranslationContext, source.toUtf8().constData()).isEmpty())
            missing += "\n  " + window.toStdString() + ": \"" + source.toStdString() + "\"";
    if (const char* list = std::getenv("PIGMENTARIA_LIST_TEXTS")) {
        std::ofstream out(list);
        for (const auto& [source, window] : texts)
            out << (german.translate(TranslationContext, source.toUtf8().constData()).isEmpty()
                        ? "missing "
                        : "")
                << source.toStdString() << "\n\x1e\n";
    }
    EXPECT_GT(texts.size(), 300u);
    EXPECT_TRUE(missing.empty()) << "captions without a German translation in "
                                 << Catalogue.filename() << ":" << missing;
}

TEST(Translation, TheGermanCatalogueIsFinishedAndKeepsMarksAndPlaceholders) {
    std::vector<QString> unfinished;
    const auto entries = ReadCatalogue(unfinished);
    EXPECT_GT(entries.size(), 300u);
    for (const QString& s : unfinished)
        ADD_FAILURE() << "unfinished: \"" << s.toStdString() << "\"";
    for (const auto& [source, text] : entries) {
        // A shortcut mark stays (one "&" before a letter), and so do the "%1" parts and the
        // window-changed mark.
        auto marks = [](QString s) { return s.remove("&&").count('&'); };
        EXPECT_EQ(marks(source), marks(text)) << source.toStdString();
        for (const char* part : {"%1", "%2", "%3", "[*]", "...", "\n"})
            EXPECT_EQ(source.count(part), text.count(part))
                << source.toStdString() << " -> " << text.toStdString() << ": " << part;
    }
}

TEST(Translation, TheMainWindowReadsGermanUnderGermanAndEnglishWithout) {
    // English wants no catalogue; German finds its own.
    EXPECT_EQ(InstallTranslation(Translations, QLocale("en_US")), nullptr);
    test::TTestWindows app(PIGMENTARIA_DATA_SOURCE);
    TVectorForm& main = app.Windows.VectorForm();
    TWindowTranslator translator;
    QAction* file = main.menuBar()->actions().at(0);
    main.show();
    EXPECT_EQ(file->text(), "&File");
    EXPECT_EQ(main.Actions().HelpContents->text(), "Help Contents");
    // F1 finds a window's page by its English caption, also when the caption shows in German.
    TZoomForm& zoom = app.Windows.ZoomForm();
    THelpBrowser& help = app.Windows.Help();
    help.InstallF1();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    zoom.show();
    QCoreApplication::sendEvent(&zoom, &f1);
    const QString zoomPage = help.CurrentPage();
    zoom.hide();
    {
        auto german = InstallTranslation(Translations, QLocale("de_DE"));
        ASSERT_NE(german, nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(file->text(), "&Datei");
        EXPECT_EQ(main.Actions().HelpContents->text(), "Hilfethemen");
        QToolBar* bar = main.findChild<QToolBar*>("ToolBar1");
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->accessibleName(), "Werkzeuge");
        // A caption the window sets again while it shows is translated again at once.
        main.Actions().Undo->setText("&Undo");
        EXPECT_EQ(main.Actions().Undo->text(), "&Rückgängig");
        // A second walk translates nothing twice.
        TranslateWindow(&main, [](const QString& s) { return WindowText::Tr(s); });
        EXPECT_EQ(file->text(), "&Datei");
        // A window shown later comes up in German, its accessible names with it; and the help
        // opens on its German contents.
        zoom.show();
        EXPECT_EQ(zoom.windowTitle(), "Benutzerdefinierter Zoom");
        QCoreApplication::sendEvent(&zoom, &f1);
        EXPECT_EQ(help.CurrentPage(), zoomPage);
        zoom.hide();
        main.Actions().HelpContents->trigger();
        EXPECT_EQ(help.CurrentPage(), "index.html");
        EXPECT_TRUE(help.Browser()->toPlainText().contains("Inhalt"));
        auto* back = help.findChild<QPushButton*>();
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->text(), "&Zurück");
        EXPECT_EQ(back->accessibleName(), "Zurück");
        help.hide();
        QCoreApplication::removeTranslator(german.get());
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(file->text(), "&File");
    EXPECT_EQ(main.Actions().HelpContents->text(), "Help Contents");
    main.hide();
}

// A message box says its fixed message, and its answers, in German.
TEST(Translation, MessageBoxesSpeakGerman) {
    TWindowTranslator translator;
    auto german = InstallTranslation(Translations, QLocale("de_DE"));
    ASSERT_NE(german, nullptr);
    QStringList shown;
    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&shown, &poll] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        poll.stop();
        for (QLabel* l : box->findChildren<QLabel*>())
            shown << l->text();
        for (QPushButton* b : box->findChildren<QPushButton*>())
            shown << b->text();
        box->close();
    });
    poll.start();
    TQtFormDialogs dialogs;
    dialogs.Warning(ImageTooLargeMessage);
    EXPECT_TRUE(shown.contains(WindowText::Tr(ImageTooLargeMessage)))
        << shown.join('|').toStdString();
    EXPECT_NE(WindowText::Tr(ImageTooLargeMessage), ImageTooLargeMessage);
    EXPECT_TRUE(shown.contains("OK")) << shown.join('|').toStdString();
    QCoreApplication::removeTranslator(german.get());
}

// As the program starts: the language first, then the windows.
TEST(Translation, WindowsMadeUnderGermanShowInGerman) {
    TWindowTranslator translator;
    auto german = InstallTranslation(Translations, QLocale("de_DE"));
    ASSERT_NE(german, nullptr);
    {
        test::TTestWindows app(PIGMENTARIA_DATA_SOURCE);
        TVectorForm& main = app.Windows.VectorForm();
        main.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(main.menuBar()->actions().at(0)->text(), "&Datei");
        EXPECT_EQ(main.windowTitle().remove("[*]"), "Pigmentaria - (Unbenannt)");
        QToolBar* bar = main.findChild<QToolBar*>("ToolBar1");
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->accessibleName(), "Werkzeuge");
        EXPECT_EQ(bar->windowTitle(), "Werkzeuge");
        // The title set again while the window shows.
        main.setWindowTitle("Pigmentaria - (Untitled)[*]");
        EXPECT_EQ(main.windowTitle(), "Pigmentaria - (Unbenannt)[*]");
        // Where the English menu gives each entry its own shortcut letter, so does the German.
        for (QMenu* menu : main.findChildren<QMenu*>()) {
            std::map<QChar, QStringList> letters;
            for (QAction* a : menu->actions()) {
                const QString text = a->text();
                const qsizetype at = QString(text).replace("&&", "__").indexOf('&');
                if (!a->isSeparator() && at >= 0 && at + 1 < text.size())
                    letters[text.at(at + 1).toLower()] << text;
            }
            for (const auto& [letter, texts] : letters)
                EXPECT_EQ(texts.size(), 1)
                    << menu->title().toStdString() << ": " << texts.join(", ").toStdString();
        }
        main.hide();
    }
    // Qt's own dialogs speak German too where the system has Qt's catalogues.
    if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_de.qm"))
        EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"),
                  QString::fromUtf8("Datei&name:"));
    // A value line is its pattern's translation with the values in place; of two patterns
    // sharing a start, each line takes its own.
    TPrintLayout layout;
    layout.PagesAcross = 2;
    layout.PagesDown = 1;
    layout.PaperWidthIn = 8.5;
    layout.PaperHeightIn = 11;
    layout.OverlapIn = 0.5;
    EXPECT_EQ(WindowText::TrFilled(QString::fromStdString(PrintSizeText(layout, ',')),
                                   {PrintSizePattern}),
              QString::fromUtf8("Gesamte Druckgröße: 16,5\" x 11\""));
    TLegibilityReport report;
    report.Regions = 40;
    report.Labels = 38;
    report.RegionsWithoutFittingNumber = 2;
    report.RegionsWithoutLegibleNumber = 1;
    report.NumbersPrinted = true;
    std::vector<QString> lines;
    for (const std::string& line : LegibilityReportLines(report, 2.5, ','))
        lines.push_back(WindowText::TrFilled(QString::fromStdString(line), LegibilityLinePatterns));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], QString::fromUtf8("Flächen unter 2,5 mm: 0 von 40"));
    EXPECT_EQ(lines[3], QString::fromUtf8("Flächen ohne passende Nummer: 2 (unter %1 pt: 1)")
                            .arg(LegibleLabelSize));
    EXPECT_EQ(WindowText::TrFilled("Regions without a number that fits: 7", LegibilityLinePatterns),
              QString::fromUtf8("Flächen ohne passende Nummer: 7"));
    // A file name is one part, blanks and all.
    EXPECT_EQ(WindowText::TrFilled(QString::fromStdString(SaveChangesQuestion(
                                       TitleForFile("/home/a/My Coffee 2.kvp"))),
                                   {SaveChangesPattern}),
              QString::fromUtf8("Änderungen an My Coffee 2.kvp speichern?"));
    // A part that holds a mark of its own is shown as it is.
    EXPECT_EQ(WindowText::TrFilled("Total Print Size: 5%2 x 7", {PrintSizePattern}),
              QString::fromUtf8("Gesamte Druckgröße: 5%2 x 7"));
    QCoreApplication::removeTranslator(german.get());
}

} // namespace
} // namespace pigmentaria
