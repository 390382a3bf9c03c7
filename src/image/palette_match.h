#pragma once
// Palette matching and dithering: the standard palettes and their recognition, the fixed
// 252-colour table, serpentine error diffusion, and the palette optimiser.
#include "image/pixel_graphic.h"

#include <array>
#include <cstdint>
#include <vector>

namespace pigmentaria {

// The 16 Windows colours in their palette order: black, maroon, green, olive, navy, purple,
// teal, silver, gray, red, lime, yellow, blue, fuchsia, aqua, white.
const std::array<TColor, 16>& SystemColors16();

// Our fixed 252-colour table: the 16 Windows colours, then 236 colours whose channels take the
// levels 0, 32, 64, ..., 224, 255, each chosen as far as possible from those before it.
const std::array<TColor, 252>& Special252Table();

// The palette a standard identity stands for (empty for pNone, pTrueColor and the requests).
std::vector<TColor> StandardPalette(TPaletteIdent ident);

// The identity of a palette; `gray` is set when every entry is a gray.
TPaletteIdent RecognizePaletteIdent(const std::vector<TColor>& palette, bool& gray);

// Index into Special252Table of the colour's nearest entry (squared RGB distance, lowest index
// on ties), searched among the candidates of the colour's 9 x 9 x 9 grid cell.
std::uint32_t NearestSpecial252(int r, int g, int b);
// The candidate run of a grid cell (cell = red cell * 81 + green cell * 9 + blue cell, each
// cell coordinate (channel + 16) div 32): indices into Special252Table, ascending.
std::vector<std::uint8_t> Special252Candidates(int cell);

// The pSys16 answer through its candidate table.
std::uint32_t NearestSys16(int r, int g, int b);

// One error-diffusion pass into a palette picture: serpentine rows, 7/3/5/1 sixteenths, errors
// softened by a clamp table. The picture's pixels are written through SetPixel.
class TDitherPass {
public:
    explicit TDitherPass(TPixelGraphic& dest);
    // Call at the start of every row, before its first pixel.
    void NextRow();
    // Maps (r, g, b) plus the error carried to (x, y), writes the index and spreads the error.
    // Even rows run left to right, odd rows right to left.
    void DiffusePixel(int x, int y, int r, int g, int b);
    // The clamp table: T(e) for e in -255 .. 255.
    int Clamp(int e) const { return Table_[static_cast<std::size_t>(e + 255)]; }
    int Limit() const { return Limit_; }
    bool Soft() const { return Soft_; }
    // Builds the clamp table of limit L with or without the soft knee.
    static std::array<int, 511> ClampTable(int limit, bool soft);

private:
    TPixelGraphic& Dest_;
    int Limit_ = 32;
    bool Soft_ = true;
    bool GrayPalette_ = false;
    std::array<int, 511> Table_{};
    // T(sum / 16 rounded) for every error sum a pixel can collect.
    static constexpr int kMaxSum = 16 * 255 + 15;
    std::vector<int> SumTable_;
    int ErrorOf(int sum) const {
        sum = sum < -kMaxSum ? -kMaxSum : (sum > kMaxSum ? kMaxSum : sum);
        return SumTable_[static_cast<std::size_t>(sum + kMaxSum)];
    }
    // Three sums (r, g, b) a pixel, one spare pixel at each end; sums are 16 times the error.
    std::vector<int> Current_, Next_;
};

// Chooses a palette of at most n colours for `source` into `dest` (pixels untouched): a box cut of
// a colour histogram for 24-bit sources, an octree for palette sources. With system colours the
// optimiser picks n - 16 and the 16 Windows colours follow.
void OptimizePalette(TPixelGraphic& dest, const TPixelGraphic& source, int n,
                     bool withSystemColors);

} // namespace pigmentaria
