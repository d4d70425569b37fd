// Start-up cost of our decoders next to zlib and libpng on 512 x 512 RGBA
// textures. Not a test: run it by hand from an optimised build.
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "image/inflate.h"
#include "image/png.h"
#include "png_corpus.h"

namespace {

constexpr std::uint32_t side = 512;

// Smooth shapes, lighting gradients and sensor-like noise: compresses about
// as poorly as a photograph does.
test_image::PngPicture photographic(unsigned seed) {
    test_image::PngPicture picture = test_image::png_random(side, side, test_image::png_rgba, 8, false, seed);
    std::mt19937 rng(seed);
    std::normal_distribution<double> noise(0.0, 6.0);
    for (std::uint32_t y = 0; y < side; ++y)
        for (std::uint32_t x = 0; x < side; ++x)
            for (int c = 0; c < 4; ++c) {
                double v = c == 3 ? 255.0
                                  : 128 + 60 * std::sin(x * 0.013 * (c + 1) + y * 0.007) + 40 * std::cos(y * 0.021 - x * 0.004 * c) +
                                        noise(rng);
                picture.rows[(std::size_t{y} * side + x) * 4 + c] = static_cast<std::uint8_t>(std::clamp(v, 0.0, 255.0));
            }
    return picture;
}

// Large areas of a few colours, as in flat-shaded art and the loading picture.
test_image::PngPicture flat(unsigned seed) {
    test_image::PngPicture picture = test_image::png_random(side, side, test_image::png_rgba, 8, false, seed);
    std::mt19937 rng(seed);
    std::fill(picture.rows.begin(), picture.rows.end(), 40);
    for (int box = 0; box < 60; ++box) {
        std::uint32_t x0 = rng() % side, y0 = rng() % side, w = 8 + rng() % 120, h = 8 + rng() % 120;
        std::uint8_t colour[4] = {std::uint8_t(rng()), std::uint8_t(rng()), std::uint8_t(rng()), 255};
        for (std::uint32_t y = y0; y < std::min(side, y0 + h); ++y)
            for (std::uint32_t x = x0; x < std::min(side, x0 + w); ++x)
                std::copy(colour, colour + 4, &picture.rows[(std::size_t{y} * side + x) * 4]);
    }
    return picture;
}

template <class F>
double best_ms(F&& run, int rounds = 15) {
    double best = 1e300;
    for (int i = 0; i < rounds; ++i) {
        auto start = std::chrono::steady_clock::now();
        run();
        std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void measure(const char* name, const test_image::PngPicture& picture) {
    // Inflate alone: the image as filter-less scanlines, deflated by zlib.
    std::vector<std::uint8_t> scanlines;
    for (std::uint32_t y = 0; y < side; ++y) {
        scanlines.push_back(0);
        scanlines.insert(scanlines.end(), picture.rows.begin() + y * side * 4, picture.rows.begin() + (y + 1) * side * 4);
    }
    uLongf packed_size = compressBound(static_cast<uLong>(scanlines.size()));
    std::vector<std::uint8_t> packed(packed_size), out(scanlines.size());
    compress2(packed.data(), &packed_size, scanlines.data(), static_cast<uLong>(scanlines.size()), 6);
    double ours_inflate = best_ms([&] {
        if (zlib_decode(out.data(), packed.data(), static_cast<std::uint32_t>(out.size()), static_cast<std::uint32_t>(packed_size)))
            std::puts("inflate failed");
    });
    double zlib_inflate = best_ms([&] {
        uLongf size = static_cast<uLongf>(out.size());
        uncompress(out.data(), &size, packed.data(), packed_size);
    });

    std::string file = test_image::png_encode(picture);
    double ours_png = best_ms([&] {
        PngInfo info;
        PngBuffer rgba{nullptr, 0};
        if (png_decode(reinterpret_cast<const std::uint8_t*>(file.data()), static_cast<std::int32_t>(file.size()), &info, &rgba, 4u << 20))
            std::puts("png failed");
        png_buffer_free(&rgba);
    });
    double libpng = best_ms([&] {
        std::vector<std::uint8_t> rgba;
        std::uint32_t w, h;
        test_image::png_reference(file, rgba, w, h);
    });
    std::printf("%-13s deflated %7lu B, png %7zu B | inflate ours %7.2f ms zlib %6.2f ms ratio %5.1f | "
                "png ours %7.2f ms libpng %6.2f ms ratio %5.1f\n",
                name, static_cast<unsigned long>(packed_size), file.size(), ours_inflate, zlib_inflate,
                ours_inflate / zlib_inflate, ours_png, libpng, ours_png / libpng);
}

}  // namespace

int main() {
    measure("photographic", photographic(1));
    measure("flat", flat(2));
    return 0;
}
