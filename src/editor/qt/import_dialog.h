#pragma once
// Where the main window hands a picture to become a painting. The import dialog implements it;
// until a build has one, TNoImportDialog stands in and refuses every picture, saying why.
#include "image/pixel_graphic.h"
#include "platform/report.h"

#include <QString>

#include <memory>

namespace pigmentaria {

class IImportDialog {
public:
    virtual ~IImportDialog() = default;
    // Whether pictures can be imported at all: the import entries stay disabled otherwise.
    virtual bool Available() const = 0;
    // Shows the dialog modally on a picture file (zoom 1, no selection). True when the user
    // imported, which has replaced the painting.
    virtual bool ExecuteOnFile(const QString& file) = 0;
    // The same on a picture from the clipboard.
    virtual bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) = 0;
    // "&Re-Import...": the picture the dialog still holds.
    virtual bool ExecuteAgain() = 0;
    virtual bool HoldsPicture() const = 0;
    // "New Template...": the New Template dialog on a picture file. True when the user created
    // a template, which has replaced the painting.
    virtual bool NewTemplateOnFile(const QString& file) {
        (void)file;
        return false;
    }
};

inline constexpr const char* NoImportDialogMessage =
    "This version of Pigmentaria cannot import pictures yet, so \"%1\" cannot become a "
    "painting.  Open a painting file (.kvp) instead.";

class TNoImportDialog final : public IImportDialog {
public:
    explicit TNoImportDialog(IMessageSink& messages) : Messages_(messages) {}
    bool Available() const override { return false; }
    bool ExecuteOnFile(const QString& file) override;
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic>) override;
    bool ExecuteAgain() override { return false; }
    bool HoldsPicture() const override { return false; }

private:
    IMessageSink& Messages_;
};

} // namespace pigmentaria
