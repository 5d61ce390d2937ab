#include "console/SheetReaderProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace {

// More than any sheet of 65536 rows of route cells needs; a child that writes on is stopped.
constexpr std::size_t kMaxStream = std::size_t{64} << 20;

std::string OwnFolder()
{
    std::error_code error;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : self.parent_path().string();
}

struct Fd {
    int fd = -1;
    ~Fd() { Close(); }
    void Close()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

} // namespace

std::string SheetReaderPath()
{
    if (const char* path = std::getenv("AMMERLIN_XLSREAD"); path && *path)
        return path;
    const std::string beside = OwnFolder() + "/ammerlin-xlsread";
    if (::access(beside.c_str(), X_OK) == 0)
        return beside;
#ifdef AMMERLIN_XLSREAD_BUILT
    return AMMERLIN_XLSREAD_BUILT;
#else
    return beside;
#endif
}

routewire::TSheetResult RunSheetReader(const std::string& fileName, std::chrono::milliseconds timeout,
                                       const std::string& readerPath)
{
    using Clock = std::chrono::steady_clock;
    const routewire::TSheetResult failed;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return failed;
    Fd readEnd{fds[0]}, writeEnd{fds[1]};

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, writeEnd.fd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The child starts with default signal handling whatever the console set up.
    sigset_t all;
    sigfillset(&all);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::string program = readerPath;
    std::string file = fileName;
    char* argv[] = {program.data(), file.data(), nullptr};
    pid_t child = -1;
    const int spawned = ::posix_spawn(&child, program.c_str(), &actions, &attributes, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    writeEnd.Close();
    if (spawned != 0)
        return failed;

    std::string stream;
    bool ok = true;
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            ok = false;
            break;
        }
        pollfd p{readEnd.fd, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            ok = false;
            break;
        }
        char buffer[65536];
        const ssize_t n = ::read(readEnd.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;  // end of stream: the child has finished or died
        stream.append(buffer, static_cast<std::size_t>(n));
        if (stream.size() > kMaxStream) {
            ok = false;
            break;
        }
    }
    readEnd.Close();
    if (!ok)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!ok || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return failed;
    return routewire::Decode(stream);
}
