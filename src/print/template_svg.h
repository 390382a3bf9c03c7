#pragma once
// A template as an SVG drawing: the outlines of the shapes on white and the numbers as text, at
// the size and with the number sizes of its print, for editing or printing elsewhere.
#include "model/shape.h"
#include "print/print_labels.h"

#include <string>
#include <vector>

namespace pigmentaria {

// Outlines thinner than this (millimetres on paper) would vanish on a home printer.
constexpr double TemplateSvgLineMm = 0.15;

// The painting's size in millimetres as `printed` places it, its coordinates painting pixels;
// every shape a white path in list order, then one black path that draws each border once (the
// template's shapes tile the picture and share the points of their borders), then every label its
// number in italic Arial at the size the page renderer prints it, centred on the label's box.
// Without a placement the drawing is in pixels, numbers at 3 points of a 96-dpi screen.
std::string TemplateSvg(const TShapeList& shapes, const std::vector<TPrintLabel>& labels,
                        const TPrintedLabels& printed);

} // namespace pigmentaria
