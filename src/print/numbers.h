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
// Throws EAborted when the progress sink asks to stop.
std::vector<TNumberLabel> PlaceNumbers(const TShapeList& shapes,
                                       const TNamedPalette& paintingPalette,
                                       IProgressSink& progress, IMessageSink& messages);

// What a worker numbers: copies of the painting's shapes and palette, and the painting's
// generation they were taken at (see TPaintingDocument::Generation).
struct TNumberingInput {
    TShapeList Shapes;
    TNamedPalette Palette;
    std::uint64_t Generation = 0;
};
struct TNumberingResult {
    std::vector<TNumberLabel> Labels;
    // "Error Finding Polygon at x,y", kept to be shown when the labels are adopted.
    std::vector<TWorkMessage> Messages;
    std::uint64_t Generation = 0;
};
// Number placement as work on a worker may run it: its message is kept, not shown.
TNumberingResult PlaceNumbers(const TNumberingInput& input, IProgressSink& progress);

} // namespace pigmentaria
