#pragma once
// TColorReductionForm, "Color Reduction": the last colour reduction at full size in a viewer that
// fills the window, shown modally from the import dialog.
#include "platform/raster.h"

#include <QDialog>

namespace pigmentaria {

class TPGImage;

class TColorReductionForm : public QDialog {
    Q_OBJECT
public:
    explicit TColorReductionForm(QWidget* parent = nullptr);

    // Hands the reduced raster to the viewer at zoom 1 and sizes the window to it, within the
    // screen; Execute also shows the window modally.
    void Prepare(const TRaster24& reduced);
    void Execute(const TRaster24& reduced);

    TPGImage* PGImage1() const { return PGImage1_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    TPGImage* PGImage1_;
};

} // namespace pigmentaria
