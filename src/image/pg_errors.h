#pragma once
// The image library's numbered message table and its exceptions. Every text the library shows
// comes from the table; format errors carry their format's tag ("BMP: ") in front.
#include "platform/report.h"

#include <stdexcept>
#include <string>

namespace pigmentaria {

// Message numbers of the table; the numbering is fixed, translations are added by number.
enum TPGMessage : int {
    msgXYIndexOutOfRange = 1,
    msgNoPalette = 2,
    msgInvalidPaletteIndex = 3,
    msgUnknownClipboardFormat = 4,
    msgInvalidTemporaryFile = 5,
    msgUnknownFileFormat = 6,
    msgInvalid = 7,
    msgBlackWhite = 8, // names of the colour resolutions: 8 .. 15
    msgIsEmpty = 16,
    msgSaveResolutionWarning = 17,
    msgCannotWriteColorRes = 18,
    msgUnknownExtension = 19,
    msgInvalidValue = 20,
    msgNegativeHeight = 21,
    msgNegativeWidth = 22,
    msgFilterSourceIsTarget = 23,
    msgBit = 24,
    msgImageFiles = 25,
    msgAllFiles = 26,
    msgInvalidSize = 27,
    msgWarning = 28,
    msgAborted = 29,
    msgNotSupportedSubformat = 30,
    msgFailed = 31,
    msgUnexpectedEOF = 32,
    msgUnknownSubformat = 33,
    msgNotAFile = 34,
    msgZeroSize = 35,
    msgInvalidColorRes = 36,
    msgUnsupportedFieldType = 37,
    msgInvalidRowByteCount = 38,
    msgUnsupportedCompression = 39,
    msgSaturationZeroHue = 40,
    msgOutOfRange = 41,
    msgOK = 42,
    msgCancel = 43,
    msgLast = 84,
};

// The message's text with %S1, %S2 and %S3 each replaced once, at its first occurrence in the
// table's text (an argument's own text is never searched for placeholders). An unknown number
// gives an empty text.
std::string PGMessage(int number, const std::string& s1 = {}, const std::string& s2 = {},
                      const std::string& s3 = {});

class EPixelGraphic : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    EPixelGraphic(int number, const std::string& s1 = {}, const std::string& s2 = {},
                  const std::string& s3 = {})
        : std::runtime_error(PGMessage(number, s1, s2, s3)) {}
};

#define PIGMENTARIA_PG_EXCEPTION(Name, Base)                                                       \
    class Name : public Base {                                                                     \
    public:                                                                                        \
        using Base::Base;                                                                          \
    };
PIGMENTARIA_PG_EXCEPTION(EPGInvalidSize, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGXYIndexOutOfRange, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGNoPalette, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGInvalidPaletteIndex, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGUnknownClipboardFormat, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGUnknownFileFormat, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGInvalidBitCountNum, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGFileFormatWritersEmpty, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGUnknownExtension, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGCanWriteResolutionsEmpty, EPixelGraphic)
PIGMENTARIA_PG_EXCEPTION(EPGCannotWriteColorRes, EPixelGraphic)

// Base of the per-format exceptions: the text is the format's tag followed by the message.
class EPGFileFormatError : public EPixelGraphic {
public:
    EPGFileFormatError(const std::string& tag, int number, const std::string& s1 = {},
                       const std::string& s2 = {}, const std::string& s3 = {})
        : EPixelGraphic(tag + PGMessage(number, s1, s2, s3)) {}
    // A text of the format's own that is not in the table; the tag is part of it.
    explicit EPGFileFormatError(const std::string& text) : EPixelGraphic(text) {}
};

class EPGBMPFileFormatReader : public EPGFileFormatError {
public:
    explicit EPGBMPFileFormatReader(int number, const std::string& s1 = {},
                                    const std::string& s2 = {}, const std::string& s3 = {})
        : EPGFileFormatError("BMP: ", number, s1, s2, s3) {}
};

class EPGBMPFileFormatWriter : public EPGFileFormatError {
public:
    explicit EPGBMPFileFormatWriter(int number, const std::string& s1 = {},
                                    const std::string& s2 = {}, const std::string& s3 = {})
        : EPGFileFormatError("BMP: ", number, s1, s2, s3) {}
};

// The exception of one format: its tag in front of a table message, or a text of its own.
#define PIGMENTARIA_PG_FORMAT_EXCEPTION(Name, Tag)                                                 \
    class Name : public EPGFileFormatError {                                                       \
    public:                                                                                        \
        explicit Name(int number, const std::string& s1 = {}, const std::string& s2 = {},          \
                      const std::string& s3 = {})                                                  \
            : EPGFileFormatError(Tag, number, s1, s2, s3) {}                                       \
        explicit Name(const std::string& text) : EPGFileFormatError(text) {}                       \
    };
PIGMENTARIA_PG_FORMAT_EXCEPTION(EPGJPGFileFormatReaderWriter, "JPG: ")
PIGMENTARIA_PG_FORMAT_EXCEPTION(EPGPNGFileFormatReaderWriter, "PNG: ")
PIGMENTARIA_PG_FORMAT_EXCEPTION(EPGPCXFileFormatReader, "PCX: ")
PIGMENTARIA_PG_FORMAT_EXCEPTION(EPGPxMFileFormatReader, "PBM, PGM, PPM: ")
PIGMENTARIA_PG_FORMAT_EXCEPTION(EPGTGAFileFormatReader, "TGA: ")
PIGMENTARIA_PG_FORMAT_EXCEPTION(EPGTIFFileFormatReader, "TIFF: ")
PIGMENTARIA_PG_FORMAT_EXCEPTION(EPGTIFFileFormatWriter, "TIFF: ")

// The Netpbm writer names the variant it writes ("PBM: ", "PGM: ", "PPM: ") or the family.
class EPGPxMFileFormatWriter : public EPGFileFormatError {
public:
    EPGPxMFileFormatWriter(const std::string& tag, int number, const std::string& s1 = {})
        : EPGFileFormatError(tag, number, s1) {}
};

// What the library does about a recoverable oddity or a lossy save.
enum TPGWarningAction : unsigned char { pgwaIgnore, pgwaOKBox, pgwaOKCancelBox, pgwaRaise };

// Acts on a warning: shows `text` through `messages` as the action says (a missing sink shows
// nothing and answers OK). Returns false when the operation must give up: `pgwaRaise`, or Cancel
// in the OK/Cancel box.
bool PGWarning(IMessageSink* messages, TPGWarningAction action, const std::string& text);

} // namespace pigmentaria
