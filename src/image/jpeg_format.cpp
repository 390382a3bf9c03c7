// JPEG reader and writer on libjpeg. libjpeg reports fatal errors through an error manager that
// must not return: ours long-jumps back to the call that failed (see CallGuarded), and the caller
// turns the library's message into the format's exception. Every callback that runs our own code
// (stream input and output, warnings, progress) finishes its C++ work before it may jump.
#include "image/codec_io.h"
#include "image/raster_formats.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>
// jpeglib.h first: jerror.h needs its types.
#include <jerror.h>

namespace pigmentaria {

namespace {

using EJpg = EPGJPGFileFormatReaderWriter;
const std::string kTag = "JPG: ";
constexpr std::size_t kBufferSize = 65536;
// Decoded bytes allowed per compressed byte: above what the densest legal coding yields.
constexpr std::int64_t kJpegExpansion = 2048;
// Progressive files with more scans than this are refused: real files have about ten, and every
// scan is a pass over the whole picture.
constexpr int kMaxScans = 1000;

// What the callbacks reach through client_data: plain data and pointers only.
struct TJpegContext {
    jpeg_error_mgr Error{};
    std::jmp_buf Jump{};
    char Message[JMSG_LENGTH_MAX] = {};
    bool Aborted = false;
    // An exception of our own code inside a callback, carried past the library's frames.
    std::exception_ptr Pending;
    TPGStream* Stream = nullptr;
    std::uint8_t* Buffer = nullptr;
    // The reader's picture: warnings and progress.
    const TPixelGraphic* Graphic = nullptr;
    int LastPercent = -1;
};

TJpegContext& ContextOf(j_common_ptr c) {
    return *static_cast<TJpegContext*>(c->client_data);
}

void SetMessage(TJpegContext& ctx, const std::string& text) {
    std::snprintf(ctx.Message, sizeof ctx.Message, "%s", text.c_str());
}

[[noreturn]] void ErrorExit(j_common_ptr c) {
    TJpegContext& ctx = ContextOf(c);
    if (c->err->msg_code == JERR_BAD_LIB_VERSION)
        std::snprintf(ctx.Message, sizeof ctx.Message, "Invalid library version");
    else
        (*c->err->format_message)(c, ctx.Message);
    std::longjmp(ctx.Jump, 1);
}

void OutputMessage(j_common_ptr) {}

enum TWarningAnswer { waGoOn, waStop };

// The C++ half of a warning: asks the picture's read warning action; when the answer is to stop,
// the context holds the text to raise.
TWarningAnswer AskWarning(TJpegContext& ctx, j_common_ptr c) noexcept {
    try {
        char text[JMSG_LENGTH_MAX];
        (*c->err->format_message)(c, text);
        const TPixelGraphic& g = *ctx.Graphic;
        if (PGWarning(g.Messages, g.ReadWarningAction, kTag + text)) return waGoOn;
        SetMessage(ctx, g.ReadWarningAction == pgwaRaise ? text : PGMessage(msgAborted));
    } catch (...) {
        ctx.Pending = std::current_exception();
    }
    return waStop;
}

void EmitMessage(j_common_ptr c, int level) {
    if (level >= 0) return; // trace messages
    TJpegContext& ctx = ContextOf(c);
    // Like libjpeg's own handler, only the first of a run of corrupt-data warnings is shown.
    const bool first = c->err->num_warnings++ == 0;
    if (!first || !ctx.Graphic) return;
    if (AskWarning(ctx, c) == waStop) std::longjmp(ctx.Jump, 1);
}

enum TProgressAnswer { paGoOn, paAbort, paFail };

TProgressAnswer ForwardProgress(TJpegContext& ctx, j_common_ptr c) noexcept {
    try {
        const jpeg_progress_mgr& p = *c->progress;
        if (c->is_decompressor) {
            const auto* d = reinterpret_cast<j_decompress_ptr>(c);
            if (d->progressive_mode && d->input_scan_number > kMaxScans) {
                SetMessage(ctx, PGMessage(msgOutOfRange, "Scans"));
                return paFail;
            }
        }
        const double total = p.total_passes > 0 ? p.total_passes : 1;
        const double within = p.pass_limit > 0 ? static_cast<double>(p.pass_counter) /
                                                     static_cast<double>(p.pass_limit)
                                               : 0.0;
        int percent = static_cast<int>(100.0 * (p.completed_passes + within) / total);
        percent = percent < 0 ? 0 : (percent > 100 ? 100 : percent);
        if (percent == ctx.LastPercent) return paGoOn;
        ctx.LastPercent = percent;
        return ctx.Graphic->Progress(percent, 100) ? paAbort : paGoOn;
    } catch (...) {
        ctx.Pending = std::current_exception();
        return paFail;
    }
}

void ProgressMonitor(j_common_ptr c) {
    TJpegContext& ctx = ContextOf(c);
    if (!ctx.Graphic) return;
    switch (ForwardProgress(ctx, c)) {
    case paGoOn:
        return;
    case paAbort:
        ctx.Aborted = true;
        break;
    case paFail:
        break;
    }
    std::longjmp(ctx.Jump, 1);
}

// ---- Source manager on a TPGStream

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

std::size_t ReadSome(TJpegContext& ctx) noexcept {
    try {
        return ctx.Stream->Read(ctx.Buffer, kBufferSize);
    } catch (...) {
        ctx.Pending = std::current_exception();
        return static_cast<std::size_t>(-1);
    }
}

boolean FillInputBuffer(j_decompress_ptr d) {
    TJpegContext& ctx = ContextOf(reinterpret_cast<j_common_ptr>(d));
    std::size_t n = ReadSome(ctx);
    if (n == static_cast<std::size_t>(-1)) std::longjmp(ctx.Jump, 1);
    if (n == 0) {
        // The data ends early: warn and hand the decoder an end-of-image marker, so that what
        // was decoded so far is kept.
        WARNMS(d, JWRN_JPEG_EOF);
        ctx.Buffer[0] = 0xFF;
        ctx.Buffer[1] = JPEG_EOI;
        n = 2;
    }
    d->src->next_input_byte = ctx.Buffer;
    d->src->bytes_in_buffer = n;
    return TRUE;
}

void SkipInputData(j_decompress_ptr d, long count) {
    if (count <= 0) return;
    jpeg_source_mgr& src = *d->src;
    auto n = static_cast<std::size_t>(count);
    while (n > src.bytes_in_buffer) {
        n -= src.bytes_in_buffer;
        FillInputBuffer(d);
    }
    src.next_input_byte += n;
    src.bytes_in_buffer -= n;
}

// ---- Destination manager on a TPGStream

bool WriteSome(TJpegContext& ctx, std::size_t n) noexcept {
    try {
        ctx.Stream->Write(ctx.Buffer, n);
        return true;
    } catch (...) {
        ctx.Pending = std::current_exception();
        return false;
    }
}

void InitDestination(j_compress_ptr c) {
    TJpegContext& ctx = ContextOf(reinterpret_cast<j_common_ptr>(c));
    c->dest->next_output_byte = ctx.Buffer;
    c->dest->free_in_buffer = kBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr c) {
    TJpegContext& ctx = ContextOf(reinterpret_cast<j_common_ptr>(c));
    if (!WriteSome(ctx, kBufferSize)) std::longjmp(ctx.Jump, 1);
    c->dest->next_output_byte = ctx.Buffer;
    c->dest->free_in_buffer = kBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr c) {
    TJpegContext& ctx = ContextOf(reinterpret_cast<j_common_ptr>(c));
    if (!WriteSome(ctx, kBufferSize - c->dest->free_in_buffer)) std::longjmp(ctx.Jump, 1);
}

// ---- Owners of the library objects

void InstallErrorManager(TJpegContext& ctx, jpeg_common_struct& c) {
    c.err = jpeg_std_error(&ctx.Error);
    ctx.Error.error_exit = ErrorExit;
    ctx.Error.emit_message = EmitMessage;
    ctx.Error.output_message = OutputMessage;
    c.client_data = &ctx;
}

// Raises what made a guarded call jump; returns quietly only for an abort.
void RaiseFailure(TJpegContext& ctx) {
    if (ctx.Pending) std::rethrow_exception(ctx.Pending);
    if (ctx.Aborted) return;
    throw EJpg(kTag + ctx.Message);
}

class TDecompressor {
public:
    TDecompressor(TPGStream& stream, const TPixelGraphic* graphic) : Buffer_(kBufferSize) {
        Ctx.Stream = &stream;
        Ctx.Buffer = Buffer_.data();
        Ctx.Graphic = graphic;
        InstallErrorManager(Ctx, *reinterpret_cast<j_common_ptr>(&Info));
        if (!CallGuarded(Ctx.Jump, [this] { jpeg_create_decompress(&Info); })) RaiseFailure(Ctx);
        Source_.init_source = InitSource;
        Source_.fill_input_buffer = FillInputBuffer;
        Source_.skip_input_data = SkipInputData;
        Source_.resync_to_restart = jpeg_resync_to_restart;
        Source_.term_source = TermSource;
        Info.src = &Source_;
        Progress_.progress_monitor = ProgressMonitor;
        Info.progress = &Progress_;
    }
    ~TDecompressor() { jpeg_destroy_decompress(&Info); }
    TDecompressor(const TDecompressor&) = delete;
    TDecompressor& operator=(const TDecompressor&) = delete;

