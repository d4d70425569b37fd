#include "capture/encoder_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "capture/file_out.h"

namespace {

// In the child, between fork and exec: only async-signal-safe calls.
[[noreturn]] void exec_child(char* const* argv, int input, int status) {
    if (dup2(input, 0) < 0) {
        int e = errno;
        (void)!write(status, &e, sizeof e);
        _exit(127);
    }
    execvp(argv[0], argv);
    int e = errno;
    (void)!write(status, &e, sizeof e);
    _exit(127);
}

void close_both(int* fds) {
    close(fds[0]);
    close(fds[1]);
}

}  // namespace

const char* const encoder_process_unsupported = "";

bool encoder_process_supported() { return true; }

bool encoder_process_start(const std::vector<std::string>& args, EncoderProcess* process) {
    // A reader that has gone away must show up as a failed write, not end us.
    signal(SIGPIPE, SIG_IGN);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    int data[2], status[2];
    if (pipe2(data, O_CLOEXEC) != 0) {
        capture_message("heden: cannot make a pipe for %s: %s\n", args[0].c_str(), std::strerror(errno));
        return false;
    }
    if (pipe2(status, O_CLOEXEC) != 0) {
        capture_message("heden: cannot make a pipe for %s: %s\n", args[0].c_str(), std::strerror(errno));
        close_both(data);
        return false;
    }
    pid_t pid = fork();
    if (pid == 0) exec_child(argv.data(), data[0], status[1]);
    close(data[0]);
    close(status[1]);
    int child_errno = 0;
    ssize_t got = pid < 0 ? 0 : read(status[0], &child_errno, sizeof child_errno);
    int fork_errno = errno;
    close(status[0]);
    if (pid < 0 || got > 0) {
        int e = pid < 0 ? fork_errno : child_errno;
        if (pid > 0) waitpid(pid, nullptr, 0);
        close(data[1]);
        if (e == ENOENT)
            capture_message("heden: `%s` was not found on the PATH; it encodes the video (Debian: apt install ffmpeg)\n",
                            args[0].c_str());
        else
            capture_message("heden: cannot start `%s`: %s\n", args[0].c_str(), std::strerror(e));
        return false;
    }
    process->id = pid;
    process->input = data[1];
    return true;
}

bool encoder_process_write(EncoderProcess* process, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(process->input, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int encoder_process_finish(EncoderProcess* process) {
    if (process->input >= 0) close(process->input);
    process->input = -1;
    if (process->id == 0) return -1;
    int status = 0;
    pid_t got;
    do got = waitpid(static_cast<pid_t>(process->id), &status, 0);
    while (got < 0 && errno == EINTR);
    process->id = 0;
    if (got < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}
