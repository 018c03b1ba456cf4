#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "io/file.h"
#include "io/log_file.h"

namespace ovra {
namespace {

// Paths are at most 551 units here (a log path and a private suffix), three bytes a unit at most.
constexpr int32_t NarrowPathCapacity = 2048;

bool NarrowPath(const char16_t* path, char* out) { return NarrowPathFromUtf16(path, out, NarrowPathCapacity); }

int Descriptor(const LogFile& file) { return static_cast<int>(file.handle); }

bool WriteAll(int descriptor, const char* bytes, int32_t size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, bytes, static_cast<size_t>(size));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<int32_t>(written);
    }
    return true;
}

enum class FolderSync { Synced, NotOpened, Failed };

FolderSync SyncFolder(const char* folder) {
    const int descriptor = open(folder, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return FolderSync::NotOpened;
    const bool synced = fsync(descriptor) == 0;
    return close(descriptor) == 0 && synced ? FolderSync::Synced : FolderSync::Failed;
}

// A new name is durable only once the folder holding it is synced. The folders above it may be new as well
// (a first save makes the chain); they are synced as far as they can be opened, and cost little when clean.
bool SyncFoldersAbove(const char* path) {
    char folder[NarrowPathCapacity];
    std::strcpy(folder, path);
    for (bool holder = true;; holder = false) {
        char* slash = std::strrchr(folder, '/');
        if (slash == nullptr) return !holder || SyncFolder(".") == FolderSync::Synced;
        const bool top = slash == folder;
        slash[top ? 1 : 0] = 0;
        const FolderSync result = SyncFolder(folder);
        if (result == FolderSync::Failed || (holder && result != FolderSync::Synced)) return false;
        if (top) return true;
    }
}

}  // namespace

LogCreation CreateLogFile(const char16_t* path, const char* bytes, int32_t size) {
    char target[NarrowPathCapacity];
    if (!NarrowPath(path, target)) return LogCreation::Failed;
    char privatePath[NarrowPathCapacity + 48];
    const long long tick = std::chrono::steady_clock::now().time_since_epoch().count();
    std::snprintf(privatePath, sizeof privatePath, "%s.%d.%lld.new", target, static_cast<int>(getpid()), tick);
    const int descriptor = open(privatePath, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor < 0) return LogCreation::Failed;
    bool written = WriteAll(descriptor, bytes, size) && fdatasync(descriptor) == 0;
    written = close(descriptor) == 0 && written;
    // A hard link fails when the name exists, so only one creator's content ever appears under it.
    const int linked = written ? link(privatePath, target) : -1;
    const int linkError = errno;
    unlink(privatePath);
    if (linked != 0) return written && linkError == EEXIST ? LogCreation::Exists : LogCreation::Failed;
    return SyncFoldersAbove(target) ? LogCreation::Created : LogCreation::Failed;
}

bool OpenLockedLog(const char16_t* path, LogFile& file) {
    file.handle = -1;
    char narrow[NarrowPathCapacity];
    if (!NarrowPath(path, narrow)) return false;
    // Appending mode keeps even a writer that ignores the lock from being overwritten.
    const int descriptor = open(narrow, O_RDWR | O_APPEND | O_CLOEXEC);
    if (descriptor < 0) return false;
    int locked = 0;
    do {
        locked = flock(descriptor, LOCK_EX);
    } while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        close(descriptor);
        return false;
    }
    file.handle = descriptor;
    return true;
}

bool LogFileSize(const LogFile& file, int64_t& size) {
    struct stat status {};
    if (fstat(Descriptor(file), &status) != 0) return false;
    size = static_cast<int64_t>(status.st_size);
    return true;
}

bool ReadLogByte(const LogFile& file, int64_t offset, char& byte) {
    ssize_t read = 0;
    do {
        read = pread(Descriptor(file), &byte, 1, static_cast<off_t>(offset));
    } while (read < 0 && errno == EINTR);
    return read == 1;
}

bool AppendToLog(const LogFile& file, const char* bytes, int32_t size) {
    return WriteAll(Descriptor(file), bytes, size);
}

bool SyncLog(const LogFile& file) { return fdatasync(Descriptor(file)) == 0; }

bool TruncateLog(const LogFile& file, int64_t size) {
    return ftruncate(Descriptor(file), static_cast<off_t>(size)) == 0;
}

void CloseLog(LogFile& file) {
    if (file.handle >= 0) close(Descriptor(file));  // closing drops the lock
    file.handle = -1;
}

}  // namespace ovra
