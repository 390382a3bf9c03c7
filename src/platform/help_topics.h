#pragma once
// The help commands the windows send, and the page of the program's own help that answers each
// context number.
#include <string>
#include <string_view>
#include <vector>

namespace pigmentaria {

// Context numbers the windows ask for.
inline constexpr int HelpContents = 0;
inline constexpr int HelpImportingFirstPicture = 2234;
inline constexpr int HelpQuickReference = 3465;
inline constexpr int HelpImportQuickReference = 3466;
inline constexpr int HelpPaletteWindow = 3467;
inline constexpr int HelpPrintSetup = 9705;
inline constexpr int HelpNewTemplate = 9706;

struct THelpTopic {
    int Context;
    const char* Page;  // file name inside the help folder
    const char* Title; // as the contents page lists it
};

// Every topic with a context number, and the contents page first (context 0).
const std::vector<THelpTopic>& HelpTopics();

// The page of a context number; the contents page for 0 and for a number no topic has.
std::string HelpPageForContext(int context);

// The page the help's home and the maker's web site entry open.
std::string HelpHomePage();

// The windows F1 knows, by their captions.
enum class THelpWindow {
    Main,
    Import,
    Palette,
    PaletteEditor,
    PrintSetup,
    PrintPreview,
    NewTemplate,
    CustomZoom,
    About,
    Other,
};
THelpWindow HelpWindowForCaption(std::string_view caption);
// The context F1 opens in a window.
int HelpContextForWindow(THelpWindow window);

} // namespace pigmentaria
