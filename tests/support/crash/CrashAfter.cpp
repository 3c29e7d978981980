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

// The wrappers take the names of the C library's own functions.
#define BRISKO_REAL(name) static const auto real_##name = real<decltype(&::name)>(#name)

extern "C" {

int open(const char* path, int flags, ...) {
    BRISKO_REAL(open);
    mode_t mode = 0;
    if (takesMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    return counted(real_open(path, flags, mode), creates(flags));
}

int open64(const char* path, int flags, ...) {
    BRISKO_REAL(open64);
    mode_t mode = 0;
    if (takesMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    return counted(real_open64(path, flags, mode), creates(flags));
}

int openat(int folder, const char* path, int flags, ...) {
    BRISKO_REAL(openat);
    mode_t mode = 0;
    if (takesMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    return counted(real_openat(folder, path, flags, mode), creates(flags));
}

int openat64(int folder, const char* path, int flags, ...) {
    BRISKO_REAL(openat64);
    mode_t mode = 0;
    if (takesMode(flags)) {
        va_list arguments;
        va_start(arguments, flags);
        mode = static_cast<mode_t>(va_arg(arguments, int));
        va_end(arguments);
    }
    return counted(real_openat64(folder, path, flags, mode), creates(flags));
}

int creat(const char* path, mode_t mode) {
    BRISKO_REAL(creat);
    return counted(real_creat(path, mode));
}

int creat64(const char* path, mode_t mode) {
    BRISKO_REAL(creat64);
    return counted(real_creat64(path, mode));
}

int mkdir(const char* path, mode_t mode) {
    BRISKO_REAL(mkdir);
    return counted(real_mkdir(path, mode));
}

int mkdirat(int folder, const char* path, mode_t mode) {
    BRISKO_REAL(mkdirat);
    return counted(real_mkdirat(folder, path, mode));
}

ssize_t write(int fd, const void* data, size_t size) {
    BRISKO_REAL(write);
    return counted(real_write(fd, data, size), writesRegularFile(fd));
}

ssize_t pwrite(int fd, const void* data, size_t size, off_t offset) {
    BRISKO_REAL(pwrite);
    return counted(real_pwrite(fd, data, size, offset), writesRegularFile(fd));
}

ssize_t pwrite64(int fd, const void* data, size_t size, off64_t offset) {
    BRISKO_REAL(pwrite64);
    return counted(real_pwrite64(fd, data, size, offset), writesRegularFile(fd));
}

ssize_t writev(int fd, const struct iovec* parts, int count) {
    BRISKO_REAL(writev);
    return counted(real_writev(fd, parts, count), writesRegularFile(fd));
}

ssize_t pwritev(int fd, const struct iovec* parts, int count, off_t offset) {
    BRISKO_REAL(pwritev);
    return counted(real_pwritev(fd, parts, count, offset), writesRegularFile(fd));
}

ssize_t pwritev64(int fd, const struct iovec* parts, int count, off64_t offset) {
    BRISKO_REAL(pwritev64);
    return counted(real_pwritev64(fd, parts, count, offset), writesRegularFile(fd));
}

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t size,
                        unsigned int flags) {
    BRISKO_REAL(copy_file_range);
    return counted(real_copy_file_range(in, inOffset, out, outOffset, size, flags));
}

int fallocate(int fd, int mode, off_t offset, off_t length) {
    BRISKO_REAL(fallocate);
    return counted(real_fallocate(fd, mode, offset, length));
}

int posix_fallocate(int fd, off_t offset, off_t length) {
    BRISKO_REAL(posix_fallocate);
    const int failure = real_posix_fallocate(fd, offset, length);
    counted(failure == 0 ? 0 : -1);
    return failure;
}

int ftruncate(int fd, off_t length) {
    BRISKO_REAL(ftruncate);
    return counted(real_ftruncate(fd, length));
}

int fsync(int fd) {
    BRISKO_REAL(fsync);
    return counted(real_fsync(fd));
}

int fdatasync(int fd) {
    BRISKO_REAL(fdatasync);
    return counted(real_fdatasync(fd));
}

int syncfs(int fd) {
    BRISKO_REAL(syncfs);
    return counted(real_syncfs(fd));
}

int rename(const char* from, const char* to) {
    BRISKO_REAL(rename);
    return counted(real_rename(from, to));
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
    BRISKO_REAL(renameat);
    return counted(real_renameat(fromFolder, from, toFolder, to));
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags) {
    BRISKO_REAL(renameat2);
    return counted(real_renameat2(fromFolder, from, toFolder, to, flags));
}

int link(const char* from, const char* to) {
    BRISKO_REAL(link);
    return counted(real_link(from, to));
}

int linkat(int fromFolder, const char* from, int toFolder, const char* to, int flags) {
    BRISKO_REAL(linkat);
    return counted(real_linkat(fromFolder, from, toFolder, to, flags));
}

int symlink(const char* target, const char* path) {
    BRISKO_REAL(symlink);
    return counted(real_symlink(target, path));
}

int symlinkat(const char* target, int folder, const char* path) {
    BRISKO_REAL(symlinkat);
    return counted(real_symlinkat(target, folder, path));
}

int unlink(const char* path) {
    BRISKO_REAL(unlink);
    return counted(real_unlink(path));
}

int unlinkat(int folder, const char* path, int flags) {
    BRISKO_REAL(unlinkat);
    return counted(real_unlinkat(folder, path, flags));
}

int rmdir(const char* path) {
    BRISKO_REAL(rmdir);
    return counted(real_rmdir(path));
}

int utimensat(int folder, const char* path, const struct timespec times[2], int flags) {
    BRISKO_REAL(utimensat);
    return counted(real_utimensat(folder, path, times, flags));
}

int futimens(int fd, const struct timespec times[2]) {
    BRISKO_REAL(futimens);
    return counted(real_futimens(fd, times));
}

int utimes(const char* path, const struct timeval times[2]) {
    BRISKO_REAL(utimes);
    return counted(real_utimes(path, times));
}

int chmod(const char* path, mode_t mode) {
    BRISKO_REAL(chmod);
    return counted(real_chmod(path, mode));
}

int fchmod(int fd, mode_t mode) {
    BRISKO_REAL(fchmod);
    return counted(real_fchmod(fd, mode));
}

int fchmodat(int folder, const char* path, mode_t mode, int flags) {
    BRISKO_REAL(fchmodat);
    return counted(real_fchmodat(folder, path, mode, flags));
}

int fchown(int fd, uid_t owner, gid_t group) {
    BRISKO_REAL(fchown);
    return counted(real_fchown(fd, owner, group));
}

int fchownat(int folder, const char* path, uid_t owner, gid_t group, int flags) {
    BRISKO_REAL(fchownat);
    return counted(real_fchownat(folder, path, owner, group, flags));
}

} // extern "C"
