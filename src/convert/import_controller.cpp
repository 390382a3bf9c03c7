#include "convert/import_controller.h"

#include "convert/reduction.h"
#include "convert/template_settings_store.h"
#include "image/pg_progress.h"
#include "palette/palette.h"

#include <stdexcept>
#include <system_error>
#include <utility>

namespace pigmentaria {

namespace {

constexpr const char* SavingPictureMessage = "Saving Picture...";

} // namespace

TImportController::TImportController(IImportView& view, TContext context)
    : View_(view), Ctx_(std::move(context)), Session_(NoProgress_, Ctx_.Messages),
      Template_(TemplateImportSettings(Ctx_.Settings)) {}

TImportToolBarRules TImportController::ToolBar() const {
    return ImportToolBarRules(Session_.ZoomFactor(), HoldsPicture(),
                              static_cast<bool>(Ctx_.MakeTemplate));
}

// The work runs behind the progress window and owns what it reads (here shared with the job);
// the result comes back when it ended done. A failure is told, a cancelled run is not.
template <class Result, class Work>
std::optional<Result> TImportController::RunJob(const char* message, bool cancellable, Work work,
                                                const char* failing) {
    auto result = std::make_shared<std::optional<Result>>();
    auto owned = std::make_shared<Work>(std::move(work));
    std::string failure;
    const TImportJobEnd end = Ctx_.Jobs.Run(
        message, cancellable, [result, owned](IProgressSink& p) { result->emplace((*owned)(p)); },
        failure);
    if (end == TImportJobEnd::Failed)
        Ctx_.Messages.Error(failing ? std::string(failing) + "\n\n" + failure : failure);
    if (end != TImportJobEnd::Done || !*result) return std::nullopt;
    return std::move(*result);
}

// ---- Showing the dialog

void TImportController::ReadSettings() {
    SetAdvanced(Ctx_.Settings.AdvancedOptions);
    Template_ = TemplateImportSettings(Ctx_.Settings);
    ListPaintsFiles();
}

bool TImportController::ExecuteModal() {
    Imported_ = false;
    // The settings file is read after the windows are made.
    ReadSettings();
    View_.ShowPicture();
    View_.ShowControls();
    View_.RunModal();
    return Imported_;
}

bool TImportController::ExecuteOnFile(const std::string& file) {
    return LoadFile(file) && ExecuteModal();
}

bool TImportController::ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) {
    if (!picture || picture->Empty()) return false;
    SetPicture(std::move(*picture));
    return ExecuteModal();
}

bool TImportController::ExecuteAgain() {
    return HoldsPicture() && ExecuteModal();
}

TImportPlacing TImportController::PlacingOnShow() {
    if (PlaceRestored_) return TImportPlacing::Stay;
    PlaceRestored_ = true;
    return Ctx_.Settings.ImportDialog.Width > 0 ? TImportPlacing::Kept : TImportPlacing::Centred;
}

void TImportController::DialogHidden(const TWindowPlace& place, bool maximisedOrMinimised) {
    if (!maximisedOrMinimised) Ctx_.Settings.ImportDialog = place;
}

// ---- Pictures

bool TImportController::LoadFile(const std::string& file) {
    std::optional<TLoadedPicture> loaded = RunJob<TLoadedPicture>(
        LoadingPictureMessage, true, [file](IProgressSink& p) { return LoadPictureFile(file, p); },
        OpeningErrorMessage);
    if (!loaded) return false;
    Session_.AdoptPicture(file, std::move(*loaded));
    View_.ShowPicture();
    return true;
}

void TImportController::SetPicture(TPixelGraphic picture) {
    Session_.SetPicture(std::move(picture));
    View_.ShowPicture();
}

void TImportController::ReOpen() {
    if (!Session_.FileName().empty()) LoadFile(Session_.FileName());
}

