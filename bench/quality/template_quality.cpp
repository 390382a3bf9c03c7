// Template quality of the bundled photos, printed on one A4 page, for the import's default path
// (step 90, abstraction 4, at the photo's size) and for the template path as the template command
// makes it (the size the print needs, 24 colours by k-means, clean-up for 2.5 mm with necks cut,
// abstraction 1, central labels): how many regions are too narrow to paint, how many carry a number
// that fits, how far the painting's colours are from the photo (mean CIEDE2000), how many of the
// photo's strong edges survive as region borders, and time and peak memory. Each measurement runs
// in a child process so that its peak memory is its own.
//
//   template-quality [--min-mm D] [--colors K] [--abstraction N] [--outline 0|1|2]
//                    [--dump DIR] [SAMPLE ...]
#include "convert/reduction.h"
#include "convert/regions.h"
#include "convert/shared_borders.h"
#include "convert/template_pipeline.h"
#include "convert/tracer.h"
#include "image/pixel_graphic.h"
#include "model/render.h"
#include "outline_roughness.h"
#include "palette/color_numbering.h"
#include "palette/color_science.h"
#include "palette/palette.h"
#include "photo_fidelity.h"
#include "print/numbers.h"
#include "print/print_labels.h"
#include "print/print_scale.h"
#include "print/printer.h"
#include "print/template_job.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace pigmentaria;
using pigmentaria::bench::EdgesKept;
using pigmentaria::bench::MeanDeltaE;
using pigmentaria::bench::StrongEdges;

namespace {

struct TOptions {
    std::string Dump;
    double MinMm = 2.5;
    int Colors = 24;
    // The path's own tracing unless given.
    int Abstraction = 0;
    // The outline smoothing's own unless given.
    double Destair = -1, Flatten = -1, Round = -1, Taper = -1, Tolerance = -1, Shift = -1;
    int Scale = 0;
    std::optional<TOutlineMethod> Outline;
    std::vector<std::string> Samples;
};

struct TResult {
    int Regions = 0, Under = 0, WithoutNumber = 0, Slivers = 0;
    int RealUnder = 0, RealUnnumbered = 0, RealIllegible = 0;
    int Shapes = 0, Colors = 0, SmallestPt = 0;
    double SmallestRealMm = 0, MeanDeltaE = 0, EdgesKept = 0, MinDiameterPx = 0;
    double ReduceMs = 0, CleanupMs = 0, TraceMs = 0, LabelMs = 0;
    // Outline roughness (see outline_roughness.h) and how far an outline vertex lies from the
    // nearest border of the reduction it was traced from, on paper.
    double RoughUm = 0, MaxShiftMm = 0;
    long PeakKb = 0;
};

// The largest distance from an outline vertex to the nearest crack between two regions of the
// reduction, in millimetres (`mm` per reduction pixel); vertices on the picture's edge lie on it.
double MaxShiftMm(const TShapeList& shapes, const TRegionMap& m, int scale, double mm) {
    const int radius = static_cast<int>(std::ceil(0.8 / mm)) + 1;
    double worst = 0;
    for (const TPaintShape& s : shapes) {
        if (&s == shapes.First()) continue;
        for (const TShapePoint& p : s.Points) {
            const double u = static_cast<double>(p.X) / scale, v = static_cast<double>(p.Y) / scale;
            if (u <= 0 || v <= 0 || u >= m.Width || v >= m.Height) continue;
            double best = radius + 1.0;
            const int cx = static_cast<int>(u), cy = static_cast<int>(v);
            for (int y = std::max(0, cy - radius); y <= std::min(m.Height - 1, cy + radius); ++y)
                for (int x = std::max(0, cx - radius); x <= std::min(m.Width - 1, cx + radius);
                     ++x) {
                    // The crack right of pixel (x, y): x + 1, y .. y + 1; below it: y + 1.
                    if (x + 1 < m.Width && m.At(x, y) != m.At(x + 1, y)) {
                        const double dy = std::clamp(v, double(y), y + 1.0) - v;
                        best = std::min(best, std::hypot(x + 1 - u, dy));
                    }
                    if (y + 1 < m.Height && m.At(x, y) != m.At(x, y + 1)) {
                        const double dx = std::clamp(u, double(x), x + 1.0) - u;
                        best = std::min(best, std::hypot(dx, y + 1 - v));
                    }
                }
            worst = std::max(worst, best * mm);
        }
    }
    return worst;
}

void WritePpm(const std::string& file, const TRaster24& r) {
    FILE* f = std::fopen(file.c_str(), "wb");
    if (!f) return;
    std::fprintf(f, "P6\n%d %d\n255\n", r.Width(), r.Height());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x) {
            const TColor c = r.GetPixel(x, y);
            const unsigned char px[3] = {static_cast<unsigned char>(RedOf(c)),
                                         static_cast<unsigned char>(GreenOf(c)),
                                         static_cast<unsigned char>(BlueOf(c))};
            std::fwrite(px, 1, 3, f);
        }
    std::fclose(f);
}

