#pragma once
// TImportController: the import dialog's workflow without a window. It owns the import session
// and decides what each of the dialog's commands does: which work runs behind the progress
// window (loading a picture file, a style, a filter, a colour reduction, the import, saving the
// picture), what is taken from it when it ends, and what the dialog shows next. It keeps the
// dialog's settings (the advanced-options check, the template group and the window's place) and
// lists the palette files "Match to paints" offers. The dialog (convert/qt/modify_form) is its
// view: it shows what it is told through IImportView and hands the user's commands here.
#include "convert/import_session.h"
#include "convert/modify_rules.h"
#include "convert/template_settings.h"
#include "platform/report.h"
#include "platform/settings.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

enum class TImportJobEnd { Done, Cancelled, Failed };

// How the dialog's long work runs: in the program on a worker behind the progress window.
class IImportJobs {
public:
    virtual ~IImportJobs() = default;
    // Runs `work`, which owns what it reads, to its end. Failed: `failure` tells why.
    virtual TImportJobEnd Run(const std::string& message, bool cancellable,
                              std::function<void(IProgressSink&)> work, std::string& failure) = 0;
};

// What the controller asks of the dialog. The view reads what it shows from the controller and
// its session.
class IImportView {
public:
    virtual ~IImportView() = default;
    // The working picture changed: the viewer shows it with its zoom and selection.
    virtual void ShowPicture() = 0;
    // The zoom changed: the viewer, the zoom menu and the tool bar follow it.
    virtual void ShowZoom() = 0;
    virtual void ShowSelection() = 0;
    // The conversion controls and the template group.
    virtual void ShowControls() = 0;
    virtual void ShowTemplate() = 0;
    // The palette files to match to were listed again.
    virtual void ShowPaintsFiles() = 0;
    // The advanced panel and its menus, and the check that shows them.
    virtual void ShowAdvanced(bool on) = 0;
    // "Preview Color Reduction": the session's last reduction in its window.
    virtual void ShowReduction() = 0;
    // The controls as they are now: the user may have moved them since they were last reported.
    virtual TConversionControls ControlsShown() const = 0;
    // The template group as it is now; PaintsFile is the chosen entry's, empty when none is.
    virtual TTemplateImportSettings TemplateShown() const = 0;
    // Shows the dialog modally and returns when it has closed.
    virtual void RunModal() = 0;
    // Closes the dialog: after an import, or as Cancel closes it.
    virtual void CloseDialog(bool imported) = 0;
};

// Where the dialog goes as it is shown.
enum class TImportPlacing { Stay, Kept, Centred };

class TImportController {
public:
    struct TContext {
        // Keeps the advanced-options check, the template group and the dialog's place.
        TSettingsBlock& Settings;
        // The user's palettes, listed after the bundled ones for "Match to paints".
        std::filesystem::path PaletteFolder;
        IMessageSink& Messages;
        IImportJobs& Jobs;
        // Takes the painting "Import Now" traced.
        std::function<void(TTraceResult)> Adopt;
        // Makes a template of the working picture; true when it did. Empty: none is offered.
        std::function<bool(std::shared_ptr<const TPixelGraphic> picture)> MakeTemplate;
    };
    // "Custom...": asks for a zoom given the shown box height and width, the zoom, the picture
    // width and height; no answer on Cancel.
    using TCustomZoom = std::function<std::optional<double>(int, int, double, int, int)>;
    // One palette file "Match to paints" lists: the name the settings keep, the file, and how the
    // list shows it (its description, as the palette window does, or its name without one).
    struct TPaintsEntry {
        std::string Name;
        std::filesystem::path Path;
        std::string Shown;
    };

    // The view is called only once the controller's own commands run.
    TImportController(IImportView& view, TContext context);
    TImportController(const TImportController&) = delete;
    TImportController& operator=(const TImportController&) = delete;

    TImportSession& Session() { return Session_; }
    const TImportSession& Session() const { return Session_; }
    bool HoldsPicture() const { return !Session_.Picture().Empty(); }
    // True once "Import Now" replaced the painting during the current showing.
    bool Imported() const { return Imported_; }
    TImportToolBarRules ToolBar() const;

    // ---- Showing the dialog
    // Modal on a picture file, on a picture, or again on the one it holds. True when "Import
    // Now" replaced the painting; a file that cannot be read is told and the dialog not shown.
    bool ExecuteOnFile(const std::string& file);
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture);
    bool ExecuteAgain();
    // The advanced check and the template group as the settings hold them, the palette files
    // listed again; the dialog reads them when made and before every showing.
    void ReadSettings();
    TImportPlacing PlacingOnShow();
    const TWindowPlace& KeptPlace() const { return Ctx_.Settings.ImportDialog; }
    // The place is kept unless the dialog was hidden maximised or minimised.
    void DialogHidden(const TWindowPlace& place, bool maximisedOrMinimised);

    // ---- Pictures
    // Loads a picture file on a worker: zoom 1 (or the largest that fits), no selection. False,
    // with the library's message, when it cannot be read; the session then holds what it held.
    bool LoadFile(const std::string& file);
    void SetPicture(TPixelGraphic picture);
    void ReOpen();
    // Writes the working picture at its shown size; a question the writer asks is answered OK
    // and shown afterwards.
    bool SavePictureAs(const std::string& file);
    void SelectionMade(TCropRect rect);

    // ---- Commands
    void Import();
    void Cancel();
    // Hands a copy of the working picture (as loaded, filtered and styled, before any colour
    // reduction) to be made a template; the dialog closes as Cancel closes it when one was made.
    void MakeTemplate();
    void Enlarge();
    void Reduce();
    void ZoomLevel(int item);
    void SetCustomZoom(TCustomZoom ask) { CustomZoom_ = std::move(ask); }
    bool CustomZoom();
    void SetAdvanced(bool on);
    void Preview();
    void ReduceIntoOriginal();
    void ApplyStyle(TPaintingStyle style);
    void ApplyFilter(TFilterKind kind);
    // The controls or the template group were moved: the session takes them from the view.
    void ControlsChanged();
    void TemplateChanged();

    // ---- The template group
    const TTemplateImportSettings& TemplateSettings() const { return Template_; }
    // Held to its ranges and kept in the settings.
    void SetTemplateSettings(const TTemplateImportSettings& settings);
    TTemplateGroupRules TemplateRules() const;
    void SetBundledPaletteFolder(std::filesystem::path folder);
    // The bundled palettes, then the user's, each name once; files that do not load are left out.
    void ListPaintsFiles();
    const std::vector<TPaintsEntry>& PaintsFiles() const { return PaintsFiles_; }
    // The entry the group's file is: the first when it is not listed, -1 when none is.
    int PaintsIndex() const;

private:
    template <class Result, class Work>
    std::optional<Result> RunJob(const char* message, bool cancellable, Work work,
                                 const char* failing = nullptr);
    bool ExecuteModal();
    // Hands the group to the session; false (with the message) when its paints cannot be read.
    bool PrepareTemplate();
    bool RunSessionWork(const char* message,
                        std::function<TSessionWork(TSessionState, IProgressSink&)> work);

    IImportView& View_;
    TContext Ctx_;
    TNullProgress NoProgress_;
    TImportSession Session_;
    TCustomZoom CustomZoom_;
    TTemplateImportSettings Template_;
    std::filesystem::path BundledPalettes_;
    std::vector<TPaintsEntry> PaintsFiles_;
    bool Imported_ = false;
    bool PlaceRestored_ = false;
};

} // namespace pigmentaria
