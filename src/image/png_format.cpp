// PNG reader and writer on libpng. libpng's error callback must not return: ours long-jumps back
// to the call that failed (see CallGuarded), and the caller raises the format's exception with
// the library's message. Callbacks that run our own code (stream input and output, warnings)
// finish their C++ work before they may jump.
#include "image/codec_io.h"
#include "image/raster_formats.h"
#include "platform/text_parse.h"

#include <cstdio>
#include <exception>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include <png.h>

namespace pigmentaria {

namespace {

using EPng = EPGPNGFileFormatReaderWriter;
const std::string kTag = "PNG: ";
// zlib inflates at most about 1032 bytes from one compressed byte.
constexpr std::int64_t kPngExpansion = 1100;

struct TPngContext {
    std::jmp_buf Jump{};
    char Message[512] = {};
    std::exception_ptr Pending;
    TPGStream* Stream = nullptr;
    // The reader's picture, for warnings; none while writing or inspecting.
    const TPixelGraphic* Graphic = nullptr;
};

TPngContext& ContextOf(png_structp png) {
    return *static_cast<TPngContext*>(png_get_error_ptr(png));
}

void SetMessage(TPngContext& ctx, const std::string& text) noexcept {
    std::snprintf(ctx.Message, sizeof ctx.Message, "%s", text.c_str());
}

[[noreturn]] void ErrorFn(png_structp png, png_const_charp message) {
    TPngContext& ctx = ContextOf(png);
    std::snprintf(ctx.Message, sizeof ctx.Message, "%s", message ? message : "");
    std::longjmp(ctx.Jump, 1);
}

bool AskWarning(TPngContext& ctx, png_const_charp message) noexcept {
    try {
        const std::string text = message ? message : "";
        const TPixelGraphic& g = *ctx.Graphic;
        if (PGWarning(g.Messages, g.ReadWarningAction, kTag + text)) return true;
        SetMessage(ctx, g.ReadWarningAction == pgwaRaise ? text : PGMessage(msgAborted));
    } catch (...) {
        ctx.Pending = std::current_exception();
    }
    return false;
}

void WarningFn(png_structp png, png_const_charp message) {
    TPngContext& ctx = ContextOf(png);
    if (!ctx.Graphic) return;
    if (!AskWarning(ctx, message)) std::longjmp(ctx.Jump, 1);
}

std::size_t ReadSome(TPngContext& ctx, png_bytep data, std::size_t n) noexcept {
    try {
        return ctx.Stream->Read(data, n);
    } catch (...) {
        ctx.Pending = std::current_exception();
        return static_cast<std::size_t>(-1);
    }
}

void ReadFn(png_structp png, png_bytep data, std::size_t n) {
    TPngContext& ctx = *static_cast<TPngContext*>(png_get_io_ptr(png));
    const std::size_t got = ReadSome(ctx, data, n);
    if (got == static_cast<std::size_t>(-1)) std::longjmp(ctx.Jump, 1);
    if (got != n) {
        SetMessage(ctx, PGMessage(msgUnexpectedEOF));
        std::longjmp(ctx.Jump, 1);
    }
}

bool WriteSome(TPngContext& ctx, png_bytep data, std::size_t n) noexcept {
    try {
        ctx.Stream->Write(data, n);
        return true;
    } catch (...) {
        ctx.Pending = std::current_exception();
        return false;
    }
}

void WriteFn(png_structp png, png_bytep data, std::size_t n) {
    TPngContext& ctx = *static_cast<TPngContext*>(png_get_io_ptr(png));
    if (!WriteSome(ctx, data, n)) std::longjmp(ctx.Jump, 1);
}

void FlushFn(png_structp) {}

void CheckLibraryVersion() {
    // The library must be the one the reader was built against, up to the release number.
    if (png_access_version_number() / 100 != PNG_LIBPNG_VER / 100)
        throw EPng(kTag + "Invalid library version");
}

[[noreturn]] void RaiseFailure(TPngContext& ctx) {
    if (ctx.Pending) std::rethrow_exception(ctx.Pending);
    throw EPng(kTag + ctx.Message);
}

class TPngReadStruct {
public:
    TPngReadStruct(TPGStream& stream, const TPixelGraphic* graphic) {
        CheckLibraryVersion();
        Ctx.Stream = &stream;
        Ctx.Graphic = graphic;
        Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &Ctx, ErrorFn, WarningFn);
        if (!Png) throw EPng(msgFailed, "png_create_read_struct");
        Info = png_create_info_struct(Png);
        if (!Info) {
            png_destroy_read_struct(&Png, nullptr, nullptr);
            throw EPng(msgFailed, "png_create_info_struct");
        }
        png_set_read_fn(Png, &Ctx, ReadFn);
        // Many cameras and editors embed an early sRGB profile that libpng knows to be slightly
        // wrong and warns about on every load. We do not manage colour by profile, so comparing
        // it with sRGB tells us nothing: skip the comparison and with it that warning, keeping
        // every other.
        png_set_option(Png, PNG_SKIP_sRGB_CHECK_PROFILE, PNG_OPTION_ON);
        png_set_user_limits(Png, kMaxPictureSide, kMaxPictureSide);
        // No chunk is longer than the data left: a length field beyond it must not make libpng
        // reserve (and clear) that much memory before it finds the data missing.
        const std::int64_t left = std::min<std::int64_t>(stream.Remaining(), 64 << 20);
        png_set_chunk_malloc_max(Png,
                                 static_cast<png_alloc_size_t>(std::max<std::int64_t>(left, 1024)));
    }
    ~TPngReadStruct() { png_destroy_read_struct(&Png, &Info, nullptr); }
    TPngReadStruct(const TPngReadStruct&) = delete;
    TPngReadStruct& operator=(const TPngReadStruct&) = delete;
    template <class F> void Run(F&& f) {
        if (!CallGuarded(Ctx.Jump, f)) RaiseFailure(Ctx);
    }
    TPngContext Ctx;
    png_structp Png = nullptr;
    png_infop Info = nullptr;
};

class TPngWriteStruct {
public:
    explicit TPngWriteStruct(TPGStream& stream) {
        CheckLibraryVersion();
        Ctx.Stream = &stream;
        Png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &Ctx, ErrorFn, WarningFn);
        if (!Png) throw EPng(msgFailed, "png_create_write_struct");
        Info = png_create_info_struct(Png);
        if (!Info) {
            png_destroy_write_struct(&Png, nullptr);
            throw EPng(msgFailed, "png_create_info_struct");
        }
        png_set_write_fn(Png, &Ctx, WriteFn, FlushFn);
    }
    ~TPngWriteStruct() { png_destroy_write_struct(&Png, &Info); }
    TPngWriteStruct(const TPngWriteStruct&) = delete;
    TPngWriteStruct& operator=(const TPngWriteStruct&) = delete;
    template <class F> void Run(F&& f) {
        if (!CallGuarded(Ctx.Jump, f)) RaiseFailure(Ctx);
    }
    TPngContext Ctx;
    png_structp Png = nullptr;
    png_infop Info = nullptr;
};

