#pragma once
// How the painting leaves the main window other than as a painting file: "&Export Painting"
// (the rendering at the current zoom through the picture writers), "&Copy Selected Shape(s)"
// (the selected shapes as EMF, WMF and SVG on the clipboard) and "Copy Painting as &Bitmap".
#include <QObject>
#include <QStringList>

class QMimeData;

namespace pigmentaria {

class IToolDialogs;
class TVectorForm;
struct TAppContext;

// The export dialog's file types: the picture writers' filter, one "Description|*.ext" a type.
QStringList ExportFilters();

class TExportActions final : public QObject {
    Q_OBJECT
public:
    TExportActions(TVectorForm& form, IToolDialogs& dialogs);
    void SetDialogs(IToolDialogs& dialogs) { Dialogs_ = &dialogs; }

    // False when cancelled or refused (the message shown, nothing written).
    bool ExportPaintingClick();
    void CopySelectedClick();
    void CopyBitmapClick();

    // MIME types of the selected shapes' drawing on the clipboard.
    static constexpr const char* EmfMime = "image/x-emf";
    static constexpr const char* WmfMime = "image/x-wmf";
    static constexpr const char* SvgMime = "image/svg+xml";

private:
    TVectorForm& Form_;
    TAppContext& Ctx_;
    IToolDialogs* Dialogs_;
};

} // namespace pigmentaria
