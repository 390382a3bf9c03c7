#pragma once
// The choices the editing tools, the palette window and export put to the user that the main
// window's own dialogs do not cover: a colour, a file to export to, a palette file. Behind one
// interface so that tests answer them without a dialog on screen.
#include "platform/color.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QWidget;

namespace pigmentaria {

class IToolDialogs {
public:
    virtual ~IToolDialogs() = default;
    // The colour dialog opened on `initial`; none on Cancel.
    virtual std::optional<TColor> ChooseColor(TColor initial, bool fullOpen) = 0;
    // The export dialog: `filters` in the dialog's order, default extension "bmp", overwrite
    // prompt. Empty on Cancel.
    virtual QString ChooseExportFile(const QString& folder, const QStringList& filters) = 0;
    // A palette file to write, in `folder`: `filter` such as "Pigmentaria Palette Files|*.KVL",
    // default extension "KVL", overwrite prompt. Empty on Cancel.
    virtual QString ChoosePaletteFile(const QString& folder, const QString& filter) = 0;
    // A palette description for "Save Palette"; none on Cancel.
    virtual std::optional<QString> AskPaletteDescription(const QString& preset) = 0;
};

// The toolkit's dialogs over `parent` (or the window in front). The palette description is
// asked by the palette name window the shell hands over (SetNameAsker).
class TQtToolDialogs final : public IToolDialogs {
public:
    explicit TQtToolDialogs(QWidget* parent = nullptr) : Parent_(parent) {}
    std::optional<TColor> ChooseColor(TColor initial, bool fullOpen) override;
    QString ChooseExportFile(const QString& folder, const QStringList& filters) override;
    QString ChoosePaletteFile(const QString& folder, const QString& filter) override;
    std::optional<QString> AskPaletteDescription(const QString& preset) override;
    void SetNameAsker(std::function<std::optional<QString>(const QString&)> asker) {
        NameAsker_ = std::move(asker);
    }

private:
    QWidget* Owner() const;
    QWidget* Parent_;
    std::function<std::optional<QString>(const QString&)> NameAsker_;
};

// "Description|*.ext" as the toolkit's "Description (*.ext)".
QString ToQtFilter(const QString& filter);

} // namespace pigmentaria
