#include "ui/map/PixelRaster.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <numbers>
#include <vector>

namespace uzuviv {
namespace {

// A 64 x 48 picture inside a larger block, so a write beside it shows in the margin.
struct Canvas {
    static constexpr int Width = 64, Height = 48, Margin = 8, Stride = Width + 2 * Margin;
    std::vector<std::uint32_t> block = std::vector<std::uint32_t>(Stride * (Height + 2 * Margin), 0);
    PixelRows Rows() { return {block.data() + Margin * Stride + Margin, Stride, Width, Height}; }
    bool Set(int x, int y) const { return block[(y + Margin) * Stride + x + Margin] != 0; }
    int Count() const
    {
        int n = 0;
        for (std::uint32_t p : block)
            n += p != 0;
        return n;
    }
    int Inside() const
    {
        int n = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                n += Set(x, y);
        return n;
    }
};

TEST(PixelRasterTest, RimsAreThinJoinedTrueToSizeAndClipped)
{
    const struct {
        const char* name;
        double x, y, radius;
        bool anyPixel;
    } cases[] = {
        {"small, inside", 32, 24, 1.5, true},
        {"inside", 30.3, 22.7, 17.2, true},
        {"centre off the left", -10, 20, 25, true},
        {"large, across a corner", 200, 150, 240, true},
        {"covers the picture", 32, 24, 500, false},
        {"far away", 1e9, -1e9, 5e8, false},
        {"no radius", 10, 10, 0, false},
        {"not a number", std::nan(""), 10, 5, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        StrokeCircle(canvas.Rows(), c.x, c.y, c.radius, 0xFF123456);
        EXPECT_EQ(canvas.Count(), canvas.Inside());   // nothing beside the picture
        EXPECT_EQ(canvas.Inside() > 0, c.anyPixel);
        // Every pixel lies on the circle, within a pixel of it.
        for (int y = 0; y < Canvas::Height; ++y)
            for (int x = 0; x < Canvas::Width; ++x)
                if (canvas.Set(x, y)) {
                    EXPECT_NEAR(std::hypot(x + 0.5 - c.x, y + 0.5 - c.y), c.radius, 1.0) << x << "," << y;
                }
        // The circle passes nowhere more than a pixel from a written one: no gaps.
        for (int step = 0; step < 2000 && c.anyPixel; ++step) {
            const double angle = 2 * std::numbers::pi * step / 2000;
            const double px = c.x + c.radius * std::cos(angle), py = c.y + c.radius * std::sin(angle);
            const int x = static_cast<int>(std::floor(px)), y = static_cast<int>(std::floor(py));
            if (x < 1 || y < 1 || x >= Canvas::Width - 1 || y >= Canvas::Height - 1)
                continue;
            bool near = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    near = near || canvas.Set(x + dx, y + dy);
            EXPECT_TRUE(near) << px << "," << py;
        }
        // Thin: a whole circle takes about its length in pixels, not a band.
        if (c.x - c.radius > 0 && c.x + c.radius < Canvas::Width && c.y - c.radius > 0 &&
            c.y + c.radius < Canvas::Height) {
            EXPECT_LE(canvas.Inside(), 2 * std::numbers::pi * c.radius * 1.2 + 4);
        }
    }

    Canvas canvas;
    FillRect(canvas.Rows(), -3, 45, 6, 6, 0xFF00FF00);
    EXPECT_EQ(canvas.Count(), 9);   // three columns by three rows of the corner
    EXPECT_TRUE(canvas.Set(0, 47) && canvas.Set(2, 45) && !canvas.Set(3, 45));
}

TEST(PixelRasterTest, DiscTintsAddUpWhereTheyOverlap)
{
    // Half-opaque red, green, blue and white.
    const std::array<std::uint32_t, DiscTints::Colours> tints = {0x80FF0000, 0x8000FF00, 0x800000FF, 0x80FFFFFF};
    const struct Disc {
        double x, y, radius;
        int colour;
    } red = {20, 20, 3, 0}, red2 = {22, 20, 3, 0}, blue = {22, 20, 3, 2}, clipped = {-2, 46, 5, 3};
    const struct {
        const char* name;
        std::vector<Disc> discs;
        int x, y;
        std::uint32_t pixel;   // premultiplied
    } cases[] = {
        {"one disc", {red}, 20, 20, 0x80800000},
        {"a centre just inside", {red}, 22, 20, 0x80800000},
        {"a centre just outside", {red}, 23, 20, 0},
        {"two of one colour", {red, red2}, 21, 20, 0xC0C00000},
        {"the later colour over the earlier", {red, blue}, 21, 20, 0xC0400080},
        {"beside both", {red, blue}, 10, 10, 0},
        {"off the edge", {clipped}, 0, 47, 0x80808080},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Canvas canvas;
        DiscTints discs;
        discs.Begin(Canvas::Width, Canvas::Height, tints);
        for (const Disc& d : c.discs)
            discs.Add(d.x, d.y, d.radius, d.colour);
        const auto [first, last] = discs.Paint(canvas.Rows());
        EXPECT_EQ(canvas.Count(), canvas.Inside());
        EXPECT_TRUE(c.pixel == 0 || (first <= c.y && c.y <= last));
        EXPECT_EQ(canvas.block[(c.y + Canvas::Margin) * Canvas::Stride + c.x + Canvas::Margin], c.pixel);
    }
}

} // namespace
} // namespace uzuviv
