#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"

namespace platform {

namespace {

// In the child, between fork and exec: only async-signal-safe calls.
// The child gets a process group of its own: a Ctrl-C or a signal to our
// group is ours to answer, and we end its input in good order.
[[noreturn]] void exec_child(char* const* argv, int input, int errors, int status) {
    setpgid(0, 0);
    if (dup2(input, 0) < 0 || (errors >= 0 && dup2(errors, 2) < 0)) {
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

bool child_processes_supported() { return true; }

ChildStart child_start(char* const* argv, const char* error_file, ChildProcess* child, int* error) {
    // A reader that has gone away must show up as a failed write, not end us.
    signal(SIGPIPE, SIG_IGN);
    int errors = error_file ? open(error_file, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644) : -1;
    if (error_file && errors < 0) {
        *error = errno;
        return ChildStart::not_started;
    }
    int data[2], status[2];
    if (pipe2(data, O_CLOEXEC) != 0) {
        *error = errno;
        if (errors >= 0) close(errors);
        return ChildStart::no_pipe;
    }
    if (pipe2(status, O_CLOEXEC) != 0) {
        *error = errno;
        close_both(data);
        if (errors >= 0) close(errors);
        return ChildStart::no_pipe;
    }
    pid_t pid = fork();
    if (pid == 0) exec_child(argv, data[0], errors, status[1]);
    close(data[0]);
    close(status[1]);
    if (errors >= 0) close(errors);
    int child_errno = 0;
    ssize_t got = pid < 0 ? 0 : read(status[0], &child_errno, sizeof child_errno);
    int fork_errno = errno;
    close(status[0]);
    if (pid < 0 || got > 0) {
        *error = pid < 0 ? fork_errno : child_errno;
        if (pid > 0) waitpid(pid, nullptr, 0);
        close(data[1]);
        return ChildStart::not_started;
    }
    child->id = pid;
    child->input = data[1];
    return ChildStart::started;
}

bool child_write(ChildProcess* child, const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(child->input, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

int child_finish(ChildProcess* child) {
    if (child->input >= 0) close(child->input);
    child->input = -1;
    if (child->id == 0) return -1;
    int status = 0;
    pid_t got;
    do got = waitpid(static_cast<pid_t>(child->id), &status, 0);
    while (got < 0 && errno == EINTR);
    child->id = 0;
    if (got < 0 || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace platform
