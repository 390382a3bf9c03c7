#pragma once
// The program's help: its own pages, shown in a browser window of its own. Each window asks for
// a context number; F1 opens the page of the window that is active.
#include <QDialog>
#include <QPointer>

#include <filesystem>

class QTextBrowser;

namespace pigmentaria {

inline constexpr const char* HelpCaption = "Pigmentaria Help";

class THelpBrowser : public QDialog {
    Q_OBJECT
public:
    // `helpFolder` holds the pages; when it has none the window says so.
    explicit THelpBrowser(const std::filesystem::path& helpFolder, QWidget* parent = nullptr);
    // Opens the page of a context number (0: the contents) and brings the window forward.
    void ShowContext(int context);
    // F1 anywhere in the program opens the help of the active window.
    void InstallF1();
    QTextBrowser* Browser() const { return Browser_; }
    // The page shown, relative to the help folder.
    QString CurrentPage() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Back to a window of its own, out of the modal dialog it joined (if any).
    void LeaveHost();

    std::filesystem::path Folder_;
    // The modal dialog the window sits in while that dialog shows.
    QPointer<QWidget> Host_;
    QTextBrowser* Browser_;
};

} // namespace pigmentaria
