#include "Process.h"

#include "FileDescriptorPosix.h"
#include "FileName.h"
#include "FileSystemPosix.h"
#include "RuntimeError.h"
#include "SystemError.h"

#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

// A start that fails after the program was found: "no such file" then concerns another file (the
// interpreter that a script names), which the system's own words tell better than error 53.
RuntimeError startError(int error, const QString& path)
{
    return requestFailure(unsigned(error)) == RequestFailure::Refused
        ? requestError(unsigned(error), path, RequestTarget::File)
        : unansweredRequest(unsigned(error), path);
}

} // namespace

void startProgram(const QString& path)
{
    // The checks tell the user which of the usual failures it was before anything is started.
    QByteArray program = encodeFileName(path);
    struct stat status;
    if (statIgnoringCase(program, status) != 0)
        throw requestError(unsigned(errno), path, RequestTarget::File);
    if (!S_ISREG(status.st_mode))
        throw RuntimeError(Error::PathFileAccess, path);
    if (access(program.constData(), X_OK) != 0)
        throw requestError(unsigned(errno), path, RequestTarget::File);

    // Started the way a detached start always is here, by the path's own bytes (Qt's process start would
    // pass them through its lossy file-name codec): a child in a session of its own starts the program as
    // a grandchild and ends at once, so nothing is left to wait for. The grandchild reports a failed exec
    // through a pipe that a successful one closes.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0)
        throw startError(errno, path);
    FileDescriptor reading(report[0]);
    FileDescriptor writing(report[1]);
    char* const argv[] = {program.data(), nullptr};
    const pid_t child = fork();
    if (child == 0) {
        setsid();
        const pid_t grandchild = fork();
        if (grandchild > 0)
            _exit(0);
        if (grandchild == 0) {
            signal(SIGPIPE, SIG_DFL);
            execv(program.constData(), argv);
        }
        // The exec, or the fork before it, failed.
        const int failure = errno;
        [[maybe_unused]] const ssize_t written = write(writing.get(), &failure, sizeof failure);
        _exit(127);
    }
    const int forkError = errno;
    writing.close(); // so that the read below ends when the exec has closed the grandchild's copy
    if (child < 0)
        throw startError(forkError, path);
    while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) { }
    int failure = 0;
    ssize_t got;
    while ((got = read(reading.get(), &failure, sizeof failure)) < 0 && errno == EINTR) { }
    if (got == sizeof failure)
        throw startError(failure, path);
}

void endProcessNow(int status)
{
    _exit(status);
}

} // namespace platform
