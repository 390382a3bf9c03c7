#pragma once
// TPreviewForm, "Print Preview": one page of the page grid at a time, drawn as it will print on a
// whole sheet at screen resolution, in the scrolling viewer; buttons step through the pages by
// column and by row, zoom, print and close.
#include "print/preview.h"

#include <QDialog>
#include <QImage>

#include <array>
#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolButton;

namespace pigmentaria {

class TPGImage;

inline constexpr const char* PreviewZoomCaptions[] = {"25%",  "50%",  "75%",  "100%", "125%",
                                                      "150%", "200%", "225%", "250%"};

class TPreviewForm : public QDialog {
    Q_OBJECT
public:
    // Draws the sheet of the page at (row, column).
    using TPageDrawer = std::function<QImage(int row, int column)>;
    // The custom zoom dialog: the picture box's height and width, the zoom, the picture's width
    // and height; the new factor, none on Cancel.
    using TCustomZoom = std::function<std::optional<double>(int boxHeight, int boxWidth,
                                                            double zoom, int width, int height)>;

    explicit TPreviewForm(QWidget* parent = nullptr);

    void SetCustomZoom(TCustomZoom zoom) { CustomZoom_ = std::move(zoom); }
    // Page 1 of a grid drawn and shown at zoom 0.5, the window not yet shown.
    void Open(int across, int down, TPageDrawer draw);
    // Open, then the window modally. True when the user asked to print.
    bool Execute(int across, int down, TPageDrawer draw);
    bool PrintAsked() const { return PrintAsked_; }

    const TPreviewPages& Pages() const { return Pages_; }
    TPGImage* Viewer() const { return PGImage1_; }
    QLabel* PageInfo() const { return PageInfo_; }
    // The sheet last drawn.
    const QImage& Sheet() const { return Sheet_; }
    // How many sheets were drawn since the preview opened.
    int SheetsDrawn() const { return SheetsDrawn_; }

    // ---- The buttons and the zoom menu
    QAction* CloseAction() const { return Close_; }
    QAction* PreviousPage() const { return Previous_; }
    QAction* NextPage() const { return Next_; }
    QAction* DownOneRow() const { return Down_; }
    QAction* UpOneRow() const { return Up_; }
    QAction* ZoomIn() const { return ZoomIn_; }
    QAction* ZoomOut() const { return ZoomOut_; }
    QAction* PrintAction() const { return Print_; }
    QToolButton* ZoomMenuButton() const { return ZoomButton_; }
    QMenu* ZoomMenu() const { return ZoomMenu_; }
    QAction* CustomZoom() const { return Custom_; }
    QAction* ZoomLevel(int index) const { return Levels_[index]; }

    // A zoom factor from the buttons or the menu; `custom` checks "Custom...".
    void SetZoom(double zoom, bool custom = false);
    bool CustomZoomClick();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Navigate(bool (TPreviewPages::*step)());
    void DrawPage();
    void UpdateLabel();
    void CheckZoomEntry();

    TPreviewPages Pages_{1, 1};
    TPageDrawer Draw_;
    TCustomZoom CustomZoom_;
    QImage Sheet_;
    int SheetsDrawn_ = 0;
    bool PrintAsked_ = false;
    bool CustomChecked_ = false;

    TPGImage* PGImage1_;
    QLabel* PageInfo_;
    QAction *Close_, *Previous_, *Next_, *Down_, *Up_, *ZoomIn_, *ZoomOut_, *Print_;
    QToolButton* ZoomButton_;
    QMenu* ZoomMenu_;
    QActionGroup* ZoomGroup_;
    QAction* Custom_;
    std::array<QAction*, 9> Levels_{};
};

} // namespace pigmentaria
