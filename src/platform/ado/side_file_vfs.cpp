// The guard over SQLite's unix VFS: a side file that is no regular file is refused wherever
// SQLite looks for it (xAccess), opens it (xOpen for the -journal and the -wal, its own open
// system call for the -shm, which xShmMap makes) or removes it (xDelete, and the unlink of the
// -shm in xShmUnmap). Everything else is the unix VFS's own.
#include "side_file_vfs.h"

#include <QFile>
#include <QSqlError>
#include <cerrno>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <sqlite3.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace ado {

namespace {

using OpenCall = int (*)(const char*, int, int);
using UnlinkCall = int (*)(const char*);

sqlite3_vfs* unixVfs = nullptr;
sqlite3_vfs guard;
OpenCall unixOpen = nullptr;
UnlinkCall unixUnlink = nullptr;
// The main database file's methods, with the -shm's map and unmap guarded.
const sqlite3_io_methods* dbMethods = nullptr;
sqlite3_io_methods guardedDbMethods;
std::once_flag dbMethodsOnce;

// Inside an open or a removal of a side file on this thread: the unix VFS's system calls check
// the file they are given.
thread_local int guardingOpens = 0;
thread_local int guardingUnlinks = 0;
thread_local QString refusal;

class Guarding {
public:
    explicit Guarding(int& depth, bool on = true)
        : depth_(on ? &depth : nullptr) {
        if (depth_) ++*depth_;
    }
    ~Guarding() {
        if (depth_) --*depth_;
    }
    Guarding(const Guarding&) = delete;
    Guarding& operator=(const Guarding&) = delete;

private:
    int* depth_;
};

bool isSideFile(const char* name) {
    if (!name) return false;
    const std::string_view n(name);
    return n.ends_with("-journal") || n.ends_with("-wal") || n.ends_with("-shm");
}

void refuse(const char* path, mode_t mode) {
    refusal = NotARegularSideFile(QFile::decodeName(path), mode);
}

// Nothing there or a regular file; anything else is refused. Links are not followed.
bool regularOrNothing(const char* path) {
    struct stat st;
    if (lstat(path, &st) != 0 || S_ISREG(st.st_mode)) return true;
    refuse(path, st.st_mode);
    return false;
}

int guardedOpen(const char* path, int flags, int mode) {
    // (the unix VFS opens /dev/null in place of a standard stream's descriptor)
    if (!guardingOpens || !isSideFile(path)) return unixOpen(path, flags, mode);
    if (!regularOrNothing(path)) {
        errno = EPERM;
        return -1;
    }
    // Whatever is put there after the look: the open neither follows a link nor waits for a
    // pipe's other end, and what it opened must be a regular file.
    const int fd = unixOpen(path, flags | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, mode);
    if (fd < 0) {
        const int error = errno;
        errno = regularOrNothing(path) ? error : EPERM;
        return -1;
    }
    struct stat st;
    const bool known = fstat(fd, &st) == 0;
    if (!known || !S_ISREG(st.st_mode)) {
        const int error = errno;
        close(fd);
        if (known) {
            refuse(path, st.st_mode);
            errno = EPERM;
        } else {
            errno = error;
        }
        return -1;
    }
    if (!(flags & O_NONBLOCK)) fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

int guardedUnlink(const char* path) {
    if (guardingUnlinks && isSideFile(path) && !regularOrNothing(path)) {
        errno = EPERM;
        return -1;
    }
    return unixUnlink(path);
}

int shmMap(sqlite3_file* file, int page, int size, int extend, void volatile** p) {
    const Guarding g(guardingOpens);
    return dbMethods->xShmMap(file, page, size, extend, p);
}

int shmUnmap(sqlite3_file* file, int deleteFlag) {
    const Guarding g(guardingUnlinks);
    return dbMethods->xShmUnmap(file, deleteFlag);
}

int xOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    int rc;
    {
        const Guarding g(
            guardingOpens, name && (flags & (SQLITE_OPEN_MAIN_JOURNAL | SQLITE_OPEN_WAL)));
        rc = unixVfs->xOpen(unixVfs, name, file, flags, outFlags);
    }
    const sqlite3_io_methods* methods = file->pMethods;
    if (rc != SQLITE_OK || !(flags & SQLITE_OPEN_MAIN_DB) || !methods || methods->iVersion < 2
        || !methods->xShmMap)
        return rc;
    std::call_once(dbMethodsOnce, [methods] {
        dbMethods = methods;
        guardedDbMethods = *methods;
        guardedDbMethods.xShmMap = shmMap;
        guardedDbMethods.xShmUnmap = shmUnmap;
    });
    if (methods == dbMethods) file->pMethods = &guardedDbMethods;
    return rc;
}

int xDelete(sqlite3_vfs*, const char* name, int syncDir) {
    const Guarding g(guardingUnlinks, isSideFile(name));
    return unixVfs->xDelete(unixVfs, name, syncDir);
}

// A refusal here keeps SQLite from going on to open it (or, for a database of no pages, to
// remove it).
int xAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    if (isSideFile(name) && !regularOrNothing(name)) {
        *out = 0;
        return SQLITE_IOERR_ACCESS;
    }
    return unixVfs->xAccess(unixVfs, name, flags, out);
}

QString kindOf(mode_t mode) {
    if (S_ISFIFO(mode)) return QStringLiteral("a named pipe");
    if (S_ISDIR(mode)) return QStringLiteral("a folder");
    if (S_ISLNK(mode)) return QStringLiteral("a symbolic link");
    if (S_ISSOCK(mode)) return QStringLiteral("a socket");
    if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("a device");
    return QStringLiteral("something else");
}

} // namespace

void GuardSideFiles() {
    static std::once_flag once;
    std::call_once(once, [] {
        sqlite3_vfs* under = sqlite3_vfs_find("unix");
        if (!under || under->iVersion < 3) return;
        unixOpen = reinterpret_cast<OpenCall>(under->xGetSystemCall(under, "open"));
        unixUnlink = reinterpret_cast<UnlinkCall>(under->xGetSystemCall(under, "unlink"));
        if (!unixOpen || !unixUnlink) return;
        // the unix VFS makes these calls for every file: the guard acts only where it is on
        under->xSetSystemCall(under, "open", reinterpret_cast<sqlite3_syscall_ptr>(guardedOpen));
        under->xSetSystemCall(
            under, "unlink", reinterpret_cast<sqlite3_syscall_ptr>(guardedUnlink));
        unixVfs = under;
        guard = *under;
        guard.pNext = nullptr;
        guard.zName = "kordane-side-files";
        guard.xOpen = xOpen;
        guard.xDelete = xDelete;
        guard.xAccess = xAccess;
        sqlite3_vfs_register(&guard, 1);
    });
}

QString NotARegularSideFile(const QString& side, mode_t mode) {
    return QStringLiteral("The file '%1' beside the database is %2, not a regular file")
        .arg(side, kindOf(mode));
}

QString TakeSideFileRefusal() {
    return std::exchange(refusal, QString());
}

QString SideFileRefusalBehind(const QSqlError& e) {
    const QString taken = TakeSideFileRefusal();
    bool isCode = false;
    const int code = e.nativeErrorCode().toInt(&isCode) & 0xff;
    if (!isCode || (code != SQLITE_IOERR && code != SQLITE_CANTOPEN && code != SQLITE_READONLY))
        return {};
    return taken;
}

} // namespace ado
