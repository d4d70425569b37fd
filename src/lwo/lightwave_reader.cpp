// Geometry only: points and the triangles and quads among the polygons.
// Every read is checked against the end of the chunk, the form and the file
// image, so a damaged or hostile file can only lose geometry.
#include <algorithm>
#include <cstring>
#include <vector>

#include "log/log.h"
#include "lwo/lightwave.h"
#include "mesh/mesh.h"

int lightWaveVersion = 0;

namespace {

// Polygon indices are 16-bit, so later points cannot be referred to.
constexpr std::uint32_t addressable_points = 65536;
constexpr std::uint32_t max_polygon_corners = 32;

bool is(const std::uint8_t* id, const char* name) { return std::memcmp(id, name, 4) == 0; }

std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// A chunk identifier as the 32-bit big-endian number it is in the file.
constexpr std::uint32_t tag(char a, char b, char c, char d) {
    return static_cast<std::uint32_t>(a) << 24 | static_cast<std::uint32_t>(b) << 16 |
           static_cast<std::uint32_t>(c) << 8 | static_cast<std::uint32_t>(d);
}

std::uint16_t be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }

float be_float(const std::uint8_t* p) {
    std::uint32_t bits = be32(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Positions fit in 32 bits for every file the reader accepts; printed as %i.
int pos_int(std::int64_t v) { return static_cast<int>(static_cast<std::uint32_t>(v)); }

void report_chunk(const char* format, const std::uint8_t* id, std::int64_t a, std::int64_t b) {
    log_print(format, id[0], id[1], id[2], id[3], pos_int(a), pos_int(b));
}

class LightWaveReader {
public:
    LightWaveReader(Mesh& mesh, const std::uint8_t* data, std::int64_t size)
        : mesh_(mesh), data_(data), size_(size), base_(mesh.vertexCount) {}

    void read() {
        std::int64_t at = 0;
        while (at < size_ && at + 8 <= size_) {
            const std::uint8_t* id = data_ + at;
            std::int64_t end = at + 8 + be32(id + 4);
            if (is(id, "FORM")) {
                if (at + 12 <= size_) enter_form(data_ + at + 8, at + 12, end);
                at = end;
            } else if (is(id, "DATE")) {
                at = end;
            } else {
                report_chunk("[RIFF? %c%c%c%c %i,%i]", id, at + 8, size_);
                at += 8;
            }
        }
    }

private:
    void enter_form(const std::uint8_t* type, std::int64_t at, std::int64_t form_end) {
        if (is(type, "LWOB")) lightWaveVersion = 1;
        if (is(type, "LWO2")) lightWaveVersion = 2;
        const std::int64_t limit = std::min(form_end, size_);
        while (at < form_end && at + 8 <= limit) {
            const std::uint8_t* id = data_ + at;
            const std::uint32_t chunk_size = be32(id + 4);
            const std::int64_t start = at + 8, chunk_end = start + chunk_size;
            const std::int64_t data_end = std::min(chunk_end, limit);
            if (is(id, "PNTS")) {
                read_points(start, chunk_size, data_end);
                at = start + chunk_size / 12 * 12;
            } else if (is(id, "POLS")) {
                read_polygon_chunk(start, data_end);
                at = chunk_end;
            } else if (is(id, "SURF")) {
                walk_surface(start, chunk_end, data_end);
                at = chunk_end;
            } else if (is(id, "BBOX")) {
                if (chunk_size != 24) log_print("lwo: not 3d? ");
                at = chunk_end;
            } else if (is_skipped(id)) {
                at = chunk_end;
            } else {
                report_chunk("[RIFF? %c%c%c%c %i/%i]", id, start, form_end);
                return;
            }
        }
    }

    static bool is_skipped(const std::uint8_t* id) {
        for (const char* name : {"SRFS", "TAGS", "LAYR", "PTAG", "VMAP", "ICON", "TEXT", "DESC"})
            if (is(id, name)) return true;
        return false;
    }

    void read_points(std::int64_t at, std::uint32_t chunk_size, std::int64_t data_end) {
        if (chunk_size % 12) log_print(" -ERROR- ");
        const std::int64_t end = std::min(at + chunk_size / 12 * 12, data_end);
        for (; at + 12 <= end; at += 12) {
            const std::uint8_t* p = data_ + at;
            std::uint32_t vertex = mesh_.addVertex(be_float(p), be_float(p + 4), be_float(p + 8));
            if (points_.size() < addressable_points) points_.push_back(vertex);
        }
    }

    void read_polygon_chunk(std::int64_t at, std::int64_t data_end) {
        if (lightWaveVersion == 1) {
            read_polygons(at, data_end, true);
        } else if (lightWaveVersion == 2) {
            if (at + 4 > data_end) return;
            const std::uint8_t* type = data_ + at;
            if (is(type, "FACE")) {
                log_print("[FACE size!=%i]\n", at + 8 <= data_end ? static_cast<int>(be32(type + 4)) : 0);
                read_polygons(at + 4, data_end, false);
            } else if (!is(type, "BONE") && !is(type, "PTCH")) {
                report_chunk("[RIFF? %c%c%c%c %i/%i]", type, at, data_end);
            }
        } else {
            log_print("lwo : version problem %i ?? ", lightWaveVersion);
        }
    }

    // LWOB polygons end with a surface number, LWO2 face polygons do not. A
    // polygon that does not fit in the chunk is dropped and ends the chunk.
    void read_polygons(std::int64_t at, std::int64_t end, bool with_surface) {
        while (at + 2 <= end) {
            const std::uint32_t corners = be16(data_ + at);
            const std::int64_t indices = at + 2;
            at = indices + 2 * std::int64_t{corners} + (with_surface ? 2 : 0);
            if (at > end) return;
            if (with_surface && be16(data_ + at - 2) != 1) log_print("lwo:weird poly data?");
            if (corners <= max_polygon_corners) add_polygon(data_ + indices, corners);
        }
    }

    void add_polygon(const std::uint8_t* indices, std::uint32_t corners) {
        std::uint32_t v[max_polygon_corners];
        for (std::uint32_t i = 0; i < corners; ++i) v[i] = vertex_of(be16(indices + 2 * i));
        if (corners == 3) mesh_.addTriangle(v[0], v[1], v[2], 0, 0, 1, 0, 0, 1);
        if (corners == 4) mesh_.addQuad(v[0], v[1], v[2], v[3]);
    }

    // Point k of the file is the vertex its insert returned, so points that
    // welded onto earlier ones do not shift the later numbers. A point not
    // read yet gets a number past every vertex, which the triangle insert
    // refuses with its own message.
    std::uint32_t vertex_of(std::uint32_t point) const {
        return point < points_.size() ? points_[point] : base_ + point;
    }

    void walk_surface(std::int64_t at, std::int64_t chunk_end, std::int64_t data_end) {
        while (at < data_end && data_[at] != 0) ++at;
        while (at < data_end && data_[at] == 0) ++at;
        while (at < chunk_end && at + 6 <= data_end) {
            const std::uint8_t* id = data_ + at;
            const std::uint16_t sub_size = be16(id + 4);
            if (is(id, "SMAN")) {
                at += 6 + sub_size + (sub_size == 4 ? 4 : 0);
            } else if (is_surface_field(id)) {
                at += 6 + sub_size;
            } else {
                report_chunk("[RIFF? %c%c%c%c %i/%i]", id, at + 6, chunk_end);
                return;
            }
        }
    }

    // The surface fields an older object carries: colour, flags, diffuse,
    // specular, glossiness, transparency, luminosity and a comment.
    static bool is_surface_field(const std::uint8_t* id) {
        constexpr std::uint32_t fields[] = {tag('C', 'O', 'L', 'R'), tag('F', 'L', 'A', 'G'), tag('D', 'I', 'F', 'F'),
                                            tag('S', 'P', 'E', 'C'), tag('G', 'L', 'O', 'S'), tag('T', 'R', 'A', 'N'),
                                            tag('L', 'U', 'M', 'I'), tag('C', 'M', 'N', 'T')};
        for (std::uint32_t field : fields)
            if (be32(id) == field) return true;
        return false;
    }

    Mesh& mesh_;
    const std::uint8_t* data_;
    const std::int64_t size_;
    const std::uint32_t base_;
    std::vector<std::uint32_t> points_;
};

}  // namespace

void Mesh::readLightWave(std::int32_t size, const std::uint8_t* data) {
    if (!data || size <= 0) return;
    LightWaveReader(*this, data, size).read();
}
