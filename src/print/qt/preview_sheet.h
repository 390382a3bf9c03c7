#pragma once
// A page of the preview: the whole sheet of paper at screen resolution, drawn by the same page
// routine as the printer.
#include "print/page_render.h"

#include <QImage>

namespace pigmentaria {

QImage RenderPreviewSheet(TPagePrinter& pages, const TPrintLayout& layout, int row, int column);

} // namespace pigmentaria
