#include "demo/texture_fill.h"

#include <cstdio>

#include "demo/random.h"
#include "demo/sky_box.h"
#include "demo/texture_slots.h"
#include "image/image.h"
#include "image/png.h"
#include "image/texture.h"
#include "log/log.h"

namespace {

enum class Treatment { plain, keyed, noise, sky };

struct PixelBuffer {
    std::uint8_t* pixels;
    std::uint32_t bytes;
};

// A picture that is missing or cannot be decoded gets an 8 x 8 magenta and
// black checker, so the slot is a real texture and the gap is plain to see.
void upload_placeholder(std::uint8_t* pixels, const char* path, int slot) {
    log_print("no picture in %s, slot %i shows a checker\n", path, slot);
    std::uint8_t* p = pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x, p += 4) {
            std::uint8_t on = ((x ^ y) & 1) ? 255 : 0;
            p[0] = on, p[1] = 0, p[2] = on, p[3] = 255;
        }
    texture_create(pixels, 8, 8, slot, 0);
}

void load_slot(const PixelBuffer& buffer, const char* path, int slot, Treatment treatment) {
    // The record is cleared for every picture: a file that could not be read
    // must not be uploaded with the size of the picture before it.
    Image image{0, 0, 0, buffer.pixels, buffer.bytes};
    png_load(path, &image);
    if (image.width == 0 || image.height == 0) {
        upload_placeholder(buffer.pixels, path, slot);
        return;
    }
    std::uint32_t count = image.width * image.height;
    if (treatment == Treatment::keyed) key_green(buffer.pixels, count);
    if (treatment == Treatment::noise) red_into_alpha(buffer.pixels, count);
    texture_create(buffer.pixels, static_cast<int>(image.width), static_cast<int>(image.height), slot,
                   treatment == Treatment::sky ? 1 : 0);
}

// Each set is read front, right, left, up, down, back into the slots that
// follow its front face in the order front, back, left, right, up, down.
void load_sky_set(const PixelBuffer& buffer, int set, int first_slot) {
    const sky_box::Face order[sky_box::face_count] = {sky_box::front, sky_box::right, sky_box::left,
                                                       sky_box::up,    sky_box::down,  sky_box::back};
    for (sky_box::Face face : order) {
        char path[32];
        std::snprintf(path, sizeof path, "pool/cubemap_%i%c.png", set, sky_box::face_letters[face]);
        load_slot(buffer, path, first_slot + face, Treatment::sky);
    }
}

}  // namespace

void key_green(std::uint8_t* pixels, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i, pixels += 4) {
        bool key = pixels[0] == 0 && pixels[1] == 255 && pixels[2] == 0;
        if (key) pixels[1] = 0;
        pixels[3] = key ? 255 : 0;
    }
}

void red_into_alpha(std::uint8_t* pixels, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i, pixels += 4) pixels[3] = static_cast<std::uint8_t>(pixels[3] + pixels[0]);
}

void grain_generate(std::uint8_t* pixels) {
    rand_seed(1337);
    for (int i = 0; i < grain_size * grain_size; ++i, pixels += 4) {
        std::uint8_t alpha = static_cast<std::uint8_t>(rand_range(192, 255));
        std::uint8_t grey = static_cast<std::uint8_t>(rand_range(0, 255));
        pixels[0] = pixels[1] = pixels[2] = grey;
        pixels[3] = alpha;
    }
}

void texture_table_fill(std::uint8_t* pixels, std::uint32_t bytes) {
    const PixelBuffer buffer{pixels, bytes};
    load_slot(buffer, "pool/test.png", texture_slot::test_picture, Treatment::plain);
    load_slot(buffer, "pool/mizzle.png", texture_slot::mizzle, Treatment::plain);
    load_slot(buffer, "pool/particle.png", texture_slot::particle, Treatment::keyed);
    load_slot(buffer, "pool/tarrow.png", texture_slot::arrow, Treatment::keyed);
    grain_generate(pixels);
    texture_create(pixels, grain_size, grain_size, texture_slot::grain, 0);
    const char noise[] = "cfklmstz";
    for (int i = 0; i < texture_slot::noise_count; ++i) {
        char path[24];
        std::snprintf(path, sizeof path, "pool/noise_%c.png", noise[i]);
        load_slot(buffer, path, texture_slot::noise_first + i, Treatment::noise);
    }
    load_sky_set(buffer, 0, texture_slot::sky_0);
    load_sky_set(buffer, 1, texture_slot::sky_1);
    load_sky_set(buffer, 2, texture_slot::sky_2);
}
