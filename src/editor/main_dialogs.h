#pragma once
// The questions and file choices the main window's workflow puts to the user, behind one
// interface so that the workflow runs, and is tested, without a window.
#include "platform/report.h"

#include <string>

namespace pigmentaria {

enum class TSaveAnswer { Yes, No, Cancel };

// The questions and file choices the workflow puts to the user.
class IMainDialogs : public IMessageSink {
public:
    virtual TSaveAnswer AskYesNoCancel(const std::string& text) = 0;
    // Each returns the chosen file, empty on Cancel.
    virtual std::string ChooseOpenPainting(const std::string& folder) = 0;
    // The name comes back with the chosen type's extension when the user typed none.
    virtual std::string ChooseSavePainting(const std::string& folder, const std::string& name) = 0;
    virtual std::string ChoosePicture(const std::string& folder) = 0;
};

} // namespace pigmentaria
