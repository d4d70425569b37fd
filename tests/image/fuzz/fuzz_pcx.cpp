// PCX decoding of arbitrary bytes into an icon-sized buffer.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "image/pcx.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::uint8_t> pixels(16384);
    Image image{0, 0, 0, pixels.data(), static_cast<std::uint32_t>(pixels.size())};
    int result = pcx_decode(data, &image, static_cast<std::int32_t>(size));
    if (result == 0 && std::uint64_t{image.width} * image.height * 4 > pixels.size()) std::abort();
    if (result != 0 && (image.width || image.height)) std::abort();
    return 0;
}
