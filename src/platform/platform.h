// The platform seam: every call heden makes into the operating system.
//
// Portable code decides what happens; a backend performs one OS action per
// call and reports what happened (a handle, a flag, a code). Backends never
// print the program's messages and never choose the next step.
//
// Backends: win32/ (Win32 + WGL), x11/ (Xlib + GLX), web/ (a browser page:
// WebGL 2 through the GL library of src/gles/), and the scripted fake in
// tests/support/. Exactly one is linked into each program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Window, device-context and GL-context handles. Opaque to portable code,
// printed as "0x%x" (truncated to 32 bits, as on the 32-bit target).
using Handle = std::uintptr_t;

inline unsigned handle_print(Handle h) { return static_cast<unsigned>(h); }
// Addresses are printed the same way.
inline unsigned address_print(const void* p) { return static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(p)); }

// ---------------------------------------------------------------- messages
// Message records use the Win32 numbering on every backend; the x11 backend
// translates X events into these.
enum : std::uint32_t {
    msg_close = 0x0010,        // WM_CLOSE
    msg_quit = 0x0012,         // WM_QUIT
    msg_keydown = 0x0100,      // WM_KEYDOWN
    msg_keyup = 0x0101,        // WM_KEYUP
    msg_mousemove = 0x0200,    // WM_MOUSEMOVE
    msg_lbuttonup = 0x0202,    // WM_LBUTTONUP
    msg_rbuttonup = 0x0205,    // WM_RBUTTONUP
};

enum : std::uintptr_t {
    key_escape = 27,
    key_space = 32,
    key_home = 36,
    key_left = 37,
    key_right = 39,
    key_f4 = 115,
    mk_lbutton = 0x0001,
};

struct Message {
    Handle window = 0;
    std::uint32_t message = 0;
    std::uintptr_t wparam = 0;
    std::intptr_t lparam = 0;
};

using WindowProc = std::intptr_t (*)(Handle window, std::uint32_t message,
                                     std::uintptr_t wparam, std::intptr_t lparam);

// Takes one message from the queue without waiting; false when it is empty.
bool peek_message(Message* out);
// Waits until a message may be there to take, or `timeout_ms` has passed
// (a negative timeout: until a message comes).
void wait_message(int timeout_ms);
void translate_message(const Message& msg);
// Hands the message to the window procedure of its window's class.
std::intptr_t dispatch_message(const Message& msg);
void post_quit_message(int exit_code);
// Whether a Shift key was held when the key message being handled was sent.
bool shift_held();
std::intptr_t default_window_proc(Handle window, std::uint32_t message,
                                  std::uintptr_t wparam, std::intptr_t lparam);

// ----------------------------------------------------------- console, boxes
bool console_allocate();
bool console_set_title(const char* title);
// Writes `length` bytes to the process's standard output handle; shows
// nothing unless a console was allocated.
void console_write(const char* text, std::size_t length);

// A modal error box with one OK button; returns when it is dismissed.
void message_box(const char* text, const char* caption);

// -------------------------------------------------------------------- time
// Milliseconds of wall time since the process started.
long process_clock_ms();

// ----------------------------------------------------------------- process
// This process's id: it names the files that are this run's alone.
long long process_id();
// Called once when the connection to the display breaks under the program
// (x11: the X server went away), before it ends with exit code 1: the last
// chance to take away what a half-done run wrote. Never called on win32,
// whose windows cannot lose their display.
using DisplayLost = void (*)();
void on_display_lost(DisplayLost handler);

// ----------------------------------------------------------------- threads
// The audio library decodes and plays on a thread of its own.
using ThreadBody = void (*)(void* argument);
Handle thread_start(ThreadBody body, void* argument);  // 0 on failure
void thread_join(Handle thread);
void sleep_ms(int milliseconds);

// --------------------------------------------------------- child processes
// Another program that reads what we write to its standard input; its own
// output goes to our stdout, its errors to ours or to a file.
struct ChildProcess {
    long long id = 0;  // process id; 0 when not running
    int input = -1;    // our end of its standard input
};

// False on a backend that cannot start and feed another program (win32).
bool child_processes_supported();

enum class ChildStart {
    started,
    no_pipe,      // the pipe to its input could not be made
    not_started,  // the program could not be started; ENOENT: not on the PATH
};
// Starts `argv[0]`, found on the PATH, with the null-terminated `argv`; its
// standard error goes to `error_file` (made empty first), or to ours when
// that is null. On failure `error` is the errno value of the step that
// failed.
ChildStart child_start(char* const* argv, const char* error_file, ChildProcess* child, int* error);
// Writes all of `data`; false when the child no longer reads (it stopped)
// or the pipe fails.
bool child_write(ChildProcess* child, const void* data, std::size_t size);
// Closes its input and waits for it: its exit code, or -1 when it did not
// exit normally.
int child_finish(ChildProcess* child);

// ------------------------------------------------------------------ window
enum class WindowStyle { popup, sysmenu, overlapped };

struct WindowRequest {
    const char* class_name = nullptr;
    const char* caption = nullptr;
    WindowStyle style = WindowStyle::sysmenu;
    int x = 0, y = 0, width = 0, height = 0;
};

