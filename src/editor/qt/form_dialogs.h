#pragma once
// The questions and file choices the main window puts to the user, behind one interface so that
// tests answer them without a dialog on screen.
#include "editor/main_dialogs.h"
#include "platform/report.h"

#include <QString>

#include <functional>
#include <utility>

class QWidget;

namespace pigmentaria {

class IFormDialogs : public IMessageSink {
public:
    virtual TSaveAnswer AskYesNoCancel(const QString& text) = 0;
    // Each returns the chosen file, empty on Cancel.
    virtual QString ChooseOpenPainting(const QString& folder) = 0;
    // The name comes back with the chosen type's extension when the user typed none.
    virtual QString ChooseSavePainting(const QString& folder, const QString& name) = 0;
    virtual QString ChoosePicture(const QString& folder) = 0;
};

// Message boxes captioned with the application title, and the toolkit's file dialogs, over
// `parent` or, without one, over the window in front (a message from the import dialog shows
// over the import dialog).
class TQtFormDialogs final : public IFormDialogs {
public:
    explicit TQtFormDialogs(QWidget* parent = nullptr) : Parent_(parent) {}
    void Error(const std::string& text) override;
    void Warning(const std::string& text) override;
    bool Confirm(const std::string& text) override;
    TSaveAnswer AskYesNoCancel(const QString& text) override;
    QString ChooseOpenPainting(const QString& folder) override;
    QString ChooseSavePainting(const QString& folder, const QString& name) override;
    QString ChoosePicture(const QString& folder) override;
    // The picture dialog of the import part, in place of the toolkit's plain file dialog.
    void SetPictureChooser(std::function<QString(const QString& folder)> chooser) {
        PictureChooser_ = std::move(chooser);
    }

private:
    QWidget* Owner() const;
    QWidget* Parent_;
    std::function<QString(const QString&)> PictureChooser_;
};

} // namespace pigmentaria
