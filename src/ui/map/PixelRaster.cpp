#include "ui/map/PixelRaster.h"

#include <algorithm>
#include <cmath>

namespace uzuviv {

namespace {

// Rounding down and up without a library call; the values lie within the int range.
int Down(double v)
{
    const int i = static_cast<int>(v);
    return i - (v < i ? 1 : 0);
}

int Up(double v)
{
    const int i = static_cast<int>(v);
    return i + (v > i ? 1 : 0);
}

// The pixels of a row whose centres lie between `first` and `last`, or else the one that holds
// `at`, clipped to the row; the bounds may lie far outside it.
inline void Span(std::uint32_t* row, int width, double first, double last, double at, std::uint32_t pixel)
{
    const double edge = width + 1.0;
    int from = Up(std::clamp(first - 0.5, -2.0, edge)), to = Down(std::clamp(last - 0.5, -2.0, edge));
    if (from > to)
        from = to = Down(std::clamp(at, -2.0, edge));
    from = std::max(from, 0);
    to = std::min(to, width - 1);
    for (int column = from; column <= to; ++column)
        row[column] = pixel;
}

} // namespace

void StrokeCircle(const PixelRows& rows, double x, double y, double radius, std::uint32_t pixel)
{
    if (!(radius > 0) || !std::isfinite(radius) || !std::isfinite(x) || !std::isfinite(y))
        return;
    const double firstRow = std::max(0.0, std::floor(y - radius));
    const double lastRow = std::min(rows.Height - 1.0, std::floor(y + radius));
    if (firstRow > lastRow)
        return;
    const double square = radius * radius;
    // Half the width of the circle at the middle of `row`; negative where it misses the row.
    const auto half = [&](double row) {
        const double d = row + 0.5 - y;
        return d * d <= square ? std::sqrt(square - d * d) : -1.0;
    };
    double previous = half(firstRow - 1), current = half(firstRow);
    for (auto row = static_cast<int>(firstRow); row <= static_cast<int>(lastRow); ++row) {
        const double next = half(row + 1.0);
        if (current >= 0) {
            // The rim runs halfway to where it crosses the rows above and below, so it stays
            // one pixel thin and joined; beside a row it misses, it closes across the top.
            const double up = previous >= 0 ? (current + previous) / 2 : 0;
            const double down = next >= 0 ? (current + next) / 2 : 0;
            const double inner = std::min({current, up, down}), outer = std::max({current, up, down});
            std::uint32_t* line = rows.Bits + static_cast<std::ptrdiff_t>(row) * rows.Stride;
            Span(line, rows.Width, x - outer, x - inner, x - current, pixel);
            Span(line, rows.Width, x + inner, x + outer, x + current, pixel);
        }
        previous = current;
        current = next;
    }
}

void FillRect(const PixelRows& rows, int left, int top, int width, int height, std::uint32_t pixel)
{
    const int right = std::min(rows.Width, left + width), bottom = std::min(rows.Height, top + height);
    left = std::max(0, left);
    for (int row = std::max(0, top); row < bottom && left < right; ++row) {
        std::uint32_t* line = rows.Bits + static_cast<std::ptrdiff_t>(row) * rows.Stride;
        std::fill(line + left, line + right, pixel);
    }
}

void DiscTints::Begin(int width, int height, const std::array<std::uint32_t, Colours>& tints)
{
    width = std::max(0, width);
    height = std::max(0, height);
    if (width != width_ || height != height_) {
        width_ = width;
        height_ = height;
        steps_.assign(static_cast<std::size_t>(width_ + 1) * height_, 0);
        used_.assign(height_, 0);
    }
    for (int row = 0; row < height_; ++row)
        if (used_[row] != 0) {
            std::fill_n(steps_.begin() + static_cast<std::ptrdiff_t>(row) * (width_ + 1), width_ + 1, 0);
            used_[row] = 0;
        }
    tints_ = tints;
    for (int colour = 0; colour < Colours; ++colour)
        for (int times = 0; times < 256; ++times)
            opacity_[colour][times] = static_cast<float>(1 - std::pow(1 - (tints[colour] >> 24) / 255.0, times));
    blends_.assign(1024, {0, 0});
}

void DiscTints::Add(double x, double y, double radius, int colour)
{
    if (!(radius > 0) || !std::isfinite(radius) || !std::isfinite(x) || !std::isfinite(y) || colour < 0 ||
        colour >= Colours)
        return;
    // Counts are 16 bits wide: one added at `from` and taken at `to` leaves the others alone
    // because within a row every count that is added is taken again further right.
    const std::uint64_t one = std::uint64_t{1} << (16 * colour);
    const double firstRow = std::max(0.0, std::ceil(y - radius - 0.5));
    const double lastRow = std::min(height_ - 1.0, std::floor(y + radius - 0.5));
    for (auto row = static_cast<int>(firstRow); row <= static_cast<int>(lastRow); ++row) {
        const double d = row + 0.5 - y;
        const double half = std::sqrt(std::max(0.0, radius * radius - d * d));
        const double from = std::clamp(std::ceil(x - half - 0.5), 0.0, static_cast<double>(width_));
        const double to = std::clamp(std::floor(x + half - 0.5) + 1, 0.0, static_cast<double>(width_));
        if (from >= to)
            continue;
        std::uint64_t* steps = steps_.data() + static_cast<std::ptrdiff_t>(row) * (width_ + 1);
        used_[row] = 1;
        steps[static_cast<int>(from)] += one;
        steps[static_cast<int>(to)] -= one;
    }
}

std::uint32_t DiscTints::Blend(std::uint64_t counts) const
{
    auto& known = blends_[(counts * 0x9E3779B97F4A7C15ULL) >> 54];
    if (known.first == counts)
        return known.second;
    float a = 0, r = 0, g = 0, b = 0;   // premultiplied, 0..1
    for (int colour = 0; colour < Colours; ++colour) {
        const auto times = static_cast<int>((counts >> (16 * colour)) & 0xFFFF);
        if (times == 0)
            continue;
        const std::uint32_t tint = tints_[colour];
        const float alpha = opacity_[colour][std::min(times, 255)];
        const float keep = 1 - alpha;
        a = alpha + a * keep;
        r = alpha * ((tint >> 16) & 0xFF) / 255.0f + r * keep;
        g = alpha * ((tint >> 8) & 0xFF) / 255.0f + g * keep;
        b = alpha * (tint & 0xFF) / 255.0f + b * keep;
    }
    const auto byte = [](float v) { return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255)); };
    known = {counts, byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b)};
    return known.second;
}

std::pair<int, int> DiscTints::Paint(const PixelRows& rows) const
{
    const int width = std::min(width_, rows.Width), height = std::min(height_, rows.Height);
    int first = 0, last = height - 1;
    while (first < height && used_[first] == 0)
        ++first;
    while (last >= first && used_[last] == 0)
        --last;
    for (int row = first; row <= last; ++row) {
        std::uint32_t* line = rows.Bits + static_cast<std::ptrdiff_t>(row) * rows.Stride;
        if (used_[row] == 0) {
            std::fill_n(line, width, 0);
            continue;
        }
        const std::uint64_t* steps = steps_.data() + static_cast<std::ptrdiff_t>(row) * (width_ + 1);
        std::uint64_t counts = 0;
        std::uint32_t pixel = 0;
        int start = 0;
        for (int column = 0; column <= width; ++column) {
            if (column < width && steps[column] == 0)
                continue;
            std::fill(line + start, line + column, pixel);
            if (column == width)
                break;
            counts += steps[column];
            pixel = counts == 0 ? 0 : Blend(counts);
            start = column;
        }
    }
    return {first, last};
}

} // namespace uzuviv