bool TImportController::SavePictureAs(const std::string& file) {
    if (!HoldsPicture()) return false;
    auto state = std::make_shared<TSessionState>(Session_.CopyState());
    // The picture is made and written on the worker.
    const auto save = [state, file](IProgressSink& progress) {
        TCollectedMessages messages(true);
        TImportSession session(progress, messages);
        session.AdoptState(std::move(*state));
        TPixelGraphic shown = session.ShownPicture();
        shown.Messages = &messages;
        TPGProgressBridge bridge(shown, progress, SavingPictureMessage);
        shown.SaveToFile(file);
        return messages.Take();
    };
    std::optional<std::vector<TWorkMessage>> said =
        RunJob<std::vector<TWorkMessage>>(SavingPictureMessage, false, save);
    if (!said) return false;
    ReplayMessages(*said, Ctx_.Messages);
    return true;
}

void TImportController::SelectionMade(TCropRect rect) {
    Session_.SelectionMade(rect);
    View_.ShowSelection();
}

// ---- Commands

void TImportController::Import() {
    if (!HoldsPicture()) return;
    ControlsChanged();
    if (!PrepareTemplate()) return;
    std::optional<TImportResult> result = RunJob<TImportResult>(
        ReductionMessage, true,
        [in = Session_.ConversionInput()](IProgressSink& p) { return ReduceAndTrace(in, p); });
    if (!result) return;
    Session_.AdoptReduction(std::move(result->Reduction));
    if (Ctx_.Adopt) Ctx_.Adopt(std::move(result->Trace));
    Imported_ = true;
    View_.CloseDialog(true);
}

void TImportController::Cancel() {
    View_.CloseDialog(false);
}

void TImportController::MakeTemplate() {
    if (!ToolBar().MakeTemplateEnabled) return;
    auto picture = std::make_shared<TPixelGraphic>();
    picture->Assign(&Session_.Picture());
    // The caller replaced the painting with the template: nothing is left to import.
    if (Ctx_.MakeTemplate(std::move(picture))) Cancel();
}

void TImportController::Enlarge() {
    Session_.Enlarge();
    View_.ShowZoom();
}

void TImportController::Reduce() {
    Session_.Reduce();
    View_.ShowZoom();
}

void TImportController::ZoomLevel(int item) {
    if (item == CustomZoomItem) {
        CustomZoom();
        return;
    }
    Session_.SetZoomFactor(ImportZoomMenu[static_cast<std::size_t>(item)].Factor);
    View_.ShowZoom();
}

bool TImportController::CustomZoom() {
    std::optional<double> zoom;
    if (CustomZoom_ && HoldsPicture()) {
        const TPixelGraphic& p = Session_.Picture();
        const TShownSize shown = ShownPictureSize(p.Width(), p.Height(), Session_.ZoomFactor());
        zoom = CustomZoom_(shown.Height, shown.Width, Session_.ZoomFactor(), p.Width(), p.Height());
    }
    if (zoom && *zoom > 0) Session_.SetZoomFactor(*zoom);
    View_.ShowZoom();
    return zoom.has_value();
}

void TImportController::SetAdvanced(bool on) {
    Ctx_.Settings.AdvancedOptions = on;
    View_.ShowAdvanced(on);
}

bool TImportController::RunSessionWork(
    const char* message, std::function<TSessionWork(TSessionState, IProgressSink&)> work) {
    if (!HoldsPicture()) return false;
    ControlsChanged();
    auto state = std::make_shared<TSessionState>(Session_.CopyState());
    std::optional<TSessionWork> result =
        RunJob<TSessionWork>(message, true, [state, work = std::move(work)](IProgressSink& p) {
            return work(std::move(*state), p);
        });
    if (!result) return false;
    Session_.AdoptWork(std::move(*result));
    View_.ShowPicture();
    View_.ShowControls();
    return true;
}

void TImportController::Preview() {
    if (!HoldsPicture()) return;
    ControlsChanged();
    // The preview shows the colours the import will paint with.
    if (!PrepareTemplate()) return;
    std::optional<TReducedPair> reduced = RunJob<TReducedPair>(
        ReductionMessage, true, [in = Session_.ConversionInput()](IProgressSink& p) {
            return ReducePicture(in.Picture, in.Zoom, in.Selection, in.Controls, in.Template, p);
        });
    if (!reduced) return;
    Session_.AdoptReduction(std::move(*reduced));
    View_.ShowReduction();
}

