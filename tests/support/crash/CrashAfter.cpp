// Preloaded into a program (LD_PRELOAD), this library counts the calls that change the disk and
// can stop the program dead right after one of them, as a crash or a power cut would.
//
//   BRISKO_CRASH_AFTER=K    after the K-th change has completed, the process is killed (SIGKILL):
//                           no later change, no clean-up, no flush of buffers.
//   BRISKO_CRASH_COUNT=FILE at a normal exit, the number of changes counted is written to FILE.
//
// A change is a successful call that creates (open with O_CREAT or O_TRUNC, mkdir), writes to a
// regular file other than standard output and error, flushes, renames, links, removes, or sets
// stamps or modes. Calls made on any thread count, in the order they complete.

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/uio.h>
#include <unistd.h>

namespace {

std::atomic<long> changes{0};
long crashAfter = 0; // 0: never

template <typename Function> Function real(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

__attribute__((constructor)) void readSettings() {
    if (const char* after = std::getenv("BRISKO_CRASH_AFTER"))
        crashAfter = std::atol(after);
}

__attribute__((destructor)) void writeCount() {
    const char* file = std::getenv("BRISKO_CRASH_COUNT");
    if (file == nullptr)
        return;
    static const auto openFile = real<int (*)(const char*, int, ...)>("open");
    static const auto writeFile = real<ssize_t (*)(int, const void*, size_t)>("write");
    const int fd = openFile(file, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return;
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%ld\n", changes.load());
    if (length > 0)
        writeFile(fd, text, static_cast<size_t>(length));
    close(fd);
}

// Counts a change that completed; the K-th is the last the process makes.
template <typename Result> Result counted(Result result, bool changed = true) {
    if (!changed || result < 0)
        return result;
    const int saved = errno;
    if (changes.fetch_add(1) + 1 == crashAfter)
        raise(SIGKILL);
    errno = saved;
    return result;
}

bool writesRegularFile(int fd) {
    struct stat info;
    return fd > STDERR_FILENO && fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
}

bool creates(int flags) {
    return (flags & (O_CREAT | O_TRUNC)) != 0;
}

bool takesMode(int flags) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

} // namespace

// Each wrapper takes the name of the C library's function and calls the next definition of it.
#define BRISKO_REAL(name) static const auto real_##name = real<decltype(&::name)>(#name)

// A call that changes the disk whenever it succeeds.
#define BRISKO_CHANGE(Result, name, parameters, arguments)                                         \
    Result name parameters {                                                                       \
        BRISKO_REAL(name);                                                                         \
        return counted(real_##name arguments);                                                     \
    }

// A write: a change when it goes to a regular file.
#define BRISKO_WRITE(name, parameters, arguments)                                                  \
    ssize_t name parameters {                                                                      \
        BRISKO_REAL(name);                                                                         \
        return counted(real_##name arguments, writesRegularFile(fd));                              \
    }

// An open: a change when it may create or empty a file. The mode follows only with O_CREAT or
// O_TMPFILE.
#define BRISKO_OPEN(name, parameters, arguments)                                                   \
    int name parameters {                                                                          \
        BRISKO_REAL(name);                                                                         \
        mode_t mode = 0;                                                                           \
        if (takesMode(flags)) {                                                                    \
            va_list rest;                                                                          \
            va_start(rest, flags);                                                                 \
            mode = static_cast<mode_t>(va_arg(rest, int));                                         \
            va_end(rest);                                                                          \
        }                                                                                          \
        return counted(real_##name arguments, creates(flags));                                     \
    }

extern "C" {

BRISKO_OPEN(open, (const char* path, int flags, ...), (path, flags, mode))
BRISKO_OPEN(open64, (const char* path, int flags, ...), (path, flags, mode))
BRISKO_OPEN(openat, (int at, const char* path, int flags, ...), (at, path, flags, mode))
BRISKO_OPEN(openat64, (int at, const char* path, int flags, ...), (at, path, flags, mode))
BRISKO_CHANGE(int, creat, (const char* path, mode_t mode), (path, mode))
BRISKO_CHANGE(int, creat64, (const char* path, mode_t mode), (path, mode))
BRISKO_CHANGE(int, mkdir, (const char* path, mode_t mode), (path, mode))
BRISKO_CHANGE(int, mkdirat, (int at, const char* path, mode_t mode), (at, path, mode))

BRISKO_WRITE(write, (int fd, const void* data, size_t size), (fd, data, size))
BRISKO_WRITE(pwrite, (int fd, const void* data, size_t size, off_t at), (fd, data, size, at))
BRISKO_WRITE(pwrite64, (int fd, const void* data, size_t size, off64_t at), (fd, data, size, at))
BRISKO_WRITE(writev, (int fd, const struct iovec* parts, int count), (fd, parts, count))
BRISKO_WRITE(pwritev, (int fd, const struct iovec* parts, int count, off_t at),
             (fd, parts, count, at))
BRISKO_WRITE(pwritev64, (int fd, const struct iovec* parts, int count, off64_t at),
             (fd, parts, count, at))
BRISKO_CHANGE(ssize_t, copy_file_range,
              (int in, off64_t* inAt, int out, off64_t* outAt, size_t size, unsigned int flags),
              (in, inAt, out, outAt, size, flags))
BRISKO_CHANGE(int, fallocate, (int fd, int mode, off_t at, off_t size), (fd, mode, at, size))
BRISKO_CHANGE(int, ftruncate, (int fd, off_t size), (fd, size))

BRISKO_CHANGE(int, fsync, (int fd), (fd))
BRISKO_CHANGE(int, fdatasync, (int fd), (fd))
BRISKO_CHANGE(int, syncfs, (int fd), (fd))

BRISKO_CHANGE(int, rename, (const char* from, const char* to), (from, to))
BRISKO_CHANGE(int, renameat, (int fromAt, const char* from, int toAt, const char* to),
              (fromAt, from, toAt, to))
BRISKO_CHANGE(int, renameat2,
              (int fromAt, const char* from, int toAt, const char* to, unsigned int flags),
              (fromAt, from, toAt, to, flags))
BRISKO_CHANGE(int, link, (const char* from, const char* to), (from, to))
BRISKO_CHANGE(int, linkat, (int fromAt, const char* from, int toAt, const char* to, int flags),
              (fromAt, from, toAt, to, flags))
BRISKO_CHANGE(int, symlink, (const char* target, const char* path), (target, path))
BRISKO_CHANGE(int, symlinkat, (const char* target, int at, const char* path), (target, at, path))
BRISKO_CHANGE(int, unlink, (const char* path), (path))
BRISKO_CHANGE(int, unlinkat, (int at, const char* path, int flags), (at, path, flags))
BRISKO_CHANGE(int, rmdir, (const char* path), (path))

BRISKO_CHANGE(int, utimensat, (int at, const char* path, const struct timespec times[2], int flags),
              (at, path, times, flags))
BRISKO_CHANGE(int, futimens, (int fd, const struct timespec times[2]), (fd, times))
BRISKO_CHANGE(int, utimes, (const char* path, const struct timeval times[2]), (path, times))
BRISKO_CHANGE(int, chmod, (const char* path, mode_t mode), (path, mode))
BRISKO_CHANGE(int, fchmod, (int fd, mode_t mode), (fd, mode))
BRISKO_CHANGE(int, fchmodat, (int at, const char* path, mode_t mode, int flags),
              (at, path, mode, flags))
BRISKO_CHANGE(int, fchown, (int fd, uid_t owner, gid_t group), (fd, owner, group))
BRISKO_CHANGE(int, fchownat, (int at, const char* path, uid_t owner, gid_t group, int flags),
              (at, path, owner, group, flags))

// posix_fallocate reports failure by its result, not by -1.
int posix_fallocate(int fd, off_t at, off_t size) {
    BRISKO_REAL(posix_fallocate);
    const int failure = real_posix_fallocate(fd, at, size);
    counted(failure == 0 ? 0 : -1);
    return failure;
}

} // extern "C"
