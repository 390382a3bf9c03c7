#pragma once
// The registries of picture format readers and writers: a reader is chosen by the file's first
// bytes, the extension serving only formats that cannot be recognised by content; a writer is
// chosen by extension, and a picture whose colour resolution the writer cannot store is converted
// on a copy first.
//
// Adding a format: write its reader and writer classes and a registration function in one source
// file, and add that function to the list in format_list.cpp.
#include "image/pixel_graphic.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pigmentaria {

class TPGStream;

// Colour resolutions a writer can store; a set of them fits one byte.
enum TPGColorRes : unsigned char {
    crBlackWhite = 0,
    cr2Colors = 1,
    cr16Grays = 2,
    cr16SysColors = 3,
    cr16Colors = 4,
    cr256Grays = 5,
    cr256Colors = 6,
    cr16M = 7,
};
using TPGColorResSet = std::uint8_t;
constexpr TPGColorResSet ColorResBit(TPGColorRes r) {
    return static_cast<TPGColorResSet>(1u << r);
}
constexpr TPGColorResSet kAllColorRes = 0xFF;
// "black and white", "2 colors", ... "16.7 million colors".
std::string ColorResName(TPGColorRes r);
// The class of a picture when saving (its palette identity recognised first).
TPGColorRes ColorResOf(TPixelGraphic& graphic);

// Lower case, leading dot dropped.
std::string NormalizeExtension(const std::string& extension);

class TFileFormatReaderWriter {
public:
    TFileFormatReaderWriter(std::string className, std::string extension, std::string description,
                            bool listed = true)
        : Listed(listed), Extension(NormalizeExtension(extension)),
          Description(std::move(description)), ClassName_(std::move(className)) {}
    virtual ~TFileFormatReaderWriter() = default;
    // The class name, for messages ("TBMPFileFormatWriter").
    const std::string& ClassName() const { return ClassName_; }

    bool Listed;
    std::string Extension;
    std::string Description;

private:
    std::string ClassName_;
};

struct TGraphicInfo {
    int ImageCount = 1;
    int BitCount = 0;
    std::string ColorCountText;
    int Height = 0;
    int Width = 0;
    std::string Comment;
    std::string Subformat;
};

// Bytes a reader sees to recognise its format.
constexpr std::size_t kFormatHeaderSize = 17;

class TFileFormatReader : public TFileFormatReaderWriter {
public:
    using TFileFormatReaderWriter::TFileFormatReaderWriter;
    // Can the format be recognised from its first bytes? Only non-detectable formats are ever
    // chosen by extension.
    bool Detectable = false;
    // `header` holds the first kFormatHeaderSize bytes, zero-padded when the stream is shorter;
    // `size` is how many of them are real.
    virtual bool IsFormat(const std::uint8_t* header, std::size_t size) const;
    // Decodes image `index` from the stream's current position into `graphic` (already empty).
    virtual void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const;
    virtual TGraphicInfo GetInfo(TPGStream& stream, int index) const;
};

class TFileFormatWriter : public TFileFormatReaderWriter {
public:
    using TFileFormatReaderWriter::TFileFormatReaderWriter;
    TPGColorResSet CanWriteResolutions = 0;
    bool Flag = false;
    bool CanWrite(TPGColorRes r) const { return (CanWriteResolutions & ColorResBit(r)) != 0; }
    // A writer overrides Write alone, or Write as header, body and trailer.
    virtual void Write(TPGStream& stream, TPixelGraphic& graphic) const;
    virtual void WriteHeader(TPGStream& stream) const;
    virtual void WriteBody(TPGStream& stream, TPixelGraphic& graphic) const;
    virtual void WriteTrailer(TPGStream& stream) const;
};

class TFileFormatRegistry {
public:
    void AddReader(std::unique_ptr<TFileFormatReader> reader);
    void AddWriter(std::unique_ptr<TFileFormatWriter> writer);
    // Both lists in ascending order of extension.
    const std::vector<std::unique_ptr<TFileFormatReader>>& Readers() const { return Readers_; }
    const std::vector<std::unique_ptr<TFileFormatWriter>>& Writers() const { return Writers_; }

    // The reader for the stream: the first detectable reader that recognises the first bytes,
    // else the first non-detectable reader of the hinted extension; nullptr when none. The
    // stream position is restored.
    const TFileFormatReader* SelectReader(TPGStream& stream, const std::string& hint) const;
    // The first writer of the extension (any case, dot optional), or nullptr.
    const TFileFormatWriter* FindWriter(const std::string& extension) const;

    // "Image files|*.bmp; *.dib; ...|BMP - Bitmap|*.bmp|...|All files|*.*"
    std::string OpenFilter() const;
    // "BMP - Bitmap|*.bmp|..." for the listed writers.
    std::string SaveFilter() const;

private:
    std::vector<std::unique_ptr<TFileFormatReader>> Readers_;
    std::vector<std::unique_ptr<TFileFormatWriter>> Writers_;
};

// The library's registry, filled with every built-in format on first use.
const TFileFormatRegistry& PGFormats();
// Registers every built-in format (the list in format_list.cpp).
void RegisterBuiltInFormats(TFileFormatRegistry& registry);

// Saves `graphic` by extension through `registry`, converting a copy when the writer cannot store
// its colour resolution (warning through graphic.Messages by its SaveColorResWarningAction).
// Writes to `stream`, or, when `stream` is null, to a newly created file `fileName`.
void SaveGraphicAs(TPixelGraphic& graphic, TPGStream* stream, const std::string& fileName,
                   const std::string& extension, const TFileFormatRegistry& registry);

struct TGraphicFileInfo {
    bool Ok = false;
    std::string FormatDescription;
    TGraphicInfo Info;
};
// Format and header facts of a picture file; Ok is false on any failure, never an exception.
TGraphicFileInfo GetGraphicFileInfo(const std::string& fileName, int imageIndex,
                                    const TFileFormatRegistry& registry);
TGraphicFileInfo GetGraphicFileInfo(const std::string& fileName, int imageIndex = 0);

// The extension of a file name (after the last dot of its last path part), lower case.
std::string ExtensionOf(const std::string& fileName);

} // namespace pigmentaria