struct Size {
    int width = 0, height = 0;
};

// The stock icon a window class shows (IDI_APPLICATION, IDI_WINLOGO).
enum class ClassIcon { application, winlogo };

// The class uses its own DC per window (CS_OWNDC | CS_HREDRAW | CS_VREDRAW),
// the given stock icon, the arrow cursor, and `proc` as its window procedure.
bool register_window_class(const char* class_name, WindowProc proc, ClassIcon icon = ClassIcon::application);
bool unregister_window_class(const char* class_name);
Handle create_window(const WindowRequest& request);  // 0 on failure
// Destroys the window together with the icons attached to it.
bool destroy_window(Handle window);
Size client_size(Handle window);
// Resizes keeping the position and the stacking order.
void resize_window(Handle window, int width, int height);
// Moves and resizes, repainting.
void move_window(Handle window, int x, int y, int width, int height);
void set_window_title(Handle window, const char* title);
// Shows the window, brings it to the foreground and gives it the focus.
void show_window(Handle window);
// Shows the window normally and paints it, without taking the focus.
void show_window_normal(Handle window);
void set_focus(Handle window);
// False while the window is minimised or not mapped: nobody can see it.
bool window_shown(Handle window);
// Shows or hides the cursor whatever was asked before (Win32 counts).
void show_cursor(bool visible);
// The screen's full-screen client area (SM_CXFULLSCREEN, SM_CYFULLSCREEN).
Size screen_size();
struct DisplayMode {
    int width = 0, height = 0, bits_per_pixel = 0;
};

// Switches the display mode temporarily; returns 0 on success, else the
// DISP_CHANGE code.
int change_display_mode(const DisplayMode& mode);
void restore_display_mode();
// The last OS error code (GetLastError on win32).
int last_error();
// Why no window could be made, in a few plain words ("cannot open display
// :5"); empty when the backend knows no more than the failed call.
std::string display_problem();

// ----------------------------------------------------------------- GL kind
// The GL that windows and contexts made from now on get: the desktop
// driver's (the default), or OpenGL ES with no window system, where the
// program's GL 1.x calls are drawn by its own library (src/gles/) and a
// window is an off-screen picture. False, with the reason in `problem`,
// when the backend cannot give that GL.
enum class GlKind { desktop, es };
bool select_gl(GlKind kind, std::string* problem);

// -------------------------------------------------------- device, GL context
Handle get_dc(Handle window);
bool release_dc(Handle window, Handle dc);

struct PixelFormatRequest {
    int color_bits = 32;
    int alpha_bits = 0;
    int depth_bits = 16;
    int stencil_bits = 8;
};

int choose_pixel_format(Handle dc, const PixelFormatRequest& request);  // 0: none
bool set_pixel_format(Handle dc, int format, const PixelFormatRequest& request);
Handle create_gl_context(Handle dc);  // 0 on failure
bool make_gl_current(Handle dc, Handle context);  // (0, 0) makes none current
bool delete_gl_context(Handle context);
// Makes `target` see the display lists, textures and programs of `source`
// (wglShareLists). On x11 every context shares with one root context from its
// creation, so this only checks the handles.
bool share_gl_lists(Handle source, Handle target);
bool swap_buffers(Handle dc);
// Swaps wait for `interval` vertical blanks from now on (0: never wait), on
// the window of `dc` with its context current. False when the driver offers
// no swap control (or not that interval).
bool set_swap_interval(Handle dc, int interval);
// The DC of the current GL context (wglGetCurrentDC).
Handle current_dc();
// What the driver of the current GL context says it offers: its version
// and extension strings, and the WGL extension string (on x11 the backend's
// own WGL functions, as far as the X server's GLX supports them). Empty
// where the driver says nothing, as without a current context.
struct GlOffer {
    std::string version, extensions, wgl_extensions;
};
GlOffer gl_offer();
// Whether a space-separated extension string names `extension`.
inline bool lists_extension(const std::string& list, const std::string& extension) {
    return (" " + list + " ").find(" " + extension + " ") != std::string::npos;
}
// Address of a GL or WGL entry point, null when the driver has none. On x11
// the WGL pbuffer, render-texture and pixel-format names are the backend's
// own implementations on GLX, with the WGL signatures and semantics.
void* gl_proc_address(const char* name);

// ------------------------------------------------------- icons and bitmaps
// An icon from a 1-bit AND mask (rows padded to 16 bits, most significant
// bit leftmost, 1 = transparent) and 32-bit colour pixels (0x00RRGGBB,
// rows top to bottom). 0 on failure.
Handle create_icon(int width, int height, const std::uint8_t* and_mask, const std::uint32_t* color);
enum class IconSize { small, big };
// Attaches the icon (0 removes it). The window owns it from then on: an icon
// it replaces, and its icons when it is destroyed, are released.
void set_window_icon(Handle window, IconSize size, Handle icon);

// Copies a 32-bit bottom-up bitmap (0x00RRGGBB) to (0, 0) of the DC's window.
void blit_bitmap(Handle dc, const std::uint32_t* pixels, int width, int height);

}  // namespace platform
