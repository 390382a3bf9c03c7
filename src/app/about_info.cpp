#include "app/about_info.h"

#include "platform/heap_usage.h"

namespace pigmentaria {

std::string AboutBoxComments(const TPaintingDocument& document) {
    const THeapUsage heap = HeapUsage();
    return "Shape Count: " + std::to_string(document.TracerShapeCount()) +
           ".  Point Count: " + std::to_string(CountVertices(document.Shapes().First())) +
           ".  Memory blocks allocated: " + std::to_string(heap.Blocks) +
           ".  Total size: " + std::to_string(heap.Bytes);
}

} // namespace pigmentaria
