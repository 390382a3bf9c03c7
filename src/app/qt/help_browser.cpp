#include "app/qt/help_browser.h"

#include "platform/help_topics.h"
#include "platform/qt/translation.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace pigmentaria {

THelpBrowser::THelpBrowser(const std::filesystem::path& helpFolder, QWidget* parent)
    : QDialog(parent, Qt::Window), Folder_(helpFolder) {
    setWindowTitle(HelpCaption);
    setObjectName("HelpBrowser");
    resize(720, 620);
    Browser_ = new QTextBrowser(this);
    Browser_->setObjectName("HelpText");
    Browser_->setAccessibleName("Help page");
    Browser_->setOpenExternalLinks(false);
    Browser_->setSearchPaths({QString::fromStdString(helpFolder.string())});
    auto* back = new QPushButton("&Back", this);
    auto* forward = new QPushButton("&Forward", this);
    auto* contents = new QPushButton("&Contents", this);
    auto* close = new QPushButton("C&lose", this);
    for (QPushButton* b : {back, forward, contents, close})
        b->setAccessibleName(b->text().remove('&'));
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(back, &QPushButton::clicked, Browser_, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, Browser_, &QTextBrowser::forward);
    connect(Browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(Browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(contents, &QPushButton::clicked, this, [this] { ShowContext(HelpContents); });
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addWidget(contents);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(Browser_);
}

QString THelpBrowser::CurrentPage() const {
    return QFileInfo(Browser_->source().path()).fileName();
}

void THelpBrowser::ShowContext(int context) {
    const QDir folder(QString::fromStdString(Folder_.string()));
    QString file = folder.filePath(QString::fromStdString(HelpPageForContext(context)));
    // A page in the window language stands in its language's folder, where there is one (the
    // catalogue names it: "index.html" is "de/index.html" in German).
    const QString own = folder.filePath(WindowText::Tr(HelpPageForContext(context)));
    if (own != file && QFileInfo::exists(own)) file = own;
    if (QFileInfo::exists(file)) {
        Browser_->setSource(QUrl::fromLocalFile(file));
    } else {
        Browser_->setHtml(WindowText::Tr("<h2>Help is not installed</h2><p>The help pages were "
                                         "not found in <code>%1</code>. Reinstall Pigmentaria "
                                         "to get them.</p>")
                              .arg(QString::fromStdString(Folder_.string()).toHtmlEscaped()));
    }
    // A help window opened from a modal dialog must not be blocked by it. It joins the dialog
    // only while the dialog shows: a message box that goes would take its children with it.
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != this && parentWidget() != modal) {
        LeaveHost();
        setParent(modal, Qt::Window);
        Host_ = modal;
        modal->installEventFilter(this);
    }
    if (!modal && parentWidget()) LeaveHost();
    show();
    raise();
    activateWindow();
}

void THelpBrowser::LeaveHost() {
    if (Host_) Host_->removeEventFilter(this);
    Host_ = nullptr;
    if (!parentWidget()) return;
    const bool shown = isVisible();
    setParent(nullptr, Qt::Window);
    if (shown) show();
}

void THelpBrowser::InstallF1() {
    qApp->installEventFilter(this);
}

bool THelpBrowser::eventFilter(QObject* watched, QEvent* event) {
    if (Host_ && watched == Host_ && event->type() == QEvent::Hide) {
        LeaveHost();
        return false;
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        QWidget* window = static_cast<QWidget*>(watched)->window();
        // The window's English caption names its page, in any language.
        const QString caption = WindowText::SourceTitle(window);
        const int context = window == this
                                ? HelpContents
                                : HelpContextForWindow(HelpWindowForCaption(caption.toStdString()));
        ShowContext(context);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace pigmentaria
