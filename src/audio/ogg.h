// Ogg pages and packets: the container around the Vorbis stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace audio {

struct OggPage {
    std::size_t offset = 0;       // of the capture pattern "OggS"
    std::size_t body_offset = 0;  // of the first data byte
    std::uint32_t body_size = 0;
    std::int64_t granule = -1;
    std::uint32_t serial = 0;
    std::uint32_t sequence = 0;
    std::uint8_t flags = 0;       // ogg_continued | ogg_first | ogg_last
    std::uint8_t segments = 0;
    // Index of the last segment that ends a packet, -1 when none does.
    std::int16_t last_packet_end = -1;
};

enum : std::uint8_t { ogg_continued = 1, ogg_first = 2, ogg_last = 4 };

// Parses the page at `offset`; false when it is not a whole, intact page
// (capture pattern, version, size and checksum are all checked).
bool ogg_parse_page(const std::uint8_t* data, std::size_t size, std::size_t offset, OggPage* page);

// Every intact page of the first logical stream, in file order, up to and
// including its last page. Damaged bytes are skipped up to the next page.
std::vector<OggPage> ogg_scan_pages(const std::uint8_t* data, std::size_t size);

struct OggPacket {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    // The page's granule position when this is the last packet finished on
    // that page, else -1.
    std::int64_t granule = -1;
    bool last_in_stream = false;  // finished last on the stream's final page
    int page = 0;                 // where the packet starts
    int segment = 0;
};

// Joins the segments of a page list back into packets. A packet whose pages
// are not all there (a damaged page was skipped) is dropped whole.
class OggPacketReader {
public:
    OggPacketReader(const std::uint8_t* data, const std::vector<OggPage>* pages);

    // Continues with the packet that starts at this page and segment.
    void restart(int page, int segment);

    // The next whole packet; false once the pages are used up. The data stays
    // valid until the next call.
    bool next(OggPacket* packet);

private:
    bool enter_next_page();
    void append(const std::uint8_t* bytes, std::size_t count);

    const std::uint8_t* data_;
    const std::vector<OggPage>* pages_;
    int page_ = 0;
    int segment_ = 0;
    std::size_t body_pos_ = 0;
    bool in_packet_ = false;
    bool discarding_ = false;
    bool copying_ = false;
    const std::uint8_t* start_ = nullptr;
    std::size_t length_ = 0;
    OggPacket current_;
    std::vector<std::uint8_t> joined_;
};

}  // namespace audio
