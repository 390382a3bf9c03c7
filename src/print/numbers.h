#pragma once
// Number placement: every visible region of the painting gets a label with the number of its
// colour, placed where the region has the most room.
#include "model/shape.h"
#include "palette/palette.h"
#include "platform/report.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pigmentaria {

struct TNumberLabel {
    std::string Text;
    // The label's box in painting pixels.
    std::int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TNumberLabel&, const TNumberLabel&) = default;
};

inline constexpr const char* PlacingNumbersMessage = "Placing Numbers...";
inline constexpr const char* FindingPolygonError = "Error Finding Polygon at ";

// Places the labels on a raster of the painting drawn at scale 2. A pixel whose colour no shape
// explains is reported as "Error Finding Polygon at x,y" and ends the placement with the labels
// made so far.
std::vector<TNumberLabel> PlaceNumbers(const TShapeList& shapes,
                                       const TNamedPalette& paintingPalette,
                                       IProgressSink& progress, IMessageSink& messages);

} // namespace pigmentaria
