// Immediate mode and display lists. A display list records its calls; the
// vertices of its glBegin/glEnd pairs go into one vertex buffer of the
// list's, drawn from there on every replay.
#include <functional>
#include <map>
#include <vector>

#include "gles/calls.h"
#include "gles/es_api.h"
#include "gles/legacy_enums.h"
#include "gles/pipeline.h"
#include "gles/report.h"
#include "gles/state.h"

namespace gles {

namespace {

// The current vertex attributes as a list being compiled sets them: they
// take effect when the list is called.
struct Attributes {
    float normal[3] = {0, 0, 1};
    float texcoord[2] = {0, 0};
    float colour[4] = {1, 1, 1, 1};
    unsigned set = 0;  // array_* bits of the attributes given
};

struct List {
    std::vector<std::function<void()>> commands;
    std::vector<Vertex> vertices;  // while compiling
    GLuint buffer = 0;
    Attributes last;  // the attributes it leaves current
};

std::map<GLuint, List> lists;
GLuint next_list = 1;
List* compiling = nullptr;
Attributes recording;

struct Primitive {
    bool open = false;
    GLenum mode = GL_TRIANGLES;
    unsigned arrays = 0;  // attributes a list gave before the primitive's first vertex
    std::vector<Vertex> vertices;
};
Primitive primitive;

// Calls made while a list compiles are kept in it, not executed.
bool recorded(std::function<void()> call) {
    if (!compiling) return false;
    compiling->commands.push_back(std::move(call));
    return true;
}

// Quads are drawn as two triangles each, split along the diagonal from the
// second vertex to the fourth as the desktop driver splits them.
std::vector<Vertex> triangles(const std::vector<Vertex>& given, GLenum mode) {
    if (mode == GL_TRIANGLES) return std::vector<Vertex>(given.begin(), given.end() - given.size() % 3);
    std::vector<Vertex> out;
    for (std::size_t q = 0; q + 3 < given.size(); q += 4)
        for (std::size_t corner : {0, 1, 3, 1, 2, 3}) out.push_back(given[q + corner]);
    return out;
}

void list_batch(List& list, const std::vector<Vertex>& vertices, unsigned arrays) {
    GLint first = static_cast<GLint>(list.vertices.size());
    list.vertices.insert(list.vertices.end(), vertices.begin(), vertices.end());
    auto count = static_cast<GLsizei>(vertices.size());
    List* owner = &list;
    list.commands.push_back([owner, first, count, arrays] { draw_triangles(owner->buffer, first, count, arrays); });
}

template <std::size_t N>
void copy(float (&to)[N], const float (&from)[N]) {
    for (std::size_t i = 0; i < N; ++i) to[i] = from[i];
}

float* normal_now() { return compiling ? recording.normal : current()->normal; }
float* texcoord_now() { return compiling ? recording.texcoord : current()->texcoord; }
float* colour_now() { return compiling ? recording.colour : current()->colour; }

}  // namespace

namespace calls {

void glBegin(GLenum mode) {
    if (mode != GL_TRIANGLES && mode != gl_quads) unimplemented("glBegin", mode);
    primitive.open = true;
    primitive.mode = mode;
    primitive.vertices.clear();
}

void glEnd() {
    if (!primitive.open || !current()) return;
    primitive.open = false;
    std::vector<Vertex> drawn = triangles(primitive.vertices, primitive.mode);
    if (!compiling) {
        draw_vertices(drawn.data(), static_cast<GLsizei>(drawn.size()));
        return;
    }
    // An attribute a list gives for the first time after some of a
    // primitive's vertices would leave those with the value current at the
    // call: no list of the demo does that.
    if (recording.set != primitive.arrays) unimplemented("a vertex attribute first given inside glBegin in a list");
    list_batch(*compiling, drawn, primitive.arrays);
}

void glVertex3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!primitive.open || !current()) return;
    if (primitive.vertices.empty()) primitive.arrays = recording.set;
    Vertex v{{x, y, z, 1}, {}, {}, {}};
    const float* n = normal_now();
    const float* t = texcoord_now();
    const float* c = colour_now();
    for (int i = 0; i < 3; ++i) v.normal[i] = n[i];
    for (int i = 0; i < 2; ++i) v.texcoord[i] = t[i];
    for (int i = 0; i < 4; ++i) v.colour[i] = c[i];
    primitive.vertices.push_back(v);
}

void glNormal3f(GLfloat x, GLfloat y, GLfloat z) {
    if (!current()) return;
    float* n = normal_now();
    n[0] = x, n[1] = y, n[2] = z;
    if (compiling) recording.set |= array_normal;
}

void glTexCoord2f(GLfloat s, GLfloat t) {
    if (!current()) return;
    float* c = texcoord_now();
    c[0] = s, c[1] = t;
    if (compiling) recording.set |= array_texcoord;
}

void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a) {
    if (!current()) return;
    float* c = colour_now();
    c[0] = r, c[1] = g, c[2] = b, c[3] = a;
    if (compiling) recording.set |= array_colour;
}

void glColor3f(GLfloat r, GLfloat g, GLfloat b) { glColor4f(r, g, b, 1); }

void glColor3d(double r, double g, double b) {
    glColor4f(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), 1);
}

GLuint glGenLists(GLsizei range) {
    if (range <= 0) return 0;
    GLuint base = next_list;
    next_list += static_cast<GLuint>(range);
    return base;
}

void glNewList(GLuint list, GLenum mode) {
    if (mode != gl_compile) unimplemented("glNewList", mode);
    if (compiling || list == 0) return;
    List& l = lists[list];
    if (l.buffer) es().DeleteBuffers(1, &l.buffer);
    l = List{};
    compiling = &l;
    recording = Attributes{};
}

void glEndList() {
    if (!compiling) return;
    List& l = *compiling;
    compiling = nullptr;
    l.last = recording;
    if (l.vertices.empty()) return;
    es().GenBuffers(1, &l.buffer);
    es().BindBuffer(GL_ARRAY_BUFFER, l.buffer);
    es().BufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(l.vertices.size() * sizeof(Vertex)), l.vertices.data(),
                    GL_STATIC_DRAW);
    pipeline_reset();
    l.vertices.clear();
    l.vertices.shrink_to_fit();
}

void glCallList(GLuint list) {
    if (recorded([list] { glCallList(list); })) return;
    auto found = lists.find(list);
    Context* c = current();
    if (found == lists.end() || !c) return;
    const List& l = found->second;
    for (const auto& command : l.commands) command();
    if (l.last.set & array_normal) copy(c->normal, l.last.normal);
    if (l.last.set & array_texcoord) copy(c->texcoord, l.last.texcoord);
    if (l.last.set & array_colour) copy(c->colour, l.last.colour);
}

}  // namespace calls

// The other calls record themselves through this while a list compiles.
bool list_records(std::function<void()> call) { return recorded(std::move(call)); }

}  // namespace gles
