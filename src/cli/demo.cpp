// A self-contained look at the tracer: a generated picture of nested coloured blobs is traced,
// rendered back and compared with the picture it came from.
#include "cli/commands.h"
#include "cli/terminal.h"
#include "convert/tracer.h"
#include "model/render.h"
#include "platform/text_parse.h"

#include <chrono>
#include <cmath>
#include <cstdio>

namespace pigmentaria::cli {

namespace {

int RunDemo(const std::vector<std::string>& args) {
    ExpectPositionals(ParseArguments(args, {}), {});
    const int w = 400, h = 300;
    TRaster24 picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const double v = std::sin(x * 0.05) + std::cos(y * 0.07) + std::sin((x + y) * 0.02);
            const int level = static_cast<int>((v + 3) * 1.5);
            picture.SetPixel(x, y, MakeColor(level * 40, 255 - level * 30, (level * 70) & 0xFF));
        }
    TTerminalMessages messages;
    TTerminalProgress progress;
    TShapeList shapes;
    const auto t0 = std::chrono::steady_clock::now();
    const int count = TraceRegions(picture, picture, {TOutlineMethod::Inline, 1, false}, shapes,
                                   progress, messages);
    const auto t1 = std::chrono::steady_clock::now();
    const TRaster24 rendered = RenderPainting(shapes, 1.0);
    long equal = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            equal += rendered.GetPixel(x, y) == picture.GetPixel(x, y);
    const double ms = std::chrono::duration<double, std::milli>(t1 - t0).count();
    std::printf("traced %dx%d picture: %d shapes (%zu kept), %zu points, %s ms\n", w, h, count,
                shapes.Count(), CountVertices(shapes.First()), FormatFixed(ms, 1).c_str());
    std::printf("rendered back: %s%% of pixels equal the picture\n",
                FormatFixed(100.0 * equal / (w * h), 2).c_str());
    return 0;
}

} // namespace

const TCommand DemoCommand = {
    "demo", "trace a generated picture and report what came out",
    "usage: pigmentaria-cli demo\n"
    "Traces a generated picture of nested coloured blobs, renders it back and tells how many\n"
    "shapes and points came out, how long tracing took and how much of the rendering matches.\n",
    RunDemo};

} // namespace pigmentaria::cli
