#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace uzuviv {

// 32-bit pixels written directly: drawing thousands of thin circles through the painter costs
// a path per circle, here a square root per row.
struct PixelRows {
    std::uint32_t* Bits = nullptr;
    int Stride = 0;   // pixels from one row to the next
    int Width = 0;
    int Height = 0;
};

// The rim of the circle of `radius` pixels around (x, y), one pixel wide and unsmoothed: every
// pixel that the circle passes through, none other; only the part inside the rows is written.
void StrokeCircle(const PixelRows& rows, double x, double y, double radius, std::uint32_t pixel);

// The pixels of the rectangle, clipped to the rows.
void FillRect(const PixelRows& rows, int left, int top, int width, int height, std::uint32_t pixel);

// Translucent discs laid over one another in a few colours. Each disc tints the pixels whose
// centres it holds; where discs overlap, the tints add up as if each had been laid in turn, the
// colours in the order given. What it costs grows with the rows the discs span, not with their
// area, so hundreds of discs as large as the view stay cheap.
class DiscTints {
public:
    static constexpr int Colours = 4;

    // `tints`: the colours as 0xAARRGGBB, not premultiplied.
    void Begin(int width, int height, const std::array<std::uint32_t, Colours>& tints);
    void Add(double x, double y, double radius, int colour);
    // The rows of `rows` (of the size begun with) from the first to the last that a disc
    // reaches, premultiplied, untinted pixels transparent; the others are left as they are.
    // Returns those two rows (the first after the last when there are none).
    std::pair<int, int> Paint(const PixelRows& rows) const;

private:
    // The tint of `counts` discs of each colour.
    std::uint32_t Blend(std::uint64_t counts) const;

    int width_ = 0, height_ = 0;
    std::array<std::uint32_t, Colours> tints_{};
    // The opacity of 0..255 discs of each colour laid over one another.
    std::array<std::array<float, 256>, Colours> opacity_{};
    // Blends already worked out, by their counts: a frame holds few different ones.
    mutable std::vector<std::pair<std::uint64_t, std::uint32_t>> blends_;
    // Per row, one column more than the width: four 16-bit counts per column of discs that
    // begin (added) or end (taken) there.
    std::vector<std::uint64_t> steps_;
    // The rows that a disc reaches: only those are cleared again and painted.
    std::vector<std::uint8_t> used_;
};

} // namespace uzuviv