TResult Measure(const std::string& file, bool templatePath, const TOptions& o) {
    TResult r;
    TPixelGraphic picture;
    picture.LoadFromFile(file);
    const TRaster24 photo = picture.ToRaster24();

    // Both paths are printed at the size the template is made for: on the request's pages, the
    // orientation following the photo, the painting in the fitting placement frame.
    TTemplateRequest request;
    request.PaletteSize = o.Colors;
    request.MinMm = o.MinMm;
    const TTemplatePlan plan = PlanTemplate(photo.Width(), photo.Height(), request);
    TConversionInput input = TemplateConversionInput(picture, request, plan);
    if (!templatePath) {
        // The import's defaults at the photo's own size.
        input.Zoom = 1.0;
        input.Controls = {};
        input.Template = {};
    }
    if (o.Abstraction > 0) input.Controls.AbstractionLevel = o.Abstraction;
    if (o.Outline) input.Controls.OutlineMethod = *o.Outline;
    // The clean-up is timed on its own: it is the template reduction's last step.
    const TCleanupSettings cleanup = TemplateCleanup(input.Template);
    TTemplateControls reduceOnly = input.Template;
    reduceOnly.MinRegionPixels = 0;
    reduceOnly.MinWidthPixels = 0;
    r.MinDiameterPx = input.Template.MinWidthPixels;

    TNullProgress progress;
    TNullMessages messages;
    using TClock = std::chrono::steady_clock;
    auto ms = [](TClock::time_point a, TClock::time_point b) {
        return std::chrono::duration<double, std::milli>(b - a).count();
    };
    const auto t0 = TClock::now();
    TReducedPair reduced = ReducePicture(input.Picture, input.Zoom, std::nullopt, input.Controls,
                                         reduceOnly, progress);
    const auto t1 = TClock::now();
    if (cleanup.Active()) CleanUpRegions(reduced.Reduced, reduced.Original, cleanup, progress);
    const auto t2 = TClock::now();
    // The template path traces with smooth shared outlines on a finer grid; its painting is
    // `scale` times the reduction's size.
    const int scale = templatePath ? (o.Scale > 0 ? o.Scale : plan.Scale) : 1;
    TBorderSmoothing smoothing;
    smoothing.Scale = scale;
    smoothing.PixelMm = plan.PixelMm;
    if (o.Destair >= 0) smoothing.DestairMm = o.Destair;
    if (o.Flatten >= 0) smoothing.FlattenMm = o.Flatten;
    if (o.Round >= 0) smoothing.RoundMm = o.Round;
    if (o.Taper >= 0) smoothing.TaperMm = o.Taper;
    if (o.Shift >= 0) smoothing.MaxShiftMm = o.Shift;
    if (o.Tolerance >= 0) smoothing.Tolerance = o.Tolerance;
    TTraceResult traced =
        templatePath ? TraceSharedBorders(reduced.Reduced, reduced.Original, smoothing, progress)
                     : TraceReduction(reduced.Reduced, reduced.Original, input.Controls, progress);
    const TShapeList& shapes = traced.Shapes;
    r.Shapes = traced.ShapeCount;
    const auto t3 = TClock::now();
    const int w = shapes.PaintingWidth(), h = shapes.PaintingHeight();
    TNamedPalette palette;
    RebuildPaintingPalette(palette, shapes);
    r.Colors = static_cast<int>(palette.Count());
    const TPrintGeometry print = PdfPrintOfBlock(plan.Layout, w, h);
    const TPrintedLabels printed(shapes, print.Layout, print.Settings.Frame, {}, 2.0 / scale);
    std::vector<TNumberLabel> labels =
        templatePath ? TemplateLabels(printed, NumberByPaintingPalette(palette))
                     : PlaceNumbers(shapes, palette, progress, messages);
    const auto t4 = TClock::now();
    r.ReduceMs = ms(t0, t1);
    r.CleanupMs = ms(t1, t2);
    r.TraceMs = ms(t2, t3);
    r.LabelMs = ms(t3, t4);
    // What the painting is compared with: the photo at the painting's size.
    const TRaster24& scaledPhoto = reduced.Original;

    const TLegibilityReport rep = printed.Report(labels, o.MinMm);
    // Every visible area counts here, the frame's gaps too; the report leaves those out.
    r.SmallestPt = rep.SmallestNumberPt;

    // Slivers. Every region of the reduced picture shows on paper as its largest visible part,
    // and any visible part that holds the minimum circle counts as a region too. The rest are
    // slivers the tracing made: gaps and overlaps between traced outlines (their colour is not
    // the picture's there) and crumbs of a region cut off by its neighbours' outlines.
    const TRaster24 two = RenderPainting(shapes, 2.0 / scale);
    const TRegionMap map = LabelRegions(two);
    const TRegionMap source = LabelRegions(reduced.Reduced);
    constexpr std::uint32_t None = 0xFFFFFFFF;
    std::vector<std::int64_t> area(map.Count);
    std::vector<std::uint32_t> owner(map.Count, None);
    for (int y = 0; y < map.Height; ++y)
        for (int x = 0; x < map.Width; ++x) {
            const std::uint32_t l = map.At(x, y);
            ++area[l];
            const int sx = std::min(x / 2, w - 1), sy = std::min(y / 2, h - 1);
            if (owner[l] == None && two.GetPixel(x, y) == reduced.Reduced.GetPixel(sx, sy))
                owner[l] = source.At(sx, sy);
        }
    std::vector<std::uint32_t> main(source.Count, None);
    for (std::uint32_t i = 0; i < map.Count; ++i)
        if (owner[i] != None && (main[owner[i]] == None || area[i] > area[main[owner[i]]]))
            main[owner[i]] = i;
    const std::vector<double> dia = printed.RegionDiametersMm();
    std::vector<bool> real(map.Count, false);
    for (std::uint32_t m : main)
        if (m != None) real[m] = true;
    for (std::uint32_t i = 0; i < map.Count; ++i)
        if (dia[i] >= o.MinMm - 1e-9) real[i] = true;
    std::vector<int> best(map.Count, 0);
    for (const TNumberLabel& l : labels) {
        const std::int64_t reg = printed.RegionHolding(l);
        if (reg >= 0)
            best[static_cast<std::size_t>(reg)] =
                std::max(best[static_cast<std::size_t>(reg)], printed.DrawnSize(l));
    }
    r.Regions = static_cast<int>(map.Count);
    for (std::uint32_t i = 0; i < map.Count; ++i) {
        r.Under += dia[i] < o.MinMm - 1e-9;
        r.WithoutNumber += best[i] == 0;
        r.Slivers += !real[i];
        if (!real[i]) continue;
        r.RealUnder += dia[i] < o.MinMm - 1e-9;
        r.RealUnnumbered += best[i] == 0;
        r.RealIllegible += best[i] < LegibleLabelSize;
        r.SmallestRealMm = r.SmallestRealMm == 0 ? dia[i] : std::min(r.SmallestRealMm, dia[i]);
    }

    const TPaintingPixelSize px = printed.PixelSize();
    r.RoughUm = bench::OutlineRoughness(shapes, px.MmX, px.MmY).RmsUm;
    r.MaxShiftMm = MaxShiftMm(shapes, source, scale, px.MmX * scale);

    const TRaster24 painting = RenderPainting(shapes, 1.0 / scale);
    if (!o.Dump.empty()) {
        const std::string base = o.Dump + "/" + file.substr(file.find_last_of('/') + 1) +
                                 (templatePath ? "-template" : "-default");
        WritePpm(base + "-reduced.ppm", reduced.Reduced);
        WritePpm(base + "-painting.ppm", painting);
        // The painting at scale 2 with the frame's gaps in magenta, other slivers under the
        // minimum in yellow and narrow regions that are not slivers in cyan.
        TRaster24 marked = two;
        for (int y = 0; y < map.Height; ++y)
            for (int x = 0; x < map.Width; ++x) {
                const std::uint32_t l = map.At(x, y);
                if (!real[l] && printed.FrameGap(l))
                    marked.SetPixel(x, y, MakeColor(255, 0, 255));
                else if (!real[l] && dia[l] < o.MinMm - 1e-9)
                    marked.SetPixel(x, y, MakeColor(255, 255, 0));
                else if (dia[l] < o.MinMm - 1e-9)
                    marked.SetPixel(x, y, MakeColor(0, 255, 255));
            }
        WritePpm(base + "-slivers.ppm", marked);
    }
    r.MeanDeltaE = MeanDeltaE(scaledPhoto, painting);
    r.EdgesKept = EdgesKept(StrongEdges(scaledPhoto), painting);
    return r;
}