// The chunks the file really holds, read from the chunk headers (libpng also reports a gamma it
// derives from sRGB or ICC chunks). The stream position is restored.
struct TPngChunks {
    bool HasGamma = false;
    std::uint32_t Gamma = 0; // times 100000
    std::string Listed;      // "gama, chrm, ..." in the order of the table below
    // A chunk runs past the end of the data. libpng would reserve memory for the length it
    // claims before finding the data missing, so such files are refused up front.
    bool Truncated = false;
};

TPngChunks ScanChunks(TPGStream& s) {
    static const char* const kListed[] = {"gAMA", "sBIT", "cHRM", "PLTE", "tRNS",
                                          "bKGD", "hIST", "pHYs", "oFFs", "tIME"};
    bool present[std::size(kListed)] = {};
    TPngChunks result;
    const std::int64_t start = s.Position();
    std::int64_t at = start + 8;
    std::uint8_t head[12];
    for (int n = 0; n < 100000; ++n) {
        s.Seek(at);
        if (s.Read(head, 8) != 8) break;
        const std::uint32_t length = GetBE32(head);
        const std::string type(reinterpret_cast<const char*>(head + 4), 4);
        if (type == "IEND") break;
        if (length > 0x7FFFFFFFu || at + 12 + static_cast<std::int64_t>(length) > s.Size()) {
            result.Truncated = true;
            break;
        }
        if (type == "gAMA" && length == 4 && s.Read(head + 8, 4) == 4) {
            result.HasGamma = true;
            result.Gamma = GetBE32(head + 8);
        }
        for (std::size_t i = 0; i < std::size(kListed); ++i)
            if (type == kListed[i]) present[i] = true;
        at += 12 + static_cast<std::int64_t>(length);
    }
    s.Seek(start);
    for (std::size_t i = 0; i < std::size(kListed); ++i) {
        if (!present[i]) continue;
        if (!result.Listed.empty()) result.Listed += ", ";
        result.Listed += ToLower(kListed[i]);
    }
    return result;
}

struct TPngHeader {
    png_uint_32 Width = 0, Height = 0;
    int BitDepth = 0, ColorType = 0, Interlace = 0;
};

TPngHeader ReadHeader(TPngReadStruct& r) {
    TPngHeader h;
    png_structp png = r.Png;
    png_infop info = r.Info;
    r.Run([png, info, &h] {
        png_read_info(png, info);
        png_get_IHDR(png, info, &h.Width, &h.Height, &h.BitDepth, &h.ColorType, &h.Interlace,
                     nullptr, nullptr);
    });
    return h;
}

