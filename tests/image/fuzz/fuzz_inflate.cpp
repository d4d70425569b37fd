// Inflate of arbitrary bytes: never outside its buffers, and whatever zlib
// decodes within the same room must come out identical.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/inflate.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    // The first two bytes choose the output room (up to 256 KiB).
    std::uint32_t capacity = (std::uint32_t{data[0]} << 8 | data[1]) * 4;
    data += 2, size -= 2;
    std::vector<std::uint8_t> ours(capacity), theirs(capacity + 1);
    unsigned result = zlib_decode(ours.data(), data, capacity, static_cast<std::uint32_t>(size));
    if (result != 0 && (result < 10 || result > 26)) std::abort();
    uLongf produced = static_cast<uLongf>(theirs.size());
    if (uncompress(theirs.data(), &produced, data, static_cast<uLong>(size)) == Z_OK && produced <= capacity) {
        if (result != 0 || std::memcmp(ours.data(), theirs.data(), produced) != 0) std::abort();
    }
    return 0;
}
