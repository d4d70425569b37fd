// The program's GL 1.x calls. The link routes every call of these names
// here (--wrap=NAME, the list CMake reads from this file): until the library
// is started they go on to the desktop driver's function of that name
// (__real_NAME) untouched, after it to the library.
//
// Only the program links this file; it holds nothing else, so that links
// without the routing never pull it in.
#include "gles/calls.h"
#include "gles/gles.h"

#ifdef __EMSCRIPTEN__
// A browser has no desktop GL: the names are the library's own.
#define HEDEN_WRAP(result, name, parameters, arguments) \
    extern "C" result name parameters { return gles::calls::name arguments; }
#else
#define HEDEN_WRAP(result, name, parameters, arguments)               \
    extern "C" result __real_##name parameters;                          \
    extern "C" result __wrap_##name parameters {                         \
        if (!gles::active()) return __real_##name arguments;              \
        return gles::calls::name arguments;                               \
    }
#endif

HEDEN_WRAP(void, glEnable, (GLenum cap), (cap))
HEDEN_WRAP(void, glDisable, (GLenum cap), (cap))
HEDEN_WRAP(GLboolean, glIsEnabled, (GLenum cap), (cap))
HEDEN_WRAP(void, glBlendFunc, (GLenum s, GLenum d), (s, d))
HEDEN_WRAP(void, glColorMask, (GLboolean r, GLboolean g, GLboolean b, GLboolean a), (r, g, b, a))
HEDEN_WRAP(void, glDepthMask, (GLboolean flag), (flag))
HEDEN_WRAP(void, glDepthFunc, (GLenum func), (func))
HEDEN_WRAP(void, glStencilFunc, (GLenum func, GLint ref, GLuint mask), (func, ref, mask))
HEDEN_WRAP(void, glStencilOp, (GLenum fail, GLenum zfail, GLenum zpass), (fail, zfail, zpass))
HEDEN_WRAP(void, glCullFace, (GLenum mode), (mode))
HEDEN_WRAP(void, glFrontFace, (GLenum mode), (mode))
HEDEN_WRAP(void, glShadeModel, (GLenum mode), (mode))
HEDEN_WRAP(void, glHint, (GLenum target, GLenum mode), (target, mode))
HEDEN_WRAP(void, glViewport, (GLint x, GLint y, GLsizei w, GLsizei h), (x, y, w, h))
HEDEN_WRAP(void, glClearColor, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
HEDEN_WRAP(void, glClearStencil, (GLint s), (s))
HEDEN_WRAP(void, glClear, (GLbitfield mask), (mask))
HEDEN_WRAP(void, glDrawBuffer, (GLenum buffer), (buffer))
HEDEN_WRAP(void, glReadBuffer, (GLenum buffer), (buffer))
HEDEN_WRAP(void, glPixelStorei, (GLenum name, GLint value), (name, value))
HEDEN_WRAP(void, glReadPixels, (GLint x, GLint y, GLsizei w, GLsizei h, GLenum f, GLenum t, void* p),
           (x, y, w, h, f, t, p))
HEDEN_WRAP(const GLubyte*, glGetString, (GLenum name), (name))
HEDEN_WRAP(GLenum, glGetError, (), ())
HEDEN_WRAP(void, glFinish, (), ())
HEDEN_WRAP(void, glLightf, (GLenum light, GLenum name, GLfloat value), (light, name, value))
HEDEN_WRAP(void, glLightfv, (GLenum light, GLenum name, const GLfloat* values), (light, name, values))
HEDEN_WRAP(void, glLightModelfv, (GLenum name, const GLfloat* values), (name, values))
HEDEN_WRAP(void, glTexGeni, (GLenum coordinate, GLenum name, GLint value), (coordinate, name, value))
HEDEN_WRAP(void, glGenTextures, (GLsizei n, GLuint* names), (n, names))
HEDEN_WRAP(void, glDeleteTextures, (GLsizei n, const GLuint* names), (n, names))
HEDEN_WRAP(void, glBindTexture, (GLenum target, GLuint name), (target, name))
HEDEN_WRAP(void, glTexParameteri, (GLenum target, GLenum name, GLint value), (target, name, value))
HEDEN_WRAP(void, glTexImage2D,
           (GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum f, GLenum t,
            const void* p),
           (target, level, internal, w, h, border, f, t, p))
HEDEN_WRAP(void, glMatrixMode, (GLenum mode), (mode))
HEDEN_WRAP(void, glLoadIdentity, (), ())
HEDEN_WRAP(void, glPushMatrix, (), ())
HEDEN_WRAP(void, glPopMatrix, (), ())
HEDEN_WRAP(void, glTranslatef, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
HEDEN_WRAP(void, glRotatef, (GLfloat degrees, GLfloat x, GLfloat y, GLfloat z), (degrees, x, y, z))
HEDEN_WRAP(void, glFrustum, (double l, double r, double b, double t, double n, double f), (l, r, b, t, n, f))
HEDEN_WRAP(void, glBegin, (GLenum mode), (mode))
HEDEN_WRAP(void, glEnd, (), ())
HEDEN_WRAP(void, glVertex3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
HEDEN_WRAP(void, glNormal3f, (GLfloat x, GLfloat y, GLfloat z), (x, y, z))
HEDEN_WRAP(void, glTexCoord2f, (GLfloat s, GLfloat t), (s, t))
HEDEN_WRAP(void, glColor3f, (GLfloat r, GLfloat g, GLfloat b), (r, g, b))
HEDEN_WRAP(void, glColor3d, (double r, double g, double b), (r, g, b))
HEDEN_WRAP(void, glColor4f, (GLfloat r, GLfloat g, GLfloat b, GLfloat a), (r, g, b, a))
HEDEN_WRAP(GLuint, glGenLists, (GLsizei range), (range))
HEDEN_WRAP(void, glNewList, (GLuint list, GLenum mode), (list, mode))
HEDEN_WRAP(void, glEndList, (), ())
HEDEN_WRAP(void, glCallList, (GLuint list), (list))