    // Runs one library call; false when it stopped on an abort, raises on failure.
    template <class F> bool Run(F&& f) {
        if (CallGuarded(Ctx.Jump, f)) return true;
        RaiseFailure(Ctx);
        return false;
    }

    jpeg_decompress_struct Info{};
    TJpegContext Ctx;

private:
    std::vector<std::uint8_t> Buffer_;
    jpeg_source_mgr Source_{};
    jpeg_progress_mgr Progress_{};
};

class TCompressor {
public:
    explicit TCompressor(TPGStream& stream) : Buffer_(kBufferSize) {
        Ctx.Stream = &stream;
        Ctx.Buffer = Buffer_.data();
        InstallErrorManager(Ctx, *reinterpret_cast<j_common_ptr>(&Info));
        if (!CallGuarded(Ctx.Jump, [this] { jpeg_create_compress(&Info); })) RaiseFailure(Ctx);
        Dest_.init_destination = InitDestination;
        Dest_.empty_output_buffer = EmptyOutputBuffer;
        Dest_.term_destination = TermDestination;
        Info.dest = &Dest_;
    }
    ~TCompressor() { jpeg_destroy_compress(&Info); }
    TCompressor(const TCompressor&) = delete;
    TCompressor& operator=(const TCompressor&) = delete;

