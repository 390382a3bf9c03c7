#pragma once
// TZoomForm, "Custom Zoom": a height, a width or a percentage, the other two kept in proportion to
// the picture of the window that opened it.
#include "editor/zoom_rules.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QPushButton;

namespace pigmentaria {

class TZoomForm : public QDialog {
    Q_OBJECT
public:
    explicit TZoomForm(QWidget* parent = nullptr);

    // Fills the fields (the picture box's height and width, the zoom as a percentage) for a
    // picture of width x height.
    void Fill(int boxHeight, int boxWidth, double zoom, int pictureWidth, int pictureHeight);
    // Shows the dialog modally; the new zoom factor on "Ok", none on "Cancel".
    std::optional<double> Execute(int boxHeight, int boxWidth, double zoom, int pictureWidth,
                                  int pictureHeight);
    // The zoom the fields give, none while "Ok" is disabled.
    std::optional<double> EnteredZoom() const;

    QLineEdit* HeightEdit() const { return Height_; }
    QLineEdit* WidthEdit() const { return Width_; }
    QLineEdit* PercentEdit() const { return Percent_; }
    QPushButton* OkButton() const { return Ok_; }
    QPushButton* CancelButton() const { return Cancel_; }

private:
    void Edited(TZoomField field);
    TZoomFields Fields() const;
    void Show(const TZoomFields& fields);

    QLineEdit* Height_;
    QLineEdit* Width_;
    QLineEdit* Percent_;
    QPushButton* Ok_;
    QPushButton* Cancel_;
    int PictureWidth_ = 0;
    int PictureHeight_ = 0;
};

} // namespace pigmentaria
