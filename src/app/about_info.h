#pragma once
// The about box's one changing line: painting size and memory in use.
#include "editor/document.h"

#include <string>

namespace pigmentaria {

// "Shape Count: n.  Point Count: n.  Memory blocks allocated: n.  Total size: n"
inline constexpr const char* AboutBoxCommentsPattern =
    "Shape Count: %1.  Point Count: %2.  Memory blocks allocated: %3.  Total size: %4";
std::string AboutBoxComments(const TPaintingDocument& document);

} // namespace pigmentaria
