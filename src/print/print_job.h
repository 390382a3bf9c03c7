#pragma once
// Printing away from the GUI thread: a copy of what page drawing reads from the painting, which
// a worker can print (and number) while the document goes on.
#include "model/shape.h"
#include "palette/palette.h"
#include "platform/report.h"
#include "print/numbers.h"
#include "print/page_render.h"
#include "print/print_labels.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace pigmentaria {

struct TPrintSnapshot {
    TShapeList Shapes;
    // The same shapes of the copy as the painting's selection.
    TSelection Selection;
    // None (-1) matches no shape.
    TColor CurrentColor = static_cast<TColor>(-1);
    std::vector<TNumberLabel> Labels;
    // The painting palette, for the numbers' texts.
    TNamedPalette Palette;
    std::uint64_t Generation = 0;
    // A template painting's numbers are placed as a template's, for the print's layout.
    std::optional<TTemplateNumbering> Template;

    // Set when numbering ran on this copy; Numbering() then holds the labels for the document.
    bool NumbersPlaced = false;
    std::vector<TWorkMessage> Messages;

    // A page source reading this copy, whose numbering places into Labels reporting to
    // `progress`. The snapshot must stay where it is while the source is in use.
    TPrintSource Source(IProgressSink& progress);
    // The labels placed while printing, for TPaintingDocument::AdoptLabels.
    TNumberingResult Numbering() const { return {Labels, Messages, Generation}; }
};

} // namespace pigmentaria
