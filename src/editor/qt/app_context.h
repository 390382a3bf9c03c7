#pragma once
// What every window of the program works on: the one painting, the main window's view of it, the
// application's own state, the way to ask the user, and the runner of long work behind the
// progress window. TAppWindows owns them all and hands this to each window it creates; a window
// keeps the reference for its life and observes the document (and, if it shows the painting as
// the main window does, the view).
#include "convert/qt/import_context.h"
#include "editor/app_state.h"
#include "editor/document.h"
#include "editor/painting_view.h"
#include "editor/qt/form_dialogs.h"

#include <stdexcept>
#include <utility>

namespace pigmentaria {

class TJobRunner;

struct TAppContext {
    TAppState& App;
    TPaintingDocument& Document;
    TPaintingView& View;
    // Messages, questions and file choices (scripted in tests). The document reports through it.
    IFormDialogs& Dialogs;
    // Long work behind the progress window. Null only while the windows before the progress
    // window are being made, so look it up when the work starts, not in a constructor.
    TJobRunner* Jobs = nullptr;
};

// The import dialog's part of the context: it imports into the document.
// It runs its work behind the progress window, which is made before it.
inline TImportContext ImportContext(TAppContext& context) {
    if (!context.Jobs) throw std::logic_error("the import dialog is made before the job runner");
    return {context.App.Settings(), context.App.PaletteFolder(), context.Dialogs, *context.Jobs,
            [&document = context.Document](TTraceResult trace) {
                document.AdoptImport(std::move(trace));
            }};
}

// The program's owning objects apart from its windows, in the order they depend on each other.
class TAppCore {
public:
    TAppCore(TAppFolders folders, IFormDialogs& dialogs)
        : App(std::move(folders)), Document(dialogs),
          View(Document), Context{App, Document, View, dialogs} {}
    TAppCore(const TAppCore&) = delete;
    TAppCore& operator=(const TAppCore&) = delete;

    TAppState App;
    TPaintingDocument Document;
    TPaintingView View;
    TAppContext Context;
};

} // namespace pigmentaria
