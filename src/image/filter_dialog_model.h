#pragma once
// What each filter dialog shows and does, without the window: its caption, its track bars
// (caption, range, tick frequency, default position and the three scale labels under each), its
// check box and its pair of radio buttons; how the controls' positions become the dialog's
// settings and back; the value label a position shows; and the two small previews, the source
// and the filtered result.
#include "image/filter_settings.h"
#include "image/pixel_graphic.h"
#include "image/viewer_layout.h"
#include "platform/raster.h"

#include <array>
#include <atomic>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

struct TFilterTrackBar {
    std::string Caption;
    int Minimum = 0;
    int Maximum = 0;
    int Tick = 1;
    // The position the dialog's default settings give.
    int Default = 0;
    std::array<std::string, 3> ScaleLabels; // left end, middle, right end
};

struct TFilterRadioPair {
    std::string Title; // empty when the pair has none
    std::string First;
    std::string Second;
};

struct TFilterDialogModel {
    TFilterKind Kind;
    std::string Caption;
    std::vector<TFilterTrackBar> TrackBars; // at most three
    std::string CheckBox;                   // empty for none
    std::optional<TFilterRadioPair> Radio;
};

const TFilterDialogModel& FilterDialogModel(TFilterKind kind);

inline constexpr const char* FilterOkCaption = "OK";
inline constexpr const char* FilterCancelCaption = "Cancel";

// A dialog's controls: the track bars' positions (unused ones 0), the check box and the index of
// the radio button chosen (0 the first).
struct TFilterControls {
    std::array<int, 3> Positions{};
    bool Checked = false;
    int Radio = 0;
    friend bool operator==(const TFilterControls&, const TFilterControls&) = default;
};

// The controls as a dialog opens on its stored settings; values outside a track bar's range
// are held to it.
TFilterControls ControlsFromSettings(TFilterKind kind, const TFilterSettings& settings);
// Copies the controls into the dialog's settings, leaving the other dialogs' settings alone.
void SettingsFromControls(TFilterKind kind, const TFilterControls& controls,
                          TFilterSettings& settings);

// The value label beside track bar `index` at `position`: shifts signed in percent ("+10%",
// "±0%", "-25%") or degrees for the hue, strengths in percent, contrast and gamma, standard
// deviation and radius with two decimals.
std::string FilterValueLabel(TFilterKind kind, int index, int position);

// ---- Previews

// The side of each of the two preview boxes, in pixels.
inline constexpr TViewSize FilterPreviewBox{160, 120};

// What the previews are made from. Colour adjustments see the whole picture shrunk to fit the
// box (never enlarged); the convolution filters, whose kernels act on the picture's own pixels,
// see its centre at full scale, and are given a margin of the pixels around it so that the
// result's edges come out as in the filtered picture.
struct TFilterPreviewSource {
    TRaster24 Shown; // what the source box shows
    TRaster24 Input; // what the filter is applied to: Shown with `Margin` pixels around it
    int MarginLeft = 0;
    int MarginTop = 0;
};
// Pixels kept around a convolution preview: more than the widest kernel the dialogs build.
inline constexpr int FilterPreviewMargin = 8;
TFilterPreviewSource FilterPreviewSource(const TPixelGraphic& picture, TFilterKind kind,
                                         TViewSize box = FilterPreviewBox);

// The filtered preview under the settings, the size of the source box. Checks `abandon` between
// rows and returns nothing once it is set, so that a computation overtaken by newer settings ends
// early.
std::optional<TRaster24> FilterPreviewResult(const TFilterPreviewSource& source, TFilterKind kind,
                                             const TFilterSettings& settings,
                                             const std::atomic<bool>* abandon = nullptr);

} // namespace pigmentaria
