#include "mesh/hash_chains.h"

#include <algorithm>
#include <cstring>

namespace {

// At least twice as many buckets as items, a power of two.
std::uint32_t bucket_count(std::uint32_t capacity) {
    std::uint32_t n = 16;
    while (n < 2 * std::uint64_t{capacity}) n *= 2;
    return n;
}

}  // namespace

HashChains::HashChains(std::uint32_t capacity)
    : mask_(bucket_count(capacity) - 1),
      heads_(new std::uint32_t[mask_ + std::size_t{1}]),
      links_(new std::uint32_t[std::max<std::uint32_t>(capacity, 1)]) {
    clear();
}

// Every head byte set to 0xFF is every head at `end`: one memset, which beats
// an element loop on the big edge tables cleared by every finalize.
static_assert(HashChains::end == 0xFFFFFFFFu);

void HashChains::clear() { std::memset(heads_.get(), 0xFF, (mask_ + std::size_t{1}) * sizeof heads_[0]); }

void HashChains::file(std::uint64_t key, std::uint32_t item) {
    std::uint32_t& head = heads_[bucket(key)];
    links_[item] = head;
    head = item;
}

std::uint32_t HashChains::bucket(std::uint64_t key) const {
    // Mixes every key bit into the low bits, so grid-aligned keys spread out.
    key ^= key >> 31;
    key *= 0xBF58476D1CE4E5B9u;
    key ^= key >> 29;
    key *= 0x94D049BB133111EBu;
    key ^= key >> 32;
    return static_cast<std::uint32_t>(key) & mask_;
}
