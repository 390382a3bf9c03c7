#pragma once
// TPGOpenDialog and TPGSaveDialog: the toolkit's file dialogs (its own widgets, not the desktop's,
// so that they can carry more) with the format registry's file types, a preview of the selected
// picture loaded on the thread pool 150 ms after the selection settles, and an information box:
// format, size and colours, subformat, comment. The save dialog rewrites the name's extension
// when the type changes. TOpenPreviewForm is the larger preview window the main window puts beside
// the picture dialog when it imports.
#include "image/picture_dialog_rules.h"
#include "image/preview_queue.h"
#include "platform/report.h"

#include <QDialog>
#include <QFileDialog>
#include <QImage>
#include <QPointer>
#include <QTimer>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QLabel;

namespace pigmentaria {

class TOpenPreviewForm;

// A box that shows a preview centred in it.
class TPreviewBox : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewBox(QWidget* parent = nullptr);
    void SetImage(const QImage& image);
    const QImage& Image() const { return Image_; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage Image_;
};

// Loads file previews on the thread pool, latest request only, and hands each shown one to
// `shown` on the window's thread.
class TPreviewLoader {
public:
    using TShown = std::function<void(const QString& file, const QImage& image)>;
    TPreviewLoader(TViewSize box, TShown shown);
    ~TPreviewLoader();
    void Load(const QString& file);
    // Nothing started before is shown any more.
    void Cancel();
    bool Busy() const { return Queue_.Running(); }
    int Started() const { return Started_; }

private:
    void Start(const TLatestOnlyQueue<QString>::TTicket& ticket);
    void Arrived(std::uint64_t generation, const QString& file, const QImage& image);

    TViewSize Box_;
    TShown Shown_;
    TLatestOnlyQueue<QString> Queue_;
    std::shared_ptr<std::atomic<bool>> Abandon_;
    std::shared_ptr<bool> Alive_;
    int Started_ = 0;
};

class TPGOpenDialog : public QFileDialog {
    Q_OBJECT
public:
    // `messages` hears the options' rule.
    explicit TPGOpenDialog(QWidget* parent = nullptr, IMessageSink* messages = nullptr);
    ~TPGOpenDialog() override;

    // ---- Properties
    bool UseDefaultFilter() const { return UseDefaultFilter_; }
    void SetUseDefaultFilter(bool on) { UseDefaultFilter_ = on; }
    bool ShowInfo() const { return ShowInfo_; }
    void SetShowInfo(bool on);
    unsigned Options() const { return Options_; }
    // Share-aware cannot be left out: the user is told so, and it is kept.
    void SetOptions(unsigned options);
    // The beside window that follows the selection too (the main window's import).
    void SetPreviewWindow(TOpenPreviewForm* window) { PreviewWindow_ = window; }

    // Rebuilds the file types (when UseDefaultFilter is on) and runs the dialog; the chosen file,
    // or empty on Cancel.
    QString Execute(const QString& folder, const QString& name = {});
    // The file types offered, as listed.
    const std::vector<TFileTypeEntry>& FileTypes() const { return Types_; }

    // ---- For tests
    TPreviewBox* PreviewBox() const { return PreviewBox_; }
    QLabel* InfoBox() const { return InfoBox_; }
    const std::vector<std::string>& InfoLines() const { return InfoLines_; }
    const QString& PreviewFile() const { return PreviewFile_; }
    // The file whose preview (and information) was asked for last, once the delay had passed.
    const QString& SettledFile() const { return SettledFile_; }
    int PreviewLoadsStarted() const { return Loader_->Started(); }
    bool PreviewBusy() const { return Loader_->Busy() || Settle_.isActive(); }
    // What a change of selection does, as the dialog's own notification calls it.
    void SelectionChanged(const QString& path);

signals:
    void PreviewShown(const QString& file);

protected:
    virtual TPictureDialogKind Kind() const { return TPictureDialogKind::Open; }
    void RebuildFileTypes();
    void done(int result) override;
    // The preview window follows the dialog.
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void Settled();
    void Clear();

    IMessageSink* Messages_;
    bool UseDefaultFilter_ = true;
    bool ShowInfo_ = true;
    unsigned Options_ = DefaultPGDialogOptions;
    std::vector<TFileTypeEntry> Types_;
    TPreviewBox* PreviewBox_;
    QLabel* InfoBox_;
    std::vector<std::string> InfoLines_;
    QTimer Settle_;
    QString Pending_;
    QString SettledFile_;
    QString PreviewFile_;
    std::unique_ptr<TPreviewLoader> Loader_;
    TOpenPreviewForm* PreviewWindow_ = nullptr;
};

class TPGSaveDialog : public TPGOpenDialog {
    Q_OBJECT
public:
    explicit TPGSaveDialog(QWidget* parent = nullptr, IMessageSink* messages = nullptr);

    // The chosen name, with the chosen type's extension when none was typed; empty on Cancel.
    QString Execute(const QString& folder, const QString& name = {});
    // What a change of type does to the name in the file-name field.
    void TypeChanged(const QString& nameFilter);
    QString TypedName() const;
    void SetTypedName(const QString& name);

protected:
    TPictureDialogKind Kind() const override { return TPictureDialogKind::Save; }
};

// "Preview": the picture under the picture dialog's selection, its pixel size and its format.
class TOpenPreviewForm : public QDialog {
    Q_OBJECT
public:
    explicit TOpenPreviewForm(QWidget* parent = nullptr);
    ~TOpenPreviewForm() override;

    // Shown with no picture yet (the picture's room kept, so that it is never a sliver), at the
    // right edge of the screen, vertically centred, until it is placed beside a dialog.
    void ShowBeside();
    // Beside the picture dialog (OpenPreviewPlace), and beside it again whenever it grows.
    void PlaceBeside(const QWidget* dialog);
    // The picture dialog's selection changed.
    void SelectionChanged(const QString& file);

    TPreviewBox* Image() const { return Image_; }
    QLabel* DimensionsText() const { return Dimensions_; }
    QLabel* DescriptionText() const { return Description_; }
    bool ImageShown() const;
    bool Busy() const { return Loader_->Busy(); }

signals:
    void PreviewShown(const QString& file);

protected:
    // The window grows when a picture shows: it stays beside the dialog, whole.
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceAtRightEdge();
    void Place();
    QPointer<const QWidget> Anchor_;

    TPreviewBox* Image_;
    QLabel* Dimensions_;
    QLabel* Description_;
    QString Current_;
    std::unique_ptr<TPreviewLoader> Loader_;
};

} // namespace pigmentaria
