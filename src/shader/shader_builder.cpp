#include "shader/shader_builder.h"

#include "log/log.h"
#include "data/file_table.h"
#include "shader/shader_text.h"

namespace {

constexpr int info_log_bytes = 4096;

ext::Handle compile(GLenum type, const std::vector<std::string>& lines, GLint* status) {
    std::vector<const char*> strings;
    for (const std::string& line : lines) strings.push_back(line.c_str());
    ext::Handle shader = gl_ext.glCreateShaderObjectARB(type);
    gl_ext.glShaderSourceARB(shader, static_cast<GLsizei>(strings.size()), strings.data(), nullptr);
    gl_ext.glCompileShaderARB(shader);
    gl_ext.glGetObjectParameterivARB(shader, GL_OBJECT_COMPILE_STATUS_ARB, status);
    return shader;
}

void print_lines(const std::vector<std::string>& lines) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        log_print("%2i[[%s]],%3i\n", static_cast<int>(i), lines[i].c_str(), static_cast<int>(lines[i].size()));
}

void report(const ShaderSources& sources, ext::Handle program, GLint link, GLint vertex, GLint fragment) {
    print_lines(sources.vertex);
    print_lines(sources.fragment);
    log_print("glsl build[ %i %i %i ]\n", link, vertex, fragment);
    GLint length = 0;
    gl_ext.glGetObjectParameterivARB(program, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    char info[info_log_bytes] = {};
    gl_ext.glGetInfoLogARB(program, info_log_bytes, nullptr, info);
    log_print("build infolog: %ibytes\n%s\n", length, info);
}

}  // namespace

bool shader_builder(const char* path, ext::Handle* program) {
    FileData file{nullptr, 0};
    if (load_file(path, &file) != load_ok) file.size = 0;
    ShaderSources sources = shader_split(reinterpret_cast<const char*>(file.data), static_cast<std::size_t>(file.size));
    release_file(path, &file);
    if (!sources.problem.empty()) log_print("shader_builder(%s):: %s\n", path, sources.problem.c_str());
    GLint vertex_status = 0, fragment_status = 0, link_status = 0;
    ext::Handle vertex = compile(GL_VERTEX_SHADER_ARB, sources.vertex, &vertex_status);
    ext::Handle fragment = compile(GL_FRAGMENT_SHADER_ARB, sources.fragment, &fragment_status);
    *program = gl_ext.glCreateProgramObjectARB();
    gl_ext.glAttachObjectARB(*program, vertex);
    gl_ext.glAttachObjectARB(*program, fragment);
    gl_ext.glLinkProgramARB(*program);
    gl_ext.glGetObjectParameterivARB(*program, GL_OBJECT_LINK_STATUS_ARB, &link_status);
    bool built = link_status && vertex_status && fragment_status;
    if (!built) report(sources, *program, link_status, vertex_status, fragment_status);
    if (glGetError() != GL_NO_ERROR) log_print("shader_builder(%s):: gl errors..\n", path);
    return built;
}
