#include "audio/residue.h"

#include <algorithm>

namespace audio {

namespace {

// Type 0: the vector's values are spread over the partition with a stride.
bool decode_interleaved(const Codebook& book, BitReader& bits, float* v, int size) {
    int dims = book.dimensions();
    int step = size / dims;
    for (int j = 0; j < step; ++j) {
        int entry = book.decode(bits);
        if (entry < 0) return false;
        const float* values = book.vector(entry);
        for (int d = 0; d < dims; ++d) v[j + d * step] += values[d];
    }
    return true;
}

// Types 1 and 2: the vector's values follow each other.
bool decode_sequential(const Codebook& book, BitReader& bits, float* v, int size) {
    int dims = book.dimensions();
    for (int i = 0; i < size;) {
        int entry = book.decode(bits);
        if (entry < 0) return false;
        const float* values = book.vector(entry);
        for (int d = 0; d < dims && i < size; ++d) v[i++] += values[d];
    }
    return true;
}

// Decodes `channels` vectors of `size` floats in the layout of residue
// types 0 and 1.
void decode_vectors(const Residue& r, const std::vector<Codebook>& books, BitReader& bits, float* const* vectors,
                    const bool* skip, int channels, int size, bool interleaved, ResidueScratch* scratch) {
    const Codebook& classbook = books[r.classbook];
    std::uint32_t begin = std::min(r.begin, static_cast<std::uint32_t>(size));
    std::uint32_t end = std::min(r.end, static_cast<std::uint32_t>(size));
    if (end <= begin) return;
    int psize = static_cast<int>(r.partition_size);
    int partitions = static_cast<int>((end - begin) / r.partition_size);
    int per_word = classbook.dimensions();
    int stride = partitions + per_word;
    // Class words beyond classifications^per_word spell no valid classes.
    long long words = 1;
    for (int i = 0; i < per_word && words <= classbook.entries(); ++i) words *= r.classifications;
    scratch->classes.assign(static_cast<std::size_t>(stride) * channels, 0);
    for (int pass = 0; pass < 8; ++pass) {
        for (int p = 0; p < partitions;) {
            if (pass == 0) {
                for (int ch = 0; ch < channels; ++ch) {
                    if (skip[ch]) continue;
                    int word = classbook.decode(bits);
                    if (word < 0 || word >= words) return;
                    std::uint8_t* cls = &scratch->classes[static_cast<std::size_t>(ch) * stride + p];
                    for (int i = per_word - 1; i >= 0; --i) {
                        cls[i] = static_cast<std::uint8_t>(word % r.classifications);
                        word /= r.classifications;
                    }
                }
            }
            for (int i = 0; i < per_word && p < partitions; ++i, ++p) {
                for (int ch = 0; ch < channels; ++ch) {
                    if (skip[ch]) continue;
                    int cls = scratch->classes[static_cast<std::size_t>(ch) * stride + p];
                    int book = r.books[cls][pass];
                    if (book < 0) continue;
                    float* v = vectors[ch] + begin + p * psize;
                    bool ok = interleaved ? decode_interleaved(books[book], bits, v, psize)
                                          : decode_sequential(books[book], bits, v, psize);
                    if (!ok) return;
                }
            }
        }
    }
}

}  // namespace

void residue_decode(const Residue& residue, const std::vector<Codebook>& books, BitReader& bits,
                    float* const* vectors, const bool* skip, int channels, int n, ResidueScratch* scratch) {
    if (residue.type != 2) {
        decode_vectors(residue, books, bits, vectors, skip, channels, n, residue.type == 0, scratch);
        return;
    }
    // Type 2 codes all channels as one vector, interleaved sample by sample.
    if (std::all_of(skip, skip + channels, [](bool s) { return s; })) return;
    int total = n * channels;
    scratch->interleaved.assign(static_cast<std::size_t>(total), 0.0f);
    float* joined = scratch->interleaved.data();
    bool no_skip = false;
    decode_vectors(residue, books, bits, &joined, &no_skip, 1, total, false, scratch);
    for (int i = 0; i < n; ++i)
        for (int ch = 0; ch < channels; ++ch) vectors[ch][i] += joined[i * channels + ch];
}

}  // namespace audio
