#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <thread>

#include "io/file.h"
#include "io/log_file.h"

namespace ovra {
namespace {

// Paths are at most 551 units here (a log path and a suffix), three bytes a unit at most.
constexpr int32_t NarrowPathCapacity = 2048;
constexpr mode_t PrivateFile = 0600;
constexpr mode_t PrivateFolder = 0700;
constexpr auto LockRetry = std::chrono::milliseconds(10);

bool NarrowPath(const char16_t* path, char* out) { return NarrowPathFromUtf16(path, out, NarrowPathCapacity); }

int Descriptor(const LogFile& file) { return static_cast<int>(file.handle); }

// The folder that holds `path`, "." for a bare name.
void HolderOf(const char* path, char* folder) {
    std::strcpy(folder, path);
    char* slash = std::strrchr(folder, '/');
    if (slash == nullptr)
        std::strcpy(folder, ".");
    else
        slash[slash == folder ? 1 : 0] = 0;
}

enum class FolderSync { Synced, NotOpened, Failed };

FolderSync SyncFolder(const char* folder) {
    const int descriptor = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return FolderSync::NotOpened;
    const bool synced = fsync(descriptor) == 0;
    return close(descriptor) == 0 && synced ? FolderSync::Synced : FolderSync::Failed;
}

// A new name is durable only once the folder holding it is synced. A folder the user may write but not read
// (mode 0300) cannot be opened for that: the whole file system of `descriptor` is synced instead.
bool SyncHolder(const char* path, int descriptor, char* folder) {
    HolderOf(path, folder);
    const FolderSync holder = SyncFolder(folder);
    return holder == FolderSync::Synced || (holder == FolderSync::NotOpened && syncfs(descriptor) == 0);
}

// The folders above may be new as well (a first save makes the chain); they are synced as far as they can be
// opened, and cost little when clean.
bool SyncFoldersAbove(const char* path, int descriptor) {
    char folder[NarrowPathCapacity];
    if (!SyncHolder(path, descriptor, folder)) return false;
    while (std::strcmp(folder, "/") != 0 && std::strcmp(folder, ".") != 0) {
        char above[NarrowPathCapacity];
        HolderOf(folder, above);
        if (SyncFolder(above) == FolderSync::Failed) return false;
        std::strcpy(folder, above);
    }
    return true;
}

bool SameFile(int descriptor, const char* path) {
    struct stat held {};
    struct stat named {};
    return fstat(descriptor, &held) == 0 && lstat(path, &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

EntryKind KindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::Regular;
    if (S_ISLNK(mode)) return EntryKind::Link;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    if (S_ISFIFO(mode)) return EntryKind::Pipe;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return EntryKind::Device;
    return EntryKind::Other;
}

EntryKind KindOfNarrow(const char* path) {
    struct stat status {};
    if (lstat(path, &status) == 0) return KindOfMode(status.st_mode);
    return errno == ENOENT ? EntryKind::Absent : EntryKind::Unknown;
}

// Opens a name only when it holds a regular file: no link is followed, no pipe waited on, and a device is
// never opened at all (opening some has effects). The kind is checked again on the open file, so a name
// changed between the look and the open is caught.
int OpenRegular(const char* path, int flags, EntryKind& kind) {
    kind = KindOfNarrow(path);
    if (kind != EntryKind::Regular) {
        errno = kind == EntryKind::Absent ? ENOENT : EINVAL;
        return -1;
    }
    const int descriptor = open(path, flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        if (errno == ELOOP) kind = EntryKind::Link;
        return -1;
    }
    struct stat status {};
    const bool known = fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode)) {
        kind = known ? KindOfMode(status.st_mode) : EntryKind::Unknown;
        close(descriptor);
        errno = EINVAL;
        return -1;
    }
    return descriptor;
}

// A write lock over the whole file that conflicts with fcntl, lockf and OFD locks, which other programs take
// where flock is not seen (a spreadsheet's copy written back later would drop a record saved meanwhile).
// A file system that keeps no such locks leaves flock as the only guard.
bool LockRecordRanges(int descriptor) {
    struct flock whole {};
    whole.l_type = F_WRLCK;
    whole.l_whence = SEEK_SET;
    if (fcntl(descriptor, F_OFD_SETLK, &whole) == 0) return true;
    return errno != EAGAIN && errno != EACCES && errno != EINTR;
}

bool WaitAgain(int error) { return error == EWOULDBLOCK || error == EACCES || error == EINTR; }

// Polls for both locks until the deadline: a blocking wait would freeze the window for as long as another
// program keeps the file locked.
LogOpen LockUntil(int descriptor, const char* path, LogDeadline deadline) {
    bool whole = false;
    for (;;) {
        whole = whole || flock(descriptor, LOCK_EX | LOCK_NB) == 0;
        if (whole && LockRecordRanges(descriptor)) break;
        if (!WaitAgain(errno)) return LogOpen::Failed;
        if (std::chrono::steady_clock::now() >= deadline) return LogOpen::Busy;
        std::this_thread::sleep_for(LockRetry);
    }
    // The name may have been taken away while we waited (a failed first save removes its log).
    return SameFile(descriptor, path) ? LogOpen::Opened : LogOpen::Missing;
}

LogOpen Locked(int descriptor, const char* path, LogDeadline deadline, LogFile& file, LogOpen success) {
    const LogOpen locked = LockUntil(descriptor, path, deadline);
    if (locked != LogOpen::Opened) {
        close(descriptor);
        return locked;
    }
    file.handle = descriptor;
    return success;
}

bool NotSupportedHere(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EXDEV || error == EISDIR ||
           error == EINVAL || error == ENOSYS || error == EMLINK;
}

// Gives the nameless file `descriptor` the name `target`.
int LinkNameless(int descriptor, const char* target) {
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", descriptor);
    if (linkat(AT_FDCWD, self, AT_FDCWD, target, AT_SYMLINK_FOLLOW) == 0) return 0;
    if (errno != ENOENT) return -1;
    return linkat(descriptor, "", AT_FDCWD, target, AT_EMPTY_PATH);  // no /proc: needs the capability
}

}  // namespace

