#pragma once
// The main window's dialogs and its import dialog, which speak the toolkit's strings, as its
// controller asks them, in its own.
#include "editor/main_controller.h"
#include "editor/qt/form_dialogs.h"
#include "editor/qt/import_dialog.h"

#include <memory>
#include <string>

namespace pigmentaria {

// The window's dialogs as the controller asks them, in its own strings.
class TMainDialogsAdapter final : public IMainDialogs {
public:
    explicit TMainDialogsAdapter(IFormDialogs& dialogs) : D_(dialogs) {}
    void Error(const std::string& text) override { D_.Error(text); }
    void Warning(const std::string& text) override { D_.Warning(text); }
    bool Confirm(const std::string& text) override { return D_.Confirm(text); }
    TSaveAnswer AskYesNoCancel(const std::string& text) override {
        return D_.AskYesNoCancel(QString::fromStdString(text));
    }
    std::string ChooseOpenPainting(const std::string& folder) override {
        return D_.ChooseOpenPainting(QString::fromStdString(folder)).toStdString();
    }
    std::string ChooseSavePainting(const std::string& folder, const std::string& name) override {
        return D_.ChooseSavePainting(QString::fromStdString(folder), QString::fromStdString(name))
            .toStdString();
    }
    std::string ChoosePicture(const std::string& folder) override {
        return D_.ChoosePicture(QString::fromStdString(folder)).toStdString();
    }

private:
    IFormDialogs& D_;
};

// The import dialog attached to the window, as the controller hands it pictures.
class TPictureImportAdapter final : public IPictureImport {
public:
    explicit TPictureImportAdapter(IImportDialog& dialog) : D_(&dialog) {}
    void Attach(IImportDialog& dialog) { D_ = &dialog; }
    bool Available() const override { return D_->Available(); }
    bool ExecuteOnFile(const std::string& file) override {
        return D_->ExecuteOnFile(QString::fromStdString(file));
    }
    bool ExecuteOnPicture(std::unique_ptr<TPixelGraphic> picture) override {
        return D_->ExecuteOnPicture(std::move(picture));
    }
    bool ExecuteAgain() override { return D_->ExecuteAgain(); }
    bool HoldsPicture() const override { return D_->HoldsPicture(); }
    bool NewTemplateOnFile(const std::string& file) override {
        return D_->NewTemplateOnFile(QString::fromStdString(file));
    }

private:
    IImportDialog* D_;
};

} // namespace pigmentaria
