#include "print/print_run.h"

namespace pigmentaria {

TPrintRunResult PrintRun(TPrintRunInput input, IPrinter& printer, IProgressSink& progress) {
    TPrintSnapshot& painting = *input.Painting;
    TPrintSource source = painting.Source(progress);
    TPagePrinter pages(input.Settings, input.Layout, source);
    if (input.NumbersAdded) {
        // This showing numbered the painting already: the copy carries its labels.
        source.PlaceNumbers = nullptr;
        pages.AddNumbersIfAsked();
    }
    PrintAllPages(printer, input.Settings, input.Layout, pages, input.Title, progress);
    TPrintRunResult result;
    if (painting.NumbersPlaced) result.Numbering = painting.Numbering();
    result.Layout = input.Layout;
    return result;
}

} // namespace pigmentaria
