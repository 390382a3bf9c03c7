#include "convert/modify_rules.h"

#include "model/shape.h"

namespace pigmentaria {

bool StyleChangesPicture(TPaintingStyle style) {
    switch (style) {
    case TPaintingStyle::PenInk:
    case TPaintingStyle::PenInkStylist:
    case TPaintingStyle::InkBrush:
    case TPaintingStyle::PenBrushCombo:
        return true;
    default:
        return false;
    }
}

TImportToolBarRules ImportToolBarRules(double zoom, bool holdsPicture, bool makesTemplates) {
    return {zoom > 0.25, makesTemplates && holdsPicture};
}

int ImportZoomMenuCheck(double zoom) {
    for (std::size_t i = 0; i < ImportZoomMenu.size(); ++i)
        if (i != CustomZoomItem && ImportZoomMenu[i].Factor == zoom) return static_cast<int>(i);
    return CustomZoomItem;
}

TReOpenEntry ReOpenEntry(const std::string& fileName) {
    if (fileName.empty()) return {false, ReOpenCaption};
    return {true, "Re-Open " + fileName};
}

TShownSize ShownPictureSize(int width, int height, double zoom) {
    return {ScaleCoord(width, zoom), ScaleCoord(height, zoom)};
}

} // namespace pigmentaria
