#include "FileLocks.h"

#include <sqlite3.h>

#include <cstdarg>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace db::detail {

namespace {

// SQLite keeps one lock state per file (inode) for the whole process and
// takes each byte-range lock once for all its connections, which is exactly
// the behaviour of a process-wide POSIX lock. Here every lock of a file is
// taken instead on one extra descriptor of that file (an open-file-description
// lock, F_OFD_*): it conflicts with other processes' POSIX locks as before,
// but only closing that descriptor releases it, and only this file does that,
// once SQLite has closed its last descriptor of the file.
using Key = std::pair<dev_t, ino_t>;

struct Node {
    int lockFd = -1;
    int open = 0; // SQLite's own descriptors of the file
};

using OpenFn = int (*)(const char*, int, int);
using CloseFn = int (*)(int);
using FcntlFn = int (*)(int, int, ...);

OpenFn realOpen = nullptr;
CloseFn realClose = nullptr;
FcntlFn realFcntl = nullptr;

std::mutex mutex;
std::map<Key, Node>& nodes() {
    static std::map<Key, Node> n;
    return n;
}

std::optional<Key> keyOf(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0)
        return std::nullopt;
    return Key{st.st_dev, st.st_ino};
}

int guardedOpen(const char* path, int flags, int mode) {
    const int fd = realOpen(path, flags, mode);
    if (fd >= 0)
        if (const auto key = keyOf(fd)) {
            const std::lock_guard lock(mutex);
            ++nodes()[*key].open;
        }
    return fd;
}

int guardedClose(int fd) {
    int release = -1;
    if (const auto key = keyOf(fd)) {
        const std::lock_guard lock(mutex);
        auto it = nodes().find(*key);
        if (it != nodes().end() && --it->second.open <= 0) {
            release = it->second.lockFd;
            nodes().erase(it);
        }
    }
    const int rc = realClose(fd);
    if (release >= 0)
        realClose(release);
    return rc;
}

// The descriptor that carries the locks of fd's file; -1 when none can be made.
int lockDescriptor(int fd) {
    const auto key = keyOf(fd);
    if (!key)
        return -1;
    const std::lock_guard lock(mutex);
    Node& node = nodes()[*key];
    if (node.lockFd < 0) {
        // A new open of the same file (even an unlinked one) through /proc
        // gives a file description of our own.
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        node.lockFd = realOpen(self.c_str(), O_RDWR | O_CLOEXEC, 0);
        if (node.lockFd < 0)
            node.lockFd = realOpen(self.c_str(), O_RDONLY | O_CLOEXEC, 0);
    }
    return node.lockFd;
}

int guardedFcntl(int fd, int cmd, ...) {
    va_list ap;
    va_start(ap, cmd);
    if (cmd == F_SETLK || cmd == F_SETLKW || cmd == F_GETLK) {
        auto* range = va_arg(ap, struct flock*);
        va_end(ap);
        const int lockFd = lockDescriptor(fd);
        if (lockFd < 0)
            return realFcntl(fd, cmd, range); // as SQLite alone would
        range->l_pid = 0;
        const int ofd = cmd == F_SETLK ? F_OFD_SETLK : cmd == F_SETLKW ? F_OFD_SETLKW : F_OFD_GETLK;
        return realFcntl(lockFd, ofd, range);
    }
    const int arg = va_arg(ap, int);
    va_end(ap);
    return realFcntl(fd, cmd, arg);
}

} // namespace

void guardFileLocks() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* vfs = sqlite3_vfs_find("unix");
        if (!vfs || vfs->iVersion < 3 || !vfs->xSetSystemCall)
            return;
        realOpen = reinterpret_cast<OpenFn>(vfs->xGetSystemCall(vfs, "open"));
        realClose = reinterpret_cast<CloseFn>(vfs->xGetSystemCall(vfs, "close"));
        realFcntl = reinterpret_cast<FcntlFn>(vfs->xGetSystemCall(vfs, "fcntl"));
        if (!realOpen || !realClose || !realFcntl)
            return;
        // Probe once: a kernel without OFD locks keeps SQLite's own locking.
        const int probe = realOpen("/proc/self/exe", O_RDONLY | O_CLOEXEC, 0);
        if (probe < 0)
            return;
        struct flock range {};
        range.l_type = F_RDLCK;
        range.l_whence = SEEK_SET;
        const bool ofd = realFcntl(probe, F_OFD_GETLK, &range) == 0;
        realClose(probe);
        if (!ofd)
            return;
        vfs->xSetSystemCall(vfs, "open", reinterpret_cast<sqlite3_syscall_ptr>(guardedOpen));
        vfs->xSetSystemCall(vfs, "close", reinterpret_cast<sqlite3_syscall_ptr>(guardedClose));
        vfs->xSetSystemCall(vfs, "fcntl", reinterpret_cast<sqlite3_syscall_ptr>(guardedFcntl));
    });
}

} // namespace db::detail
