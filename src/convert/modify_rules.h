#pragma once
// What the import dialog decides without a window: its controls with their ranges, ticks,
// defaults and labels, its menus and their items, the zoom menu and which entry it checks, the
// "Re-Open" entry, the window's layout figures, and the message a picture too large to convert at
// full size gets.
#include "convert/import_session.h"
#include "image/zoom_levels.h"

#include <array>
#include <optional>
#include <string>

namespace pigmentaria {

inline constexpr const char* ModifyFormCaption = "Modifying Original Image";
// The client area as designed, and the advanced panel's width on the right.
inline constexpr int ModifyFormClientWidth = 594;
inline constexpr int ModifyFormClientHeight = 442;
inline constexpr int AdvancedPanelWidth = 192;

struct TTrackBarSpec {
    const char* Caption; // the box or label it sits under
    int Minimum;
    int Maximum;
    int Tick;
    int Default;
    const char* LowLabel;  // under the left end
    const char* HighLabel; // under the right end
    const char* Hint;      // empty for none
};

inline constexpr TTrackBarSpec ColorDepthSpec{
    "Colors", 1,
    255,      10,
    90,       "(more)",
    "(less)", "Controls the extent to which colors are combined in the final painting."};
inline constexpr TTrackBarSpec SimplificationLevelSpec{
    "Speck Removal",
    0,
    4,
    1,
    0,
    "(none)",
    "(most)",
    "Removes specks: a pixel with fewer neighbours of its own colour than this level takes the "
    "colour most of its neighbours have."};
inline constexpr TTrackBarSpec AbstractionLevelSpec{
    "Abstraction Level", 1, 10, 1, 4, "(more detail)", "(less jagged)", ""};

inline constexpr const char* ColorReductionGroupCaption = "Color Reduction";
inline constexpr const char* TracingGroupCaption = "Tracing";
inline constexpr const char* OutlineMethodCaption = "Outline Method";
inline constexpr std::array<const char*, 3> OutlineMethodItems{"Outline", "Inline", "Half-line"};
inline constexpr const char* EliminateLinesCaption = "Eliminate Lines";
inline constexpr const char* PreviewReductionCaption = "Preview Color Reduction. . .";
inline constexpr const char* ReduceIntoOriginalCaption = "Reduce Into Original";
inline constexpr const char* ColorReductionFormCaption = "Color Reduction";

// The tool bar, left to right.
inline constexpr const char* EnlargeCaption = "Enlarge";
inline constexpr const char* ReduceCaption = "Reduce";
inline constexpr const char* ZoomMenuHint = "Zoom Menu";
inline constexpr const char* ImportCaption = "Import";
inline constexpr const char* MakeTemplateCaption = "Make Template...";
inline constexpr const char* CancelCaption = "Cancel";
inline constexpr const char* AdvancedCaption = "Advanced";

// The tool bar's buttons that depend on what the dialog holds: "Reduce" while the zoom is above
// 25 % (it goes down by 25 % at a time), "Make Template..." when the program makes templates and
// there is a picture to make one of.
struct TImportToolBarRules {
    bool ReduceEnabled = false;
    bool MakeTemplateEnabled = false;
};
TImportToolBarRules ImportToolBarRules(double zoom, bool holdsPicture, bool makesTemplates);

// ---- Menus

inline constexpr const char* FileMenuCaption = "File";
inline constexpr const char* ReOpenCaption = "&Re-Open";
inline constexpr const char* SaveAsCaption = "&Save As";
inline constexpr const char* ImportNowCaption = "Import Now";
inline constexpr const char* EditMenuCaption = "&Edit";
inline constexpr const char* CopyCaption = "&Copy";
inline constexpr const char* PasteCaption = "&Paste";
inline constexpr const char* StartingPointsCaption = "Starting Points";
inline constexpr const char* AdvancedEffectsCaption = "Advanced Effects";
inline constexpr const char* AdjustColorsCaption = "Adjust Colors";
inline constexpr const char* HelpMenuCaption = "&Help";
inline constexpr const char* ImportingFirstPictureCaption = "Importing Your First Picture";
inline constexpr const char* QuickReferenceCaption = "Quick Reference";

struct TFilterMenuItem {
    const char* Caption;
    TFilterKind Kind;
};
// "Advanced Effects": the filters with a dialog of their own ("Outline..." is the contour).
inline constexpr std::array<TFilterMenuItem, 6> AdvancedEffectsItems{{
    {"Smooth...", TFilterKind::Smooth},
    {"Sharpen...", TFilterKind::Sharpen},
    {"Detail...", TFilterKind::Detail},
    {"Blur...", TFilterKind::Blur},
    {"Negative...", TFilterKind::Negative},
    {"Outline...", TFilterKind::Contour},
}};
// "Adjust Colors": the colour adjustments.
inline constexpr std::array<TFilterMenuItem, 7> AdjustColorsItems{{
    {"Gray Scale", TFilterKind::GrayScale},
    {"RGB", TFilterKind::RGB},
    {"CMY", TFilterKind::CMY},
    {"YCbCr", TFilterKind::YCbCr},
    {"HLS", TFilterKind::HLS},
    {"HSV", TFilterKind::HSV},
    {"BCG", TFilterKind::BCG},
}};

// "Starting Points", in menu order.
inline constexpr std::array<TPaintingStyle, 9> StartingPoints{
    TPaintingStyle::SimplePainting,  TPaintingStyle::StylistPainting,
    TPaintingStyle::ComplexPainting, TPaintingStyle::Neon,
    TPaintingStyle::NeonStylist,     TPaintingStyle::PenInk,
    TPaintingStyle::PenInkStylist,   TPaintingStyle::InkBrush,
    TPaintingStyle::PenBrushCombo};

// Whether a style transforms the working picture (and so runs behind the progress window) or
// only sets the controls.
bool StyleChangesPicture(TPaintingStyle style);

// ---- Zoom menu

using TZoomMenuItem = TZoomLevel;
// "Custom..." then the program's zoom levels (there is no 175%).
inline constexpr std::array<TZoomMenuItem, ZoomLevels.size() + 1> ImportZoomMenu = [] {
    std::array<TZoomMenuItem, ZoomLevels.size() + 1> menu{};
    menu[0] = {CustomZoomCaption, 0};
    for (std::size_t i = 0; i < ZoomLevels.size(); ++i)
        menu[i + 1] = ZoomLevels[i];
    return menu;
}();
inline constexpr int CustomZoomItem = 0;

// The entry the zoom menu's radio group shows checked for a zoom factor: the level of that
// factor, or "Custom..." for any other (a custom zoom, or one that Enlarge or Reduce reached).
int ImportZoomMenuCheck(double zoom);

// ---- File menu

struct TReOpenEntry {
    bool Enabled = false;
    std::string Caption;
};
// Opening the "File" menu: with a picture file name, enabled and captioned "Re-Open " followed by
// it; without one, disabled under its designed caption.
TReOpenEntry ReOpenEntry(const std::string& fileName);

// ---- Picture size

// The size at which the view shows the working picture: its size times the zoom, truncated;
// what "&Save As" and "&Copy" write.
struct TShownSize {
    int Width = 0;
    int Height = 0;
};
TShownSize ShownPictureSize(int width, int height, double zoom);

} // namespace pigmentaria
