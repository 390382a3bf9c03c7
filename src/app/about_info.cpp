#include "app/about_info.h"

#include "platform/heap_usage.h"
#include "platform/text_parse.h"

namespace pigmentaria {

std::string AboutBoxComments(const TPaintingDocument& document) {
    const THeapUsage heap = HeapUsage();
    return FillParts(AboutBoxCommentsPattern,
                     {std::to_string(document.TracerShapeCount()),
                      std::to_string(CountVertices(document.Shapes().First())),
                      std::to_string(heap.Blocks), std::to_string(heap.Bytes)});
}

} // namespace pigmentaria
