// Items numbered 0..capacity-1 filed under 64-bit keys: each bucket is a chain
// threaded through a per-item link, newest item first. Storage is fixed at
// construction; filing never allocates. Callers compare the items they walk
// against their own data, since different keys can share a bucket.
#pragma once

#include <cstdint>
#include <memory>

class HashChains {
public:
    static constexpr std::uint32_t end = 0xFFFFFFFFu;

    explicit HashChains(std::uint32_t capacity);

    void clear();
    // `item` must be below the capacity and filed at most once per clear.
    void file(std::uint64_t key, std::uint32_t item);
    std::uint32_t first(std::uint64_t key) const { return heads_[bucket(key)]; }
    std::uint32_t next(std::uint32_t item) const { return links_[item]; }

private:
    std::uint32_t bucket(std::uint64_t key) const;

    std::uint32_t mask_;
    std::unique_ptr<std::uint32_t[]> heads_;
    std::unique_ptr<std::uint32_t[]> links_;
};
