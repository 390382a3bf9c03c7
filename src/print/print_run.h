#pragma once
// "Print" as work on a worker: a copy of the painting, the dialog's settings and layout as they
// stood, and whether this showing of the dialog has already placed the numbers. The worker
// numbers the copy when asked, prints every page and hands the labels back for the document.
#include "platform/report.h"
#include "print/numbers.h"
#include "print/page_render.h"
#include "print/print_job.h"
#include "print/printer.h"

#include <memory>
#include <optional>
#include <string>

namespace pigmentaria {

struct TPrintRunInput {
    // Kept at one address while its page source is in use.
    std::unique_ptr<TPrintSnapshot> Painting;
    TPrintSettings Settings;
    TPrintLayout Layout;
    bool NumbersAdded = false;
    std::string Title;
};

struct TPrintRunResult {
    // The labels placed during the print, for TPaintingDocument::AdoptLabels; none when this
    // showing had placed them already or numbers were not asked for.
    std::optional<TNumberingResult> Numbering;
    // The layout the pages were printed with (recomputed for the printer).
    TPrintLayout Layout;
    // The sheets the job holds.
    int Pages = 0;
};

// Where a finished print went, for the status bar: "3 pages sent to NAME", or for a PDF file
// "3 pages written to FILE.pdf"; `what` is what was printed ("3 pages", "The palette").
std::string PrintDestinationText(const std::string& what, const std::string& printerName,
                                 const std::string& pdfFile);
// "1 page", "3 pages".
std::string PageCountText(int pages);

// Numbers first (when asked and not yet added), then "Printing..." page by page. Asked to stop,
// or when a page fails, the printer's job is abandoned and the exception passed on (EAborted when
// stopped): nothing is handed back.
TPrintRunResult PrintRun(TPrintRunInput input, IPrinter& printer, IProgressSink& progress);

} // namespace pigmentaria
