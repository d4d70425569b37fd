// Where start-up puts each picture in the texture table, and where the
// scripts and overlays find it again.
#pragma once

namespace texture_slot {

// The test picture; objects without a picture of their own show it.
constexpr int test_picture = 0;
// The loading picture, shown before the texture table is filled.
constexpr int loading_picture = 0;
// The three sky sets, six faces each from their first slot (sky_box::Face
// order), read from pool/cubemap_0 to _2.
constexpr int sky_0 = 1;
constexpr int sky_1 = 8;
constexpr int sky_2 = 16;
// The canyon's rock.
constexpr int mizzle = 7;
// The billboards' picture, green-keyed.
constexpr int particle = 14;
// The film grain generated at start-up.
constexpr int grain = 15;
// The arrow picture of the image flash, green-keyed.
constexpr int arrow = 22;
// The noise pictures, one after another.
constexpr int noise_first = 24;
constexpr int noise_count = 8;

}  // namespace texture_slot
