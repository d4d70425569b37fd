// PNG decoding of arbitrary bytes with the texture loader's 4 MiB room.
#include <cstdint>
#include <cstdlib>

#include "image/png.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    PngInfo info;
    PngBuffer rgba{nullptr, 0};
    unsigned result = png_decode(data, static_cast<std::int32_t>(size), &info, &rgba, 4u << 20);
    if (result == 0 && rgba.size != std::uint64_t{info.width} * info.height * 4) std::abort();
    if (result != 0 && rgba.data) std::abort();
    png_buffer_free(&rgba);
    return 0;
}
