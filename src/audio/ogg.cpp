#include "audio/ogg.h"

#include <cstring>

namespace audio {

namespace {

constexpr std::size_t header_size = 27;

struct CrcTable {
    std::uint32_t entry[256];
    constexpr CrcTable() : entry() {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = i << 24;
            for (int bit = 0; bit < 8; ++bit) r = (r & 0x80000000u) ? (r << 1) ^ 0x04c11db7u : r << 1;
            entry[i] = r;
        }
    }
};

constexpr CrcTable crc_table;

std::uint32_t crc_update(std::uint32_t crc, const std::uint8_t* bytes, std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) crc = (crc << 8) ^ crc_table.entry[((crc >> 24) ^ bytes[i]) & 0xff];
    return crc;
}

std::uint32_t read_u32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::int64_t read_i64(const std::uint8_t* p) {
    std::uint64_t low = read_u32(p), high = read_u32(p + 4);
    return static_cast<std::int64_t>(low | high << 32);
}

// The page checksum is taken with its own four bytes read as zero.
std::uint32_t page_crc(const std::uint8_t* page, std::size_t length) {
    static const std::uint8_t zero[4] = {0, 0, 0, 0};
    std::uint32_t crc = crc_update(0, page, 22);
    crc = crc_update(crc, zero, 4);
    return crc_update(crc, page + 26, length - 26);
}

}  // namespace

bool ogg_parse_page(const std::uint8_t* data, std::size_t size, std::size_t offset, OggPage* page) {
    if (offset > size || size - offset < header_size) return false;
    const std::uint8_t* p = data + offset;
    if (std::memcmp(p, "OggS", 4) != 0 || p[4] != 0) return false;
    std::uint8_t segments = p[26];
    if (size - offset < header_size + segments) return false;
    std::size_t body = 0;
    std::int16_t last_end = -1;
    for (int i = 0; i < segments; ++i) {
        body += p[header_size + i];
        if (p[header_size + i] < 255) last_end = static_cast<std::int16_t>(i);
    }
    std::size_t length = header_size + segments + body;
    if (size - offset < length) return false;
    if (page_crc(p, length) != read_u32(p + 22)) return false;
    page->offset = offset;
    page->body_offset = offset + header_size + segments;
    page->body_size = static_cast<std::uint32_t>(body);
    page->granule = read_i64(p + 6);
    page->serial = read_u32(p + 14);
    page->sequence = read_u32(p + 18);
    page->flags = p[5];
    page->segments = segments;
    page->last_packet_end = last_end;
    return true;
}

std::vector<OggPage> ogg_scan_pages(const std::uint8_t* data, std::size_t size) {
    std::vector<OggPage> pages;
    std::size_t offset = 0;
    while (offset < size) {
        OggPage page;
        if (!ogg_parse_page(data, size, offset, &page)) {
            ++offset;
            continue;
        }
        offset = page.body_offset + page.body_size;
        if (!pages.empty() && page.serial != pages.front().serial) continue;
        pages.push_back(page);
        if (page.flags & ogg_last) break;
    }
    return pages;
}

OggPacketReader::OggPacketReader(const std::uint8_t* data, const std::vector<OggPage>* pages)
    : data_(data), pages_(pages) {
    joined_.reserve(1 << 16);
    restart(0, 0);
}

void OggPacketReader::restart(int page, int segment) {
    page_ = page;
    segment_ = segment;
    body_pos_ = 0;
    in_packet_ = false;
    discarding_ = false;
    if (page_ >= static_cast<int>(pages_->size())) return;
    const OggPage& p = (*pages_)[page_];
    const std::uint8_t* lacing = data_ + p.offset + 27;
    for (int i = 0; i < segment && i < p.segments; ++i) body_pos_ += lacing[i];
    // A packet carried over from the page before cannot be finished here.
    discarding_ = segment == 0 && (p.flags & ogg_continued);
}

void OggPacketReader::append(const std::uint8_t* bytes, std::size_t count) {
    if (copying_) joined_.insert(joined_.end(), bytes, bytes + count);
    else length_ += count;
}

// Moves to the following page. A packet in progress survives only when that
// page continues it and directly follows in sequence.
bool OggPacketReader::enter_next_page() {
    std::uint32_t sequence = (*pages_)[page_].sequence;
    ++page_;
    segment_ = 0;
    body_pos_ = 0;
    if (page_ >= static_cast<int>(pages_->size())) return false;
    const OggPage& p = (*pages_)[page_];
    bool continues = (p.flags & ogg_continued) && p.sequence == sequence + 1;
    if (in_packet_ && !continues) in_packet_ = false;
    if (in_packet_ && !copying_) {
        joined_.assign(start_, start_ + length_);
        copying_ = true;
    }
    discarding_ = !in_packet_ && (p.flags & ogg_continued);
    return true;
}

bool OggPacketReader::next(OggPacket* packet) {
    while (page_ < static_cast<int>(pages_->size())) {
        const OggPage& p = (*pages_)[page_];
        const std::uint8_t* lacing = data_ + p.offset + 27;
        const std::uint8_t* body = data_ + p.body_offset;
        while (segment_ < p.segments) {
            int lace = lacing[segment_];
            if (!in_packet_ && !discarding_) {
                in_packet_ = true;
                copying_ = false;
                start_ = body + body_pos_;
                length_ = 0;
                current_ = OggPacket{};
                current_.page = page_;
                current_.segment = segment_;
            }
            if (in_packet_) append(body + body_pos_, lace);
            body_pos_ += lace;
            int finished_segment = segment_++;
            if (lace == 255) continue;
            if (discarding_) {
                discarding_ = false;
                continue;
            }
            in_packet_ = false;
            bool last_on_page = finished_segment == p.last_packet_end;
            current_.data = copying_ ? joined_.data() : start_;
            current_.size = copying_ ? joined_.size() : length_;
            current_.granule = last_on_page ? p.granule : -1;
            current_.last_in_stream = last_on_page && (p.flags & ogg_last);
            *packet = current_;
            return true;
        }
        if (!enter_next_page()) break;
    }
    in_packet_ = false;
    return false;
}

}  // namespace audio
