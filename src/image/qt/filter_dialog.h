#pragma once
// TFilterDialogForm: the dialog of one filter, built from its model: up to three track bars with
// their scale and value labels, a check box, a pair of radio buttons, "OK" and "Cancel", and two
// small previews, the working picture and the filtered result. Both previews are computed on the
// thread pool; the filtered one follows every control change through a latest-only queue, so
// that dragging a slider stays fluid and the preview always ends on the last settings.
#include "image/filter_dialog_model.h"
#include "image/preview_queue.h"

#include <QDialog>
#include <QImage>

#include <atomic>
#include <memory>
#include <vector>

class QCheckBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace pigmentaria {

class TFilterDialogForm : public QDialog {
    Q_OBJECT
public:
    explicit TFilterDialogForm(TFilterKind kind, QWidget* parent = nullptr);
    ~TFilterDialogForm() override;

    TFilterKind Kind() const { return Kind_; }

    // Shows the dialog modally on the working picture with the stored settings. On "OK" the
    // settings take the controls' values and true comes back; "Cancel" leaves them.
    bool Execute(const TPixelGraphic& picture, TFilterSettings& settings);

    // Opens the dialog without running it (for tests): the controls show the settings and the
    // previews start. Confirm() then does what "OK" does.
    void Prepare(const TPixelGraphic& picture, const TFilterSettings& settings);
    TFilterSettings Confirmed() const { return Settings_; }

    // ---- For tests and accessibility
    QSlider* TrackBar(int index) const;
    QLabel* ValueLabel(int index) const;
    QLabel* ScaleLabel(int index, int which) const;
    QCheckBox* CheckBox() const { return Check_; }
    QRadioButton* Radio(int index) const;
    QLabel* SourcePreview() const { return SourceView_; }
    QLabel* ResultPreview() const { return ResultView_; }
    // The previews' images (null until computed) and how many filtered previews were computed
    // and shown since the dialog opened.
    const QImage& SourceImage() const { return SourceImage_; }
    const QImage& ResultImage() const { return ResultImage_; }
    int ResultsComputed() const { return ResultsComputed_; }
    int ResultsShown() const { return ResultsShown_; }
    // No preview computation is running or waiting, and both previews show the last settings.
    bool PreviewsSettled() const;

signals:
    void PreviewShown();

private:
    struct TShared;
    void Build();
    void ControlsChanged();
    void ShowControls(const TFilterControls& controls);
    TFilterControls ReadControls() const;
    void RequestResult();
    void StartResult(const TLatestOnlyQueue<TFilterSettings>::TTicket& ticket);
    void SourceArrived(std::uint64_t epoch, std::shared_ptr<const TFilterPreviewSource> source);
    void ResultArrived(std::uint64_t generation, QImage image);
    void StopPreviews();

    const TFilterKind Kind_;
    const TFilterDialogModel& Model_;
    std::vector<QSlider*> Sliders_;
    std::vector<QLabel*> Values_;
    std::vector<std::array<QLabel*, 3>> Scales_;
    QCheckBox* Check_ = nullptr;
    std::array<QRadioButton*, 2> Radios_{};
    QLabel* SourceView_ = nullptr;
    QLabel* ResultView_ = nullptr;

    TFilterSettings Settings_;
    bool Updating_ = false;
    // Each opening of the dialog is an epoch; a source preview of an older one is dropped.
    std::uint64_t Epoch_ = 0;
    std::shared_ptr<const TFilterPreviewSource> Source_;
    TLatestOnlyQueue<TFilterSettings> Queue_;
    std::shared_ptr<std::atomic<bool>> RunningAbandon_;
    std::shared_ptr<std::atomic<bool>> SourceAbandon_;
    QImage SourceImage_;
    QImage ResultImage_;
    int ResultsComputed_ = 0;
    int ResultsShown_ = 0;
};

} // namespace pigmentaria
