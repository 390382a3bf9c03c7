// Playing a metafile onto a raster through the device context of metafile_playback.h.
#include "image/metafile_playback.h"

namespace pigmentaria {

void PlayMetafile(const TLoadedMetafile& metafile, TRaster24& target,
                  const std::function<bool()>& onRecord) {
    if (target.Empty() || metafile.Data.empty()) return;
    metafile_playback::TPlayer(metafile, target, onRecord).Play();
}

} // namespace pigmentaria
