#include "dolphin.h"

#include <cmath>
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>

namespace {

struct Vec {
    double x, y, z;
};
Vec operator+(Vec a, Vec b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec operator-(Vec a, Vec b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec operator*(Vec a, double k) { return {a.x * k, a.y * k, a.z * k}; }
Vec cross(Vec a, Vec b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }
double dot(Vec a, Vec b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

struct Model {
    std::vector<Vec> points;
    std::vector<std::vector<std::uint16_t>> polygons;  // triangles and quads
};

// One cross-section of a loft: an ellipse around `centre` spanned by `u`
// and `v` (their lengths are the radii).
struct Section {
    Vec centre, u, v;
};

constexpr double pi = 3.14159265358979;

// A closed tube through the sections, capped by a point before the first
// and after the last; polygons face outwards (fixed by the enclosed volume's
// sign afterwards).
void loft(Model& m, const std::vector<Section>& sections, Vec first_tip, Vec last_tip, int around) {
    std::size_t start_polygons = m.polygons.size();
    auto tip0 = static_cast<std::uint16_t>(m.points.size());
    m.points.push_back(first_tip);
    auto ring0 = static_cast<std::uint16_t>(m.points.size());
    for (const Section& s : sections)
        for (int a = 0; a < around; ++a) {
            double angle = 2 * pi * a / around;
            m.points.push_back(s.centre + s.u * std::cos(angle) + s.v * std::sin(angle));
        }
    auto tip1 = static_cast<std::uint16_t>(m.points.size());
    m.points.push_back(last_tip);
    auto at = [&](std::size_t ring, int a) { return static_cast<std::uint16_t>(ring0 + ring * around + (a % around)); };
    for (int a = 0; a < around; ++a) {
        m.polygons.push_back({tip0, at(0, a + 1), at(0, a)});
        for (std::size_t r = 0; r + 1 < sections.size(); ++r) m.polygons.push_back({at(r, a), at(r, a + 1), at(r + 1, a + 1), at(r + 1, a)});
        m.polygons.push_back({tip1, at(sections.size() - 1, a), at(sections.size() - 1, a + 1)});
    }
    // Orient the part so that its polygons wind counter-clockwise seen from
    // outside: the enclosed volume must come out positive.
    double volume = 0;
    for (std::size_t p = start_polygons; p < m.polygons.size(); ++p) {
        const auto& poly = m.polygons[p];
        for (std::size_t k = 1; k + 1 < poly.size(); ++k)
            volume += dot(m.points[poly[0]], cross(m.points[poly[k]], m.points[poly[k + 1]]));
    }
    if (volume < 0)
        for (std::size_t p = start_polygons; p < m.polygons.size(); ++p) std::reverse(m.polygons[p].begin(), m.polygons[p].end());
}

// The body from the tail stock (z = −150) to the beak tip (z = +150).
void body(Model& m) {
    std::vector<Section> sections;
    const int rings = 44;
    for (int i = 0; i < rings; ++i) {
        double s = 0.02 + 0.96 * i / (rings - 1);  // 0 tail .. 1 beak tip
        double z = -150 + 300 * s;
        // Half width and half height along the body: a slim tail stock, the
        // full chest, the melon of the head and the narrow beak.
        double chest = std::exp(-std::pow((s - 0.58) / 0.3, 2));
        double width = 5 + 33 * chest;
        double height = 7 + 37 * chest;
        if (s > 0.86) {  // beak
            double b = (s - 0.86) / 0.14;
            width = width * (1 - b) + 6 * b;
            height = height * (1 - b) + 5 * b;
        }
        double melon = 6 * std::exp(-std::pow((s - 0.8) / 0.05, 2));
        double arch = -10 * std::pow(s - 0.55, 2) * 4;  // the spine curves down to tail and beak
        double beak_drop = s > 0.86 ? -6 * (s - 0.86) / 0.14 : 0;
        sections.push_back({{0, arch + melon * 0.5 + beak_drop, z}, {width, 0, 0}, {0, height + melon, 0}});
    }
    loft(m, sections, {0, -1, -152}, {0, -10, 152}, 24);
}

// A fin: airfoil sections from the root to the tip along `span`, chord along
// `chord` (shrinking and swept), thickness along `thick`.
void fin(Model& m, Vec root, Vec span, Vec chord, Vec thick, double sweep, double root_chord, double root_thickness) {
    std::vector<Section> sections;
    const int levels = 6;
    for (int i = 0; i < levels; ++i) {
        double t = static_cast<double>(i) / levels;
        double taper = 1 - 0.8 * t;
        Vec centre = root + span * t + chord * (-sweep * t * t);
        sections.push_back({centre, chord * (root_chord * taper * 0.5), thick * (root_thickness * taper * 0.5)});
    }
    Vec tip = root + span + chord * (-sweep - 0.1 * root_chord);
    Vec below = root - span * 0.15;
    loft(m, sections, below, tip, 10);
}

void dolphin(Model& m) {
    body(m);
    // Dorsal fin: up (+y) and swept back (−z).
    fin(m, {0, 30, -5}, {0, 36, 0}, {0, 0, 1}, {1, 0, 0}, 30, 60, 10);
    // Flippers: out, down and back.
    fin(m, {24, -18, 48}, {28, -14, -10}, {0, 0, 1}, {0, 1, 0}, 14, 36, 7);
    fin(m, {-24, -18, 48}, {-28, -14, -10}, {0, 0, 1}, {0, 1, 0}, 14, 36, 7);
    // Flukes: flat, spreading sideways from the tail stock, swept back.
    fin(m, {3, 0, -140}, {46, 0, -6}, {0, 0, 1}, {0, 1, 0}, 20, 34, 6);
    fin(m, {-3, 0, -140}, {-46, 0, -6}, {0, 0, 1}, {0, 1, 0}, 20, 34, 6);
}

// LightWave's IFF: big-endian, chunks padded to even sizes.
struct Writer {
    std::vector<std::uint8_t> bytes;
    void u2(unsigned v) {
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    void u4(std::uint32_t v) {
        u2(v >> 16);
        u2(v & 0xFFFF);
    }
    void f4(double value) {
        auto f = static_cast<float>(value);
        std::uint32_t bits;
        std::memcpy(&bits, &f, 4);
        u4(bits);
    }
    void id(const char* four) { bytes.insert(bytes.end(), four, four + 4); }
    void string(const std::string& s) {  // zero-terminated, padded to even length
        bytes.insert(bytes.end(), s.begin(), s.end());
        bytes.push_back(0);
        if (bytes.size() % 2) bytes.push_back(0);
    }
    // Starts a chunk with a 32-bit size (u4) or a sub-chunk with 16 bits.
    std::size_t open(const char* four, bool sub = false) {
        id(four);
        std::size_t at = bytes.size();
        if (sub)
            u2(0);
        else
            u4(0);
        return at;
    }
    void close(std::size_t at, bool sub = false) {
        std::size_t size = bytes.size() - at - (sub ? 2 : 4);
        if (size % 2) {
            bytes.push_back(0);
        }
        for (int b = sub ? 1 : 3; b >= 0; --b) bytes[at + (sub ? 1 : 3) - b] = static_cast<std::uint8_t>(size >> (8 * b));
    }
};

}  // namespace

std::vector<std::uint8_t> dolphin_lwo() {
    Model m;
    dolphin(m);
    Writer w;
    std::size_t form = w.open("FORM");
    w.id("LWO2");
    std::size_t tags = w.open("TAGS");
    w.string("Dolphin");
    w.close(tags);
    std::size_t layer = w.open("LAYR");
    w.u2(0);
    w.u2(0);
    for (int i = 0; i < 3; ++i) w.f4(0);
    w.string("");
    w.close(layer);
    std::size_t pnts = w.open("PNTS");
    Vec lo{1e9, 1e9, 1e9}, hi{-1e9, -1e9, -1e9};
    for (const Vec& p : m.points) {
        w.f4(p.x);
        w.f4(p.y);
        w.f4(p.z);
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y), std::min(lo.z, p.z)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y), std::max(hi.z, p.z)};
    }
    w.close(pnts);
    std::size_t bbox = w.open("BBOX");
    for (double v : {lo.x, lo.y, lo.z, hi.x, hi.y, hi.z}) w.f4(v);
    w.close(bbox);
    std::size_t pols = w.open("POLS");
    w.id("FACE");
    for (const auto& poly : m.polygons) {
        w.u2(static_cast<unsigned>(poly.size()));
        for (std::uint16_t index : poly) w.u2(index);
    }
    w.close(pols);
    std::size_t ptag = w.open("PTAG");
    w.id("SURF");
    for (std::size_t p = 0; p < m.polygons.size(); ++p) {
        w.u2(static_cast<unsigned>(p));
        w.u2(0);
    }
    w.close(ptag);
    std::size_t surf = w.open("SURF");
    w.string("Dolphin");
    w.string("");
    std::size_t colr = w.open("COLR", true);
    w.f4(0.55);
    w.f4(0.62);
    w.f4(0.72);
    w.u2(0);
    w.close(colr, true);
    // Diffuse, specular and glossiness, each a scalar with no envelope.
    const char specular[] = {'S', 'P', 'E', 'C', '\0'};
    const std::pair<const char*, double> scalars[] = {{"DIFF", 0.9}, {specular, 0.4}, {"GLOS", 0.5}};
    for (const auto& [name, value] : scalars) {
        std::size_t field = w.open(name, true);
        w.f4(value);
        w.u2(0);
        w.close(field, true);
    }
    std::size_t sman = w.open("SMAN", true);  // last: smoothing up to 80 degrees
    w.f4(80.0 * pi / 180.0);
    w.close(sman, true);
    w.close(surf);
    w.close(form);
    return w.bytes;
}