bool CreateRecordsFolder(const char16_t* folder) {
    char path[NarrowPathCapacity];
    if (!NarrowPath(folder, path)) return false;
    for (char* c = path + 1;; ++c) {
        if (*c != '/' && *c != 0) continue;
        const char kept = *c;
        *c = 0;
        // mkdir's mode passes the umask; the folder is made private afterwards, and only when made here.
        if (mkdir(path, PrivateFolder) == 0) chmod(path, PrivateFolder);
        *c = kept;
        if (kept == 0) break;
    }
    struct stat status {};
    return stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

LogCreation CreateLogFile(const char16_t* path, const char* bytes, int32_t size, FileIdentity& identity) {
#ifdef O_TMPFILE
    char target[NarrowPathCapacity];
    if (!NarrowPath(path, target)) return LogCreation::Failed;
    char folder[NarrowPathCapacity];
    HolderOf(target, folder);
    const int descriptor = open(folder, O_TMPFILE | O_RDWR | O_CLOEXEC, PrivateFile);
    if (descriptor < 0) return NotSupportedHere(errno) ? LogCreation::Unsupported : LogCreation::Failed;
    fchmod(descriptor, PrivateFile);
    struct stat status {};
    if (fstat(descriptor, &status) == 0)
        identity = {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
    // The lock is taken before the name exists, so no appender gets in between the name and its sync; when the
    // sync fails the name is taken back and waiting appenders find it gone.
    const bool ready = flock(descriptor, LOCK_EX | LOCK_NB) == 0 && WriteAllToDescriptor(descriptor, bytes, size) &&
                       fdatasync(descriptor) == 0;
    LogCreation result = LogCreation::Failed;
    if (ready && LinkNameless(descriptor, target) == 0) {
        if (SyncFoldersAbove(target, descriptor))
            result = LogCreation::Created;
        else
            unlink(target);
    } else if (ready) {
        result = errno == EEXIST           ? LogCreation::Exists
                 : NotSupportedHere(errno) ? LogCreation::Unsupported
                                           : LogCreation::Failed;
    }
    close(descriptor);
    return result;
#else
    (void)path;
    (void)bytes;
    (void)size;
    (void)identity;
    return LogCreation::Unsupported;
#endif
}

LogOpen OpenLockedLog(const char16_t* path, LogDeadline deadline, LogFile& file) {
    file = LogFile{-1, false};
    char narrow[NarrowPathCapacity];
    if (!NarrowPath(path, narrow)) return LogOpen::Failed;
    // Appending mode keeps even a writer that ignores the lock from being overwritten.
    EntryKind kind = EntryKind::Unknown;
    const int descriptor = OpenRegular(narrow, O_RDWR | O_APPEND, kind);
    if (descriptor < 0) {
        if (kind == EntryKind::Absent) return LogOpen::Missing;
        return kind == EntryKind::Regular || kind == EntryKind::Unknown ? LogOpen::Failed : LogOpen::NotRegular;
    }
    return Locked(descriptor, narrow, deadline, file, LogOpen::Opened);
}

LogOpen CreateLockedLog(const char16_t* path, LogDeadline deadline, LogFile& file) {
    file = LogFile{-1, false};
    char narrow[NarrowPathCapacity];
    if (!NarrowPath(path, narrow)) return LogOpen::Failed;
    const int descriptor = open(narrow, O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, PrivateFile);
    if (descriptor < 0) return errno == EEXIST ? LogOpen::Taken : LogOpen::Failed;
    fchmod(descriptor, PrivateFile);  // past the umask; refused on file systems without modes, which is fine
    return Locked(descriptor, narrow, deadline, file, LogOpen::Created);
}

bool LogFileSize(LogFile& file, int64_t& size) {
    struct stat status {};
    if (fstat(Descriptor(file), &status) != 0) return false;
    size = static_cast<int64_t>(status.st_size);
    return true;
}

bool ReadLog(LogFile& file, int64_t offset, char* bytes, int32_t size) {
    while (size > 0) {
        const ssize_t read = pread(Descriptor(file), bytes, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (read < 0 && errno == EINTR) continue;
        if (read <= 0) return false;
        bytes += read;
        offset += read;
        size -= static_cast<int32_t>(read);
    }
    return true;
}

bool AppendToLog(LogFile& file, const char* bytes, int32_t size) {
    return WriteAllToDescriptor(Descriptor(file), bytes, size);
}

bool SyncLog(LogFile& file) { return fdatasync(Descriptor(file)) == 0; }

bool SyncLogName(LogFile& file, const char16_t* path) {
    char narrow[NarrowPathCapacity];
    return NarrowPath(path, narrow) && SyncFoldersAbove(narrow, Descriptor(file));
}

bool TruncateLog(LogFile& file, int64_t size) { return ftruncate(Descriptor(file), static_cast<off_t>(size)) == 0; }

bool RemoveLogName(const char16_t* path) {
    char narrow[NarrowPathCapacity];
    return NarrowPath(path, narrow) && unlink(narrow) == 0;
}

void CloseLog(LogFile& file) {
    if (file.handle >= 0) close(Descriptor(file));  // closing drops the lock
    file.handle = -1;
}

EntryKind KindOfEntry(const char16_t* path) {
    char narrow[NarrowPathCapacity];
    return NarrowPath(path, narrow) ? KindOfNarrow(narrow) : EntryKind::Unknown;
}

bool LogIdentity(LogFile& file, FileIdentity& identity) {
    struct stat status {};
    if (fstat(Descriptor(file), &status) != 0) return false;
    identity = {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
    return true;
}

SideRead ReadSideFile(const char16_t* path, char* bytes, int32_t capacity, int32_t& size, EntryKind& kind) {
    size = 0;
    char narrow[NarrowPathCapacity];
    if (!NarrowPath(path, narrow)) return SideRead::Failed;
    const int descriptor = OpenRegular(narrow, O_RDONLY, kind);
    if (descriptor < 0) {
        if (kind == EntryKind::Absent) return SideRead::Absent;
        return kind == EntryKind::Regular || kind == EntryKind::Unknown ? SideRead::Failed : SideRead::NotRegular;
    }
    SideRead result = SideRead::Read;
    // One byte more than the room tells a file that is too large from one that just fits.
    char extra = 0;
    for (;;) {
        char* into = size < capacity ? bytes + size : &extra;
        const ssize_t read = ::read(descriptor, into, size < capacity ? static_cast<size_t>(capacity - size) : 1);
        if (read < 0 && errno == EINTR) continue;
        if (read < 0) result = SideRead::Failed;
        if (read <= 0) break;
        if (into == &extra) {
            result = SideRead::TooLarge;
            break;
        }
        size += static_cast<int32_t>(read);
    }
    close(descriptor);
    return result;
}

bool CreateJournal(const char16_t* path, const char* bytes, int32_t size) {
    char narrow[NarrowPathCapacity];
    if (!NarrowPath(path, narrow)) return false;
    const int descriptor = open(narrow, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, PrivateFile);
    if (descriptor < 0) return false;
    // The journal must be on the device, name included, before any byte of the append can be.
    bool written = WriteAllToDescriptor(descriptor, bytes, size) && fdatasync(descriptor) == 0;
    char folder[NarrowPathCapacity];
    written = written && SyncHolder(narrow, descriptor, folder);
    written = close(descriptor) == 0 && written;
    if (!written) unlink(narrow);
    return written;
}

bool RemoveJournal(const char16_t* path) {
    char narrow[NarrowPathCapacity];
    return NarrowPath(path, narrow) && (unlink(narrow) == 0 || errno == ENOENT);
}

}  // namespace ovra