// Converts one decoded row (after the transforms set in ReadPng) into picture row y.
void StoreRow(TPixelGraphic& g, int y, const std::uint8_t* src, bool indexed) {
    std::uint8_t* row = g.ScanLine(y);
    if (indexed)
        PackIndexRow(src, g.Width(), g.BitCount(), row);
    else
        std::memcpy(row, src, 3 * static_cast<std::size_t>(g.Width()));
}

void ReadPng(TPGStream& stream, TPixelGraphic& g, int index) {
    if (index != 0) throw EPng(msgInvalid, "Index");
    TProgressBracket bracket(g);
    const std::int64_t compressed = stream.Remaining();
    const TPngChunks chunks = ScanChunks(stream);
    if (chunks.Truncated) throw EPng(msgUnexpectedEOF);
    TPngReadStruct r(stream, &g);
    const TPngHeader h = ReadHeader(r);
    png_structp png = r.Png;
    png_infop info = r.Info;

    // The nearest picture type: palette files keep their indices (2 bits go to 4), grays up to
    // 4 bits become a gray palette, deeper grays 256 grays, colour 24 bits; alpha is dropped and
    // 16-bit samples are scaled to 8.
    const bool palette = h.ColorType == PNG_COLOR_TYPE_PALETTE;
    const bool gray = (h.ColorType & PNG_COLOR_MASK_COLOR) == 0;
    const bool indexed = palette || gray;
    TPGColorType type = ct24Bit;
    if (indexed) type = h.BitDepth == 1 ? ct1Bit : (h.BitDepth <= 4 ? ct4Bit : ct8Bit);
    const std::int64_t bytes =
        static_cast<std::int64_t>(TPixelGraphic::StrideOf(static_cast<int>(h.Width), 24)) *
        h.Height;
    if (!WithinDecodeBudget(bytes, compressed, kPngExpansion)) throw EPng(msgUnexpectedEOF);

    std::vector<TColor> colors;
    if (palette) {
        png_colorp entries = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &entries, &count) && entries)
            for (int i = 0; i < count && i < (1 << h.BitDepth); ++i)
                colors.push_back(MakeColor(entries[i].red, entries[i].green, entries[i].blue));
    } else if (gray) {
        const int levels = h.BitDepth >= 8 ? 256 : 1 << h.BitDepth;
        for (int i = 0; i < levels; ++i) {
            const int v = i * 255 / (levels - 1);
            colors.push_back(MakeColor(v, v, v));
        }
    }

    // Pixels stored for another gamma are corrected by the loader.
    if (chunks.HasGamma && chunks.Gamma > 0) g.Gamma = 100000.0L / chunks.Gamma;

    int passes = 1;
    r.Run([png, &passes, &h, indexed] {
        if (h.BitDepth == 16) png_set_scale_16(png);
        if (h.BitDepth < 8) png_set_packing(png);
        if (h.ColorType & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
        if (!indexed) png_set_bgr(png);
        passes = png_set_interlace_handling(png);
    });
    r.Run([png, info] { png_read_update_info(png, info); });
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const std::size_t expected = indexed ? h.Width : 3 * static_cast<std::size_t>(h.Width);
    if (rowBytes != expected) throw EPng(msgNotSupportedSubformat);

    g.SetSize(static_cast<int>(h.Width), static_cast<int>(h.Height), type);
    if (indexed) g.SetPalette(colors);
    const int height = static_cast<int>(h.Height);
    if (passes == 1) {
        std::vector<std::uint8_t> row(rowBytes);
        png_bytep p = row.data();
        for (int y = 0; y < height; ++y) {
            r.Run([png, p] { png_read_row(png, p, nullptr); });
            StoreRow(g, y, p, indexed);
            if (g.Progress(y + 1, height)) return;
        }
    } else {
        // Interlaced rows are filled in over all passes: keep the whole decoded image.
        std::vector<std::uint8_t> image(rowBytes * h.Height);
        for (int pass = 0; pass < passes; ++pass)
            for (int y = 0; y < height; ++y) {
                png_bytep p = &image[rowBytes * static_cast<std::size_t>(y)];
                r.Run([png, p] { png_read_row(png, p, nullptr); });
                if (g.Progress(pass * height + y + 1, passes * height)) {
                    for (int k = 0; k < height; ++k)
                        StoreRow(g, k, &image[rowBytes * static_cast<std::size_t>(k)], indexed);
                    return;
                }
            }
        for (int y = 0; y < height; ++y)
            StoreRow(g, y, &image[rowBytes * static_cast<std::size_t>(y)], indexed);
    }
    r.Run([png, info] { png_read_end(png, info); });
}

