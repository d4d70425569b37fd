#include "audio/vorbis_setup.h"

#include <algorithm>
#include <cstring>

namespace audio {

namespace {

bool read_signature(BitReader& bits, int type) {
    if (static_cast<int>(bits.read(8)) != type) return false;
    for (const char* c = "vorbis"; *c; ++c)
        if (bits.read(8) != static_cast<std::uint8_t>(*c)) return false;
    return true;
}

bool read_floor0(BitReader& bits, int book_count, Floor0* f) {
    f->order = static_cast<int>(bits.read(8));
    f->rate = static_cast<int>(bits.read(16));
    f->bark_map_size = static_cast<int>(bits.read(16));
    f->amplitude_bits = static_cast<int>(bits.read(6));
    f->amplitude_offset = static_cast<int>(bits.read(8));
    int books = static_cast<int>(bits.read(4)) + 1;
    for (int i = 0; i < books; ++i) {
        int book = static_cast<int>(bits.read(8));
        if (book >= book_count) return false;
        f->books.push_back(static_cast<std::uint8_t>(book));
    }
    return f->order > 0 && f->rate > 0 && f->bark_map_size > 0;
}

void floor1_derive(Floor1* f) {
    for (int i = 0; i < f->values; ++i) f->sorted[i] = static_cast<std::uint8_t>(i);
    std::sort(f->sorted, f->sorted + f->values, [f](std::uint8_t a, std::uint8_t b) { return f->x[a] < f->x[b]; });
    for (int i = 2; i < f->values; ++i) {
        int low = 0, high = 1, low_x = -1, high_x = 1 << 17;
        for (int j = 0; j < i; ++j) {
            if (f->x[j] < f->x[i] && f->x[j] > low_x) low = j, low_x = f->x[j];
            if (f->x[j] > f->x[i] && f->x[j] < high_x) high = j, high_x = f->x[j];
        }
        f->low_neighbor[i] = static_cast<std::uint8_t>(low);
        f->high_neighbor[i] = static_cast<std::uint8_t>(high);
    }
}

bool read_floor1(BitReader& bits, int book_count, Floor1* f) {
    f->partitions = static_cast<int>(bits.read(5));
    int max_class = -1;
    for (int i = 0; i < f->partitions; ++i) {
        f->partition_class[i] = static_cast<std::uint8_t>(bits.read(4));
        max_class = std::max(max_class, static_cast<int>(f->partition_class[i]));
    }
    for (int c = 0; c <= max_class; ++c) {
        f->class_dimensions[c] = static_cast<std::uint8_t>(bits.read(3) + 1);
        f->class_subclasses[c] = static_cast<std::uint8_t>(bits.read(2));
        if (f->class_subclasses[c]) {
            f->class_masterbook[c] = static_cast<std::uint8_t>(bits.read(8));
            if (f->class_masterbook[c] >= book_count) return false;
        }
        for (int j = 0; j < (1 << f->class_subclasses[c]); ++j) {
            int book = static_cast<int>(bits.read(8)) - 1;
            if (book >= book_count) return false;
            f->subclass_books[c][j] = static_cast<std::int16_t>(book);
        }
    }
    f->multiplier = static_cast<int>(bits.read(2)) + 1;
    int range_bits = static_cast<int>(bits.read(4));
    f->x[0] = 0;
    f->x[1] = static_cast<std::uint16_t>(1 << range_bits);
    f->values = 2;
    for (int i = 0; i < f->partitions; ++i) {
        int dims = f->class_dimensions[f->partition_class[i]];
        if (f->values + dims > floor1_max_values) return false;
        for (int j = 0; j < dims; ++j) f->x[f->values++] = static_cast<std::uint16_t>(bits.read(range_bits));
    }
    // Two points at one x would make a zero-width line segment.
    for (int i = 0; i < f->values; ++i)
        for (int j = i + 1; j < f->values; ++j)
            if (f->x[i] == f->x[j]) return false;
    floor1_derive(f);
    return true;
}

bool read_floors(BitReader& bits, VorbisSetup* s) {
    int count = static_cast<int>(bits.read(6)) + 1;
    s->floors.resize(static_cast<std::size_t>(count));
    for (Floor& f : s->floors) {
        f.type = static_cast<int>(bits.read(16));
        int books = static_cast<int>(s->books.size());
        if (f.type == 0 && !read_floor0(bits, books, &f.floor0)) return false;
        if (f.type == 1 && !read_floor1(bits, books, &f.floor1)) return false;
        if (f.type > 1) return false;
    }
    return !bits.at_end();
}

bool read_residue(BitReader& bits, const VorbisSetup& s, Residue* r) {
    r->type = static_cast<int>(bits.read(16));
    if (r->type > 2) return false;
    r->begin = bits.read(24);
    r->end = bits.read(24);
    r->partition_size = bits.read(24) + 1;
    r->classifications = static_cast<int>(bits.read(6)) + 1;
    r->classbook = static_cast<int>(bits.read(8));
    if (r->classbook >= static_cast<int>(s.books.size())) return false;
    std::uint8_t cascade[64];
    for (int i = 0; i < r->classifications; ++i) {
        int low = static_cast<int>(bits.read(3));
        int high = bits.read_flag() ? static_cast<int>(bits.read(5)) : 0;
        cascade[i] = static_cast<std::uint8_t>(high << 3 | low);
    }
    for (int i = 0; i < r->classifications; ++i) {
        for (int pass = 0; pass < 8; ++pass) {
            r->books[i][pass] = -1;
            if (!(cascade[i] & (1 << pass))) continue;
            int book = static_cast<int>(bits.read(8));
            if (book >= static_cast<int>(s.books.size()) || !s.books[book].has_values()) return false;
            r->books[i][pass] = static_cast<std::int16_t>(book);
        }
    }
    // The class book's entry numbers spell out classifications in base
    // `classifications`; it must spell at least one.
    const Codebook& classbook = s.books[r->classbook];
    return classbook.dimensions() > 0;
}

bool read_residues(BitReader& bits, VorbisSetup* s) {
    int count = static_cast<int>(bits.read(6)) + 1;
    s->residues.resize(static_cast<std::size_t>(count));
    for (Residue& r : s->residues)
        if (!read_residue(bits, *s, &r)) return false;
    return !bits.at_end();
}

bool read_mapping(BitReader& bits, const VorbisSetup& s, Mapping* m) {
    if (bits.read(16) != 0) return false;
    m->submaps = bits.read_flag() ? static_cast<int>(bits.read(4)) + 1 : 1;
    if (bits.read_flag()) {
        int steps = static_cast<int>(bits.read(8)) + 1;
        int width = ilog(static_cast<std::uint32_t>(s.channels - 1));
        for (int i = 0; i < steps; ++i) {
            int magnitude = static_cast<int>(bits.read(width));
            int angle = static_cast<int>(bits.read(width));
            if (magnitude == angle || magnitude >= s.channels || angle >= s.channels) return false;
            m->magnitude.push_back(static_cast<std::uint8_t>(magnitude));
            m->angle.push_back(static_cast<std::uint8_t>(angle));
        }
    }
    if (bits.read(2) != 0) return false;
    m->mux.assign(static_cast<std::size_t>(s.channels), 0);
    if (m->submaps > 1) {
        for (auto& mux : m->mux) {
            mux = static_cast<std::uint8_t>(bits.read(4));
            if (mux >= m->submaps) return false;
        }
    }
    for (int i = 0; i < m->submaps; ++i) {
        bits.read(8);  // unused time configuration
        m->submap_floor[i] = static_cast<std::uint8_t>(bits.read(8));
        m->submap_residue[i] = static_cast<std::uint8_t>(bits.read(8));
        if (m->submap_floor[i] >= s.floors.size() || m->submap_residue[i] >= s.residues.size()) return false;
    }
    return true;
}

bool read_mappings_and_modes(BitReader& bits, VorbisSetup* s) {
    int count = static_cast<int>(bits.read(6)) + 1;
    s->mappings.resize(static_cast<std::size_t>(count));
    for (Mapping& m : s->mappings)
        if (!read_mapping(bits, *s, &m)) return false;
    count = static_cast<int>(bits.read(6)) + 1;
    s->modes.resize(static_cast<std::size_t>(count));
    for (Mode& mode : s->modes) {
        mode.long_block = bits.read_flag();
        if (bits.read(16) != 0 || bits.read(16) != 0) return false;
        mode.mapping = static_cast<int>(bits.read(8));
        if (mode.mapping >= static_cast<int>(s->mappings.size())) return false;
    }
    s->mode_bits = ilog(static_cast<std::uint32_t>(count - 1));
    return bits.read_flag() && !bits.at_end();
}

}  // namespace

bool vorbis_read_identification(const std::uint8_t* data, std::size_t size, VorbisSetup* setup) {
    BitReader bits(data, size);
    if (!read_signature(bits, 1) || bits.read(32) != 0) return false;
    setup->channels = static_cast<int>(bits.read(8));
    setup->rate = bits.read(32);
    bits.read(32), bits.read(32), bits.read(32);  // bitrate hints
    int small = static_cast<int>(bits.read(4)), large = static_cast<int>(bits.read(4));
    if (!bits.read_flag() || bits.at_end()) return false;
    if (setup->channels == 0 || setup->rate == 0 || small < 6 || large > 13 || small > large) return false;
    setup->blocksize[0] = 1 << small;
    setup->blocksize[1] = 1 << large;
    return true;
}

bool vorbis_check_comment(const std::uint8_t* data, std::size_t size) {
    BitReader bits(data, size);
    return read_signature(bits, 3);
}

bool vorbis_read_setup(const std::uint8_t* data, std::size_t size, VorbisSetup* setup) {
    BitReader bits(data, size);
    if (!read_signature(bits, 5)) return false;
    int books = static_cast<int>(bits.read(8)) + 1;
    setup->books.resize(static_cast<std::size_t>(books));
    for (Codebook& book : setup->books)
        if (!book.read(bits)) return false;
    int times = static_cast<int>(bits.read(6)) + 1;
    for (int i = 0; i < times; ++i)
        if (bits.read(16) != 0) return false;
    return read_floors(bits, setup) && read_residues(bits, setup) && read_mappings_and_modes(bits, setup);
}

int vorbis_packet_block(const VorbisSetup& setup, const std::uint8_t* data, std::size_t size) {
    BitReader bits(data, size);
    if (bits.read_flag() || bits.at_end()) return -1;
    std::uint32_t mode = bits.read(setup.mode_bits);
    if (bits.at_end() || mode >= setup.modes.size()) return -1;
    return setup.modes[mode].long_block ? 1 : 0;
}

}  // namespace audio
