#include "platform/help_topics.h"

namespace pigmentaria {

const std::vector<THelpTopic>& HelpTopics() {
    static const std::vector<THelpTopic> topics{
        {HelpContents, "index.html", "Contents"},
        {HelpQuickReference, "quick-reference.html", "Quick Reference"},
        {HelpImportingFirstPicture, "first-picture.html", "Importing Your First Picture"},
        {HelpImportQuickReference, "import-reference.html", "The Import Dialog"},
        {HelpPaletteWindow, "palette-window.html", "The Palette Window"},
        {HelpPrintSetup, "printing.html", "Printing a Template"},
        {HelpNewTemplate, "new-template.html", "Making a Template in One Step"},
    };
    return topics;
}

std::string HelpPageForContext(int context) {
    for (const THelpTopic& t : HelpTopics())
        if (t.Context == context) return t.Page;
    return HelpTopics().front().Page;
}

std::string HelpHomePage() {
    return HelpPageForContext(HelpContents);
}

THelpWindow HelpWindowForCaption(std::string_view caption) {
    if (caption.starts_with("Pigmentaria")) return THelpWindow::Main;
    if (caption == "Modifying Original Image" || caption == "Color Reduction")
        return THelpWindow::Import;
    if (caption == "Palette" || caption == "Enter Palette Description") return THelpWindow::Palette;
    if (caption == "Edit Palette") return THelpWindow::PaletteEditor;
    if (caption == "Print Setup") return THelpWindow::PrintSetup;
    if (caption == "Print Preview") return THelpWindow::PrintPreview;
    if (caption == "New Template") return THelpWindow::NewTemplate;
    if (caption == "Custom Zoom") return THelpWindow::CustomZoom;
    if (caption == "About Pigmentaria") return THelpWindow::About;
    return THelpWindow::Other;
}

int HelpContextForWindow(THelpWindow window) {
    switch (window) {
    case THelpWindow::Main:
        return HelpQuickReference;
    case THelpWindow::Import:
        return HelpImportQuickReference;
    case THelpWindow::Palette:
    case THelpWindow::PaletteEditor:
        return HelpPaletteWindow;
    case THelpWindow::PrintSetup:
    case THelpWindow::PrintPreview:
        return HelpPrintSetup;
    case THelpWindow::NewTemplate:
        return HelpNewTemplate;
    case THelpWindow::CustomZoom:
        return HelpQuickReference;
    case THelpWindow::About:
    case THelpWindow::Other:
        return HelpContents;
    }
    return HelpContents;
}

} // namespace pigmentaria