void TImportController::ReduceIntoOriginal() {
    RunSessionWork(ReductionMessage, [](TSessionState s, IProgressSink& p) {
        return ReduceIntoOriginalOfState(std::move(s), p);
    });
}

void TImportController::ApplyStyle(TPaintingStyle style) {
    if (!StyleChangesPicture(style)) {
        // Only the controls change.
        ControlsChanged();
        Session_.ApplyStyle(style);
        View_.ShowControls();
        return;
    }
    RunSessionWork(ReductionMessage, [style](TSessionState s, IProgressSink& p) {
        return ApplyStyleToState(std::move(s), style, p);
    });
}

void TImportController::ApplyFilter(TFilterKind kind) {
    RunSessionWork(FilteringMessage, [kind](TSessionState s, IProgressSink& p) {
        return ApplyFilterToState(std::move(s), kind, p);
    });
}

void TImportController::ControlsChanged() {
    Session_.Controls = View_.ControlsShown();
}

void TImportController::TemplateChanged() {
    TTemplateImportSettings shown = View_.TemplateShown();
    // With no entry chosen the group keeps the file it names.
    if (shown.PaintsFile.empty()) shown.PaintsFile = Template_.PaintsFile;
    SetTemplateSettings(shown);
}

// ---- The template group

void TImportController::SetTemplateSettings(const TTemplateImportSettings& settings) {
    Template_ = settings;
    Template_.Clamp();
    SetTemplateImportSettings(Ctx_.Settings, Template_);
    View_.ShowTemplate();
}

TTemplateGroupRules TImportController::TemplateRules() const {
    return TemplateGroupRules(Template_, !PaintsFiles_.empty());
}

void TImportController::SetBundledPaletteFolder(std::filesystem::path folder) {
    BundledPalettes_ = std::move(folder);
    ListPaintsFiles();
}

void TImportController::ListPaintsFiles() {
    PaintsFiles_.clear();
    std::error_code ec;
    std::vector<std::filesystem::path> folders;
    if (!BundledPalettes_.empty() && std::filesystem::is_directory(BundledPalettes_, ec))
        folders.push_back(BundledPalettes_);
    const std::filesystem::path& user = Ctx_.PaletteFolder;
    // The bundled palettes kept where the user's go are listed once.
    if (std::filesystem::is_directory(user, ec) &&
        (folders.empty() || !std::filesystem::equivalent(folders.front(), user, ec)))
        folders.push_back(user);
    for (const auto& folder : folders) {
        // Files that do not load are left out; the palette window names them.
        std::vector<std::string> problems;
        for (const TPaletteFileInfo& info : ListPaletteFiles(folder, &problems)) {
            const std::string name = info.Path.filename().string();
            // One entry a name: the settings keep the file name only.
            bool known = false;
            for (const TPaintsEntry& f : PaintsFiles_)
                known = known || f.Name == name;
            if (known) continue;
            PaintsFiles_.push_back(
                {name, info.Path,
                 info.Description.empty() ? name : ListedPaletteDescription(info.Description)});
        }
    }
    View_.ShowPaintsFiles();
    View_.ShowTemplate();
}

int TImportController::PaintsIndex() const {
    int index = PaintsFiles_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < PaintsFiles_.size(); ++i)
        if (PaintsFiles_[i].Name == Template_.PaintsFile) index = static_cast<int>(i);
    return index;
}

bool TImportController::PrepareTemplate() {
    TemplateChanged();
    std::optional<TNamedPalette> paints;
    if (Template_.MatchToPaints && TemplateRules().PaintsFileEnabled) {
        std::filesystem::path file;
        for (const TPaintsEntry& f : PaintsFiles_)
            if (f.Name == Template_.PaintsFile) file = f.Path;
        try {
            if (file.empty())
                throw std::runtime_error("cannot read palette file " + Template_.PaintsFile);
            paints = LoadPaintsFile(file);
        } catch (const std::exception& e) {
            Ctx_.Messages.Error(e.what());
            return false;
        }
    }
    Session_.Template = TemplateControlsOf(Template_, paints ? &*paints : nullptr);
    return true;
}

} // namespace pigmentaria
