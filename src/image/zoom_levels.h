#pragma once
// The zoom levels the program offers in its zoom menus, the main window's and the import
// dialog's, in menu order after "Custom...".
#include <array>

namespace pigmentaria {

struct TZoomLevel {
    const char* Caption;
    double Factor; // 0 for "Custom..."
};
inline constexpr std::array<TZoomLevel, 9> ZoomLevels{{{"25%", 0.25},
                                                       {"50%", 0.5},
                                                       {"75%", 0.75},
                                                       {"100%", 1.0},
                                                       {"125%", 1.25},
                                                       {"150%", 1.5},
                                                       {"200%", 2.0},
                                                       {"225%", 2.25},
                                                       {"250%", 2.5}}};
inline constexpr const char* CustomZoomCaption = "Custom...";

} // namespace pigmentaria