TResult MeasureInChild(const std::string& file, bool templatePath, const TOptions& o) {
    int pipeFd[2];
    if (pipe(pipeFd) != 0) std::exit(2);
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFd[0]);
        TResult r = Measure(file, templatePath, o);
        if (write(pipeFd[1], &r, sizeof r) != static_cast<ssize_t>(sizeof r)) _exit(3);
        _exit(0);
    }
    close(pipeFd[1]);
    TResult r;
    const ssize_t got = read(pipeFd[0], &r, sizeof r);
    close(pipeFd[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    if (got != static_cast<ssize_t>(sizeof r) || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s: measurement failed\n", file.c_str());
        std::exit(1);
    }
    r.PeakKb = usage.ru_maxrss;
    return r;
}

} // namespace

int main(int argc, char** argv) {
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--min-mm") && i + 1 < argc)
            o.MinMm = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--colors") && i + 1 < argc)
            o.Colors = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--abstraction") && i + 1 < argc)
            o.Abstraction = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--outline") && i + 1 < argc)
            o.Outline = OutlineMethodFromIndex(std::atoi(argv[++i]));
        else if (!std::strcmp(argv[i], "--destair") && i + 1 < argc)
            o.Destair = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--flatten") && i + 1 < argc)
            o.Flatten = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--taper") && i + 1 < argc)
            o.Taper = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--shift") && i + 1 < argc)
            o.Shift = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--round") && i + 1 < argc)
            o.Round = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--scale") && i + 1 < argc)
            o.Scale = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--tolerance") && i + 1 < argc)
            o.Tolerance = std::atof(argv[++i]);
        else if (!std::strcmp(argv[i], "--dump") && i + 1 < argc)
            o.Dump = argv[++i];
        else
            o.Samples.push_back(argv[i]);
    }
    if (o.Samples.empty())
        for (const char* s : {"coffee.png", "astronaut.png", "rocket.jpg"})
            o.Samples.push_back(std::string(PIGMENTARIA_SAMPLES) + "/" + s);
    std::printf("One A4 page (landscape for a wide photo), 600 dpi, the fitting placement frame; "
                "minimum %.2f mm; abstraction %s\n",
                o.MinMm, o.Abstraction > 0 ? std::to_string(o.Abstraction).c_str() : "the path's");
    std::printf("Regions are the visible areas of the painting drawn at scale 2; slivers are "
                "tracing's own (see the source).\n\n");
    std::printf(
        "%-14s %-8s %6s %7s %7s %7s %7s %8s %8s %8s %6s %6s %6s %6s %8s %8s %8s %8s %7s %7s %7s\n",
        "sample", "path", "colors", "regions", "slivers", "under", "underNS", "numbered", "numbNS",
        "legibNS", "minmm", "minpt", "dE00", "edges", "reduceMs", "cleanMs", "traceMs", "labelMs",
        "peakMB", "roughUm", "shiftMm");
    for (const std::string& file : o.Samples) {
        const std::string name = file.substr(file.find_last_of('/') + 1);
        for (bool templatePath : {false, true}) {
            const TResult r = MeasureInChild(file, templatePath, o);
            const int real = std::max(1, r.Regions - r.Slivers);
            auto pct = [](double a, int b) { return 100.0 * a / std::max(1, b); };
            std::printf("%-14s %-8s %6d %7d %7d %6.2f%% %6.2f%% %7.1f%% %7.1f%% %7.1f%% %6.2f %6d "
                        "%6.2f %5.0f%% %8.1f %8.1f %8.1f %8.1f %7.1f %7.1f %7.2f\n",
                        name.c_str(), templatePath ? "template" : "default", r.Colors, r.Regions,
                        r.Slivers, pct(r.Under, r.Regions), pct(r.RealUnder, real),
                        pct(r.Regions - r.WithoutNumber, r.Regions),
                        pct(real - r.RealUnnumbered, real), pct(real - r.RealIllegible, real),
                        r.SmallestRealMm, r.SmallestPt, r.MeanDeltaE, 100 * r.EdgesKept, r.ReduceMs,
                        r.CleanupMs, r.TraceMs, r.LabelMs, r.PeakKb / 1024.0, r.RoughUm,
                        r.MaxShiftMm);
            if (templatePath)
                std::printf("%-14s          (clean-up minimum %.2f painting pixels)\n", "",
                            r.MinDiameterPx);
        }
    }
    std::printf("\nunder: share of regions under the minimum; NS: not counting slivers; numbered: "
                "a number fits inside;\nlegib: one fits at %d pt or more; minmm: narrowest "
                "region (not a sliver); minpt: smallest number printed.\n",
                LegibleLabelSize);
    return 0;
}
