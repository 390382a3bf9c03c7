#pragma once
// The large painting the window and printing benchmarks share: the coffee sample upscaled to
// 2268 x 1512 (a phone photo's size) and traced at colour depth 52, about 7,600 shapes.
#include "convert/import_session.h"
#include "image/pixel_graphic.h"
#include "model/shape.h"
#include "platform/report.h"

#include <string>

namespace pigmentaria::bench {

inline const TShapeList& LargeBenchShapes() {
    static const TShapeList shapes = [] {
        TPixelGraphic photo;
        photo.LoadFromFile(std::string(PIGMENTARIA_SAMPLES) + "/coffee.png");
        TPixelGraphic big;
        big.StretchMode = smPrecise;
        big.SetSize(2268, 1512, ct24Bit);
        big.StretchFromWhole(photo);
        TNullProgress progress;
        TNullMessages messages;
        TImportSession session(progress, messages);
        session.SetPicture(std::move(big));
        session.Controls.ColorDepth = 52;
        return std::move(session.ReduceAndTrace().Shapes);
    }();
    return shapes;
}

} // namespace pigmentaria::bench
