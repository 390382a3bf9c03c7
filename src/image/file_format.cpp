#include "image/file_format.h"

#include "image/palette_match.h"
#include "image/pg_stream.h"
#include "platform/text_parse.h"

#include <algorithm>
#include <cstdio>

namespace pigmentaria {

std::string NormalizeExtension(const std::string& extension) {
    std::string e = extension;
    if (!e.empty() && e[0] == '.') e.erase(0, 1);
    return ToLower(e);
}

std::string ExtensionOf(const std::string& fileName) {
    const std::size_t slash = fileName.find_last_of('/');
    const std::size_t dot = fileName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    return NormalizeExtension(fileName.substr(dot + 1));
}

std::string ColorResName(TPGColorRes r) {
    return PGMessage(msgBlackWhite + static_cast<int>(r));
}

TPGColorRes ColorResOf(TPixelGraphic& graphic) {
    graphic.RecognizePalette();
    const TPaletteIdent id = graphic.PaletteIdent();
    switch (graphic.ColorType()) {
    case ct1Bit:
        return id == pBlackWhite ? crBlackWhite : cr2Colors;
    case ct4Bit:
        return id == pSys16 ? cr16SysColors : id == pGray16 ? cr16Grays : cr16Colors;
    case ct8Bit:
        return id == pGray256 ? cr256Grays : cr256Colors;
    case ct24Bit:
        break;
    }
    return cr16M;
}

// ---- Base classes

bool TFileFormatReader::IsFormat(const std::uint8_t*, std::size_t) const {
    return false;
}
void TFileFormatReader::Read(TPGStream&, TPixelGraphic&, int) const {}
TGraphicInfo TFileFormatReader::GetInfo(TPGStream&, int) const {
    return {};
}

void TFileFormatWriter::Write(TPGStream& stream, TPixelGraphic& graphic) const {
    WriteHeader(stream);
    WriteBody(stream, graphic);
    WriteTrailer(stream);
}
void TFileFormatWriter::WriteHeader(TPGStream&) const {}
void TFileFormatWriter::WriteBody(TPGStream&, TPixelGraphic&) const {}
void TFileFormatWriter::WriteTrailer(TPGStream&) const {}

// ---- Registry

namespace {
template <class T>
void InsertSorted(std::vector<std::unique_ptr<T>>& list, std::unique_ptr<T> item) {
    auto at = std::upper_bound(list.begin(), list.end(), item,
                               [](const std::unique_ptr<T>& a, const std::unique_ptr<T>& b) {
                                   return a->Extension < b->Extension;
                               });
    list.insert(at, std::move(item));
}

std::string Upper(const std::string& s) {
    return ToUpper(s);
}
} // namespace

void TFileFormatRegistry::AddReader(std::unique_ptr<TFileFormatReader> reader) {
    InsertSorted(Readers_, std::move(reader));
}

void TFileFormatRegistry::AddWriter(std::unique_ptr<TFileFormatWriter> writer) {
    InsertSorted(Writers_, std::move(writer));
}

const TFileFormatReader* TFileFormatRegistry::SelectReader(TPGStream& stream,
                                                           const std::string& hint) const {
    try {
        const std::int64_t start = stream.Position();
        std::uint8_t header[kFormatHeaderSize] = {};
        const std::size_t got = stream.Read(header, sizeof header);
        stream.Seek(start);
        for (const auto& r : Readers_)
            if (r->Detectable && r->IsFormat(header, got)) return r.get();
        const std::string ext = NormalizeExtension(hint);
        if (!ext.empty())
            for (const auto& r : Readers_)
                if (!r->Detectable && r->Extension == ext) return r.get();
    } catch (...) {
    }
    return nullptr;
}

const TFileFormatWriter* TFileFormatRegistry::FindWriter(const std::string& extension) const {
    const std::string ext = NormalizeExtension(extension);
    for (const auto& w : Writers_)
        if (w->Extension == ext) return w.get();
    return nullptr;
}

std::string TFileFormatRegistry::OpenFilter() const {
    std::string masks, entries;
    for (const auto& r : Readers_) {
        if (!r->Listed) continue;
        if (!masks.empty()) masks += "; ";
        masks += "*." + r->Extension;
        entries += Upper(r->Extension) + " - " + r->Description + "|*." + r->Extension + "|";
    }
    std::string filter;
    if (!masks.empty()) filter = PGMessage(msgImageFiles) + "|" + masks + "|" + entries;
    return filter + PGMessage(msgAllFiles) + "|*.*";
}

std::string TFileFormatRegistry::SaveFilter() const {
    std::string filter;
    for (const auto& w : Writers_)
        if (w->Listed)
            filter += Upper(w->Extension) + " - " + w->Description + "|*." + w->Extension + "|";
    return filter;
}

const TFileFormatRegistry& PGFormats() {
    static const TFileFormatRegistry registry = [] {
        TFileFormatRegistry r;
        RegisterBuiltInFormats(r);
        return r;
    }();
    return registry;
}

// ---- Saving with colour-resolution fallback

namespace {

const TPGColorRes kFallback[8][8] = {
    // crBlackWhite
    {crBlackWhite, cr2Colors, cr16Grays, cr16SysColors, cr16Colors, cr256Grays, cr256Colors, cr16M},
    // cr2Colors
    {cr2Colors, cr16Colors, cr256Colors, cr16M, cr16SysColors, crBlackWhite, cr16Grays, cr256Grays},
    // cr16Grays
    {cr16Grays, cr16Colors, cr256Grays, cr256Colors, cr16M, cr16SysColors, crBlackWhite, cr2Colors},
    // cr16SysColors
    {cr16SysColors, cr16Colors, cr256Colors, cr16M, cr16Grays, cr256Grays, crBlackWhite, cr2Colors},
    // cr16Colors
    {cr16Colors, cr256Colors, cr16M, cr16SysColors, cr16Grays, cr256Grays, crBlackWhite, cr2Colors},
    // cr256Grays
    {cr256Grays, cr256Colors, cr16M, cr16Grays, cr16Colors, cr16SysColors, crBlackWhite, cr2Colors},
    // cr256Colors
    {cr256Colors, cr16M, cr16Colors, cr16SysColors, cr256Grays, cr16Grays, crBlackWhite, cr2Colors},
    // cr16M
    {cr16M, cr256Colors, cr16Colors, cr16SysColors, cr256Grays, cr16Grays, crBlackWhite, cr2Colors},
};

void WriteTo(const TFileFormatWriter& writer, TPixelGraphic& graphic, TPGStream* stream,
             const std::string& fileName) {
    if (stream) {
        writer.Write(*stream, graphic);
        return;
    }
    TFileStream file(fileName, TFileStream::fmCreate);
    writer.Write(file, graphic);
    file.Close();
}

} // namespace

void SaveGraphicAs(TPixelGraphic& graphic, TPGStream* stream, const std::string& fileName,
                   const std::string& extension, const TFileFormatRegistry& registry) {
    if (registry.Writers().empty())
        throw EPGFileFormatWritersEmpty(msgIsEmpty, "FileFormatWriters");
    const std::string ext = NormalizeExtension(extension);
    const TFileFormatWriter* writer = registry.FindWriter(ext);
    if (!writer) throw EPGUnknownExtension(msgUnknownExtension, ext);

    const TPGColorRes current = ColorResOf(graphic);
    const TPGColorRes* row = kFallback[current];
    const TPGColorRes* found =
        std::find_if(row, row + 8, [&](TPGColorRes r) { return writer->CanWrite(r); });
    if (found == row + 8)
        throw EPGCanWriteResolutionsEmpty(msgIsEmpty, writer->ClassName() + ".CanWriteResolutions");
    const TPGColorRes target = *found;
    if (target == current) {
        WriteTo(*writer, graphic, stream, fileName);
        return;
    }
    const std::string warning = PGMessage(msgSaveResolutionWarning, writer->Description,
                                          ColorResName(current), ColorResName(target));
    if (!PGWarning(graphic.Messages, graphic.SaveColorResWarningAction, warning))
        throw EPGCannotWriteColorRes(msgCannotWriteColorRes, writer->Description,
                                     ColorResName(current));

    TPixelGraphic copy;
    copy.OnProgress = graphic.OnProgress;
    copy.OnProgressStart = graphic.OnProgressStart;
    copy.OnProgressEnd = graphic.OnProgressEnd;
    copy.AssignSettings(graphic);
    switch (target) {
    case crBlackWhite:
        copy.SetColorType(ct1Bit);
        copy.SetPaletteIdent(pBlackWhite);
        break;
    case cr2Colors:
        copy.SetColorType(ct1Bit);
        OptimizePalette(copy, graphic, 2, false);
        break;
    case cr16Grays:
        copy.SetColorType(ct4Bit);
        copy.SetPaletteIdent(pGray16);
        break;
    case cr16SysColors:
        copy.SetColorType(ct4Bit);
        copy.SetPaletteIdent(pSys16);
        break;
    case cr16Colors:
        copy.SetColorType(ct4Bit);
        OptimizePalette(copy, graphic, 16, false);
        break;
    case cr256Grays:
        copy.SetColorType(ct8Bit);
        copy.SetPaletteIdent(pGray256);
        break;
    case cr256Colors:
        copy.SetColorType(ct8Bit);
        OptimizePalette(copy, graphic, 252, true);
        break;
    case cr16M:
        copy.SetColorType(ct24Bit);
        break;
    }
    copy.SetSize(graphic.Width(), graphic.Height(), copy.ColorType());
    copy.StretchFromWhole(graphic);
    copy.RecognizePalette();
    WriteTo(*writer, copy, stream, fileName);
}

// ---- File information

TGraphicFileInfo GetGraphicFileInfo(const std::string& fileName, int imageIndex,
                                    const TFileFormatRegistry& registry) {
    TGraphicFileInfo result;
    try {
        if (!FileExists(fileName)) return result;
        TFileStream file(fileName, TFileStream::fmOpenRead);
        const std::int64_t start = file.Position();
        const TFileFormatReader* reader = registry.SelectReader(file, ExtensionOf(fileName));
        if (!reader) return result;
        file.Seek(start);
        result.Info = reader->GetInfo(file, imageIndex);
        result.FormatDescription = reader->Description;
        result.Ok = true;
    } catch (...) {
        result = TGraphicFileInfo{};
    }
    return result;
}

TGraphicFileInfo GetGraphicFileInfo(const std::string& fileName, int imageIndex) {
    return GetGraphicFileInfo(fileName, imageIndex, PGFormats());
}

} // namespace pigmentaria
