#pragma once
// The registry's readers of Windows metafiles (".wmf") and enhanced metafiles (".emf"): the
// metafile is played onto a picture whose colour type follows the metafile's palette.
#include "image/file_format.h"

#include <cstdint>
#include <string>

namespace pigmentaria {

class TWMFFileFormatReader : public TFileFormatReader {
public:
    TWMFFileFormatReader();
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override;
    // Reads the rest of the stream as one metafile. A metafile that cannot be loaded leaves the
    // graphic empty; the graphic's preview flag limits the picture to 130 x 130.
    void Read(TPGStream& stream, TPixelGraphic& graphic, int index) const override;
    // Raises EMetafile ("Invalid Metafile") for a metafile that cannot be loaded.
    TGraphicInfo GetInfo(TPGStream& stream, int index) const override;

    bool Enhanced() const { return Enhanced_; }

protected:
    TWMFFileFormatReader(std::string className, std::string extension, std::string description,
                         bool enhanced);

private:
    bool Enhanced_;
};

class TEMFFileFormatReader : public TWMFFileFormatReader {
public:
    TEMFFileFormatReader();
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override;
};

void RegisterMetafileFormats(TFileFormatRegistry& registry);

} // namespace pigmentaria
