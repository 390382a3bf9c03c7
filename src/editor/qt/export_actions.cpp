#include "editor/qt/export_actions.h"

#include "editor/qt/app_context.h"
#include "editor/qt/tool_dialogs.h"
#include "editor/qt/vector_form.h"
#include "image/file_format.h"
#include "image/painting_export.h"

#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace pigmentaria {

namespace {

QImage ToQImage(const TRaster24& r) {
    QImage image(r.Width(), r.Height(), QImage::Format_RGB32);
    for (int y = 0; y < r.Height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < r.Width(); ++x) {
            const TColor c = r.GetPixel(x, y);
            line[x] = qRgb(RedOf(c), GreenOf(c), BlueOf(c));
        }
    }
    return image;
}

QByteArray Bytes(const std::vector<std::uint8_t>& v) {
    return QByteArray(reinterpret_cast<const char*>(v.data()), static_cast<qsizetype>(v.size()));
}

} // namespace

QStringList ExportFilters() {
    const QStringList parts = QString::fromStdString(PGFormats().SaveFilter()).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + "|" + parts[i + 1];
    return filters;
}

TExportActions::TExportActions(TVectorForm& form, IToolDialogs& dialogs)
    : QObject(&form), Form_(form), Ctx_(form.Context()), Dialogs_(&dialogs) {
    const TVectorForm::TActions& a = form.Actions();
    connect(a.ExportPainting, &QAction::triggered, this, &TExportActions::ExportPaintingClick);
    connect(a.CopySelected, &QAction::triggered, this, &TExportActions::CopySelectedClick);
    connect(a.CopyBitmap, &QAction::triggered, this, &TExportActions::CopyBitmapClick);
    form.EnableFeature(&TFeatureSet::Export);
}

bool TExportActions::ExportPaintingClick() {
    if (!Ctx_.Document.HasPainting()) return false;
    QString folder;
    if (!Form_.PaintingFile().isEmpty()) folder = QFileInfo(Form_.PaintingFile()).absolutePath();
    // The writers are asked each time the dialog opens.
    const QString file = Dialogs_->ChooseExportFile(folder, ExportFilters());
    if (file.isEmpty()) return false;
    return Ctx_.View.ExportPainting(file.toStdString());
}

void TExportActions::CopySelectedClick() {
    const TPaintingDocument& doc = Ctx_.Document;
    if (doc.Selection().Empty()) return;
    const bool outlines = Ctx_.View.OutlinesOnly();
    auto mime = std::make_unique<QMimeData>();
    mime->setData(EmfMime, Bytes(SelectedShapesMetafile(doc.Shapes(), doc.Selection(), outlines,
                                                        TMetafileFormat::Enhanced)));
    mime->setData(WmfMime, Bytes(SelectedShapesMetafile(doc.Shapes(), doc.Selection(), outlines,
                                                        TMetafileFormat::Windows)));
    // The drawing as SVG: only the selected shapes, in list order.
    TShapeList selected;
    for (const TPaintShape& s : doc.Shapes())
        if (doc.Selection().IsSelected(&s)) selected.Append(s.Clone());
    // The size is the painting's: a frame-sized empty first shape keeps it.
    if (!doc.Selection().IsSelected(doc.Shapes().First())) {
        auto frame = doc.Shapes().First()->Clone();
        frame->Points.clear();
        TShapeList withSize;
        withSize.Append(std::move(frame));
        for (const TPaintShape& s : selected)
            withSize.Append(s.Clone());
        selected = std::move(withSize);
    }
    mime->setData(SvgMime, QByteArray::fromStdString(PaintingSvg(selected, outlines)));
    QGuiApplication::clipboard()->setMimeData(mime.release());
}

void TExportActions::CopyBitmapClick() {
    if (!Ctx_.Document.HasPainting()) return;
    QGuiApplication::clipboard()->setImage(ToQImage(Ctx_.View.Rendered()));
}

} // namespace pigmentaria