TGraphicInfo PngInfo(TPGStream& stream, int index) {
    if (index != 0) throw EPng(msgInvalidValue, "Index");
    const TPngChunks chunks = ScanChunks(stream);
    if (chunks.Truncated) throw EPng(msgUnexpectedEOF);
    TPngReadStruct r(stream, nullptr);
    const TPngHeader h = ReadHeader(r);
    TGraphicInfo result;
    result.Width = static_cast<int>(h.Width);
    result.Height = static_cast<int>(h.Height);
    const int channels = png_get_channels(r.Png, r.Info);
    result.BitCount = h.BitDepth * channels;
    const int colorChannels = (h.ColorType & PNG_COLOR_MASK_COLOR) && !(h.ColorType & 1) ? 3 : 1;
    result.ColorCountText = ColorCountTextOf(h.BitDepth * colorChannels);
    if (h.ColorType == PNG_COLOR_TYPE_PALETTE)
        result.Subformat = "palette";
    else if (h.ColorType & PNG_COLOR_MASK_COLOR)
        result.Subformat = "RGB";
    else
        result.Subformat = "GrayScale";
    if (h.ColorType & PNG_COLOR_MASK_ALPHA) result.Subformat += ", alpha";
    if (h.Interlace != PNG_INTERLACE_NONE) result.Subformat += ", interlaced";
    result.Comment = chunks.Listed;
    return result;
}

void WritePng(TPGStream& stream, TPixelGraphic& g) {
    TProgressBracket bracket(g);
    TPngWriteStruct w(stream);
    png_structp png = w.Png;
    png_infop info = w.Info;
    const auto width = static_cast<png_uint_32>(g.Width());
    const auto height = static_cast<png_uint_32>(g.Height());
    const int bits = g.BitCount();
    // Gray palettes in their natural order are written as gray images, other palettes with their
    // colours, and 24 bits as RGB; the picture's rows are already in the PNG sample layout.
    const TPaletteIdent id = g.PaletteIdent();
    const bool asGray = (bits == 1 && id == pBlackWhite) || (bits == 4 && id == pGray16) ||
                        (bits == 8 && id == pGray256);
    int colorType = PNG_COLOR_TYPE_RGB;
    if (bits != 24) colorType = asGray ? PNG_COLOR_TYPE_GRAY : PNG_COLOR_TYPE_PALETTE;
    std::vector<png_color> entries;
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        const int count = std::min(g.PaletteCount(), 1 << bits);
        for (int i = 0; i < std::max(count, 1); ++i) {
            const TColor c = i < count ? g.Palette()[static_cast<std::size_t>(i)] : clBlack;
            entries.push_back({static_cast<png_byte>(RedOf(c)), static_cast<png_byte>(GreenOf(c)),
                               static_cast<png_byte>(BlueOf(c))});
        }
    }
    png_colorp plte = entries.data();
    const int plteCount = static_cast<int>(entries.size());
    const int depth = bits == 24 ? 8 : bits;
    w.Run([png, info, width, height, depth, colorType, plte, plteCount] {
        png_set_IHDR(png, info, width, height, depth, colorType, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, plte, plteCount);
        png_write_info(png, info);
        if (colorType == PNG_COLOR_TYPE_RGB) png_set_bgr(png);
    });
    const int rows = g.Height();
    for (int y = 0; y < rows; ++y) {
        auto p = const_cast<png_bytep>(static_cast<const TPixelGraphic&>(g).ScanLine(y));
        w.Run([png, p] { png_write_row(png, p); });
        if (g.Progress(y + 1, rows)) throw EPng(msgAborted);
    }
    w.Run([png, info] { png_write_end(png, info); });
}

class TPNGFileFormatReader : public TFileFormatReader {
public:
    TPNGFileFormatReader()
        : TFileFormatReader("TPNGFileFormatReader", "png", "Portable Network Graphics") {
        Detectable = true;
    }
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override {
        static const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
        return size >= 8 && std::memcmp(header, kSignature, 8) == 0;
    }
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override {
        ReadPng(stream, graphic, index);
    }
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override {
        return PngInfo(stream, index);
    }
};

class TPNGFileFormatWriter : public TFileFormatWriter {
public:
    TPNGFileFormatWriter()
        : TFileFormatWriter("TPNGFileFormatWriter", "png", "Portable Network Graphics") {
        CanWriteResolutions = kAllColorRes;
    }
    void Write(TPGStream& stream, TPixelGraphic& graphic) const override {
        WritePng(stream, graphic);
    }
};

} // namespace

void RegisterPNGFormats(TFileFormatRegistry& registry) {
    const TPGLibrarySettings& lib = PGLibrarySettings();
    if (lib.PNGRead) registry.AddReader(std::make_unique<TPNGFileFormatReader>());
    if (lib.PNGWrite) registry.AddWriter(std::make_unique<TPNGFileFormatWriter>());
}

} // namespace pigmentaria