    template <class F> void Run(F&& f) {
        if (!CallGuarded(Ctx.Jump, f)) {
            RaiseFailure(Ctx);
            throw EJpg(msgAborted);
        }
    }

    jpeg_compress_struct Info{};
    TJpegContext Ctx;

private:
    std::vector<std::uint8_t> Buffer_;
    jpeg_destination_mgr Dest_{};
};

J_DCT_METHOD DctMethod(int m) {
    return m == 1 ? JDCT_IFAST : (m == 2 ? JDCT_FLOAT : JDCT_ISLOW);
}

void ReadJpeg(TPGStream& stream, TPixelGraphic& g, int index) {
    if (index != 0) throw EJpg(msgInvalid, "Index");
    TProgressBracket bracket(g);
    const std::int64_t compressed = stream.Remaining();
    TDecompressor d(stream, &g);
    jpeg_decompress_struct& info = d.Info;
    if (!d.Run([&info] { jpeg_read_header(&info, TRUE); })) return;

    bool gray = false;
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        gray = true;
        info.out_color_space = JCS_GRAYSCALE;
        break;
    case JCS_YCbCr:
    case JCS_RGB:
        info.out_color_space = JCS_EXT_BGR;
        break;
    default:
        throw EJpg(msgNotSupportedSubformat);
    }
    info.dct_method = DctMethod(PGLibrarySettings().JPEGReadDCTMethod);
    const auto width = static_cast<int>(info.image_width);
    const auto height = static_cast<int>(info.image_height);
    const TPGColorType type = gray ? ct8Bit : ct24Bit;
    const auto bytes =
        static_cast<std::int64_t>(TPixelGraphic::StrideOf(width, BitCountOf(type))) * height;
    if (width > kMaxPictureSide || height > kMaxPictureSide ||
        !WithinDecodeBudget(bytes, compressed, kJpegExpansion))
        throw EJpg(msgUnexpectedEOF);

    g.SetSize(width, height, type);
    if (gray) g.SetPaletteIdent(pGray256);
    if (!d.Run([&info] { jpeg_start_decompress(&info); })) return;
    if (info.output_width != info.image_width || info.output_height != info.image_height ||
        info.output_components != (gray ? 1 : 3))
        throw EJpg(msgNotSupportedSubformat);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = g.ScanLine(static_cast<int>(info.output_scanline));
        if (!d.Run([&info, &row] { jpeg_read_scanlines(&info, &row, 1); })) return;
    }
    d.Run([&info] { jpeg_finish_decompress(&info); });
}

