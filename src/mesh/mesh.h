// The indexed triangle mesh every shape of the demo lives in: fixed pools of
// welded vertices and triangles, filled once at start-up and read afterwards.
#pragma once

#include <cstdint>
#include <memory>

#include "mesh/hash_chains.h"

struct Vector3 {
    double x, y, z;
};

struct Triangle {
    std::uint16_t index[3];  // corners in winding order
    float s[3];
    float t[3];
};

// Marks an edge that no second triangle shares. Triangle numbers stay below
// it because a mesh holds at most max_mesh_triangles triangles.
constexpr std::uint16_t no_second_triangle = 0xFFFF;

struct Edge {
    std::uint16_t from, to;       // in the direction the first triangle runs
    std::uint16_t firstTriangle;
    std::uint16_t secondTriangle; // no_second_triangle when the edge is open
};

// Records hold 16-bit numbers, so no pool may grow past what they address.
constexpr std::uint32_t max_mesh_vertices = 65536;
constexpr std::uint32_t max_mesh_triangles = 65535;

// Two points closer than 0.01 are one vertex.
constexpr double weld_distance_squared = 0.0001;

struct Mesh;
using MeshDraw = void (*)(const Mesh& mesh);

struct Mesh {
    // Capacities are clamped to what 16-bit records can address.
    Mesh(std::uint32_t triangle_capacity, std::uint32_t vertex_capacity);
    ~Mesh();
    Mesh(const Mesh&) = delete;
    Mesh& operator=(const Mesh&) = delete;

    void clear();
    // Returns the lowest-numbered vertex within the weld distance, or the new
    // vertex. When the pool is full the point is not stored and the result is
    // vertexCount, which every later triangle insert refuses.
    std::uint32_t addVertex(double x, double y, double z);
    // Returns the new triangle's number, or 0 when it was refused.
    std::uint32_t addTriangle(std::uint32_t a, std::uint32_t b, std::uint32_t c, float s0, float t0, float s1,
                              float t1, float s2, float t2);
    // Two triangles (a, b, d) and (c, d, b); returns the second one's number.
    std::uint32_t addQuad(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d);
    void scale(double sx, double sy, double sz);
    void loadFile(const char* path);

    void computeVertexNormals();
    void finalize(const char* name);
    int manifoldTest() const;

    void addBox(const Vector3& lo, const Vector3& hi, int mask);
    void addHexagonCap(std::uint32_t a, std::uint32_t b, std::uint32_t c, std::uint32_t d, std::uint32_t e,
                       std::uint32_t f);
    void buildHexaPrism();
    void buildCubeFrame(const char* name, double inner, double outer);
    int buildTunnelSegment(const char* name, double inner, double outer);

    // Records the current draw operation into the display list `list` and
    // switches the mesh to playing it back.
    void compileList(std::uint32_t list);

    // Appends the points and triangles of a LightWave object file image.
    void readLightWave(std::int32_t size, const std::uint8_t* data);

    // Code that moves vertices by writing `vertices` itself must call this
    // before it inserts more, so that the weld search sees the new places.
    void verticesMoved();

    std::unique_ptr<Vector3[]> vertices;
    std::unique_ptr<Vector3[]> normals;
    std::uint32_t vertexCount;
    std::uint32_t vertexCapacity;
    std::unique_ptr<Triangle[]> triangles;
    std::unique_ptr<Vector3[]> faceNormals;
    std::uint32_t triangleCount;
    std::uint32_t triangleCapacity;
    std::uint32_t edgeCount;
    std::unique_ptr<Edge[]> edges;  // room for 8 x triangleCapacity records
    std::uint32_t displayList;
    std::unique_ptr<float[]> planeDistances;
    MeshDraw draw;

private:
    void indexNewVertices();
    std::uint32_t findWeldPartner(double x, double y, double z) const;
    std::uint32_t findEdge(std::uint16_t p, std::uint16_t q) const;
    void buildEdgeTable();

    // Vertices by the cell of a coarse grid they lie in, so that a weld looks
    // at the 27 cells around a point instead of every vertex.
    HashChains weldIndex;
    std::uint32_t weldIndexed;  // vertices [0, weldIndexed) are filed
    bool weldIndexStale;
    // Edge records by their pair of vertices.
    HashChains edgeIndex;
};
