#pragma once
// TPrintForm, "Print Setup": the printer and its paper, the page grid and its sample with the
// green placement frame, the outline, fill and number choices, and Print, Preview, Cancel and
// Help; under the sample the legibility report of the layout and "Simplify For Printing...".
// The window shows and edits a TPrintDialogState; what a change means for the painting
// (saving it with the painting, the modified flag) and what Print and Preview do are its owner's,
// told through the signals.
#include "platform/color.h"
#include "platform/report.h"
#include "print/print_dialog.h"

#include <QDialog>
#include <QImage>

#include <optional>
#include <string>
#include <vector>

class QAbstractButton;
class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QVBoxLayout;

namespace pigmentaria {

class TPrintForm : public QDialog {
    Q_OBJECT
public:
    explicit TPrintForm(QWidget* parent = nullptr);
    ~TPrintForm() override;

    TPrintDialogState& State() { return State_; }
    const TPrintDialogState& State() const { return State_; }
    // Where edit problems are reported ('x' is not a valid number); none keeps them quiet.
    void SetMessages(IMessageSink* messages) { Messages_ = messages; }

    // Every control from the state: edits, choices and their enabling, labels, sample, frame.
    void UpdateControls();
    // The printer's name and what the dialog says under it (a PDF file instead of a printer).
    void SetPrinterLabels(const QString& name, const QString& note);
    // The main window's currently selected colour; none shows an empty swatch.
    void SetCurrentColor(std::optional<TColor> color);
    // Recomputes the layout from the edits as before printing; false (the problem reported) when
    // an edit is not a number.
    bool RecomputeForPrint();

    // Room under the sample for more about the print (a group box of its own).
    QVBoxLayout* UnderSampleLayout() const { return UnderSample_; }

    // The legibility report under the sample: its lines for the layout shown, or (stale) the
    // last ones greyed while a report for the layout shown is being made.
    void SetLegibilityLines(const std::vector<std::string>& lines, bool current);
    // What the report says when it cannot be made (no painting, no pages, a failure).
    void SetLegibilityNote(const QString& note);
    void SetSimplifyEnabled(bool enabled);

    // ---- Controls, for tests
    QLabel* PrinterName() const { return PrinterName_; }
    QLabel* PrinterNote() const { return PrinterNote_; }
    QLabel* PaperSize() const { return PaperSize_; }
    QLabel* OrientationLabel() const { return Orientation_; }
    QLabel* PrintSize() const { return PrintSize_; }
    QLabel* ImageSize() const { return ImageSize_; }
    QPushButton* ChangeButton() const { return Change_; }
    QLineEdit* PagesAcross() const { return PagesAcross_; }
    QLineEdit* PagesDown() const { return PagesDown_; }
    QLineEdit* OverLap() const { return OverLap_; }
    QCheckBox* PrintRegistrationMarks() const { return Marks_; }
    QRadioButton* OutlinesOnly() const { return OutlinesOnly_; }
    QRadioButton* FillShapes() const { return FillShapes_; }
    QCheckBox* OutlineBlack() const { return OutlineBlack_; }
    QSlider* LineWeight() const { return LineWeight_; }
    QLabel* LineWeightLabel() const { return LineWeightLabel_; }
    QGroupBox* FillWith() const { return FillWith_; }
    QRadioButton* FillWithButton(int fill) const;
    QCheckBox* PrintNumbers() const { return Numbers_; }
    QRadioButton* PrintAll() const { return PrintAll_; }
    QRadioButton* PrintSelected() const { return PrintSelected_; }
    QRadioButton* PrintCurrentColor() const { return PrintCurrentColor_; }
    QLabel* CurrColor() const { return CurrColor_; }
    QCheckBox* PrintPageNumbers() const { return PageNumbers_; }
    QWidget* Panel2() const { return Panel2_; }
    QLabel* SampleImage() const { return Sample_; }
    QWidget* ImageSizer() const { return ImageSizer_; }
    QWidget* SizeControl() const { return SizeControl_; }
    QPushButton* PrintButton() const { return Print_; }
    QPushButton* PreviewButton() const { return Preview_; }
    QPushButton* CancelButton() const { return Cancel_; }
    QPushButton* HelpButton() const { return Help_; }
    QGroupBox* LegibilityGroup() const { return Legibility_; }
    QLabel* LegibilityLine(int i) const { return LegibilityLines_[i]; }
    static constexpr int LegibilityLineCount = 4;
    QPushButton* SimplifyButton() const { return Simplify_; }
    // The sample as last drawn by the layout.
    const QImage& SampleBitmap() const { return SampleBitmap_; }

signals:
    // A change that is kept with the painting: it marks the painting modified.
    void PaintingChanged();
    // The layout was recomputed from the edits (an overlap may have been raised): kept with the
    // painting, not a change of it.
    void LayoutRecomputed();
    void ChangePrinterRequested();
    void PrintRequested();
    void PreviewRequested();
    void HelpRequested();
    // The layout the sample shows may have changed (pages, paper, placement frame), or the
    // numbers choice: the legibility report follows them.
    void SampleChanged();
    void SimplifyRequested();

private:
    void Edited(QLineEdit* edit);
    void EditFinished();
    void Report(const std::optional<std::string>& problem, bool always);
    void Changed(bool changed);
    void UpdateFrame();
    void UpdateLabels();
    void UpdateEnabling();
    void FrameMouse(int kind, QPoint panel);
    void HandleMouse(int kind, QPoint panel);

    TPrintDialogState State_;
    IMessageSink* Messages_ = nullptr;
    bool Updating_ = false;
    // The edits' texts when their problem was last told, so that leaving an edit again does not
    // repeat it.
    std::optional<TPrintEditTexts> Reported_;

    QLabel *PrinterName_, *PrinterNote_, *PaperSize_, *Orientation_, *PrintSize_, *ImageSize_;
    QPushButton* Change_;
    QLineEdit *PagesAcross_, *PagesDown_, *OverLap_;
    QCheckBox *Marks_, *OutlineBlack_, *Numbers_, *PageNumbers_;
    QRadioButton *OutlinesOnly_, *FillShapes_;
    QSlider* LineWeight_;
    QLabel* LineWeightLabel_;
    QGroupBox* FillWith_;
    QButtonGroup *FillGroup_, *WhatGroup_, *OutlineGroup_;
    QRadioButton *PrintAll_, *PrintSelected_, *PrintCurrentColor_;
    QLabel* CurrColor_;
    QWidget* Panel2_;
    QLabel* Sample_;
    QWidget* ImageSizer_;
    QWidget* SizeControl_;
    QVBoxLayout* UnderSample_;
    QPushButton *Print_, *Preview_, *Cancel_, *Help_;
    QGroupBox* Legibility_;
    QLabel* LegibilityLines_[LegibilityLineCount];
    QPushButton* Simplify_;
    QImage SampleBitmap_;
};

} // namespace pigmentaria
