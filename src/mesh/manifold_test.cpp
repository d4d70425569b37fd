// Closed-surface diagnostic: every edge should lie between exactly two
// triangles that run along it in opposite directions.
#include "log/log.h"
#include "mesh/mesh.h"

namespace {

constexpr int manifold_table_capacity = 4096;

struct DirectedEdge {
    int from, to;
    int same;      // triangles running from -> to
    int opposite;  // triangles running to -> from
};

struct EdgeTally {
    DirectedEdge records[manifold_table_capacity];
    int count = 0;
    bool overflowed = false;

    void add(int p, int q) {
        for (int i = 0; i < count; ++i) {
            DirectedEdge& r = records[i];
            if (r.from == p && r.to == q) ++r.same;
            if (r.from == q && r.to == p) ++r.opposite;
            if ((r.from == p && r.to == q) || (r.from == q && r.to == p)) return;
        }
        if (count < manifold_table_capacity) {
            records[count++] = DirectedEdge{p, q, 1, 0};
        } else if (!overflowed) {
            // Edges past the table are not counted; what was recorded is still reported.
            overflowed = true;
            log_print("[manifold test: more than %i edges, the rest is not checked]\n", manifold_table_capacity);
        }
    }
};

}  // namespace

int Mesh::manifoldTest() const {
    static_assert(sizeof(EdgeTally) < 70000, "the tally lives on the stack");
    EdgeTally tally;
    for (std::uint32_t i = 0; i < triangleCount; ++i) {
        const std::uint16_t* corner = triangles[i].index;
        for (int k = 0; k < 3; ++k) tally.add(corner[k], corner[(k + 1) % 3]);
    }
    int expected = static_cast<int>(3 * triangleCount / 2);
    if (tally.count != expected)
        log_print("[manifold test: %iedges(expected around%i) ]\n", tally.count, expected);
    for (int i = 0; i < tally.count; ++i) {
        const DirectedEdge& r = tally.records[i];
        if (r.same != 1) log_print("[L%i  %i-%i]\n", r.same, r.from, r.to);
        if (r.opposite != 1) log_print("[R%i %i %i]\n", r.opposite, r.from, r.to);
    }
    return 0;
}
