// The GL 1.x calls the portable code makes, as the library serves them on
// ES. The program's own glEnable and the rest reach these through
// wrap.cpp; the names and meanings are GL's.
#pragma once

#include <GLES2/gl2.h>

#include <functional>

namespace gles {

// GL_CLAMP as ES can sample it.
GLint wrap_mode(GLint mode);
// Whether the driver samples GL_CLAMP's border itself (else the translated
// shaders fade to it, see shader_objects.cpp).
bool border_clamp_offered();

// True when a display list is compiling: the call is kept in it for
// later instead of being made now.
bool list_records(std::function<void()> call);

// glActiveTexture, glClientActiveTexture and glBlendEquation by name.
void* calls_proc(const char* name);

namespace calls {

// State.
void glEnable(GLenum cap);
void glDisable(GLenum cap);
GLboolean glIsEnabled(GLenum cap);
void glBlendFunc(GLenum source, GLenum destination);
void glColorMask(GLboolean r, GLboolean g, GLboolean b, GLboolean a);
void glDepthMask(GLboolean flag);
void glDepthFunc(GLenum func);
void glStencilFunc(GLenum func, GLint ref, GLuint mask);
void glStencilOp(GLenum fail, GLenum depth_fail, GLenum pass);
void glCullFace(GLenum mode);
void glFrontFace(GLenum mode);
void glShadeModel(GLenum mode);
void glHint(GLenum target, GLenum mode);
void glViewport(GLint x, GLint y, GLsizei width, GLsizei height);
void glClearColor(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
void glClearStencil(GLint s);
void glClear(GLbitfield mask);
void glDrawBuffer(GLenum buffer);
void glReadBuffer(GLenum buffer);
void glPixelStorei(GLenum name, GLint value);
void glReadPixels(GLint x, GLint y, GLsizei width, GLsizei height, GLenum format, GLenum type, void* pixels);
const GLubyte* glGetString(GLenum name);
GLenum glGetError();
void glFinish();

// Lighting and texture coordinate generation.
void glLightf(GLenum light, GLenum name, GLfloat value);
void glLightfv(GLenum light, GLenum name, const GLfloat* values);
void glLightModelfv(GLenum name, const GLfloat* values);
void glTexGeni(GLenum coordinate, GLenum name, GLint value);

// Textures.
void glGenTextures(GLsizei n, GLuint* names);
void glDeleteTextures(GLsizei n, const GLuint* names);
void glBindTexture(GLenum target, GLuint name);
void glTexParameteri(GLenum target, GLenum name, GLint value);
void glTexImage2D(GLenum target, GLint level, GLint internal_format, GLsizei width, GLsizei height, GLint border,
                  GLenum format, GLenum type, const void* pixels);

// Matrices.
void glMatrixMode(GLenum mode);
void glLoadIdentity();
void glPushMatrix();
void glPopMatrix();
void glTranslatef(GLfloat x, GLfloat y, GLfloat z);
void glRotatef(GLfloat degrees, GLfloat x, GLfloat y, GLfloat z);
void glFrustum(double left, double right, double bottom, double top, double near_value, double far_value);

// Immediate mode and display lists.
void glBegin(GLenum mode);
void glEnd();
void glVertex3f(GLfloat x, GLfloat y, GLfloat z);
void glNormal3f(GLfloat x, GLfloat y, GLfloat z);
void glTexCoord2f(GLfloat s, GLfloat t);
void glColor3f(GLfloat r, GLfloat g, GLfloat b);
void glColor3d(double r, double g, double b);
void glColor4f(GLfloat r, GLfloat g, GLfloat b, GLfloat a);
GLuint glGenLists(GLsizei range);
void glNewList(GLuint list, GLenum mode);
void glEndList();
void glCallList(GLuint list);

}  // namespace calls

}  // namespace gles
