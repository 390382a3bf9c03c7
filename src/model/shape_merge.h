#pragma once
// Merging the cells of a painting whose neighbouring shapes share their outlines point for point,
// as a template's do: each shape is a region's outer outline, drawn after every shape whose hole
// holds it. A cell joins the neighbour it shares the longest border with, and touching shapes of
// one colour become one shape. Nothing is traced again: a merged outline is made of the two
// outlines' own vertices with the border between them left out, so that every border that stays
// keeps its vertices exactly.
//
// Neighbours are the shapes seen beside a shape in the drawn painting: a shape it shares border
// chains with (the same vertices walked the other way), the shape whose hole it lies in where its
// outline is no other shape's, and the shapes lying in its own hole that touch it. The frame (the
// first shape) is never merged into or out of.
#include "model/shape.h"

#include <functional>
#include <optional>
#include <vector>

namespace pigmentaria {

// One merge, planned on the list as it is and carried out by ApplyMerge.
struct TShapeMerge {
    // The shape that stays, in its place in the list, and the one that goes.
    TPaintShape* Kept = nullptr;
    TPaintShape* Removed = nullptr;
    // Kept's colours afterwards.
    TColor Color = 0;
    TColor AcquiredColor = 0;
    // Kept's outline afterwards; none when it keeps its own.
    std::optional<std::vector<TShapePoint>> Outline;
    // Shapes drawn before Kept that end up inside its outline, in list order: they are moved to
    // right after it, so that they stay on top of it.
    std::vector<TPaintShape*> Raised;
};

// A shape seen beside another, and the length of the border between them in painting pixels.
struct TShapeNeighbour {
    TPaintShape* Shape = nullptr;
    double BorderLength = 0;
};

// Every neighbour of `shape` but the frame, in list order.
std::vector<TShapeNeighbour> ShapeNeighbours(const TShapeList& shapes, const TPaintShape& shape);

// The cell joins the neighbour it shares the longest border with (on a tie the one drawn first),
// taking its colours: when the cell lies in the neighbour's hole it just goes; when the neighbour
// lies in the cell's hole the cell takes its colours and the neighbour goes; two shapes side by
// side become the outline around both, drawn where the neighbour was, with whatever lies in
// the pockets between them drawn after it. None when the cell is the frame, when it neighbours
// only the frame, or when the outlines do not fit together.
std::optional<TShapeMerge> PlanCellMerge(const TShapeList& shapes, TPaintShape& cell);

// Two touching shapes become one with the colours of the one drawn first, which stays. None for
// the frame, or when the two are neither side by side nor one in the other's hole.
std::optional<TShapeMerge> PlanPairMerge(const TShapeList& shapes, TPaintShape& a, TPaintShape& b);

// Carries out a merge planned on this list as it still is; returns the removed shape, unlinked.
TShapePtr ApplyMerge(TShapeList& shapes, const TShapeMerge& merge);

// Told of every merge just before it is carried out, while the list is as it was planned on.
using TMergeWatch = std::function<void(const TShapeMerge&)>;

// PlanCellMerge carried out: the removed shape, or null when nothing changed.
TShapePtr MergeCell(TShapeList& shapes, TPaintShape& cell, const TMergeWatch& watch = {});

// Every pair of touching shapes of one colour becomes one shape, until no two touch: after a
// region is painted in its neighbour's colour the border between them goes. The removed shapes,
// unlinked, in the order they were removed.
std::vector<TShapePtr> MergeTouchingShapesOfOneColour(TShapeList& shapes,
                                                      const TMergeWatch& watch = {});

} // namespace pigmentaria