TGraphicInfo JpegInfo(TPGStream& stream, int index) {
    if (index != 0) throw EJpg(msgInvalidValue, "Index");
    TDecompressor d(stream, nullptr);
    jpeg_decompress_struct& info = d.Info;
    d.Run([&info] { jpeg_read_header(&info, TRUE); });
    TGraphicInfo result;
    result.Width = static_cast<int>(info.image_width);
    result.Height = static_cast<int>(info.image_height);
    result.BitCount = 8 * info.num_components;
    result.ColorCountText =
        info.num_components == 1 ? "256" : (info.num_components == 3 ? "16.7M" : "4294.9M");
    // "Adope" is how the format's information has always spelled it.
    result.Subformat = info.saw_Adobe_marker ? "Adope, " : "JFIF, ";
    switch (info.jpeg_color_space) {
    case JCS_GRAYSCALE:
        result.Subformat += "GrayScale";
        break;
    case JCS_YCbCr:
        result.Subformat += "YCbCr";
        break;
    case JCS_CMYK:
        result.Subformat += "CMYK";
        break;
    case JCS_YCCK:
        result.Subformat += "YCbCrK";
        break;
    default:
        result.Subformat += "unknown";
        break;
    }
    if (info.progressive_mode) result.Subformat += ", Progressive";
    return result;
}

void WriteJpeg(TPGStream& stream, TPixelGraphic& g) {
    const bool gray = g.ColorType() == ct8Bit && g.PaletteIdent() == pGray256;
    if (g.ColorType() != ct24Bit && !gray) throw EJpg(msgInvalidValue, "BitCount");
    TProgressBracket bracket(g);
    const TPGLibrarySettings& lib = PGLibrarySettings();
    TCompressor c(stream);
    jpeg_compress_struct& info = c.Info;
    info.image_width = static_cast<JDIMENSION>(g.Width());
    info.image_height = static_cast<JDIMENSION>(g.Height());
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
    const bool progressive = lib.JPEGProgressive;
    const int quality = lib.JPEGQuality;
    c.Run([&info, progressive, quality] {
        jpeg_set_defaults(&info);
        if (progressive) jpeg_simple_progression(&info);
        jpeg_set_quality(&info, quality, TRUE);
    });
    info.dct_method = DctMethod(lib.JPEGWriteDCTMethod);
    c.Run([&info] { jpeg_start_compress(&info, TRUE); });
    const int height = g.Height();
    for (int y = 0; y < height; ++y) {
        auto row = const_cast<JSAMPROW>(static_cast<const TPixelGraphic&>(g).ScanLine(y));
        c.Run([&info, &row] { jpeg_write_scanlines(&info, &row, 1); });
        if (g.Progress(y + 1, height)) throw EJpg(msgAborted);
    }
    c.Run([&info] { jpeg_finish_compress(&info); });
}

class TJPGFileFormatReader : public TFileFormatReader {
public:
    TJPGFileFormatReader(std::string className, std::string extension)
        : TFileFormatReader(std::move(className), std::move(extension), "JPEG (JFIF compliant)") {
        Detectable = true;
    }
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override {
        return size >= 2 && header[0] == 0xFF && header[1] == 0xD8;
    }
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override {
        ReadJpeg(stream, graphic, index);
    }
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override {
        return JpegInfo(stream, index);
    }
};

class TJPGFileFormatWriter : public TFileFormatWriter {
public:
    TJPGFileFormatWriter(std::string className, std::string extension, bool listed)
        : TFileFormatWriter(std::move(className), std::move(extension), "JPEG (JFIF compliant)",
                            listed) {
        CanWriteResolutions = ColorResBit(cr256Grays) | ColorResBit(cr16M);
    }
    void Write(TPGStream& stream, TPixelGraphic& graphic) const override {
        WriteJpeg(stream, graphic);
    }
};

} // namespace

void RegisterJPGFormats(TFileFormatRegistry& registry) {
    registry.AddReader(std::make_unique<TJPGFileFormatReader>("TJPGFileFormatReader", "jpg"));
    registry.AddReader(std::make_unique<TJPGFileFormatReader>("TJPEGFileFormatReader", "jpeg"));
    registry.AddReader(std::make_unique<TJPGFileFormatReader>("TJIFFileFormatReader", "jif"));
    registry.AddWriter(std::make_unique<TJPGFileFormatWriter>("TJPGFileFormatWriter", "jpg", true));
    registry.AddWriter(
        std::make_unique<TJPGFileFormatWriter>("TJPEGFileFormatWriter", "jpeg", false));
    registry.AddWriter(
        std::make_unique<TJPGFileFormatWriter>("TJIFFileFormatWriter", "jif", false));
}

} // namespace pigmentaria
