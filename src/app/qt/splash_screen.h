#pragma once
// TSplashScreen: a borderless window of 607 x 208, always on top and centred, showing one
// picture (a painting our engine made, with the program's name) until its timer's first tick
// after 2500 ms.
#include <QDialog>
#include <QPixmap>
#include <QTimer>

namespace pigmentaria {

inline constexpr int SplashWidth = 607;
inline constexpr int SplashHeight = 208;
inline constexpr int SplashMs = 2500;

class TSplashScreen : public QDialog {
    Q_OBJECT
public:
    // `painting` fills the window, cropped to its shape; a plain ground stands in when it is null.
    explicit TSplashScreen(const QPixmap& painting, QWidget* parent = nullptr);
    // Shows the splash modally until the timer closes it.
    int ShowModal();
    const QPixmap& Picture() const { return Picture_; }
    QTimer& Timer() { return Timer_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The user cannot close it early.
    void reject() override {}

private:
    QPixmap Picture_;
    QTimer Timer_;
};

// The splash picture: the painting filling 607 x 208 with the name and version over it, drawn
// `ratio` device pixels to a pixel.
QPixmap MakeSplashPicture(const QPixmap& painting, qreal ratio = 1);

} // namespace pigmentaria
