#include "print/print_run.h"

#include <algorithm>

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
    result.Pages = std::max(0, input.Settings.PagesAcross) * std::max(0, input.Settings.PagesDown);
    return result;
}

std::string PageCountText(int pages) {
    return std::to_string(pages) + (pages == 1 ? " page" : " pages");
}

std::string PrintDestinationText(const std::string& what, const std::string& printerName,
                                 const std::string& pdfFile) {
    if (!pdfFile.empty()) return what + " written to " + pdfFile;
    return what + " sent to " + (printerName.empty() ? std::string("the printer") : printerName);
}

} // namespace pigmentaria
