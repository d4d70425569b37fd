#include "audio/floor.h"

#include <cmath>
#include <cstdlib>

namespace audio {

namespace {

constexpr double pi = 3.14159265358979323846;

// Floor 1 amplitudes index a table of 256 steps of 35/64 dB, up to 0 dB.
struct InverseDbTable {
    float value[256];
    InverseDbTable() {
        for (int i = 0; i < 256; ++i) value[i] = static_cast<float>(std::exp((i - 255) * 0.546875 * 0.11512925));
    }
};

const InverseDbTable& inverse_db() {
    static const InverseDbTable table;
    return table;
}

// ------------------------------------------------------------ floor 1

bool floor1_decode(const Floor1& f, const std::vector<Codebook>& books, BitReader& bits, int* y) {
    static const int ranges[4] = {256, 128, 86, 64};
    int range_bits = ilog(static_cast<std::uint32_t>(ranges[f.multiplier - 1] - 1));
    y[0] = static_cast<int>(bits.read(range_bits));
    y[1] = static_cast<int>(bits.read(range_bits));
    int offset = 2;
    for (int i = 0; i < f.partitions; ++i) {
        int cls = f.partition_class[i];
        int dims = f.class_dimensions[cls];
        int sub_bits = f.class_subclasses[cls];
        int sub_mask = (1 << sub_bits) - 1;
        int cval = 0;
        if (sub_bits) {
            cval = books[f.class_masterbook[cls]].decode(bits);
            if (cval < 0) return false;
        }
        for (int j = 0; j < dims; ++j) {
            int book = f.subclass_books[cls][cval & sub_mask];
            cval >>= sub_bits;
            int value = 0;
            if (book >= 0) {
                value = books[book].decode(bits);
                if (value < 0) return false;
            }
            y[offset + j] = value;
        }
        offset += dims;
    }
    return !bits.at_end();
}

int render_point(int x0, int y0, int x1, int y1, int x) {
    int dy = y1 - y0;
    int adx = x1 - x0;
    int err = std::abs(dy) * (x - x0);
    int off = err / adx;
    return dy < 0 ? y0 - off : y0 + off;
}

void render_line(int x0, int y0, int x1, int y1, float* spectrum, int n) {
    const float* table = inverse_db().value;
    int dy = y1 - y0;
    int adx = x1 - x0;
    int base = dy / adx;
    int sy = dy < 0 ? base - 1 : base + 1;
    int ady = std::abs(dy) - std::abs(base) * adx;
    int y = y0, err = 0;
    int end = x1 < n ? x1 : n;
    if (x0 < end) spectrum[x0] *= table[y];
    for (int x = x0 + 1; x < end; ++x) {
        err += ady;
        if (err >= adx) {
            err -= adx;
            y += sy;
        } else {
            y += base;
        }
        spectrum[x] *= table[y];
    }
}

// Turns the coded amplitudes into final point heights; `step2` marks the
// points that start or end a line segment.
void floor1_points(const Floor1& f, const int* coded, int* final_y, bool* step2) {
    static const int ranges[4] = {256, 128, 86, 64};
    int range = ranges[f.multiplier - 1];
    final_y[0] = coded[0];
    final_y[1] = coded[1];
    step2[0] = step2[1] = true;
    for (int i = 2; i < f.values; ++i) {
        int low = f.low_neighbor[i], high = f.high_neighbor[i];
        int predicted = render_point(f.x[low], final_y[low], f.x[high], final_y[high], f.x[i]);
        int value = coded[i];
        int high_room = range - predicted;
        int low_room = predicted;
        int room = (high_room < low_room ? high_room : low_room) * 2;
        if (value == 0) {
            step2[i] = false;
            final_y[i] = predicted;
            continue;
        }
        step2[low] = step2[high] = step2[i] = true;
        if (value >= room) {
            final_y[i] = high_room > low_room ? value - low_room + predicted : predicted - value + high_room - 1;
        } else {
            final_y[i] = (value & 1) ? predicted - (value + 1) / 2 : predicted + value / 2;
        }
    }
}

// Heights scaled into the table; damaged streams may point outside it.
int table_index(int y, int multiplier) {
    int index = y * multiplier;
    return index < 0 ? 0 : index > 255 ? 255 : index;
}

void floor1_apply(const Floor1& f, const int* coded, float* spectrum, int n) {
    int final_y[floor1_max_values];
    bool step2[floor1_max_values];
    floor1_points(f, coded, final_y, step2);
    int lx = 0, ly = table_index(final_y[0], f.multiplier);
    for (int k = 1; k < f.values; ++k) {
        int i = f.sorted[k];
        if (!step2[i]) continue;
        int hx = f.x[i], hy = table_index(final_y[i], f.multiplier);
        render_line(lx, ly, hx, hy, spectrum, n);
        lx = hx;
        ly = hy;
    }
    const float level = inverse_db().value[ly];
    for (int x = lx; x < n; ++x) spectrum[x] *= level;
}

// ------------------------------------------------------------ floor 0

bool floor0_decode(const Floor0& f, const std::vector<Codebook>& books, BitReader& bits, FloorData* out) {
    out->amplitude = static_cast<int>(bits.read(f.amplitude_bits));
    if (out->amplitude == 0 || bits.at_end()) return false;
    auto number = bits.read(ilog(static_cast<std::uint32_t>(f.books.size())));
    if (number >= f.books.size()) return false;
    const Codebook& book = books[f.books[number]];
    if (!book.has_values()) return false;
    out->coefficients.clear();
    float last = 0;
    while (static_cast<int>(out->coefficients.size()) < f.order) {
        int entry = book.decode(bits);
        if (entry < 0) return false;
        const float* v = book.vector(entry);
        for (int d = 0; d < book.dimensions() && static_cast<int>(out->coefficients.size()) < f.order; ++d)
            out->coefficients.push_back(v[d] + last);
        last = out->coefficients.back();
    }
    return true;
}

double bark(double x) { return 13.1 * std::atan(.00074 * x) + 2.24 * std::atan(.0000000185 * x * x) + .0001 * x; }

void floor0_apply(const Floor0& f, const FloorData& data, float* spectrum, int n) {
    const std::vector<float>& c = data.coefficients;
    double scale = f.bark_map_size / bark(.5 * f.rate);
    auto map = [&](int i) {
        int m = static_cast<int>(std::floor(bark(static_cast<double>(f.rate) * i / (2.0 * n)) * scale));
        return m < f.bark_map_size - 1 ? m : f.bark_map_size - 1;
    };
    double amplitude_max = static_cast<double>((1u << f.amplitude_bits) - 1);
    int i = 0;
    while (i < n) {
        int bark_index = map(i);
        double cos_omega = std::cos(pi * bark_index / f.bark_map_size);
        double p, q;
        if (f.order & 1) {
            p = 1 - cos_omega * cos_omega;
            q = 0.25;
        } else {
            p = (1 - cos_omega) / 2;
            q = (1 + cos_omega) / 2;
        }
        for (int j = 1; j < f.order; j += 2) p *= 4 * std::pow(std::cos(c[j]) - cos_omega, 2);
        for (int j = 0; j < f.order; j += 2) q *= 4 * std::pow(std::cos(c[j]) - cos_omega, 2);
        double value = std::exp(0.11512925 * (data.amplitude * f.amplitude_offset / (amplitude_max * std::sqrt(p + q)) -
                                              f.amplitude_offset));
        for (; i < n && map(i) == bark_index; ++i) spectrum[i] *= static_cast<float>(value);
    }
}

}  // namespace

void floor_decode(const Floor& floor, const std::vector<Codebook>& books, BitReader& bits, FloorData* out) {
    if (floor.type == 0) {
        out->used = floor0_decode(floor.floor0, books, bits, out);
        return;
    }
    out->used = bits.read_flag() && floor1_decode(floor.floor1, books, bits, out->y);
}

void floor_apply(const Floor& floor, const FloorData& data, float* spectrum, int n) {
    if (floor.type == 0) floor0_apply(floor.floor0, data, spectrum, n);
    else floor1_apply(floor.floor1, data.y, spectrum, n);
}

}  // namespace audio
